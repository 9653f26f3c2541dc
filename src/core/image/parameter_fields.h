#pragma once
// Named fields of the 104-byte parameter section. The meaning of each field
// belongs to the page that edits it; this file fixes only offsets, widths and
// packing. Bytes not named here (7..32, 34..36, 43..51, the low nibble of byte
// 6, the text 87..102) are kept exactly as read.
//
// Levels are 1..8, colours 1..7, components 0 = red, 1 = green, 2 = blue.
// Out-of-range arguments read as 0 and write nothing.
#include <cstddef>
#include <cstdint>

#include "core/image/config_image.h"

namespace korvex48::param {

inline constexpr std::size_t kStorageMarker = 0;
inline constexpr std::size_t kRapidFireCounts = 1;  // one count per nibble
inline constexpr std::size_t kVendorId = 2;         // 2 bytes, big-endian
inline constexpr std::size_t kProductId = 4;        // 2 bytes, big-endian
inline constexpr std::size_t kStorageAndRate = 6;   // bits 7-6 secondary kind, 5-4 rate code
inline constexpr std::size_t kActiveProfile = 33;   // 0, 1 or 2
inline constexpr std::size_t kLighting = 37;        // bits 7-6 type, bits 3-0 mode
inline constexpr std::size_t kDpiLevels = 38;       // high: count - 1, low: current - 1
inline constexpr std::size_t kDpiIndexes = 39;      // 4 bytes, one nibble per level
inline constexpr std::size_t kFallTime = 52;        // 2 bytes, same value
inline constexpr std::size_t kLightColours = 54;    // 7 x RGB
inline constexpr std::size_t kDpiColours = 75;      // 12 bytes, 4-bit components
inline constexpr std::size_t kText = 87;            // 16 bytes, kept
inline constexpr std::size_t kTextSize = 16;
inline constexpr std::size_t kChecksum = kParameterChecksumOffset;

inline constexpr std::uint8_t kUnusedDpiIndex = 0xF;

std::uint16_t VendorIdOf(const ParameterSection& p);
std::uint16_t ProductIdOf(const ParameterSection& p);

// Bits 7-6 of byte 6: 0b10 = "I2C", 0b11 = "Flash".
std::uint8_t SecondaryStorageBitsOf(const ParameterSection& p);
// Bits 5-4 of byte 6, 0..3.
std::uint8_t ReportRateCodeOf(const ParameterSection& p);
void SetReportRateCode(ParameterSection& p, std::uint8_t code);  // code & 3, other bits kept

// Byte 37: type bits 7-6 (0 "RGB", 1 "Sync", 2 and 3 "NT"), mode bits 3-0.
std::uint8_t LightingTypeBitsOf(const ParameterSection& p);
std::uint8_t LightingModeOf(const ParameterSection& p);

// Byte 38.
int DpiLevelCountOf(const ParameterSection& p);                  // 1..16 (high nibble + 1)
int CurrentDpiLevelOf(const ParameterSection& p);                // 1..16 (low nibble + 1)
void SetDpiLevels(ParameterSection& p, int count, int current);  // both 1..16

// Bytes 39..42: value index 0..11 of a level, 0xF when unused.
std::size_t DpiIndexOffset(int level);  // byte of the level (39..42)
bool DpiIndexIsHighNibble(int level);   // even levels sit in the high nibble
std::uint8_t DpiIndexOf(const ParameterSection& p, int level);
void SetDpiIndex(ParameterSection& p, int level, std::uint8_t index);

// Bytes 75..86: 4-bit indicator colour component of a level.
std::size_t DpiColourOffset(int level, int component);
std::uint8_t DpiColourOf(const ParameterSection& p, int level, int component);
void SetDpiColour(ParameterSection& p, int level, int component, std::uint8_t value);

// Bytes 54..74: colour n at 54 + 3 * (n - 1) + component.
std::size_t LightColourOffset(int colour, int component);
std::uint8_t LightColourOf(const ParameterSection& p, int colour, int component);
void SetLightColour(ParameterSection& p, int colour, int component, std::uint8_t value);

// Bytes 52..53 (read from 52; written to both).
std::uint8_t FallTimeOf(const ParameterSection& p);
void SetFallTime(ParameterSection& p, std::uint8_t value);

}  // namespace korvex48::param
