#include "core/buttons/keyboard_keys.h"

#include <array>
#include <string>

namespace korvex48 {
namespace {

struct KeyRow {
  int virtualKey;
  const char* captureName;
  std::uint8_t usage;
  const char* usageName;  // nullptr: the capture name
};

// Keys with a name and usage of their own; the letter, digit, function and
// numeric-pad groups are generated below.
constexpr KeyRow kSingleKeys[] = {
    {0x08, "Backspace", 0x2A, nullptr},
    {0x09, "Tab", 0x2B, nullptr},
    {0x0C, "Clear", 0x9C, nullptr},
    {0x0D, "Enter", 0x28, nullptr},
    {0x10, "Shift", 0xE1, "Left Shift"},
    {0x11, "Ctrl", 0xE0, "Left Ctrl"},
    {0x12, "Alt", 0xE2, "Left Alt"},
    {0x13, "Pause", 0x48, nullptr},
    {0x14, "Caps Lock", 0x39, nullptr},
    {0x1B, "Esc", 0x29, nullptr},
    {0x20, "Space bar", 0x2C, nullptr},
    {0x21, "Page Up", 0x4B, nullptr},
    {0x22, "Page Down", 0x4E, nullptr},
    {0x23, "End", 0x4D, nullptr},
    {0x24, "Home", 0x4A, nullptr},
    {0x25, "Left Arrow", 0x50, nullptr},
    {0x26, "Up Arrow", 0x52, nullptr},
    {0x27, "Right Arrow", 0x4F, nullptr},
    {0x28, "Down Arrow", 0x51, nullptr},
    {0x29, "Select", 0x77, nullptr},
    {0x2C, "Print Screen", 0x46, nullptr},
    {0x2D, "Insert", 0x49, nullptr},
    {0x2E, "Delete", 0x4C, nullptr},
    {0x2F, "Help", 0x75, nullptr},
    {0x5B, "Left Windows", 0xE3, "Win"},
    {0x5C, "Right Windows", 0xE7, "Win"},
    {0x5D, "Applications", 0x65, nullptr},
    {0x6A, "Multiply (numeric pad)", 0x55, nullptr},
    {0x6B, "Add (numeric pad)", 0x57, nullptr},
    {0x6C, "Separator (numeric pad)", 0x58, nullptr},
    {0x6D, "Subtract (numeric pad)", 0x56, nullptr},
    {0x6E, "Decimal (numeric pad)", 0x63, nullptr},
    {0x6F, "Divide (numeric pad)", 0x54, nullptr},
    {0x90, "Num Lock", 0x53, nullptr},
    {0x91, "Scroll Lock", 0x47, nullptr},
    {0xA0, "Left Shift", 0xE1, nullptr},
    {0xA1, "Right Shift", 0xE5, nullptr},
    {0xA2, "Left Ctrl", 0xE0, nullptr},
    {0xA3, "Right Ctrl", 0xE4, nullptr},
    {0xA4, "Left Alt", 0xE2, nullptr},
    {0xA5, "Right Alt", 0xE6, nullptr},
    {0xA6, "Browser_Back", 0xCA, nullptr},
    {0xA7, "Browser_Forward", 0xCB, nullptr},
    {0xA8, "Browser_Refresh", 0xCD, nullptr},
    {0xA9, "Browser_Stop", 0xCC, nullptr},
    {0xAA, "Browser_Search", 0xC8, nullptr},
    {0xAB, "Browser_Favorites", 0xCE, nullptr},
    {0xAC, "Browser_Home", 0xC9, nullptr},
    {0xAD, "Volume_Mute", 0xC4, nullptr},
    {0xAE, "Volume_Down", 0xC6, nullptr},
    {0xAF, "Volume_Up", 0xC5, nullptr},
    {0xB0, "Media_Next_Track", 0xC0, nullptr},
    {0xB1, "Media_Prev_Track", 0xC1, nullptr},
    {0xB2, "Media_Stop", 0xC2, nullptr},
    {0xB3, "Media_Play_Pause", 0xC3, nullptr},
    {0xB4, "Launch_Mail", 0xC7, nullptr},
    {0xB5, "Launch_Media_Select", 0xD1, nullptr},
    {0xB6, "Launch_App1", 0x00, nullptr},
    {0xB7, "Launch_App2", 0x00, nullptr},
    {0xBA, "OEM_1", 0x33, nullptr},
    {0xBB, "OEM_Plus", 0x2E, nullptr},
    {0xBC, "OEM_Comma", 0x36, nullptr},
    {0xBD, "OEM_Minus", 0x2D, nullptr},
    {0xBE, "OEM_Period", 0x37, nullptr},
    {0xBF, "OEM_2", 0x38, nullptr},
    {0xC0, "OEM_3", 0x35, nullptr},
    {0xDB, "OEM_4", 0x2F, nullptr},
    {0xDC, "OEM_5", 0x31, nullptr},
    {0xDD, "OEM_6", 0x30, nullptr},
    {0xDE, "OEM_7", 0x34, nullptr},
    {0xDF, "OEM_8", 0x00, nullptr},
    {0xFF, "255", 0x00, nullptr},
};

struct KeyTables {
  std::array<std::string, 256> captureName;
  std::array<std::uint8_t, 256> usage{};
  std::array<std::string, 256> usageName;

  void Add(int vk, std::string name, std::uint8_t hid, const char* hidName = nullptr) {
    if (hid != 0) usageName[hid] = hidName ? std::string(hidName) : name;
    captureName[vk] = std::move(name);
    usage[vk] = hid;
  }

  KeyTables() {
    captureName.fill("None");
    for (int i = 0; i < 26; ++i) {
      Add(0x41 + i, std::string(1, static_cast<char>('A' + i)),
          static_cast<std::uint8_t>(0x04 + i));
    }
    for (int i = 1; i <= 9; ++i) {
      Add(0x30 + i, std::to_string(i), static_cast<std::uint8_t>(0x1E + i - 1));
      Add(0x60 + i, std::to_string(i) + " (numeric pad)", static_cast<std::uint8_t>(0x59 + i - 1));
    }
    Add(0x30, "0", 0x27);
    Add(0x60, "0 (numeric pad)", 0x62);
    for (int i = 1; i <= 12; ++i) {
      Add(0x70 + i - 1, "F" + std::to_string(i), static_cast<std::uint8_t>(0x3A + i - 1));
      Add(0x7C + i - 1, "F" + std::to_string(12 + i), static_cast<std::uint8_t>(0x68 + i - 1));
    }
    for (const KeyRow& row : kSingleKeys) {
      Add(row.virtualKey, row.captureName, row.usage, row.usageName);
    }
  }
};

const KeyTables& Tables() {
  static const KeyTables tables;
  return tables;
}

}  // namespace

std::string_view VirtualKeyName(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return "None";
  return Tables().captureName[static_cast<std::size_t>(virtualKey)];
}

std::uint8_t VirtualKeyToUsage(int virtualKey) {
  if (virtualKey < 0 || virtualKey > 255) return 0;
  return Tables().usage[static_cast<std::size_t>(virtualKey)];
}

std::string_view UsageName(int usage) {
  if (usage <= 0 || usage > 255) return {};
  return Tables().usageName[static_cast<std::size_t>(usage)];
}

}  // namespace korvex48
