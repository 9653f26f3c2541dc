#include "core/buttons/key_combination.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/buttons/key_codes.h"
#include "core/buttons/keyboard_keys.h"
#include "core/common/text.h"

namespace korvex48 {
namespace {

// Keys the dialog never takes: it ignores the Windows keys and any key while
// Shift, Ctrl or Alt is down, which includes those keys themselves.
bool IgnoredByDialog(int vk) {
  return (vk >= 0x10 && vk <= 0x12) || vk == 0x5B || vk == 0x5C || (vk >= 0xA0 && vk <= 0xA5);
}

struct Modifier {
  std::string_view name;
  std::uint8_t bit;
};
constexpr std::array<Modifier, 4> kModifiers = {{{"Ctrl", kModifierCtrl},
                                                 {"Shift", kModifierShift},
                                                 {"Alt", kModifierAlt},
                                                 {"Win", kModifierWin}}};

}  // namespace

std::optional<KeyCombination> ParseKeyCombination(std::string_view text, std::string* error) {
  std::uint8_t modifiers = 0;
  std::vector<std::string> keys;
  std::vector<int> usages;
  std::size_t start = 0;
  while (true) {
    const std::size_t plus = text.find('+', start);
    const std::string_view part =
        text.substr(start, plus == std::string_view::npos ? std::string_view::npos : plus - start);
    if (part.empty()) {
      *error = "a key combination has an empty part: \"" + std::string(text) + "\"";
      return std::nullopt;
    }
    bool done = false;
    for (const Modifier& m : kModifiers) {
      if (EqualIgnoringAsciiCase(part, m.name)) {
        modifiers |= m.bit;
        done = true;
      }
    }
    if (!done) {
      int found = -1;
      for (int vk = 1; vk < 256; ++vk) {
        const std::string_view name = VirtualKeyName(vk);
        if (name != "None" && EqualIgnoringAsciiCase(part, name)) {
          found = vk;
          break;
        }
      }
      if (found < 0) {
        *error = "unknown key \"" + std::string(part) + "\"";
        return std::nullopt;
      }
      if (IgnoredByDialog(found)) {
        *error = "\"" + std::string(part) + "\" can only be a modifier (Ctrl, Shift, Alt, Win)";
        return std::nullopt;
      }
      if (keys.size() == 2) {
        *error = "a key combination takes at most two keys besides the modifiers";
        return std::nullopt;
      }
      keys.emplace_back(VirtualKeyName(found));
      usages.push_back(VirtualKeyToUsage(found));
    }
    if (plus == std::string_view::npos) break;
    start = plus + 1;
  }
  KeyCombination combo;
  for (const Modifier& m : kModifiers) {
    if ((modifiers & m.bit) == 0) continue;
    if (!combo.text.empty()) combo.text += '+';
    combo.text += m.name;
  }
  for (const std::string& k : keys) {
    if (!combo.text.empty()) combo.text += '+';
    combo.text += k;
  }
  usages.resize(2, 0);
  char code[9];
  std::snprintf(code, sizeof code, "02%02X%02X%02X", modifiers, usages[0], usages[1]);
  combo.code = code;
  return combo;
}

}  // namespace korvex48
