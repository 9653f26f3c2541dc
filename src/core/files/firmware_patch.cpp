#include "core/files/firmware_patch.h"

#include <algorithm>

#include "core/files/file_range.h"

namespace korvex48 {

std::uint16_t PatchChecksum(const PatchBuffer& patch) {
  std::uint32_t sum = 0;
  for (std::uint8_t b : patch) sum += b;
  return static_cast<std::uint16_t>((sum & 0xFFFFu) ^ kPatchChecksumXor);
}

PatchDescriptor CheckPatchCodeSection(const PatchBuffer& patch) {
  const std::uint16_t checksum = PatchChecksum(patch);
  PatchDescriptor d{};
  d[8] = static_cast<std::uint8_t>(kPatchDeviceAddress >> 8);
  d[9] = static_cast<std::uint8_t>(kPatchDeviceAddress & 0xFF);
  d[10] = static_cast<std::uint8_t>(kPatchCodeSize >> 8);
  d[11] = static_cast<std::uint8_t>(kPatchCodeSize & 0xFF);
  d[12] = 0x00;
  d[13] = 0x1A;
  d[14] = static_cast<std::uint8_t>(checksum >> 8);
  d[15] = static_cast<std::uint8_t>(checksum & 0xFF);
  return d;
}

std::size_t TakePatchCode(std::span<const std::uint8_t> file, PatchBuffer& patch) {
  if (file.size() <= kPatchFileOffset) return 0;
  const std::size_t n = std::min(kPatchCodeSize, file.size() - kPatchFileOffset);
  std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(kPatchFileOffset), n, patch.begin());
  return n;
}

FirmwarePatch::LoadStatus FirmwarePatch::LoadBytes(std::span<const std::uint8_t> file) {
  if (file.size() < kMinFirmwareFileSize) return LoadStatus::kNoPatch;
  const std::size_t taken = TakePatchCode(file, buffer_);
  last_taken_ = taken;
  loaded_ = true;
  return LoadStatus::kLoaded;
}

FirmwarePatch::LoadStatus FirmwarePatch::LoadFile(const std::string& path, FileError* error) {
  auto bytes = ReadFileRange(path, kPatchFileOffset, kPatchCodeSize, error);
  if (!bytes) return LoadStatus::kUnreadable;
  if (bytes->size() < kPatchCodeSize) return LoadStatus::kNoPatch;
  std::copy(bytes->begin(), bytes->end(), buffer_.begin());
  last_taken_ = bytes->size();
  loaded_ = true;
  return LoadStatus::kLoaded;
}

}  // namespace korvex48
