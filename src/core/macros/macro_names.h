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

// Why a text cannot name a macro: one rule for every way a name comes in
// (the name dialog, New Macro and Rename, Import One and Import All,
// korvex48ctl). A name that does not fit is refused, never cut.
enum class MacroNameProblem {
  kNone,
  kEmpty,
  kTooLong,        // more than 8 UTF-16 code units
  kMalformed,      // not well-formed UTF-8, or (stored) a lone surrogate
  kControl,        // a control character: escape, bell, newline, ...
  kLayoutControl,  // a text-direction control or a line separator (U+202E, ...)
  kBlank,          // nothing but spaces and characters that show nothing
};
MacroNameProblem CheckMacroName(std::string_view utf8);
MacroNameProblem CheckMacroName(std::u16string_view units);
// A stored 16-byte field, read up to its first zero unit.
MacroNameProblem CheckStoredMacroName(ByteView field);
// The refusal, in a few words for a message or an error line.
std::string MacroNameProblemText(MacroNameProblem problem);

// Whether a name holds a control character (U+0000..U+001F, U+007F..U+009F):
// escape, bell or newline in a name would act on a terminal or break a line
// of output, so no name with one is taken.
bool NameHasControlCharacters(std::string_view utf8);
// The name made safe for text output (EscapeForTerminal): each control
// character as \xNN (\u00NN above 0x7F), a layout control as \uNNNN.
std::string EscapeControlCharacters(std::string_view utf8);

// UTF-8 <-> UTF-16. Malformed input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view units);

}  // namespace korvex48
