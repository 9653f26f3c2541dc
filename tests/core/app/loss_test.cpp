// A failed transfer is not a lost mouse, and a lost mouse is always noticed:
// also when it was unplugged and plugged back within one poll period.
#include <gtest/gtest.h>

#include "app_rig.h"

namespace korvex48::test {
namespace {

TEST(Loss, FailedTransfersKeepTheMouseAndDeadHandlesAreLostAndFoundAgain) {
  struct Case {
    const char* name;
    // Meets the fault; what it leaves behind is checked, not the call's result.
    std::function<void(AppRig&)> fault;
    bool lost;
  };
  const Case cases[] = {
      {"a reply fails",
       [](AppRig& r) {
         r.mouse.Faults().fail_next_replies = 1;
         ReplyBytes reply{};
         (void)r.commands.ReadDeviceInformation(&reply);
       },
       false},
      {"a report is refused",
       [](AppRig& r) {
         r.mouse.Faults().refuse_report_after = 0;
         (void)r.commands.Restart();
       },
       false},
      {"a reply is cut short",
       [](AppRig& r) {
         r.mouse.Faults().short_reply_after = 0;
         ReplyBytes reply{};
         (void)r.commands.ReadDeviceInformation(&reply);
       },
       false},
      {"unplugged and back within one period",
       [](AppRig& r) {
         r.mouse.Unplug();
         ReplyBytes reply{};
         (void)r.commands.ReadDeviceInformation(&reply);  // finds the handle dead
         r.mouse.Plug();
       },
       true},
      {"unplugged and back, noticed only by the poll",
       [](AppRig& r) {
         r.mouse.Unplug();
         r.mouse.Plug();
         r.core.ShowWorkingImage();
         // A live write on the stale handle is what finds it dead.
         (void)r.commands.WriteParameterBytes(33, 0, 0, 0, 1);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppRig rig;
    ASSERT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
    ASSERT_TRUE(rig.core.ImageRead());
    rig.mouse.Parameters()[33] = 2;  // changed while away: must be read anew
    c.fault(rig);
    EXPECT_EQ(rig.transport.DeviceGone(), c.lost);
    rig.ClearLogs();

    const PollOutcome outcome = rig.connection.Poll();
    if (!c.lost) {
      EXPECT_EQ(outcome, PollOutcome::kUnchanged);
      EXPECT_TRUE(rig.ui.messages.empty());
      EXPECT_TRUE(rig.core.DeviceUsable());
      // The handle still carries reports.
      ReplyBytes reply{};
      EXPECT_TRUE(rig.commands.ReadDeviceInformation(&reply));
      EXPECT_TRUE(rig.commands.LastReadComplete());
      continue;
    }
    EXPECT_EQ(outcome, PollOutcome::kOpened);
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].Describe(), "Str100+Str101");
    EXPECT_EQ(rig.core.LastDevInfo().outcome, DevInfoOutcome::kAccepted);
    EXPECT_TRUE(rig.core.DeviceUsable());
    EXPECT_TRUE(rig.core.ImageRead());
    EXPECT_EQ(rig.core.Page().parameters[33], 2);
    EXPECT_FALSE(rig.transport.DeviceGone());
    // Reset reaches the mouse found again.
    rig.ClearLogs();
    EXPECT_TRUE(rig.images.ResetMouse());
    EXPECT_EQ(rig.mouse.Parameters()[33], 0);
  }
}

TEST(Loss, AMouseGoneForGoodIsLostOnceAndFoundOnItsReturn) {
  AppRig rig;
  ASSERT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
  rig.mouse.Unplug();
  (void)rig.commands.WriteParameterBytes(33, 0, 0, 0, 1);
  ASSERT_TRUE(rig.transport.DeviceGone());
  rig.ClearLogs();
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kLost);
  EXPECT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_FALSE(rig.session.HandlesValid());
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kUnchanged);
  rig.mouse.Plug();
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
  EXPECT_TRUE(rig.core.ImageRead());
}

}  // namespace
}  // namespace korvex48::test
