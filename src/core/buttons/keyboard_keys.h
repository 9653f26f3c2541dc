#pragma once
// Keyboard keys: the capture names of Windows virtual-key codes (the codes the
// key-combination dialog and the macro recorder receive), the HID usage each
// one sends, and the names of those usages. Key names are never translated.
#include <cstdint>
#include <string_view>

namespace korvex48 {

// Capture name of a virtual-key code; "None" for codes outside the key table
// (including values outside 0..255). The view refers to static storage.
std::string_view VirtualKeyName(int virtualKey);

// HID usage a virtual-key code sends (Keyboard/Keypad page, media and browser
// keys on the device's own 0xC0..0xD1); 0 when the key has none.
std::uint8_t VirtualKeyToUsage(int virtualKey);

// Name of a HID usage for key-code names and macro lines; empty for any of the
// usages the key table does not produce (including 0 and values above 255).
// The view refers to static storage.
std::string_view UsageName(int usage);

}  // namespace korvex48
