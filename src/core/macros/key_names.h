#pragma once
// Names of keys and modifiers in macro lines, taken from the keyboard key
// tables so that macro lines and key-code names agree.
#include <cstdint>
#include <string>

namespace korvex48 {

// Name of a HID keyboard usage in a key line; empty for an unnamed usage.
std::string MacroKeyName(std::uint8_t usage);

// Name of a modifier mask in a modifier line: "Ctrl", "Shift", "Alt",
// "Left Windows", "Right Windows" for the five single keys. Other masks are
// named by their bits joined with "+" (0x10, 0x20, 0x40 the right Ctrl, Shift
// and Alt); 0 has an empty name.
std::string MacroModifierName(std::uint8_t mask);

}  // namespace korvex48
