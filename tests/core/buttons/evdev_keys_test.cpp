#include "core/buttons/evdev_keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/buttons/keyboard_keys.h"

namespace korvex48 {
namespace {

struct PhysicalKey {
  int evdev;
  const char* name;  // capture name
  int usage;
};

// Every key of a standard 105-key (ISO) keyboard, row by row, and the media
// and browser keys, with the name and HID usage the key-combination dialog
// and the recorder must give them. The key is physical: evdev 16 is "Q" also
// where a French layout prints A on it, evdev 21 "Y" where a German one
// prints Z, evdev 12 "OEM_Minus" wherever the layout puts its minus sign.
const PhysicalKey kKeyboard[] = {
    // Function row.
    {1, "Esc", 0x29},
    {59, "F1", 0x3A},
    {60, "F2", 0x3B},
    {61, "F3", 0x3C},
    {62, "F4", 0x3D},
    {63, "F5", 0x3E},
    {64, "F6", 0x3F},
    {65, "F7", 0x40},
    {66, "F8", 0x41},
    {67, "F9", 0x42},
    {68, "F10", 0x43},
    {87, "F11", 0x44},
    {88, "F12", 0x45},
    {99, "Print Screen", 0x46},
    {70, "Scroll Lock", 0x47},
    {119, "Pause", 0x48},
    // Number row.
    {41, "OEM_3", 0x35},
    {2, "1", 0x1E},
    {3, "2", 0x1F},
    {4, "3", 0x20},
    {5, "4", 0x21},
    {6, "5", 0x22},
    {7, "6", 0x23},
    {8, "7", 0x24},
    {9, "8", 0x25},
    {10, "9", 0x26},
    {11, "0", 0x27},
    {12, "OEM_Minus", 0x2D},
    {13, "OEM_Plus", 0x2E},
    {14, "Backspace", 0x2A},
    // Top letter row.
    {15, "Tab", 0x2B},
    {16, "Q", 0x14},
    {17, "W", 0x1A},
    {18, "E", 0x08},
    {19, "R", 0x15},
    {20, "T", 0x17},
    {21, "Y", 0x1C},
    {22, "U", 0x18},
    {23, "I", 0x0C},
    {24, "O", 0x12},
    {25, "P", 0x13},
    {26, "OEM_4", 0x2F},
    {27, "OEM_6", 0x30},
    {28, "Enter", 0x28},
    // Home row.
    {58, "Caps Lock", 0x39},
    {30, "A", 0x04},
    {31, "S", 0x16},
    {32, "D", 0x07},
    {33, "F", 0x09},
    {34, "G", 0x0A},
    {35, "H", 0x0B},
    {36, "J", 0x0D},
    {37, "K", 0x0E},
    {38, "L", 0x0F},
    {39, "OEM_1", 0x33},
    {40, "OEM_7", 0x34},
    {43, "OEM_5", 0x31},
    // Bottom row (the ISO key left of Z, evdev 86, is below: it has no entry).
    {42, "Left Shift", 0xE1},
    {44, "Z", 0x1D},
    {45, "X", 0x1B},
    {46, "C", 0x06},
    {47, "V", 0x19},
    {48, "B", 0x05},
    {49, "N", 0x11},
    {50, "M", 0x10},
    {51, "OEM_Comma", 0x36},
    {52, "OEM_Period", 0x37},
    {53, "OEM_2", 0x38},
    {54, "Right Shift", 0xE5},
    // Space row.
    {29, "Left Ctrl", 0xE0},
    {125, "Left Windows", 0xE3},
    {56, "Left Alt", 0xE2},
    {57, "Space bar", 0x2C},
    {100, "Right Alt", 0xE6},
    {126, "Right Windows", 0xE7},
    {127, "Applications", 0x65},
    {97, "Right Ctrl", 0xE4},
    // Navigation block and arrows.
    {110, "Insert", 0x49},
    {102, "Home", 0x4A},
    {104, "Page Up", 0x4B},
    {111, "Delete", 0x4C},
    {107, "End", 0x4D},
    {109, "Page Down", 0x4E},
    {103, "Up Arrow", 0x52},
    {105, "Left Arrow", 0x50},
    {108, "Down Arrow", 0x51},
    {106, "Right Arrow", 0x4F},
    // Numeric pad (physical: the digits, whatever Num Lock says).
    {69, "Num Lock", 0x53},
    {98, "Divide (numeric pad)", 0x54},
    {55, "Multiply (numeric pad)", 0x55},
    {74, "Subtract (numeric pad)", 0x56},
    {71, "7 (numeric pad)", 0x5F},
    {72, "8 (numeric pad)", 0x60},
    {73, "9 (numeric pad)", 0x61},
    {78, "Add (numeric pad)", 0x57},
    {75, "4 (numeric pad)", 0x5C},
    {76, "5 (numeric pad)", 0x5D},
    {77, "6 (numeric pad)", 0x5E},
    {79, "1 (numeric pad)", 0x59},
    {80, "2 (numeric pad)", 0x5A},
    {81, "3 (numeric pad)", 0x5B},
    {96, "Enter", 0x28},
    {82, "0 (numeric pad)", 0x62},
    {83, "Decimal (numeric pad)", 0x63},
};

const PhysicalKey kMediaKeys[] = {
    {113, "Volume_Mute", 0xC4},
    {114, "Volume_Down", 0xC6},
    {115, "Volume_Up", 0xC5},
    {163, "Media_Next_Track", 0xC0},
    {165, "Media_Prev_Track", 0xC1},
    {166, "Media_Stop", 0xC2},
    {164, "Media_Play_Pause", 0xC3},
    {200, "Media_Play_Pause", 0xC3},
    {201, "Media_Play_Pause", 0xC3},
    {155, "Launch_Mail", 0xC7},
    {171, "Launch_Media_Select", 0xD1},
    {226, "Launch_Media_Select", 0xD1},
    {158, "Browser_Back", 0xCA},
    {159, "Browser_Forward", 0xCB},
    {173, "Browser_Refresh", 0xCD},
    {128, "Browser_Stop", 0xCC},
    {217, "Browser_Search", 0xC8},
    {156, "Browser_Favorites", 0xCE},
    {364, "Browser_Favorites", 0xCE},
    {172, "Browser_Home", 0xC9},
    {157, "Launch_App1", 0x00},
    {140, "Launch_App2", 0x00},
    {138, "Help", 0x75},
    {353, "Select", 0x77},
    {183, "F13", 0x68},
    {194, "F24", 0x73},
};

void ExpectKeys(const PhysicalKey* begin, const PhysicalKey* end) {
  for (const PhysicalKey* k = begin; k != end; ++k) {
    const int virtualKey = VirtualKeyOfEvdevCode(k->evdev);
    EXPECT_EQ(VirtualKeyName(virtualKey), k->name) << "evdev " << k->evdev;
    EXPECT_EQ(VirtualKeyToUsage(virtualKey), k->usage) << "evdev " << k->evdev;
  }
}

TEST(EvdevKeys, EveryKeyOfA105KeyKeyboard) {
  ExpectKeys(std::begin(kKeyboard), std::end(kKeyboard));
  // 104 keys with an entry, each a different physical key; the 105th (evdev
  // 86) has none and is below.
  std::set<int> codes;
  for (const PhysicalKey& k : kKeyboard) codes.insert(k.evdev);
  EXPECT_EQ(codes.size(), std::size(kKeyboard));
  EXPECT_EQ(codes.size(), 104u);
}

TEST(EvdevKeys, MediaAndBrowserKeys) { ExpectKeys(std::begin(kMediaKeys), std::end(kMediaKeys)); }

TEST(EvdevKeys, KeysWithoutAnEntryAreNone) {
  // The ISO key left of Z, Japanese keys, keypad equals and comma, power,
  // key codes out of range and the "no key code" of synthetic events.
  for (int evdev : {86, 85, 89, 92, 117, 121, 116, 142, 0, -8, -1, 767, 1 << 20}) {
    const int virtualKey = VirtualKeyOfEvdevCode(evdev);
    EXPECT_EQ(VirtualKeyName(virtualKey), "None") << evdev;
    EXPECT_EQ(VirtualKeyToUsage(virtualKey), 0) << evdev;
  }
}

TEST(EvdevKeys, XkbKeycodesAreEvdevPlusEight) {
  EXPECT_EQ(EvdevCodeOfXkbKeycode(38), 30);  // "a" under X11
  EXPECT_EQ(VirtualKeyName(VirtualKeyOfEvdevCode(EvdevCodeOfXkbKeycode(38))), "A");
  EXPECT_LT(EvdevCodeOfXkbKeycode(0), 0);
}

}  // namespace
}  // namespace korvex48
