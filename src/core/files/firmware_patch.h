#pragma once
// The firmware patch of the Update page: 1024 bytes of patch code taken from
// file offset 0x8000 of a firmware file, and the 16-byte descriptor that tells
// the mouse where the patch goes and how to check it. The device sequence that
// programs them lives with the Update page.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/common/file_io.h"

namespace korvex48 {

inline constexpr std::size_t kPatchCodeSize = 1024;
inline constexpr std::size_t kPatchFileOffset = 0x8000;
// The shortest firmware file that supplies the whole patch code.
inline constexpr std::size_t kMinFirmwareFileSize = kPatchFileOffset + kPatchCodeSize;
inline constexpr std::uint16_t kPatchDeviceAddress = 0xC000;      // where the code goes
inline constexpr std::uint16_t kPatchDescriptorAddress = 0x1000;  // where the descriptor goes
inline constexpr std::uint16_t kPatchChecksumXor = 0x015A;

using PatchBuffer = std::array<std::uint8_t, kPatchCodeSize>;
using PatchDescriptor = std::array<std::uint8_t, 16>;

// Sum of the 1024 patch bytes modulo 65536, XOR 0x015A.
std::uint16_t PatchChecksum(const PatchBuffer& patch);
// Bytes 0..7 zero; 8..9 C0 00 (address 0xC000); 10..11 04 00 (length 1024);
// 12..13 00 1A; 14..15 the checksum, high byte first.
PatchDescriptor CheckPatchCodeSection(const PatchBuffer& patch);

// Copies up to 1024 bytes from offset 0x8000 of `file` into `patch`; bytes the
// file does not supply keep their value. Returns the number of bytes taken.
std::size_t TakePatchCode(std::span<const std::uint8_t> file, PatchBuffer& patch);

// The patch buffer and the patch-loaded flag of the Update page.
class FirmwarePatch {
 public:
  enum class LoadStatus {
    kLoaded,      // all 1024 patch bytes taken
    kNoPatch,     // the file ends before 0x8400: its patch code is not whole
    kUnreadable,  // the file could not be opened or read, or is no regular file
  };
  // Reads the patch code of the file at `path`. Only kLoaded sets the flag;
  // otherwise buffer and flag stay as they were: a patch made partly of an
  // earlier file's bytes would be programmed with a valid checksum.
  LoadStatus LoadFile(const std::string& path, FileError* error = nullptr);
  // As LoadFile, from bytes already read (the whole file).
  LoadStatus LoadBytes(std::span<const std::uint8_t> file);

  // Opening the Update page clears the flag but keeps the buffer.
  void ClearLoaded() { loaded_ = false; }
  bool Loaded() const { return loaded_; }
  const PatchBuffer& Buffer() const { return buffer_; }
  std::size_t LastTaken() const { return last_taken_; }  // bytes the last load supplied
  PatchDescriptor Descriptor() const { return CheckPatchCodeSection(buffer_); }

 private:
  PatchBuffer buffer_{};
  bool loaded_ = false;
  std::size_t last_taken_ = 0;
};

}  // namespace korvex48
