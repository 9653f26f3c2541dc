#pragma once
// Profile files ("Save Profile" / "Load Profile") and the device macro export.
// A profile file is the image layout with no header: parameter section (byte 0
// the layout mark), profile section, customer identifier, five 0xFF bytes, then
// the macro storage of the mouse's layout. Sizes: 768 (packed), 8960 (slot),
// 256 (storage kinds that fit neither layout).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/common/file_io.h"
#include "core/image/config_image.h"

namespace korvex48 {

// The fixed text shown when a file is refused (not from the language table).
inline constexpr const char* kLoadBinErrorText = "Loading .bin is error!";

// The target of a save: the chosen name with ".bin" appended, always, even
// when it already ends in ".bin" (files that exist elsewhere rely on this).
std::string ProfileFileTarget(const std::string& chosen);

// The bytes of a profile file for `layout` from the working image.
std::vector<std::uint8_t> ProfileFileBytes(const ConfigImage& working, StorageLayout layout);
// Writes ProfileFileBytes to `path` (already the target) atomically.
bool WriteProfileFile(const std::string& path, const ConfigImage& working, StorageLayout layout,
                      FileError* error = nullptr);

enum class ProfileLoadStatus {
  kLoaded,      // the working image was filled from the file
  kRefused,     // layout mark wrong or file too short; nothing was taken
  kUnreadable,  // the file could not be opened or read; nothing was taken
};
struct ProfileLoadResult {
  ProfileLoadStatus status = ProfileLoadStatus::kRefused;
  std::string message;  // kRefused: kLoadBinErrorText; kUnreadable: the system's reason
  // kRefused: why, in a few words ("too short for a profile file (12 bytes)").
  std::string reason;
  bool ok() const { return status == ProfileLoadStatus::kLoaded; }
};

// Takes a profile file's bytes into the working image. For kPacked the file's
// byte 0 must be 0xE0, for kSlot 0xF0; kNone makes no mark test and takes only
// the sections and the customer identifier. The file must hold at least the
// sections and customer identifier (251 bytes). Macro storage bytes a shorter
// file does not supply keep their value; bytes past the layout's size are
// ignored. Checksums are not tested. On refusal `working` is unchanged.
ProfileLoadResult LoadProfileBytes(std::span<const std::uint8_t> file, StorageLayout layout,
                                   ConfigImage& working);
// Reads at most the layout's size from `path` and runs LoadProfileBytes.
ProfileLoadResult LoadProfileFile(const std::string& path, StorageLayout layout,
                                  ConfigImage& working);

// The device macro export ("Export All"): the 512-byte packed area (packed),
// the names table + 32 pages, 8704 bytes (slot), empty for kNone.
std::vector<std::uint8_t> DeviceMacroExportBytes(const ConfigImage& working, StorageLayout layout);
bool WriteDeviceMacroExport(const std::string& path, const ConfigImage& working,
                            StorageLayout layout, FileError* error = nullptr);

}  // namespace korvex48
