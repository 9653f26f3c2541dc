#include "core/macros/key_names.h"

#include "core/buttons/keyboard_keys.h"

namespace korvex48 {

std::string MacroKeyName(std::uint8_t usage) { return std::string(UsageName(usage)); }

std::string MacroModifierName(std::uint8_t mask) {
  // Mask bit -> virtual-key code whose capture name names it.
  struct Bit {
    std::uint8_t bit;
    int virtual_key;
  };
  static constexpr Bit kBits[] = {
      {0x01, 0x11},  // Ctrl
      {0x02, 0x10},  // Shift
      {0x04, 0x12},  // Alt
      {0x08, 0x5B},  // Left Windows
      {0x10, 0xA3},  // Right Ctrl
      {0x20, 0xA1},  // Right Shift
      {0x40, 0xA5},  // Right Alt
      {0x80, 0x5C},  // Right Windows
  };
  std::string name;
  for (const Bit& b : kBits) {
    if ((mask & b.bit) == 0) continue;
    if (!name.empty()) name += '+';
    name += VirtualKeyName(b.virtual_key);
  }
  return name;
}

}  // namespace korvex48
