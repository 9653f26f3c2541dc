// The same tool through the kernel: hidraw nodes served by the FUSE test
// device, reached with --device-dir.
#include <gtest/gtest.h>

#include "cli_fuse_fixture.h"
#include "json_value.h"

namespace korvex48::testing {
namespace {

using CliFuse = CliFuseFixture;

TEST_F(CliFuse, DumpAndSetThroughHidraw) {
  Serve(SimulatedStorage::kI2C, 2);
  if (IsSkipped()) return;
  const CliRun dump = rig.Run({"--json", "dump"});
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(Json::Parse(dump.out)["profiles"][0]["buttons"][0]["name"].text, "Left Key");

  ASSERT_EQ(rig.Run({"set", "dpi-active", "1"}).status, 0);
  const CliRun set = rig.Run({"set", "dpi-value", "3", "1000"});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(set.writes,
            (std::vector<std::string>{"40 05 00 28 84 00 00 01", "40 05 00 26 61 00 00 01",
                                      "40 05 00 26 60 00 00 01"}));
  EXPECT_EQ(Json::Parse(rig.Run({"--json", "dump"}).out)["dpi"]["levels"][2]["value"].integer,
            1000);

  // A node the user may not open names the fix.
  ASSERT_TRUE(mount->Control("open-error 13"));
  const CliRun denied = rig.Run({"info"});
  EXPECT_EQ(denied.status, 1);
  EXPECT_NE(denied.err.find("udevadm control --reload-rules && udevadm trigger"), std::string::npos)
      << denied.err;
}

// A change the mouse refuses is a failure, and the mouse keeps its setting.
TEST_F(CliFuse, RefusedSetExitsOne) {
  Serve(SimulatedStorage::kI2C);
  if (IsSkipped()) return;
  ASSERT_EQ(rig.Run({"set", "dpi-active", "2"}).status, 0);
  ASSERT_TRUE(mount->Control("refuse-command 5"));
  const CliRun refused = rig.Run({"set", "dpi-active", "1"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("the mouse refused the change"), std::string::npos) << refused.err;
  ASSERT_TRUE(mount->Control("clear-faults"));
  const CliRun dump = rig.Run({"--json", "dump"});
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(Json::Parse(dump.out)["dpi"]["active_level"].integer, 2) << dump.out;
}

}  // namespace
}  // namespace korvex48::testing
