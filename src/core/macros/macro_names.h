#pragma once
// Macro names: 16-byte fields of up to 8 UTF-16 code units, each unit high
// byte first, the rest zero; the name ends at the first zero unit. The same
// form names device macros and PC library macros. Texts inside the program
// are UTF-8; the conversions go through UTF-16 code units.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/common/bytes.h"

namespace korvex48 {

inline constexpr std::size_t kMacroNameBytes = 16;
inline constexpr std::size_t kMacroNameUnits = 8;
using MacroName = std::array<std::uint8_t, kMacroNameBytes>;

// Each UTF-16 code unit of `text`, up to the first zero unit and at most 500
// units, as four lower-case hex digits ("Fire" -> "0046006900720065").
std::string NameToUnicodeHex(std::u16string_view text);
std::string NameToUnicodeHex(std::string_view utf8);  // the UTF-8 text's units

// Groups of four hex digits taken from the end of `hex`; each group is one
// code unit, kept in text order. Groups that are not hex are skipped, digits
// left over at the front ignored, and the text ends at the first zero unit.
std::u16string UnicodeHexToUnits(std::string_view hex);
std::string UnicodeHexToName(std::string_view hex);  // the same, as UTF-8

// The stored field of a name: its first 8 code units (a surrogate pair that
// would be cut is left out), the rest zero.
MacroName MacroNameFromText(std::string_view utf8);
// The text of a stored field (16 bytes; missing bytes read as zero).
std::string MacroNameText(ByteView field);

// Whether a name holds a control character (U+0000..U+001F, U+007F..U+009F):
// escape, bell or newline in a name would act on a terminal or break a line
// of output, so no name with one is taken.
bool NameHasControlCharacters(std::string_view utf8);
// The name with each control character as \xNN (\u00NN above 0x7F), for
// text output.
std::string EscapeControlCharacters(std::string_view utf8);

// UTF-8 <-> UTF-16. Malformed input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view units);

}  // namespace korvex48
