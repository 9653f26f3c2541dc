#pragma once
// korvex48ctl against hidraw nodes served by the FUSE test device, for the
// test programs that drive the tool through the kernel.
//
//   TEST_F(CliFuse, Something) {
//     Serve(SimulatedStorage::kI2C);
//     if (IsSkipped()) return;
//     rig.Run({"info"});
//     mount->Control("refuse-command 5");
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cli_runner.h"
#include "fuse_mount.h"

namespace korvex48::testing {

class CliFuseFixture : public ::testing::Test {
 protected:
  // Serves a fresh mouse of `storage` beside `others` unrelated HID
  // interfaces and points `rig` at its nodes. Where FUSE cannot run here the
  // test is marked skipped (with the reason) and must return.
  void Serve(SimulatedStorage storage, int others = 0) {
#ifdef KORVEX48_FUSE_DAEMON
    const std::string daemon = KORVEX48_FUSE_DAEMON;
#else
    const std::string daemon;
#endif
    std::string reason;
    mount = FuseMount::Start(daemon, storage, others, &reason);
    if (!mount) GTEST_SKIP() << reason;
    rig.UseDeviceDir(mount->Dir());
  }

  // The mouse in the other process is strict too: what it refused fails the test.
  void TearDown() override {
    if (mount) {
      EXPECT_EQ(mount->RefusedShapes(), "") << "the FUSE test mouse refused these shapes";
    }
  }

  std::unique_ptr<FuseMount> mount;
  CliRig rig;
};

}  // namespace korvex48::testing
