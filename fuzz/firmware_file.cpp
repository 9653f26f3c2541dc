// Firmware files are outside bytes: any file must load its whole patch code or
// be refused, without reading outside it; a refused file leaves the patch of
// the file loaded before untouched.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "core/files/firmware_patch.h"

using namespace korvex48;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<std::uint8_t> earlier_file(kMinFirmwareFileSize, 0xA5);
  FirmwarePatch patch;
  if (patch.LoadBytes(earlier_file) != FirmwarePatch::LoadStatus::kLoaded) std::abort();
  patch.ClearLoaded();  // as opening the Update page again does
  const PatchBuffer earlier = patch.Buffer();

  const auto status = patch.LoadBytes(std::span<const std::uint8_t>(data, size));
  const bool whole = size >= kMinFirmwareFileSize;
  if ((status == FirmwarePatch::LoadStatus::kLoaded) != whole) std::abort();
  if (patch.Loaded() != whole) std::abort();
  if (patch.LastTaken() != kPatchCodeSize) std::abort();
  if (whole) {
    if (!std::equal(patch.Buffer().begin(), patch.Buffer().end(), data + kPatchFileOffset))
      std::abort();
  } else if (patch.Buffer() != earlier) {
    std::abort();
  }
  const PatchDescriptor d = patch.Descriptor();
  if (((d[14] << 8) | d[15]) != PatchChecksum(patch.Buffer())) std::abort();
  return 0;
}
