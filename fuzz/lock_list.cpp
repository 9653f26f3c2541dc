// The kernel's lock list and a process's command line are read to name the
// program that holds the mouse: any bytes give an answer, never a read past
// them, and the name stays printable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/device/interface_holder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto pid = korvex48::FlockHolderPid(text, {0x00, 0x2f, 1234});
  if (pid && *pid <= 0) std::abort();
  const std::string name = korvex48::ProgramNameOfCommandLine({data, size});
  if (name.size() > 64) std::abort();
  for (char c : name)
    if (c <= ' ' || c >= 0x7F) std::abort();
  return 0;
}
