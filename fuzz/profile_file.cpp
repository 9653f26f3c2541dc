// Profile files and images are outside bytes: any content must load or be
// refused cleanly, and a refused file must leave the working image untouched.
#include "core/files/profile_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/image/default_image.h"

using namespace korvex48;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  for (StorageLayout layout :
       {StorageLayout::kPacked, StorageLayout::kSlot, StorageLayout::kNone}) {
    ConfigImage working;
    working.macro_area.fill(0x5C);
    const ConfigImage before = working;
    const ProfileLoadResult r = LoadProfileBytes(file, layout, working);
    if (!r.ok() && !(working == before)) std::abort();
    if (r.ok()) {
      // What was loaded saves back to the same leading bytes.
      const auto saved = ProfileFileBytes(working, layout);
      for (std::size_t i = 0; i < kImageUnusedOffset; ++i)
        if (saved[i] != file[i]) std::abort();
    }
  }
  for (StorageKind kind : {StorageKind::kI2C, StorageKind::kFlash, StorageKind::kNone}) {
    ConfigImage dest;
    ReadImageSections(file, kind, dest);
  }
  ImageHead head{};
  ReadImageHead(file, head);
  (void)DefaultIdentifiersOf(head);
  (void)StorageKindOf(file);
  return 0;
}
