#pragma once
// The configuration image: the mouse's parameter section (block 0), profile
// section (block 1), customer identifier and macro storage. The same bytes in
// the same order form the default device image resource and the profile files:
//
//   offset    0  104  parameter section
//   offset  104  145  profile section
//   offset  249    2  customer identifier
//   offset  251    5  unused, 0xFF
//   offset  256  512  packed macro area, or the slot layout's names table
//   offset  768 8192  slot layout only: macro page i at 768 + 256 * i
//
// Sections are plain byte arrays; fields are reached through the offsets and
// accessors here and in parameter_fields.h, never by casting structs. The
// macro storage is kept raw: the macros subsystem parses it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace korvex48 {

// Section and storage sizes.
inline constexpr std::size_t kParameterSectionSize = 104;
inline constexpr std::size_t kProfileSectionSize = 145;
inline constexpr std::size_t kCustomerIdSize = 2;
inline constexpr std::size_t kMacroAreaSize = 512;  // packed area or names table (32 x 16)
inline constexpr std::size_t kMacroPageCount = 32;
inline constexpr std::size_t kMacroPageSize = 256;
inline constexpr std::size_t kMacroNameSize = 16;

// Offsets of the parts inside an image (and a profile file).
inline constexpr std::size_t kImageParameterOffset = 0;
inline constexpr std::size_t kImageProfileOffset = 104;
inline constexpr std::size_t kImageCustomerIdOffset = 249;
inline constexpr std::size_t kImageUnusedOffset = 251;
inline constexpr std::size_t kImageUnusedSize = 5;
inline constexpr std::size_t kImageMacroOffset = 256;
inline constexpr std::size_t kImagePagesOffset = 768;
inline constexpr std::size_t kImageHeadSize = 251;    // bytes 0..250: sections + customer id
inline constexpr std::size_t kPackedImageSize = 768;  // "I2C" kinds
inline constexpr std::size_t kSlotImageSize = 8960;   // "Flash" + "Flash"

// Checksum bytes and the rule's constant.
inline constexpr std::size_t kParameterChecksumOffset = 103;
inline constexpr std::size_t kProfileChecksumOffset = 144;
inline constexpr std::uint8_t kChecksumXor = 0x5A;

// Parameter byte 0, the storage marker / layout mark.
inline constexpr std::uint8_t kPackedLayoutMark = 0xE0;
inline constexpr std::uint8_t kSlotLayoutMark = 0xF0;

// Profile section: 3 profiles x 12 buttons x 4-byte key function code.
inline constexpr int kProfileCount = 3;
inline constexpr int kButtonsPerProfile = 12;
inline constexpr std::size_t kKeyCodeSize = 4;

using ParameterSection = std::array<std::uint8_t, kParameterSectionSize>;
using ProfileSection = std::array<std::uint8_t, kProfileSectionSize>;
using CustomerId = std::array<std::uint8_t, kCustomerIdSize>;
using MacroArea = std::array<std::uint8_t, kMacroAreaSize>;
using MacroPage = std::array<std::uint8_t, kMacroPageSize>;
using MacroPages = std::array<MacroPage, kMacroPageCount>;
using PageAddressTable = std::array<std::uint16_t, kMacroPageCount>;
using KeyCodeBytes = std::array<std::uint8_t, kKeyCodeSize>;

// Device address of slot page i: 0x4000 + 0x100 * i.
constexpr PageAddressTable SlotPageAddresses() {
  PageAddressTable t{};
  for (std::size_t i = 0; i < kMacroPageCount; ++i)
    t[i] = static_cast<std::uint16_t>(0x4000 + 0x100 * i);
  return t;
}

// Storage kind of an image, read from its parameter byte 0.
enum class StorageKind {
  kNone,   // any other marker: nothing of the macro storage is taken
  kI2C,    // 0xE0: 768-byte image, packed 512-byte macro area
  kFlash,  // 0xF0: 8960-byte image, names table + 32 pages
};

// Macro storage layout of a connected mouse, from its storage kinds.
enum class StorageLayout {
  kNone,    // the kinds fit neither row: no macro storage is moved
  kPacked,  // primary "I2C" (any secondary), or "Flash" + "I2C"
  kSlot,    // "Flash" + "Flash"
};

// One whole configuration: what the default copy and the working image hold.
// `macro_area` is the packed area (packed layout) or the names table (slot
// layout); `macro_pages` are used by the slot layout only.
struct ConfigImage {
  ParameterSection parameters{};
  ProfileSection profiles{};
  CustomerId customer_id{};
  MacroArea macro_area{};
  MacroPages macro_pages{};
  PageAddressTable page_addresses = SlotPageAddresses();

  friend bool operator==(const ConfigImage&, const ConfigImage&) = default;
};

// Writes byte 103: (sum of bytes 0..102 mod 256) XOR 0x5A.
void CalcParameterChecksum(ParameterSection& parameters);
// Writes byte 144: (sum of bytes 0..143 mod 256) XOR 0x5A.
void CalcProfileChecksum(ProfileSection& profiles);
// The checksum the rule gives for `bytes` (sum mod 256, XOR 0x5A); for use on
// the bytes that precede the checksum byte.
std::uint8_t SectionChecksum(std::span<const std::uint8_t> bytes);

// Storage kind for a marker byte (parameter byte 0).
StorageKind StorageKindOfMarker(std::uint8_t marker);
// Storage kind of an image's bytes; kNone for an empty span.
StorageKind StorageKindOf(std::span<const std::uint8_t> image);

// Layout for the session's storage strings ("I2C", "Flash" or empty).
StorageLayout StorageLayoutOf(std::string_view primary, std::string_view secondary);
// Layout mark for a layout: 0xE0, 0xF0, or 0 for kNone (no mark fits).
std::uint8_t LayoutMarkOf(StorageLayout layout);
// Profile-file / image size for a layout: 768, 8960, or 256 for kNone.
std::size_t ImageSizeOf(StorageLayout layout);

// Key function code of button 1..12 of profile 1..3, at profile-section offset
// 48 * (profile - 1) + 4 * (button - 1) (the same numbering as the buttons
// subsystem's KeyCodeOffset). Zeros for a position out of range.
KeyCodeBytes KeyCodeAt(const ProfileSection& profiles, int profile, int button);
// Stores a key function code; ignored for a position out of range.
void SetKeyCodeAt(ProfileSection& profiles, int profile, int button, const KeyCodeBytes& code);

}  // namespace korvex48
