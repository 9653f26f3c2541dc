#pragma once
// Unicode characters that change how text looks or where it goes rather than
// what it says, and printing outside text safely. Texts inside the program
// are UTF-8.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvex48 {

// U+0000..U+001F, U+007F..U+009F: escape, bell or newline would act on a
// terminal or break a line of output.
bool IsControlCharacter(char32_t c);
// The characters that reorder the text around them (U+061C, U+200E, U+200F,
// U+202A..U+202E, U+2066..U+2069) and the line and paragraph separators
// (U+2028, U+2029): a name holding one reads differently from what it is.
bool IsLayoutControl(char32_t c);
// Space and the characters that show nothing: the Unicode spaces, soft
// hyphen, zero-width space and joiners, word joiner, byte order mark.
bool IsBlankCharacter(char32_t c);

// The character starting at `text[at]` when it is well-formed UTF-8 (no
// overlong form, no surrogate, at most U+10FFFF), with its length in bytes;
// nullopt otherwise.
struct Utf8Character {
  char32_t code;
  std::size_t length;
};
std::optional<Utf8Character> DecodeUtf8At(std::string_view text, std::size_t at);

// `text` made safe for one line of a terminal: control characters become
// \xNN (\u00NN above 0x7F), layout controls \uNNNN, and each byte that is
// not part of well-formed UTF-8 \xNN. Everything else is kept as it is.
std::string EscapeForTerminal(std::string_view text);

}  // namespace korvex48
