#pragma once
// The code table: the key function codes of 12 buttons in each of 3 profiles,
// as they lie in the first 144 bytes of the profile section. Changes are made
// through Set, which keeps the text canonical and returns the section bytes to
// store and send, so the text and the bytes never drift apart.
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/buttons/key_codes.h"
#include "core/common/bytes.h"

namespace korvex48 {

inline constexpr int kKeyProfiles = 3;
inline constexpr int kKeyButtons = 12;
// Bytes of the profile section that hold codes (the checksum follows them).
inline constexpr std::size_t kProfileCodeBytes = 144;

// One button's code at its profile-section offset: what the caller stores in
// the page copy of the section and, while live, sends with WriteProfileBytes.
struct ProfileByteWrite {
  std::size_t offset = 0;
  KeyCodeBytes bytes{};
  friend bool operator==(const ProfileByteWrite&, const ProfileByteWrite&) = default;
};

// Offset of button 1..12 of profile 1..3 in the profile section:
// 48 * (profile - 1) + 4 * (button - 1); nullopt outside those ranges.
std::optional<std::size_t> KeyCodeOffset(int profile, int button);

// Texts shown on (or computed for) the twelve button labels, index button - 1.
using ButtonTexts = std::array<std::string, kKeyButtons>;

class KeyCodes {
 public:
  // Every code "00000000".
  KeyCodes();

  // Takes all 36 codes from a profile section (at least 144 bytes). A shorter
  // span leaves the table unchanged and returns false.
  bool LoadFromProfileSection(ByteView section);
  // Writes all 36 codes into a section of at least 144 bytes; false (nothing
  // written) when shorter. The checksum byte is not touched.
  bool StoreToProfileSection(std::span<std::uint8_t> section) const;

  // Code text of a button; "" for a profile or button out of range.
  const std::string& Code(int profile, int button) const;
  std::optional<KeyCodeBytes> Bytes(int profile, int button) const;

  // Gives a button a code (any hex case; stored in upper case). Returns the
  // bytes to store and send, or nullopt -- table unchanged -- when the
  // position is out of range or the text is not a code.
  std::optional<ProfileByteWrite> Set(int profile, int button, std::string_view code);

  friend bool operator==(const KeyCodes&, const KeyCodes&) = default;

 private:
  std::array<std::array<std::string, kKeyButtons>, kKeyProfiles> codes_;
};

// Copies each write's four bytes into `section`. Returns false, writing
// nothing, when any write would fall outside it.
bool ApplyProfileWrites(std::span<std::uint8_t> section, std::span<const ProfileByteWrite> writes);

// The naming of the twelve codes of a profile, in button order (empty names
// for a profile out of range). Fire codes carry the settings to load.
std::array<KeyCodeNaming, kKeyButtons> DescribeProfile(const KeyCodes& codes, int profile,
                                                       const KeyNameSources& sources);
// Only the names of DescribeProfile.
ButtonTexts ProfileKeyNames(const KeyCodes& codes, int profile, const KeyNameSources& sources);

}  // namespace korvex48
