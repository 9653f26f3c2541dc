#include "core/buttons/keyboard_keys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace korvex48 {
namespace {

TEST(KeyboardKeys, RowsOfTheKeyTable) {
  struct Case {
    int virtualKey;
    const char* captureName;
    int usage;
    const char* usageName;
  };
  const Case cases[] = {
      {0x41, "A", 0x04, "A"},
      {0x5A, "Z", 0x1D, "Z"},
      {0x31, "1", 0x1E, "1"},
      {0x39, "9", 0x26, "9"},
      {0x30, "0", 0x27, "0"},
      {0x70, "F1", 0x3A, "F1"},
      {0x7B, "F12", 0x45, "F12"},
      {0x7C, "F13", 0x68, "F13"},
      {0x87, "F24", 0x73, "F24"},
      {0x61, "1 (numeric pad)", 0x59, "1 (numeric pad)"},
      {0x69, "9 (numeric pad)", 0x61, "9 (numeric pad)"},
      {0x60, "0 (numeric pad)", 0x62, "0 (numeric pad)"},
      {0x08, "Backspace", 0x2A, "Backspace"},
      {0x0C, "Clear", 0x9C, "Clear"},
      {0x10, "Shift", 0xE1, "Left Shift"},
      {0x11, "Ctrl", 0xE0, "Left Ctrl"},
      {0x12, "Alt", 0xE2, "Left Alt"},
      {0x20, "Space bar", 0x2C, "Space bar"},
      {0x5B, "Left Windows", 0xE3, "Win"},
      {0x5C, "Right Windows", 0xE7, "Win"},
      {0xA1, "Right Shift", 0xE5, "Right Shift"},
      {0xA5, "Right Alt", 0xE6, "Right Alt"},
      {0xA6, "Browser_Back", 0xCA, "Browser_Back"},
      {0xB0, "Media_Next_Track", 0xC0, "Media_Next_Track"},
      {0xB5, "Launch_Media_Select", 0xD1, "Launch_Media_Select"},
      {0xB6, "Launch_App1", 0, ""},
      {0xB7, "Launch_App2", 0, ""},
      {0xDE, "OEM_7", 0x34, "OEM_7"},
      {0xDF, "OEM_8", 0, ""},
      {0xFF, "255", 0, ""},
      {0xE5, "None", 0, ""},
      {0x00, "None", 0, ""},
      {-1, "None", 0, ""},
      {256, "None", 0, ""},
      {0x141, "None", 0, ""},  // not folded onto 0x41
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualKeyName(c.virtualKey), c.captureName) << c.virtualKey;
    EXPECT_EQ(VirtualKeyToUsage(c.virtualKey), c.usage) << c.virtualKey;
    EXPECT_EQ(UsageName(c.usage), c.usageName) << c.virtualKey;
  }
}

// Every usage a key sends has a name, and a key that is its own usage's name
// differs from it only for the generic modifier keys and the Windows keys.
TEST(KeyboardKeys, EveryKeyRoundTripsThroughItsUsage) {
  const std::set<int> renamed = {0x10, 0x11, 0x12, 0x5B, 0x5C};
  for (int vk = 0; vk <= 255; ++vk) {
    const std::uint8_t usage = VirtualKeyToUsage(vk);
    if (usage == 0) continue;
    ASSERT_FALSE(UsageName(usage).empty()) << vk;
    if (!renamed.contains(vk)) {
      EXPECT_EQ(UsageName(usage), VirtualKeyName(vk)) << vk;
    }
  }
}

TEST(KeyboardKeys, UsageNameKnowsExactlyTheUsagesKeysSend) {
  std::set<int> sent;
  for (int vk = 0; vk <= 255; ++vk) {
    if (VirtualKeyToUsage(vk) != 0) sent.insert(VirtualKeyToUsage(vk));
  }
  std::set<int> named;
  for (int usage = -1; usage <= 300; ++usage) {
    if (!UsageName(usage).empty()) named.insert(usage);
  }
  EXPECT_EQ(named.size(), 135u);
  EXPECT_EQ(named, sent);
  for (int unnamed : {0x00, 0x01, 0x64, 0x74, 0xCF, 0xD0, 0xE8, 0xFF}) {
    EXPECT_EQ(UsageName(unnamed), "") << unnamed;
  }
}

}  // namespace
}  // namespace korvex48
