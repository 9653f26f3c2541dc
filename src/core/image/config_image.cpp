#include "core/image/config_image.h"

#include <optional>

namespace korvex48 {

std::uint8_t SectionChecksum(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>((sum & 0xFFu) ^ kChecksumXor);
}

void CalcParameterChecksum(ParameterSection& parameters) {
  parameters[kParameterChecksumOffset] =
      SectionChecksum(std::span(parameters).first(kParameterChecksumOffset));
}

void CalcProfileChecksum(ProfileSection& profiles) {
  profiles[kProfileChecksumOffset] =
      SectionChecksum(std::span(profiles).first(kProfileChecksumOffset));
}

StorageKind StorageKindOfMarker(std::uint8_t marker) {
  switch (marker) {
    case kPackedLayoutMark:
      return StorageKind::kI2C;
    case kSlotLayoutMark:
      return StorageKind::kFlash;
    default:
      return StorageKind::kNone;
  }
}

StorageKind StorageKindOf(std::span<const std::uint8_t> image) {
  return image.empty() ? StorageKind::kNone : StorageKindOfMarker(image[0]);
}

StorageLayout StorageLayoutOf(std::string_view primary, std::string_view secondary) {
  if (primary == "I2C") return StorageLayout::kPacked;
  if (primary == "Flash") {
    if (secondary == "I2C") return StorageLayout::kPacked;
    if (secondary == "Flash") return StorageLayout::kSlot;
  }
  return StorageLayout::kNone;
}

std::uint8_t LayoutMarkOf(StorageLayout layout) {
  switch (layout) {
    case StorageLayout::kPacked:
      return kPackedLayoutMark;
    case StorageLayout::kSlot:
      return kSlotLayoutMark;
    case StorageLayout::kNone:
      break;
  }
  return 0;
}

std::size_t ImageSizeOf(StorageLayout layout) {
  switch (layout) {
    case StorageLayout::kPacked:
      return kPackedImageSize;
    case StorageLayout::kSlot:
      return kSlotImageSize;
    case StorageLayout::kNone:
      break;
  }
  return kImageMacroOffset;
}

namespace {
// Offset of a button's code, or nullopt for a position out of range.
std::optional<std::size_t> CodeOffset(int profile, int button) {
  if (profile < 1 || profile > kProfileCount || button < 1 || button > kButtonsPerProfile)
    return std::nullopt;
  return static_cast<std::size_t>(profile - 1) * kButtonsPerProfile * kKeyCodeSize +
         static_cast<std::size_t>(button - 1) * kKeyCodeSize;
}
}  // namespace

KeyCodeBytes KeyCodeAt(const ProfileSection& profiles, int profile, int button) {
  KeyCodeBytes code{};
  const auto at = CodeOffset(profile, button);
  if (!at) return code;
  for (std::size_t i = 0; i < kKeyCodeSize; ++i) code[i] = profiles[*at + i];
  return code;
}

void SetKeyCodeAt(ProfileSection& profiles, int profile, int button, const KeyCodeBytes& code) {
  const auto at = CodeOffset(profile, button);
  if (!at) return;
  for (std::size_t i = 0; i < kKeyCodeSize; ++i) profiles[*at + i] = code[i];
}

}  // namespace korvex48
