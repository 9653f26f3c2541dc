// The same tool through the kernel: hidraw nodes served by the FUSE test
// device, reached with --device-dir.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "backends/hidraw/hidraw_backend.h"
#include "cli_fuse_fixture.h"
#include "core/device/transport.h"
#include "core/image/default_image.h"
#include "json_value.h"

namespace korvex48::testing {
namespace {

using CliFuse = CliFuseFixture;

TEST_F(CliFuse, DumpAndSetThroughHidraw) {
  Serve(SimulatedStorage::kI2C, 2);
  if (IsSkipped()) return;
  const CliRun dump = rig.Run({"--json", "dump"});
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(Json::Parse(dump.out)["profiles"][0]["buttons"][0]["function"].text, "Left Key");

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

// Two programs on one mouse: while this test program has the mouse open, a
// command sends nothing to it, and after waiting ends with status 5 naming
// this program; a command that starts while the mouse is held gets it once
// the holder lets go.
TEST_F(CliFuse, OneProgramAtATimeOnOneMouse) {
  Serve(SimulatedStorage::kI2C);
  if (IsSkipped()) return;
  ImageHead head{};
  ReadDefaultHead(head);
  const DefaultIdentifiers ids = DefaultIdentifiersOf(head);
  HidrawBackend backend(mount->Dir());
  Transport holder(backend);
  ASSERT_TRUE(holder.OpenDevice(ids.vendor_id, ids.product_id));

  const CliRun refused = rig.Run({"save-profile", rig.Path("s.bin")});
  EXPECT_EQ(refused.status, 5) << refused.err;
  EXPECT_EQ(refused.err, "korvex48ctl: the mouse is in use by test_cli (pid " +
                             std::to_string(::getpid()) + ")\n");
  EXPECT_EQ(ReadText(rig.Path("trace")).find(" > "), std::string::npos);  // nothing sent
  EXPECT_FALSE(std::filesystem::exists(rig.Path("s.bin")));

  // The holder lets go while the command waits.
  CliRun waited;
  std::thread command([&] { waited = rig.Run({"save-profile", rig.Path("s.bin")}); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  holder.CloseDevice();
  holder.ReleaseClaim();
  command.join();
  EXPECT_EQ(waited.status, 0) << waited.err;
  EXPECT_TRUE(std::filesystem::exists(rig.Path("s.bin")));

  // A command holds it to its end: the holder finds it free afterwards.
  EXPECT_TRUE(holder.OpenDevice(ids.vendor_id, ids.product_id));
  EXPECT_EQ(holder.HeldProblem(), nullptr);
}

// A restart for a higher report rate takes the mouse off the bus for
// seconds; a second command started meanwhile must not run in that gap. It
// waits for the first or ends with status 5 naming it, and the mouse ends at
// the rate of the command that finished last.
TEST_F(CliFuse, NoSecondCommandRunsWhileTheMouseRestarts) {
  Serve(SimulatedStorage::kI2C);
  if (IsSkipped()) return;
  ASSERT_EQ(rig.Run({"set", "report-rate", "125"}).status, 0);
  CliRig second;
  second.UseDeviceDir(mount->Dir());
  using Clock = std::chrono::steady_clock;
  CliRun first_run;
  Clock::time_point first_end;
  std::thread first([&] {
    first_run = rig.Run({"set", "report-rate", "1000"});
    first_end = Clock::now();
  });
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const CliRun second_run = second.Run({"set", "report-rate", "250"});
  const Clock::time_point second_end = Clock::now();
  first.join();
  ASSERT_EQ(first_run.status, 0) << first_run.err;
  EXPECT_TRUE(std::any_of(first_run.writes.begin(), first_run.writes.end(),
                          [](const std::string& w) { return w.rfind("40 0e", 0) == 0; }));
  const int rate = Json::Parse(rig.Run({"--json", "dump"}).out)["report_rate_hz"].integer;
  if (second_run.status == 5) {
    EXPECT_NE(second_run.err.find("the mouse is in use by korvex48ctl (pid "), std::string::npos)
        << second_run.err;
    EXPECT_TRUE(second_run.writes.empty());
    EXPECT_EQ(rate, 1000);
  } else {
    // It ran, but only after the first had let the mouse go.
    EXPECT_EQ(second_run.status, 0) << second_run.err;
    EXPECT_GT(second_end, first_end);
    EXPECT_EQ(rate, 250);
  }
}

}  // namespace
}  // namespace korvex48::testing
