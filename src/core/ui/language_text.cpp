#include "core/ui/language_text.h"

#include <cstdint>

namespace korvex48 {
namespace {

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

constexpr std::uint32_t kReplacement = 0xFFFD;

// Checks that `bytes` are well-formed UTF-8 (no overlongs, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(ByteView bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    std::uint8_t c = bytes[i];
    std::size_t n = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (bytes.size() - i <= n) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      std::uint8_t cc = bytes[i + k];
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += n + 1;
  }
  return true;
}

}  // namespace

std::optional<std::string> DecodeLanguageText(ByteView bytes, std::string* error) {
  auto fail = [&](const char* why) -> std::optional<std::string> {
    if (error != nullptr) *error = why;
    return std::nullopt;
  };
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
    // A UTF-8 mark would otherwise stick to the first token and hide the
    // section header, leaving every text of the table empty.
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
      bytes = bytes.subspan(3);
    }
    if (!IsValidUtf8(bytes)) return fail("language table without FF FE mark is not UTF-8 text");
    return std::string(bytes.begin(), bytes.end());
  }
  ByteReader reader(bytes.subspan(2));
  if (reader.Remaining() % 2 != 0) return fail("language table has an odd number of bytes");
  std::string out;
  out.reserve(reader.Remaining() / 2);
  while (!reader.AtEnd()) {
    std::uint16_t unit = *reader.U16Le();
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      // A high surrogate needs a low one right after it.
      ByteReader peek = reader;
      std::optional<std::uint16_t> next = peek.U16Le();
      if (next && *next >= 0xDC00 && *next <= 0xDFFF) {
        reader = peek;
        AppendUtf8(
            out, 0x10000 + ((static_cast<std::uint32_t>(unit) - 0xD800) << 10) + (*next - 0xDC00));
      } else {
        AppendUtf8(out, kReplacement);
      }
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::vector<std::string> TokenizeLanguageText(const std::string& text) {
  std::vector<std::string> tokens;
  auto separator = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    if (separator(text[i])) {
      ++i;
      continue;
    }
    std::string token;
    if (text[i] == '"') {
      ++i;
      while (i < n) {
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            token.push_back('"');
            i += 2;
            continue;
          }
          ++i;  // the closing quote
          break;
        }
        token.push_back(text[i++]);
      }
    } else {
      while (i < n && !separator(text[i])) token.push_back(text[i++]);
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

}  // namespace korvex48
