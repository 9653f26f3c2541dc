#include "core/buttons/key_code_table.h"

namespace korvex48 {
namespace {

bool InRange(int profile, int button) {
  return profile >= 1 && profile <= kKeyProfiles && button >= 1 && button <= kKeyButtons;
}

std::size_t Index(int value) { return static_cast<std::size_t>(value - 1); }

}  // namespace

std::optional<std::size_t> KeyCodeOffset(int profile, int button) {
  if (!InRange(profile, button)) return std::nullopt;
  return 48 * Index(profile) + 4 * Index(button);
}

KeyCodes::KeyCodes() {
  for (auto& profile : codes_) profile.fill("00000000");
}

bool KeyCodes::LoadFromProfileSection(ByteView section) {
  if (section.size() < kProfileCodeBytes) return false;
  for (int p = 1; p <= kKeyProfiles; ++p) {
    for (int n = 1; n <= kKeyButtons; ++n) {
      const std::size_t at = *KeyCodeOffset(p, n);
      codes_[Index(p)][Index(n)] =
          KeyCodeToText({section[at], section[at + 1], section[at + 2], section[at + 3]});
    }
  }
  return true;
}

bool KeyCodes::StoreToProfileSection(std::span<std::uint8_t> section) const {
  if (section.size() < kProfileCodeBytes) return false;
  for (int p = 1; p <= kKeyProfiles; ++p) {
    for (int n = 1; n <= kKeyButtons; ++n) {
      // Texts only ever enter through Set or LoadFromProfileSection, so they parse.
      const KeyCodeBytes bytes = KeyCodeFromText(Code(p, n)).value_or(KeyCodeBytes{});
      const std::size_t at = *KeyCodeOffset(p, n);
      for (std::size_t i = 0; i < bytes.size(); ++i) section[at + i] = bytes[i];
    }
  }
  return true;
}

const std::string& KeyCodes::Code(int profile, int button) const {
  static const std::string kEmpty;
  return InRange(profile, button) ? codes_[Index(profile)][Index(button)] : kEmpty;
}

std::optional<KeyCodeBytes> KeyCodes::Bytes(int profile, int button) const {
  if (!InRange(profile, button)) return std::nullopt;
  return KeyCodeFromText(Code(profile, button));
}

std::optional<ProfileByteWrite> KeyCodes::Set(int profile, int button, std::string_view code) {
  const std::optional<std::size_t> offset = KeyCodeOffset(profile, button);
  const std::optional<KeyCodeBytes> bytes = KeyCodeFromText(code);
  if (!offset || !bytes) return std::nullopt;
  codes_[Index(profile)][Index(button)] = KeyCodeToText(*bytes);
  return ProfileByteWrite{*offset, *bytes};
}

bool ApplyProfileWrites(std::span<std::uint8_t> section, std::span<const ProfileByteWrite> writes) {
  for (const ProfileByteWrite& w : writes) {
    if (w.offset > section.size() || section.size() - w.offset < w.bytes.size()) return false;
  }
  for (const ProfileByteWrite& w : writes) {
    for (std::size_t i = 0; i < w.bytes.size(); ++i) section[w.offset + i] = w.bytes[i];
  }
  return true;
}

std::array<KeyCodeNaming, kKeyButtons> DescribeProfile(const KeyCodes& codes, int profile,
                                                       const KeyNameSources& sources) {
  std::array<KeyCodeNaming, kKeyButtons> namings;
  for (int n = 1; n <= kKeyButtons; ++n) {
    namings[Index(n)] = DescribeKeyCode(codes.Code(profile, n), sources);
  }
  return namings;
}

ButtonTexts ProfileKeyNames(const KeyCodes& codes, int profile, const KeyNameSources& sources) {
  ButtonTexts names;
  const auto namings = DescribeProfile(codes, profile, sources);
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = namings[i].name;
  return names;
}

}  // namespace korvex48
