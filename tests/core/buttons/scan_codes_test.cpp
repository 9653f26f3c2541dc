#include "core/buttons/scan_codes.h"

#include <gtest/gtest.h>

#include <string>

#include "core/buttons/keyboard_keys.h"

namespace korvex48 {
namespace {

// Physical keys, named as the key table names them whatever the layout: the
// key right of T is "Y" on a German keyboard too (evdev 21), and the key
// left of Enter keeps its US name.
TEST(ScanCodes, PhysicalKeysGetTheirVirtualKeyAndUsage) {
  struct Case {
    int scan;
    int vk;
    int usage;
  } cases[] = {{30, 'A', 0x04},  {21, 'Y', 0x1C},  {44, 'Z', 0x1D},  {2, '1', 0x1E},
               {28, 0x0D, 0x28}, {57, 0x20, 0x2C}, {59, 0x70, 0x3A}, {103, 0x26, 0x52},
               {39, 0xBA, 0x33}, {29, 0xA2, 0},    {125, 0x5B, 0},   {0, 0, 0},
               {240, 0, 0},      {-8, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scan);
    EXPECT_EQ(ScanCodeToVirtualKey(c.scan), c.vk);
    if (c.usage != 0) {
      EXPECT_EQ(VirtualKeyToUsage(c.vk), c.usage);
    }
  }
  EXPECT_EQ(ScanCodeToVirtualKey(ScanCodeOfXKeycode(38)), 'A');  // X key code of A
  // Every key of the table has a name in the key table.
  for (int scan = 1; scan < 256; ++scan) {
    const int vk = ScanCodeToVirtualKey(scan);
    if (vk != 0) {
      EXPECT_NE(std::string(VirtualKeyName(vk)), "None") << scan;
    }
  }
}

}  // namespace
}  // namespace korvex48
