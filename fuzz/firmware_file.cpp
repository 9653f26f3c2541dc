// Firmware files are outside bytes: any file must load its patch window or be
// refused, without reading outside it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/files/firmware_patch.h"

using namespace korvex48;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  FirmwarePatch patch;
  const auto status = patch.LoadBytes(file);
  const bool has_code = size > kPatchFileOffset;
  if ((status == FirmwarePatch::LoadStatus::kLoaded) != has_code) std::abort();
  if (patch.Loaded() != has_code) std::abort();
  if (has_code) {
    const std::size_t n = std::min(kPatchCodeSize, size - kPatchFileOffset);
    if (patch.LastTaken() != n) std::abort();
    if (!std::equal(patch.Buffer().begin(), patch.Buffer().begin() + n, data + kPatchFileOffset))
      std::abort();
  }
  const PatchDescriptor d = patch.Descriptor();
  if (((d[14] << 8) | d[15]) != PatchChecksum(patch.Buffer())) std::abort();
  return 0;
}
