#pragma once
// Keys are recorded by the physical key, never by the character the desktop's
// layout puts on it: a Linux key code (evdev, as X11 and Wayland report it
// less 8) is turned into the Windows virtual-key code that key has on a US
// layout, so the same key gives the same name and HID usage on a German or
// French desktop.
namespace korvex48 {

// The virtual-key code of evdev key code `scan_code`, or 0 for a key the key
// table has no entry for (VirtualKeyName(0) is "None"). Left and right
// modifier keys give their own codes (0xA0..0xA5, 91, 92).
int ScanCodeToVirtualKey(int scan_code);

// The evdev code of an X11 / xkb key code (key code - 8; negative below 8).
inline int ScanCodeOfXKeycode(unsigned keycode) { return static_cast<int>(keycode) - 8; }

}  // namespace korvex48
