#pragma once
// Looking up a text of the active language by its key ("Title", "Str210", ...).
// Texts are UTF-8 inside the program; the language tables are converted on load.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace korvex48 {

// Returns the text stored under `key` in the active language table, or an empty
// string when the key is missing.
using TextLookup = std::function<std::string(std::string_view key)>;

// Whether two texts are equal when ASCII letters are compared without regard
// to case (names typed by people: keys, menu functions, macro events).
inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace korvex48
