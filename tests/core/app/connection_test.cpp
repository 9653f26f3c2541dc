#include <gtest/gtest.h>

#include "app_rig.h"
#include "core/app/mouse_doctor.h"

namespace korvex48::test {
namespace {

// ---- Device-information step ------------------------------------------------

struct DevInfoCase {
  const char* name;
  SimulatedStorage storage;
  bool flash_default;
  std::function<void(AppRig&)> prepare;
  DevInfoOutcome outcome;
  std::vector<std::string> messages;  // Describe() of each message shown
  bool read;                          // the whole image was read
  bool no_device_page;
};

class DevInfoTest : public ::testing::TestWithParam<DevInfoCase> {};

TEST_P(DevInfoTest, Outcome) {
  const DevInfoCase& c = GetParam();
  AppRig rig(c.storage, c.flash_default);
  if (c.prepare) c.prepare(rig);
  const ConfigImage before = rig.core.Working();
  const DevInfoResult r = rig.Connect();

  EXPECT_EQ(r.outcome, c.outcome);
  std::vector<std::string> shown;
  for (const AppMessage& m : rig.ui.messages) shown.push_back(m.Describe());
  EXPECT_EQ(shown, c.messages);
  EXPECT_EQ(rig.ui.Count("RefreshStoragePages packed") + rig.ui.Count("RefreshStoragePages slot"),
            c.read ? 1 : 0);
  EXPECT_EQ(rig.session.NoDevicePage, c.no_device_page);
  // Whatever the outcome, the mouse stays open.
  EXPECT_TRUE(rig.session.HandlesValid());
  if (c.read) {
    EXPECT_EQ(rig.core.Working().parameters, rig.mouse.Parameters());
    EXPECT_EQ(rig.core.Working().profiles, rig.mouse.Profiles());
    EXPECT_FALSE(rig.session.Loading);
  } else if (c.outcome != DevInfoOutcome::kRefused) {
    EXPECT_EQ(rig.core.Working().parameters, before.parameters);
  }
}

std::function<void(AppRig&)> ReplyByte2(std::uint8_t value) {
  return [value](AppRig& rig) {
    rig.probe.rewrite_reply = [value](const Report& cmd, std::span<std::uint8_t> reply) {
      if (cmd[1] == kCmdDeviceInfo) reply[kInfoPrimaryStorage] = value;
    };
  };
}

INSTANTIATE_TEST_SUITE_P(Cases, DevInfoTest,
                         ::testing::Values(DevInfoCase{"I2CShippedCustomerAccepted",
                                                       SimulatedStorage::kI2C,
                                                       false,
                                                       nullptr,
                                                       DevInfoOutcome::kAccepted,
                                                       {},
                                                       true,
                                                       false},
                                           DevInfoCase{"R2ZeroStaysOpenUnread",
                                                       SimulatedStorage::kI2C,
                                                       false,
                                                       ReplyByte2(0x00),
                                                       DevInfoOutcome::kUnknownPrimary,
                                                       {},
                                                       false,
                                                       false},
                                           DevInfoCase{"FlashWithByte6Is45NoSecondary",
                                                       SimulatedStorage::kFlashI2C,
                                                       false,
                                                       [](AppRig& rig) {
                                                         rig.mouse.Parameters()[6] = 0x45;
                                                       },
                                                       DevInfoOutcome::kNoSecondary,
                                                       {},
                                                       false,
                                                       false},
                                           DevInfoCase{"FlashI2CWithShippedImage",
                                                       SimulatedStorage::kFlashI2C,
                                                       false,
                                                       nullptr,
                                                       DevInfoOutcome::kAccepted,
                                                       {},
                                                       true,
                                                       false},
                                           DevInfoCase{"FlashFlashAgainstI2CDefault",
                                                       SimulatedStorage::kFlashFlash,
                                                       false,
                                                       nullptr,
                                                       DevInfoOutcome::kStorageMismatch,
                                                       {"Str102"},
                                                       false,
                                                       true},
                                           DevInfoCase{"I2CAgainstFlashDefault",
                                                       SimulatedStorage::kI2C,
                                                       true,
                                                       nullptr,
                                                       DevInfoOutcome::kStorageMismatch,
                                                       {"Str102"},
                                                       false,
                                                       true},
                                           DevInfoCase{"FlashFlashWithFlashDefault",
                                                       SimulatedStorage::kFlashFlash,
                                                       true,
                                                       nullptr,
                                                       DevInfoOutcome::kAccepted,
                                                       {},
                                                       true,
                                                       false},
                                           DevInfoCase{"CustomerZeroThroughReserveIds",
                                                       SimulatedStorage::kI2C,
                                                       false,
                                                       [](AppRig& rig) {
                                                         rig.mouse.SetCustomerId({0x00, 0x00});
                                                         rig.core.SetReserveIds(0, 0);
                                                       },
                                                       DevInfoOutcome::kAccepted,
                                                       {},
                                                       true,
                                                       false},
                                           DevInfoCase{"CustomerThroughOtherReserveIds",
                                                       SimulatedStorage::kFlashI2C,
                                                       false,
                                                       [](AppRig& rig) {
                                                         rig.mouse.SetCustomerId({0x12, 0x34});
                                                         rig.core.SetReserveIds(0x12, 0x34);
                                                       },
                                                       DevInfoOutcome::kAccepted,
                                                       {},
                                                       true,
                                                       false},
                                           DevInfoCase{"ForeignCustomerRefused",
                                                       SimulatedStorage::kI2C,
                                                       false,
                                                       [](AppRig& rig) {
                                                         rig.mouse.SetCustomerId({0x12, 0x34});
                                                       },
                                                       DevInfoOutcome::kRefused,
                                                       {"Str107"},
                                                       false,
                                                       false}),
                         [](const auto& test_info) { return std::string(test_info.param.name); });

TEST(DevInfo, RefusedMouseKeepsLoadingAndResumesPolling) {
  AppRig rig;
  rig.mouse.SetCustomerId({0x12, 0x34});
  rig.Connect();
  EXPECT_TRUE(rig.session.Loading);
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].kind, MessageBoxKind::kOkBox);
  EXPECT_EQ(rig.ui.log, (std::vector<std::string>{"MenuHeight 170", "StopPolling", "Message Str107",
                                                  "StartPolling"}));
  // No flow that talks to the mouse runs for it.
  rig.ClearLogs();
  EXPECT_FALSE(rig.images.ResetMouse());
  EXPECT_TRUE(rig.trace.SentEntries().empty());
}

TEST(DevInfo, VariantSetsMenuHeight) {
  for (auto [variant, height] : std::vector<std::pair<int, int>>{{1, 146}, {22, 170}, {2, 0}}) {
    AppRig rig;
    rig.mouse.SetVariant(static_cast<std::uint8_t>(variant));
    rig.Connect();
    const bool logged = rig.ui.Count("MenuHeight " + std::to_string(height)) == 1;
    EXPECT_TRUE(height == 0 ? rig.ui.Count("MenuHeight 146") + rig.ui.Count("MenuHeight 170") == 0
                            : logged)
        << variant;
  }
}

TEST(DevInfo, CommandNotSentChangesNothing) {
  AppRig rig;
  ASSERT_TRUE(rig.transport.OpenDevice(rig.mouse.VendorId(), rig.mouse.ProductId()));
  rig.mouse.Faults().refuse_command_code = kCmdDeviceInfo;
  EXPECT_EQ(rig.connection.IdentifyMouse().outcome, DevInfoOutcome::kNotSent);
  EXPECT_TRUE(rig.ui.log.empty());
}

// A mouse whose storage does not fit the default image is refused as one
// with a foreign customer identifier is: whole-image writes built for the
// other layout (Reset writing a packed area as a names table) must not reach it.
TEST(DevInfo, StorageMismatchKeepsTheMouseFromBeingWritten) {
  AppRig rig(SimulatedStorage::kFlashFlash, false);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kStorageMismatch);
  rig.ClearLogs();
  EXPECT_FALSE(rig.images.ResetMouse());
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].Describe(), "Str022");
  EXPECT_FALSE(rig.core.DeviceUsable());
  EXPECT_TRUE(rig.trace.SentEntries().empty());
  // A fitting mouse plugged in later is read and usable again.
  rig.mouse.ResetMemory(SimulatedStorage::kI2C);
  EXPECT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  EXPECT_TRUE(rig.core.DeviceUsable());
}

// A reply that fails reads as 0xFF bytes: as parameter byte 6 it would say
// "Flash" + "Flash" (Str102 against a packed default), as the customer
// identifier it would be the one that ships. Neither may decide about the
// mouse: a failed read is a failed information step.
TEST(DevInfo, FailedRepliesDecideNothing) {
  struct Case {
    const char* name;
    SimulatedStorage storage;
    int replies_before_failure;  // replies of the step that arrive
  };
  for (const Case& c : {Case{"info reply", SimulatedStorage::kI2C, 0},
                        Case{"byte 6", SimulatedStorage::kFlashI2C, 1},
                        Case{"customer id", SimulatedStorage::kI2C, 1},
                        Case{"customer id after byte 6", SimulatedStorage::kFlashI2C, 2}}) {
    SCOPED_TRACE(c.name);
    AppRig rig(c.storage);
    rig.mouse.SetCustomerId({0x12, 0x34});  // would be refused if it were read
    ASSERT_TRUE(rig.transport.OpenDevice(rig.mouse.VendorId(), rig.mouse.ProductId()));
    rig.ClearLogs();
    rig.mouse.Faults().vanish_after_reports = 2 * c.replies_before_failure + 1;
    EXPECT_EQ(rig.connection.IdentifyMouse().outcome, DevInfoOutcome::kNotSent);
    EXPECT_TRUE(rig.ui.messages.empty());
    EXPECT_FALSE(rig.session.NoDevicePage);
    // Not read whole: no write may reach this mouse.
    EXPECT_TRUE(rig.session.Loading);
    EXPECT_FALSE(rig.core.DeviceUsable());
  }
  // A reply lost on a mouse that stays: the same.
  AppRig rig(SimulatedStorage::kFlashI2C);
  ASSERT_TRUE(rig.transport.OpenDevice(rig.mouse.VendorId(), rig.mouse.ProductId()));
  rig.probe.rewrite_reply = [&](const Report& cmd, std::span<std::uint8_t>) {
    if (cmd[1] == kCmdDeviceInfo) rig.mouse.Faults().fail_next_replies = 1;  // byte 6's
  };
  rig.ClearLogs();
  EXPECT_EQ(rig.connection.IdentifyMouse().outcome, DevInfoOutcome::kNotSent);
  EXPECT_TRUE(rig.ui.messages.empty());
}

// ---- Poll step --------------------------------------------------------------

TEST(Poll, FirstPollAfterStartOpensAfterTheWait) {
  AppRig rig;
  const std::uint64_t start = rig.clock.NowMicroseconds();
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
  EXPECT_EQ(rig.core.LastDevInfo().outcome, DevInfoOutcome::kAccepted);
  EXPECT_EQ(rig.session.LastHidCount, SimulatedMouse::kMouseInterfaces);
  EXPECT_FALSE(rig.session.Polling);
  ASSERT_FALSE(rig.trace.SentEntries().empty());
  EXPECT_GE(rig.trace.SentEntries().front().at_us - start, 2'100'000u);
  // A second poll with nothing changed does nothing.
  rig.ClearLogs();
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kUnchanged);
  EXPECT_TRUE(rig.trace.SentEntries().empty());
  EXPECT_TRUE(rig.ui.log.empty());
}

TEST(Poll, UnrelatedArrivalWithoutMouseShowsNoDevice) {
  AppRig rig;
  rig.mouse.Unplug();
  rig.mouse.SetOtherInterfaces(1);
  const std::uint64_t start = rig.clock.NowMicroseconds();
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kNotFound);
  EXPECT_GE(rig.clock.NowMicroseconds() - start, 2'100'000u);
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].Describe(), "Str100+Str101");
  EXPECT_EQ(rig.ui.messages[0].Text(Language1()),
            "No Device Found\rPlease check your device is attached to USB port");
  EXPECT_TRUE(rig.session.NoDevicePage);
  EXPECT_EQ(rig.session.LastHidCount, 1);
}

// Another program holds the mouse: nothing is sent to it, no box opens, the
// no-device look names the holder, and every poll tries again until the
// mouse is free.
TEST(Poll, AMouseAnotherProgramHoldsIsShownAsHeldAndTriedAgain) {
  AppRig rig;
  rig.probe.held_by = InterfaceHolder{"korvex48ctl", 4242};
  const std::string line = "MouseHeld the mouse is in use by korvex48ctl (pid 4242)";
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kHeld);
  EXPECT_TRUE(rig.trace.SentEntries().empty());
  EXPECT_TRUE(rig.ui.messages.empty());
  EXPECT_EQ(rig.ui.Count("ShowNoDevicePages"), 1);
  EXPECT_EQ(rig.ui.log.back(), line);
  EXPECT_TRUE(rig.session.NoDevicePage);
  EXPECT_FALSE(rig.session.HandlesValid());

  rig.ClearLogs();
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kHeld);
  EXPECT_TRUE(rig.trace.SentEntries().empty());
  EXPECT_EQ(rig.ui.log, std::vector<std::string>{line});

  rig.probe.held_by.reset();
  rig.ClearLogs();
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
  EXPECT_EQ(rig.core.LastDevInfo().outcome, DevInfoOutcome::kAccepted);
  EXPECT_EQ(rig.ui.Count("MouseHeld "), 1);  // the line goes
  EXPECT_TRUE(rig.ui.messages.empty());
  EXPECT_FALSE(rig.session.NoDevicePage);
}

TEST(Poll, UnrelatedRemovalRunsDeviceLost) {
  AppRig rig;
  rig.mouse.SetOtherInterfaces(2);
  ASSERT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
  rig.ClearLogs();
  rig.mouse.SetOtherInterfaces(1);
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kLost);
  EXPECT_FALSE(rig.session.HandlesValid());
  EXPECT_EQ(rig.session.VendorId, 0);
  EXPECT_TRUE(rig.session.PrimaryStorage.empty());
  EXPECT_EQ(rig.ui.log, (std::vector<std::string>{"ShowNoDeviceOverlay", "CloseMenus",
                                                  "StopLabelRun", "ShowNoDevicePages",
                                                  "ClearDeviceState", "Message Str100+Str101"}));
  // The mouse comes back with the next rise.
  rig.mouse.SetOtherInterfaces(2);
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
  EXPECT_TRUE(rig.session.HandlesValid());
}

// The count does not change for a mouse that stayed, so a reply lost while it
// is opened or asked for its information must not leave it unread until it is
// plugged in again.
TEST(Poll, LostInformationReplyIsAskedAgain) {
  struct Case {
    const char* name;
    int replies_before;  // reply reads that arrive: the opening probe's comes first
  };
  for (const Case& c : {Case{"probe reply", 0}, Case{"information reply", 1}}) {
    SCOPED_TRACE(c.name);
    AppRig rig;
    rig.mouse.Faults().fail_reply_after = c.replies_before;
    ASSERT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
    ASSERT_EQ(rig.core.LastDevInfo().outcome, DevInfoOutcome::kNotSent);
    EXPECT_FALSE(rig.core.DeviceUsable());
    EXPECT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
    EXPECT_EQ(rig.core.LastDevInfo().outcome, DevInfoOutcome::kAccepted);
    EXPECT_TRUE(rig.core.DeviceUsable());
    EXPECT_TRUE(rig.ui.messages.empty());
    rig.ClearLogs();
    EXPECT_EQ(rig.connection.Poll(), PollOutcome::kUnchanged);
    EXPECT_TRUE(rig.trace.SentEntries().empty());
  }

  // A mouse that never answers is asked again once a poll, silently.
  AppRig mute;
  mute.mouse.Faults().refuse_command_code = kCmdDeviceInfo;
  ASSERT_EQ(mute.connection.Poll(), PollOutcome::kOpened);
  for (int poll = 0; poll < 3; ++poll) {
    mute.ClearLogs();
    EXPECT_EQ(mute.connection.Poll(), PollOutcome::kOpened);
    EXPECT_EQ(mute.core.LastDevInfo().outcome, DevInfoOutcome::kNotSent);
    EXPECT_FALSE(mute.core.DeviceUsable());
    EXPECT_TRUE(mute.ui.messages.empty());
  }
  // Unplugged meanwhile: lost once, as any mouse.
  mute.mouse.Unplug();
  mute.ClearLogs();
  EXPECT_EQ(mute.connection.Poll(), PollOutcome::kLost);
  EXPECT_EQ(mute.connection.Poll(), PollOutcome::kUnchanged);
  ASSERT_EQ(mute.ui.messages.size(), 1u);
  EXPECT_EQ(mute.ui.messages[0].Describe(), "Str100+Str101");
}

TEST(Poll, ReentryDuringTheWaitIsRefused) {
  AppRig rig;
  std::vector<PollOutcome> inner;
  rig.ui.on_process_events = [&] {
    if (inner.empty()) inner.push_back(rig.connection.Poll());
  };
  rig.connection.Poll();
  EXPECT_EQ(inner, std::vector<PollOutcome>{PollOutcome::kBusy});
}

TEST(Connection, ReFindDevReadsTheMouseOrEndsInDeviceLost) {
  AppRig rig;
  rig.Connect();
  rig.ClearLogs();
  rig.connection.FindMouseAgain();
  EXPECT_EQ(rig.core.LastDevInfo().outcome, DevInfoOutcome::kAccepted);
  EXPECT_TRUE(rig.ui.messages.empty());

  rig.mouse.Unplug();
  rig.ClearLogs();
  rig.connection.FindMouseAgain();
  EXPECT_FALSE(rig.session.HandlesValid());
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].Describe(), "Str100+Str101");
}

TEST(Connection, RestartAndFindAgainReadsTheMouseAfterFiveSeconds) {
  AppRig rig;
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  rig.ClearLogs();
  const std::uint64_t start = rig.clock.NowMicroseconds();
  rig.connection.RestartAndFindAgain();
  EXPECT_EQ(rig.mouse.Restarts(), 1);
  EXPECT_GE(rig.clock.NowMicroseconds() - start, 5'200'000u);
  EXPECT_EQ(rig.core.LastDevInfo().outcome, DevInfoOutcome::kAccepted);
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].Describe(), "Str100+Str101");
  EXPECT_EQ(rig.ui.log.front(), "StopPolling");
  EXPECT_EQ(rig.ui.log.back(), "StartPolling");
}

// The claim on the mouse outlives its nodes: a restart, with the mouse off
// the bus for seconds, never lets it go; closing the program does. A mouse
// claimed by another program is shown held before any of its nodes is opened.
TEST(Connection, TheClaimOnTheMouseHoldsThroughItsRestart) {
  AppRig rig;
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  rig.probe.mouse_claims.clear();
  ASSERT_EQ(rig.connection.RestartAndFindAgain(), RestartResult::kFoundAgain);
  EXPECT_EQ(rig.mouse.Restarts(), 1);
  for (const std::string& step : rig.probe.mouse_claims) EXPECT_EQ(step, "claim");
  rig.connection.ReleaseDevice();
  EXPECT_EQ(rig.probe.mouse_claims.back(), "release");

  // Claimed elsewhere: held, and not a report tried.
  AppRig other;
  other.probe.mouse_claimed_by = InterfaceHolder{"korvex48ctl", 4242};
  EXPECT_EQ(other.connection.Poll(), PollOutcome::kHeld);
  EXPECT_TRUE(other.trace.Reports().empty());
  EXPECT_EQ(other.ui.log.back(), "MouseHeld the mouse is in use by korvex48ctl (pid 4242)");
}

// Without a mouse the no-device look names the first problem of the access
// checks and points to korvex48ctl doctor; the line goes when the mouse is
// found or another program's holding it says why, and a restart (the mouse
// off the bus on purpose) shows none.
TEST(Connection, TheNoDeviceLookNamesTheFirstFailedCheck) {
  struct NoRules final : MachineFacts {
    std::vector<std::string> UdevRuleFolders() const override { return {"/rules"}; }
    std::vector<std::string> InstalledUdevRules(std::uint16_t, std::uint16_t) const override {
      return {};
    }
  } facts;
  AppRig rig;
  rig.connection.SetMachineFacts(&facts);
  const auto reasons = [&rig] {
    std::vector<std::string> lines;
    for (const std::string& line : rig.ui.log)
      if (line.rfind("NoDeviceReason", 0) == 0) lines.push_back(line);
    return lines;
  };
  rig.mouse.Unplug();
  rig.mouse.SetOtherInterfaces(1);
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kNotFound);
  ASSERT_EQ(reasons().size(), 1u);
  EXPECT_EQ(
      reasons()[0].rfind("NoDeviceReason hidraw nodes: 1 found; none is the Korvex48 mouse ", 0),
      0u)
      << reasons()[0];
  EXPECT_TRUE(reasons()[0].ends_with(". Run korvex48ctl doctor for every check and its fix"));

  // The mouse arrives, held by another program: the holder's line says why.
  rig.ClearLogs();
  rig.probe.mouse_claimed_by = InterfaceHolder{"korvex48ctl", 4242};
  rig.mouse.Plug();
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kHeld);
  EXPECT_EQ(reasons(), std::vector<std::string>{"NoDeviceReason "});

  // Gone again, then back and free: the line comes and goes with the mouse.
  rig.probe.mouse_claimed_by.reset();
  rig.mouse.Unplug();
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kLost);
  EXPECT_EQ(reasons().size(), 2u);
  rig.ClearLogs();
  rig.mouse.Plug();
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
  EXPECT_EQ(reasons(), std::vector<std::string>{"NoDeviceReason "});

  rig.ClearLogs();
  ASSERT_EQ(rig.connection.RestartAndFindAgain(), RestartResult::kFoundAgain);
  EXPECT_TRUE(reasons().empty());
}

}  // namespace
}  // namespace korvex48::test
