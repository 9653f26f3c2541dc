#include "core/files/profile_file.h"

#include <algorithm>

#include "core/common/bytes.h"
#include "core/files/file_range.h"

namespace korvex48 {

namespace {
template <std::size_t N>
void Append(std::vector<std::uint8_t>& out, const std::array<std::uint8_t, N>& part) {
  out.insert(out.end(), part.begin(), part.end());
}

void AppendMacroStorage(std::vector<std::uint8_t>& out, const ConfigImage& image,
                        StorageLayout layout) {
  if (layout == StorageLayout::kNone) return;
  Append(out, image.macro_area);
  if (layout != StorageLayout::kSlot) return;
  for (const MacroPage& page : image.macro_pages) Append(out, page);
}

// Copies what `file` holds of dest's bytes from `offset`; the rest of `dest`
// keeps its value.
template <std::size_t N>
void CopyAvailable(std::span<const std::uint8_t> file, std::size_t offset,
                   std::array<std::uint8_t, N>& dest) {
  if (offset >= file.size()) return;
  const std::size_t n = std::min(N, file.size() - offset);
  std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(offset), n, dest.begin());
}

ProfileLoadResult Refused(std::string reason) {
  return {ProfileLoadStatus::kRefused, kLoadBinErrorText, std::move(reason)};
}

std::string Hex2(std::uint8_t v) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string("0x") + kDigits[v >> 4] + kDigits[v & 0xF];
}
}  // namespace

std::string ProfileFileTarget(const std::string& chosen) { return chosen + ".bin"; }

std::vector<std::uint8_t> ProfileFileBytes(const ConfigImage& working, StorageLayout layout) {
  std::vector<std::uint8_t> out;
  out.reserve(ImageSizeOf(layout));
  Append(out, working.parameters);
  Append(out, working.profiles);
  Append(out, working.customer_id);
  out.insert(out.end(), kImageUnusedSize, 0xFF);
  AppendMacroStorage(out, working, layout);
  return out;
}

bool WriteProfileFile(const std::string& path, const ConfigImage& working, StorageLayout layout,
                      FileError* error) {
  return WriteFileAtomically(path, ProfileFileBytes(working, layout), error);
}

ProfileLoadResult LoadProfileBytes(std::span<const std::uint8_t> file, StorageLayout layout,
                                   ConfigImage& working) {
  // A file that does not hold both sections and the customer identifier would
  // leave a mix of old and new section bytes to be written to the mouse.
  if (file.size() < kImageHeadSize)
    return Refused("too short for a profile file (" + std::to_string(file.size()) + " bytes)");
  if (layout != StorageLayout::kNone && file[0] != LayoutMarkOf(layout))
    return Refused("not a profile file of this mouse's storage: its first byte is " +
                   Hex2(file[0]) + ", not " + Hex2(LayoutMarkOf(layout)));

  ByteReader reader(file);
  auto take = [&reader](auto& dest) {
    auto bytes = reader.Take(dest.size());
    std::copy(bytes->begin(), bytes->end(), dest.begin());  // size checked above
  };
  take(working.parameters);
  take(working.profiles);
  take(working.customer_id);

  if (layout == StorageLayout::kNone) return {ProfileLoadStatus::kLoaded, {}, {}};
  CopyAvailable(file, kImageMacroOffset, working.macro_area);
  if (layout == StorageLayout::kSlot) {
    for (std::size_t i = 0; i < kMacroPageCount; ++i)
      CopyAvailable(file, kImagePagesOffset + kMacroPageSize * i, working.macro_pages[i]);
  }
  return {ProfileLoadStatus::kLoaded, {}, {}};
}

ProfileLoadResult LoadProfileFile(const std::string& path, StorageLayout layout,
                                  ConfigImage& working) {
  FileError error;
  auto bytes = ReadFileRange(path, 0, kSlotImageSize, &error);
  if (!bytes) return {ProfileLoadStatus::kUnreadable, error.message, {}};
  return LoadProfileBytes(*bytes, layout, working);
}

std::vector<std::uint8_t> DeviceMacroExportBytes(const ConfigImage& working, StorageLayout layout) {
  std::vector<std::uint8_t> out;
  AppendMacroStorage(out, working, layout);
  return out;
}

bool WriteDeviceMacroExport(const std::string& path, const ConfigImage& working,
                            StorageLayout layout, FileError* error) {
  return WriteFileAtomically(path, DeviceMacroExportBytes(working, layout), error);
}

}  // namespace korvex48
