#include <gtest/gtest.h>

#include <algorithm>

#include "app_rig.h"

namespace korvex48::test {
namespace {

bool AllBytes(std::span<const std::uint8_t> bytes, std::uint8_t value) {
  return std::all_of(bytes.begin(), bytes.end(), [value](std::uint8_t b) { return b == value; });
}

TEST(WholeImageRead, AnIncompleteReadIsNeverTakenInAndIsMadeAgain) {
  AppRig rig;
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  const ConfigImage before = rig.core.Working();
  const PageCopy page_before = rig.core.Page();
  const std::string code_before = rig.core.Codes().Code(1, 1);
  rig.mouse.Faults().fail_all_replies = true;
  rig.ClearLogs();
  EXPECT_FALSE(rig.images.ReadConfiguration());

  EXPECT_EQ(rig.core.Working().parameters, before.parameters);
  EXPECT_EQ(rig.core.Working().profiles, before.profiles);
  EXPECT_EQ(rig.core.Working().macro_area, before.macro_area);
  EXPECT_EQ(rig.core.Page().profiles, page_before.profiles);
  EXPECT_EQ(rig.core.Codes().Code(1, 1), code_before);
  EXPECT_FALSE(AllBytes(rig.core.Page().parameters, 0xFF));
  EXPECT_FALSE(rig.core.ImageRead());
  EXPECT_FALSE(rig.core.DeviceUsable());  // no write may reach this mouse now
  EXPECT_TRUE(rig.session.Loading);
  EXPECT_TRUE(rig.session.NoDevicePage);
  EXPECT_EQ(rig.core.LastTransferProblem(),
            "the mouse did not answer 110 of 110 reports of the configuration read");
  EXPECT_EQ(rig.ui.log,
            (std::vector<std::string>{"StopPolling", "LockPages", "ShowNoDevicePages",
                                      "StartPolling", "UnlockPages",
                                      "Message The mouse did not answer 110 of 110 reports; its "
                                      "configuration is read again."}));

  // Failing again says nothing new; once the mouse answers, the next tick
  // takes its configuration in.
  rig.ClearLogs();
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
  EXPECT_TRUE(rig.ui.messages.empty());
  rig.mouse.Faults().fail_all_replies = false;
  rig.mouse.Parameters()[33] = 1;
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
  EXPECT_TRUE(rig.core.ImageRead());
  EXPECT_TRUE(rig.core.DeviceUsable());
  EXPECT_EQ(rig.core.LastDevInfo().outcome, DevInfoOutcome::kAccepted);
  EXPECT_FALSE(rig.session.NoDevicePage);
  EXPECT_EQ(rig.core.Page().parameters[33], 1);
}

TEST(WholeImageRead, ReadsTheMacroStorageOfEachLayout) {
  struct Case {
    SimulatedStorage storage;
    std::uint16_t first_read;
    std::size_t memory_reads;
  };
  for (const Case& c :
       {Case{SimulatedStorage::kI2C, 0x0200, 2}, Case{SimulatedStorage::kFlashI2C, 0x4000, 2},
        Case{SimulatedStorage::kFlashFlash, 0x4000, 33}}) {
    AppRig rig(c.storage);
    ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
    rig.ClearLogs();
    rig.images.ReadConfiguration();
    const auto reads = rig.trace.Commands(kCmdReadMemory);
    ASSERT_EQ(reads.size(), c.memory_reads);
    EXPECT_EQ((reads[0][2] << 8) | reads[0][3], c.first_read);
    // The slot layout reads the names table last, as one 512-byte read.
    if (c.storage == SimulatedStorage::kFlashFlash) {
      EXPECT_EQ((reads.back()[2] << 8) | reads.back()[3], 0x3000);
      EXPECT_EQ((reads.back()[4] << 8) | reads.back()[5], 512);
    }
  }
}

TEST(Reset, NoUsableMouseShowsStr022AndChangesNothing) {
  AppRig rig;
  const ConfigImage before = rig.core.Working();
  EXPECT_FALSE(rig.images.ResetMouse());
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].Describe(), "Str022");
  EXPECT_EQ(rig.ui.messages[0].kind, MessageBoxKind::kOkBox);
  EXPECT_EQ(rig.core.Working(), before);
  EXPECT_TRUE(rig.trace.SentEntries().empty());
}

TEST(Reset, PackedMouseGetsTheDefaultImageAndCustomerId) {
  AppRig rig;
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  rig.mouse.Parameters()[33] = 2;
  rig.mouse.Memory()[0x0200] = 0x41;  // a macro name
  rig.ClearLogs();
  ASSERT_TRUE(rig.images.ResetMouse());

  ConfigImage defaults;
  ReadDefaultSections(StorageKind::kI2C, defaults);
  EXPECT_EQ(rig.mouse.Parameters(), defaults.parameters);
  EXPECT_EQ(rig.mouse.Profiles(), defaults.profiles);
  EXPECT_EQ(rig.mouse.GetCustomerId(), (CustomerId{0xFF, 0xFF}));
  EXPECT_EQ(rig.trace.MemoryWriteAddresses(), (std::vector<std::uint16_t>{0x0200, 0x0300, 249}));
  EXPECT_EQ(rig.trace.Commands(kCmdWriteSection).size(), 35u + 37u);
  EXPECT_EQ(rig.core.Page().parameters, defaults.parameters);
  EXPECT_EQ(rig.ui.Count("StartPolling"), 1);
  EXPECT_EQ(rig.ui.Count("UnlockPages"), 1);
}

TEST(Reset, SlotMouseWritesNamesPagesThenCustomerId) {
  AppRig rig(SimulatedStorage::kFlashFlash);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  rig.ClearLogs();
  ASSERT_TRUE(rig.images.ResetMouse());

  std::vector<std::uint16_t> expected = {0x3000, 0x3100};
  for (int i = 0; i < 32; ++i) expected.push_back(static_cast<std::uint16_t>(0x4000 + 0x100 * i));
  expected.push_back(0x6000);
  EXPECT_EQ(rig.trace.MemoryWriteAddresses(), expected);
  EXPECT_EQ(rig.ui.Count("ClearMacroEditor"), 1);
}

// The default image is a packed-layout image (byte 6 says secondary "I2C").
// Reset must not turn a "Flash" + "Flash" mouse into one that reads as
// "Flash" + "I2C" on the next connection.
TEST(Reset, SlotMouseKeepsItsStorageBits) {
  AppRig rig(SimulatedStorage::kFlashFlash);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  ASSERT_TRUE(rig.images.ResetMouse());
  EXPECT_EQ(rig.mouse.Parameters()[6] >> 6, 0b11);
  EXPECT_EQ(rig.mouse.Parameters()[0], kSlotLayoutMark);
  ParameterSection check = rig.mouse.Parameters();
  CalcParameterChecksum(check);
  EXPECT_EQ(check, rig.mouse.Parameters());
  EXPECT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  EXPECT_EQ(rig.session.SecondaryStorage, "Flash");
}

TEST(SavePreparation, MarkAndChecksumsFollowTheMouse) {
  struct Case {
    SimulatedStorage storage;
    std::uint8_t mark;
  };
  for (const Case& c : {Case{SimulatedStorage::kI2C, 0xE0}, Case{SimulatedStorage::kFlashI2C, 0xE0},
                        Case{SimulatedStorage::kFlashFlash, 0xF0}}) {
    AppRig rig(c.storage);
    ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
    ASSERT_TRUE(rig.core.SetPageParameter(0, c.mark == 0xE0 ? 0xF0 : 0xE0));
    // A button code the pages changed.
    const ProfileSection& shown = rig.core.Page().profiles;
    const ProfileByteWrite code{0, {0x77, shown[1], shown[2], shown[3]}};
    rig.core.StoreButtonCodes(std::span(&code, 1));
    PageSettings settings = rig.engine.Editor().State().settings;
    settings.active_profile = 2;
    ParameterSection saved = rig.core.Page().parameters;
    EncodeSettingsForSave(settings, saved);
    const ParameterSection held = rig.core.Page().parameters;
    rig.core.PrepareImageForSave(saved);

    const ConfigImage& w = rig.core.Working();
    EXPECT_EQ(w.parameters[0], c.mark);
    EXPECT_EQ(w.parameters[33], 1);
    EXPECT_EQ(w.profiles[0], 0x77);
    EXPECT_EQ(w.parameters[103], SectionChecksum(std::span(w.parameters).first(103)));
    EXPECT_EQ(w.profiles[144], SectionChecksum(std::span(w.profiles).first(144)));
    // The page copy stays what the mouse holds: a save sends nothing.
    EXPECT_EQ(rig.core.Page().parameters, held);
  }
}

}  // namespace
}  // namespace korvex48::test
