#pragma once
// Decoding and tokenizing the bytes of a language table.
//
// A language table is UTF-16 little-endian text starting with the mark FF FE.
// Its tokens are separated by blanks, tabs and line breaks (any character up
// to U+0020). A token that starts with a double quote runs to the next lone
// double quote; a doubled quote inside it stands for one quote; the quotes are
// removed. An unquoted token ends at the next separator, so a text with a
// blank must be quoted. Text right after a closing quote starts a new token.
// An unterminated quote runs to the end of the text.
#include <optional>
#include <string>
#include <vector>

#include "core/common/bytes.h"

namespace korvex48 {

// Decodes `bytes` to UTF-8.
//   - With the mark FF FE: the rest is UTF-16 LE. An odd number of bytes after
//     the mark is refused (a truncated table). Unpaired surrogates become
//     U+FFFD.
//   - Without the mark: the bytes are taken as UTF-8 text, less a leading
//     UTF-8 mark EF BB BF; invalid UTF-8 is refused.
// NUL characters are kept as they are (they separate tokens).
// On failure returns nullopt and, when given, a short reason in `error`.
std::optional<std::string> DecodeLanguageText(ByteView bytes, std::string* error = nullptr);

// Splits decoded (UTF-8) text into tokens by the rules above.
std::vector<std::string> TokenizeLanguageText(const std::string& text);

}  // namespace korvex48
