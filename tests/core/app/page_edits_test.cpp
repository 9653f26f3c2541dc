// The core's edits of the page copy: what they refuse leaves the page copy,
// the code table and the identifier table as they were.
#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <vector>

#include "app_rig.h"

namespace korvex48::test {
namespace {

TEST(PageEdits, WhatDoesNotFitChangesNothing) {
  struct Case {
    const char* name;
    std::function<bool(AppCore&)> edit;  // false when the core refused
    bool accepted;
  };
  const std::vector<std::uint8_t> two = {1, 2};
  const std::vector<Case> cases = {
      {"two bytes over the end", [&](AppCore& c) { return c.SetPageParameters(103, two); }, false},
      {"offset past the end", [&](AppCore& c) { return c.SetPageParameter(200, 1); }, false},
      {"code write between two codes",
       [](AppCore& c) {
         const std::vector<ProfileByteWrite> writes = {{0, {1, 1, 0, 0}}, {2, {1, 1, 0, 0}}};
         c.StoreButtonCodes(writes);
         return false;
       },
       false},
      {"code write on the checksum",
       [](AppCore& c) {
         const ProfileByteWrite write{144, {1, 1, 0, 0}};
         c.StoreButtonCodes(std::span(&write, 1));
         return false;
       },
       false},
      {"mouse byte outside its section",
       [](AppCore& c) {
         const std::vector<MouseByte> held = {{kParameterBlock, 104, 7}, {kProfileBlock, 145, 7}};
         return c.RestoreMouseBytes(held);
       },
       false},
      {"third identifier entry",
       [](AppCore& c) {
         return c.SetDeviceId(2, {1, 2});
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppRig rig;
    const PageCopy page = rig.core.Page();
    const KeyCodes codes = rig.core.Codes();
    const auto ids = rig.core.DeviceIdTable();
    EXPECT_EQ(c.edit(rig.core), c.accepted);
    EXPECT_EQ(rig.core.Page(), page);
    EXPECT_EQ(rig.core.Codes(), codes);
    EXPECT_EQ(rig.core.DeviceIdTable()[0].vendor_id, ids[0].vendor_id);
    EXPECT_EQ(rig.core.DeviceIdTable()[1].vendor_id, ids[1].vendor_id);
  }
}

TEST(PageEdits, CodesGoIntoTheTableAndTheSectionTogether) {
  AppRig rig;
  // Profile 2, button 5 and profile 1, button 1.
  const std::vector<ProfileByteWrite> writes = {{48 + 16, {0x02, 0x00, 0x04, 0x00}},
                                                {0, {0x01, 0x01, 0x00, 0x00}}};
  rig.core.StoreButtonCodes(writes);
  EXPECT_EQ(rig.core.Codes().Code(2, 5), "02000400");
  EXPECT_EQ(rig.core.Codes().Code(1, 1), "01010000");
  KeyCodes from_section;
  ASSERT_TRUE(from_section.LoadFromProfileSection(rig.core.Page().profiles));
  EXPECT_EQ(from_section, rig.core.Codes());

  // A refused write puts the mouse's code back into both.
  const std::vector<MouseByte> held = {{kProfileBlock, 48 + 16 + 2, 0x05}};
  EXPECT_TRUE(rig.core.RestoreMouseBytes(held));
  EXPECT_EQ(rig.core.Codes().Code(2, 5), "02000500");
  EXPECT_FALSE(rig.core.RestoreMouseBytes(held));  // already so
}

}  // namespace
}  // namespace korvex48::test
