// Report descriptors come from the device: the parser must stay inside them
// and give a consistent answer for any bytes.
#include "core/device/hid_descriptor.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto summary = korvex48::ParseHidDescriptor({data, size});
  if (summary) {
    const int length = summary->feature_report_length;
    if (length < 0 || (length == 0) != (summary->longest_feature_bytes == 0) ||
        length > summary->longest_feature_bytes + 1)
      std::abort();
  }
  return 0;
}
