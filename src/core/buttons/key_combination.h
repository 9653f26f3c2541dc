#pragma once
// A key combination as text (the command line, the configuration file) ("Ctrl+Shift+A", "Win+F5",
// "Page Down") turned into what the key-combination dialog hands over: its
// text (modifiers in the order Ctrl, Shift, Alt, Win, then the keys as typed)
// and the code "02" + modifier byte + first usage + second usage.
#include <optional>
#include <string>
#include <string_view>

namespace korvex48 {

struct KeyCombination {
  std::string text;
  std::string code;
};

// nullopt with `error` set for an unknown key name, more than two keys, a key
// the dialog ignores (Shift, Ctrl, Alt, the Windows keys) or an empty part.
std::optional<KeyCombination> ParseKeyCombination(std::string_view text, std::string* error);

}  // namespace korvex48
