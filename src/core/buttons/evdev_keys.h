#pragma once
// Keys are captured by the physical key, never by the character a layout puts
// on it: the Linux key code (evdev, as in <linux/input-event-codes.h>) of a
// key press is turned into the Windows virtual-key code that key has on a US
// layout, so VirtualKeyName and VirtualKeyToUsage give the same name and HID
// usage whether the desktop uses a US, German or French layout.
#include <cstdint>

namespace korvex48 {

// The virtual-key code of evdev key code `evdevCode`, or 0 for a key the key
// table has no entry for (VirtualKeyName(0) is "None", its usage 0). Covers
// every key of a standard 105-key keyboard and the media and browser keys.
int VirtualKeyOfEvdevCode(int evdevCode);

// X11 and Wayland (xkb) key codes are the evdev code + 8; this is the evdev
// code of such a key code (negative for key codes below 8, which have no key).
inline int EvdevCodeOfXkbKeycode(std::uint32_t keycode) { return static_cast<int>(keycode) - 8; }

}  // namespace korvex48
