#include "core/macros/macro_names.h"

#include <cstddef>
#include <cstdio>
#include <optional>

#include "core/common/unicode_text.h"

namespace korvex48 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::size_t kMaxHexUnits = 500;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::optional<Utf8Character> c = DecodeUtf8At(utf8, i);
    if (!c) {
      out += static_cast<char16_t>(kReplacement);
      ++i;
      continue;
    }
    if (c->code >= 0x10000) {
      const char32_t v = c->code - 0x10000;
      out += static_cast<char16_t>(0xD800 + (v >> 10));
      out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
    } else {
      out += static_cast<char16_t>(c->code);
    }
    i += c->length;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string out;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if (IsHighSurrogate(u) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      AppendUtf8(0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00),
                 out);
      ++i;
    } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
      AppendUtf8(kReplacement, out);
    } else {
      AppendUtf8(u, out);
    }
  }
  return out;
}

std::string NameToUnicodeHex(std::u16string_view text) {
  static constexpr char kHexLower[] = "0123456789abcdef";
  std::string hex;
  for (std::size_t i = 0; i < text.size() && i < kMaxHexUnits; ++i) {
    const char16_t u = text[i];
    if (u == 0) break;
    hex += kHexLower[(u >> 12) & 0xF];
    hex += kHexLower[(u >> 8) & 0xF];
    hex += kHexLower[(u >> 4) & 0xF];
    hex += kHexLower[u & 0xF];
  }
  return hex;
}

std::string NameToUnicodeHex(std::string_view utf8) { return NameToUnicodeHex(Utf8ToUtf16(utf8)); }

std::u16string UnicodeHexToUnits(std::string_view hex) {
  std::u16string reversed;
  std::size_t end = hex.size();
  while (end >= 4) {
    const std::string_view group = hex.substr(end - 4, 4);
    end -= 4;
    unsigned value = 0;
    bool ok = true;
    for (char c : group) {
      const int v = HexValue(c);
      if (v < 0) {
        ok = false;
        break;
      }
      value = value * 16 + static_cast<unsigned>(v);
    }
    if (ok) reversed += static_cast<char16_t>(value);
  }
  std::u16string units(reversed.rbegin(), reversed.rend());
  const std::size_t zero = units.find(u'\0');
  if (zero != std::u16string::npos) units.resize(zero);
  return units;
}

std::string UnicodeHexToName(std::string_view hex) { return Utf16ToUtf8(UnicodeHexToUnits(hex)); }

MacroName MacroNameFromText(std::string_view utf8) {
  std::u16string units = Utf8ToUtf16(utf8);
  const std::size_t zero = units.find(u'\0');
  if (zero != std::u16string::npos) units.resize(zero);
  if (units.size() > kMacroNameUnits) {
    units.resize(kMacroNameUnits);
    if (IsHighSurrogate(units.back())) units.pop_back();  // never keep half a pair
  }
  MacroName field{};
  for (std::size_t i = 0; i < units.size(); ++i) {
    field[2 * i] = static_cast<std::uint8_t>(units[i] >> 8);
    field[2 * i + 1] = static_cast<std::uint8_t>(units[i] & 0xFF);
  }
  return field;
}

std::string MacroNameText(ByteView field) {
  static constexpr char kHexUpper[] = "0123456789ABCDEF";
  std::string hex;
  for (std::size_t i = 0; i < kMacroNameBytes; ++i) {
    const std::uint8_t b = ByteAt(field, i);
    hex += kHexUpper[b >> 4];
    hex += kHexUpper[b & 0x0F];
  }
  return UnicodeHexToName(hex);
}

bool NameHasControlCharacters(std::string_view utf8) {
  for (char16_t unit : Utf8ToUtf16(utf8))
    if (IsControlCharacter(unit)) return true;
  return false;
}

std::string EscapeControlCharacters(std::string_view utf8) { return EscapeForTerminal(utf8); }

MacroNameProblem CheckMacroName(std::u16string_view units) {
  if (units.empty()) return MacroNameProblem::kEmpty;
  bool blank = true;
  MacroNameProblem found = MacroNameProblem::kNone;
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(units[i]) || IsLowSurrogate(units[i])) {
      return MacroNameProblem::kMalformed;
    }
    if (IsControlCharacter(c)) {
      found = MacroNameProblem::kControl;
    } else if (IsLayoutControl(c) && found == MacroNameProblem::kNone) {
      found = MacroNameProblem::kLayoutControl;
    }
    blank = blank && IsBlankCharacter(c);
  }
  if (found != MacroNameProblem::kNone) return found;
  if (units.size() > kMacroNameUnits) return MacroNameProblem::kTooLong;
  return blank ? MacroNameProblem::kBlank : MacroNameProblem::kNone;
}

MacroNameProblem CheckMacroName(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();) {
    const std::optional<Utf8Character> c = DecodeUtf8At(utf8, i);
    if (!c) return MacroNameProblem::kMalformed;
    i += c->length;
  }
  return CheckMacroName(Utf8ToUtf16(utf8));
}

MacroNameProblem CheckStoredMacroName(ByteView field) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < kMacroNameBytes; i += 2) {
    const auto unit = static_cast<char16_t>((ByteAt(field, i) << 8) | ByteAt(field, i + 1));
    if (unit == 0) break;
    units += unit;
  }
  return CheckMacroName(units);
}

std::string MacroNameProblemText(MacroNameProblem problem) {
  switch (problem) {
    case MacroNameProblem::kNone:
      return {};
    case MacroNameProblem::kEmpty:
    case MacroNameProblem::kTooLong:
      return "a macro name has 1 to 8 characters";
    case MacroNameProblem::kMalformed:
      return "a macro name must be well-formed Unicode text";
    case MacroNameProblem::kControl:
      return "a macro name cannot hold control characters (escape, bell, newline, ...)";
    case MacroNameProblem::kLayoutControl:
      return "a macro name cannot hold text-direction controls or line separators (U+202E, "
             "...)";
    case MacroNameProblem::kBlank:
      return "a macro name cannot be blank";
  }
  return {};
}

}  // namespace korvex48
