#include "core/common/unicode_text.h"

#include <cstdio>

namespace korvex48 {

bool IsControlCharacter(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool IsLayoutControl(char32_t c) {
  return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069) || c == 0x2028 || c == 0x2029;
}

bool IsBlankCharacter(char32_t c) {
  return c == 0x20 || c == 0xA0 || c == 0xAD || c == 0x1680 || (c >= 0x2000 && c <= 0x200D) ||
         c == 0x202F || c == 0x205F || c == 0x2060 || c == 0x3000 || c == 0xFEFF;
}

std::optional<Utf8Character> DecodeUtf8At(std::string_view text, std::size_t at) {
  if (at >= text.size()) return std::nullopt;
  const auto b0 = static_cast<unsigned char>(text[at]);
  std::size_t extra;
  char32_t code;
  if (b0 < 0x80) return Utf8Character{b0, 1};
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    code = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    code = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    code = b0 & 0x07;
  } else {
    return std::nullopt;
  }
  if (text.size() - at <= extra) return std::nullopt;
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(text[at + k]);
    if ((b & 0xC0) != 0x80) return std::nullopt;
    code = (code << 6) | (b & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (code < kMin[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    return std::nullopt;
  return Utf8Character{code, extra + 1};
}

std::string EscapeForTerminal(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char buf[12];
  for (std::size_t i = 0; i < text.size();) {
    const std::optional<Utf8Character> c = DecodeUtf8At(text, i);
    if (!c) {
      std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(text[i]));
      out += buf;
      ++i;
      continue;
    }
    if (IsControlCharacter(c->code) && c->code < 0x80) {
      std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned>(c->code));
      out += buf;
    } else if (IsControlCharacter(c->code) || IsLayoutControl(c->code)) {
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c->code));
      out += buf;
    } else {
      out.append(text.substr(i, c->length));
    }
    i += c->length;
  }
  return out;
}

}  // namespace korvex48
