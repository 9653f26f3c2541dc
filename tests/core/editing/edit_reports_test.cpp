// Each editing operation against the default image of the simulated mouse:
// the reports it sends, in order, and how it ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/image/config_image.h"
#include "core/image/default_image.h"
#include "edit_cases.h"
#include "editor_rig.h"

namespace korvex48::testing {
namespace {

class EditReports : public ::testing::TestWithParam<EditCase> {};

TEST_P(EditReports, SendsTheReportsOfTheClick) {
  const EditCase& c = GetParam();
  EditorRig rig;
  if (c.before) c.before(*rig.editor);
  rig.trace.Clear();
  const EditResult r = c.step(*rig.editor);
  EXPECT_EQ(r.status, c.status) << r.reason;
  EXPECT_EQ(rig.trace.SentHex(), c.reports);
  EXPECT_EQ(r.sent, !c.reports.empty());
}

INSTANTIATE_TEST_SUITE_P(Default, EditReports, ::testing::ValuesIn(EditCases()),
                         [](const auto& test_info) { return test_info.param.name; });

TEST(EditMessages, RefusalsCarryTheSystemTexts) {
  EditorRig rig;
  PageEditor& e = *rig.editor;
  EXPECT_EQ(e.SelectProfile(2).message.keys, std::vector<std::string>{"Str020"});
  EXPECT_EQ(e.SelectProfile(3).message.keys, std::vector<std::string>{"Str021"});
  const EditResult aim = e.SetAimStep(5);
  EXPECT_EQ(aim.message.literal, "Please select a AIM Key inMain Control");
  EXPECT_EQ(e.State().aim_step, 1);
  EXPECT_EQ(e.State().settings.active_profile, 1);

  rig.transport.CloseDevice();
  EXPECT_EQ(e.SelectProfile(1).message.keys, std::vector<std::string>{"Str022"});
}

TEST(EditLoading, ClicksChangeThePageButSendNothing) {
  EditorRig rig;
  PageEditor& e = *rig.editor;
  rig.session.Loading = true;
  EXPECT_EQ(e.ToggleDpiLevel(8).status, EditStatus::kUnchanged);
  EXPECT_EQ(e.State().settings.dpi_level_count, 7);
  e.SetDpiValue(1, 12);
  e.SetReportRate(1);
  e.SetLightingMode(1);
  EXPECT_EQ(e.State().settings.dpi_levels[0].value_index, 11);  // 6400
  EXPECT_EQ(e.State().settings.report_rate_hz, 125);
  EXPECT_EQ(rig.core.Page().parameters[6], 0xBF);  // the rate byte waits for the pack
  EXPECT_TRUE(rig.trace.SentHex().empty());
}

TEST(EditReportRate, RateIncreaseRestartsAndTakesTheMouseInAgain) {
  EditorRig rig;
  PageEditor& e = *rig.editor;
  e.SetReportRate(1);  // 125 Hz: never a restart
  EXPECT_EQ(rig.mouse.Restarts(), 0);
  EXPECT_EQ(e.State().rate_taken_in, 1000);
  // Taken in at 125 Hz, 250 Hz needs the restart.
  ASSERT_TRUE(
      rig.transport.OpenDevice(rig.core.Defaults().vendor_id, rig.core.Defaults().product_id));
  rig.connection.IdentifyMouse();  // the editor takes the image in
  EXPECT_EQ(e.State().rate_taken_in, 125);
  rig.trace.Clear();
  const EditResult r = e.SetReportRate(2);
  EXPECT_TRUE(r.restarted);
  EXPECT_EQ(rig.mouse.Restarts(), 1);
  ASSERT_GE(rig.trace.SentHex().size(), 2u);
  EXPECT_EQ(rig.trace.SentHex()[0], "40 05 00 06 9f 00 00 01");
  EXPECT_EQ(rig.trace.SentHex()[1], "40 0e 00 00 00 00 00 00");
  EXPECT_TRUE(rig.core.DeviceUsable());
  EXPECT_EQ(e.State().rate_taken_in, 250);
  EXPECT_FALSE(e.State().reconnect_pending);
}

// After any series of edits, the parameter section a save writes gives the bytes the mouse
// holds: the live writes and the saved image never disagree.
TEST(EditPacking, PackedPageMatchesTheMouse) {
  EditorRig rig;
  PageEditor& e = *rig.editor;
  e.ToggleDpiLevel(8);
  e.SetDpiValue(8, 3);
  e.SetDpiValue(2, 11);
  e.SelectActiveDpiLevel(2);
  e.SetDpiColour(5, 10, 200, 90);
  e.SetReportRate(2);
  e.SetLightingMode(2);
  e.SetStepTime(7);
  e.SetLightColour(6, 1, 2, 250);
  e.AssignMenuItem(1, 6, 1500);
  e.SetFireKey(1, {9, true, 300});
  const ParameterSection packed = e.SavedParameters();
  const ParameterSection& mouse = rig.mouse.Parameters();
  for (std::size_t i = 0; i < kParameterChecksumOffset; ++i)
    EXPECT_EQ(packed[i], mouse[i]) << "parameter byte " << i;
  for (std::size_t i = 0; i < kProfileChecksumOffset; ++i)
    EXPECT_EQ(rig.core.Page().profiles[i], rig.mouse.Profiles()[i]) << "profile byte " << i;
}

TEST(EditLabels, FireKeyNamesFollowTheCountsTheMouseWasTold) {
  EditorRig rig;
  PageEditor& e = *rig.editor;
  e.AssignMenuItem(1, 6, 1500);  // Fire Key1 with its current settings
  e.SetFireKey(1, {9, false, 16});
  e.TakeIn();
  EXPECT_EQ(e.State().labels[5], "Fire Key1");
  EXPECT_EQ(e.State().labels[1], "Fire Key2");
  EXPECT_EQ(e.State().fire[0].repeatCount, 9);
}

}  // namespace
}  // namespace korvex48::testing

namespace korvex48::testing {
namespace {

TEST(EditTakeIn, SyncLedsOfferThreeModesAndNoColours) {
  EditorRig rig([](SimulatedMouse& m) { m.Parameters()[37] = 0x44; });
  PageEditor& e = *rig.editor;
  EXPECT_EQ(LedKindText(e.State().settings), "Sync");
  // mode 4 is not a Sync mode
  EXPECT_FALSE(LightingModeChosen(e.State().settings, e.State().settings.lighting.mode));
  EXPECT_EQ(e.SetLightingMode(3).status, EditStatus::kUnavailable);
  EXPECT_EQ(e.SetLightColour(1, 1, 2, 3).status, EditStatus::kUnavailable);
  EXPECT_EQ(e.SetDpiColour(1, 1, 2, 3).status, EditStatus::kUnavailable);
  EXPECT_TRUE(rig.trace.SentHex().empty());
  EXPECT_TRUE(e.SetLightingMode(2).sent);
  EXPECT_EQ(rig.trace.SentHex(), std::vector<std::string>{"40 05 00 25 42 00 00 01"});
}

TEST(EditTakeIn, LevelWithoutValueKeepsWhatItShowed) {
  // Level 2 has no value from the start: in the image shown before the read
  // (whose text the level keeps) and in the mouse's.
  const auto embedded = DefaultImageBytes();
  std::vector<std::uint8_t> image(embedded.begin(), embedded.end());
  image[kImageParameterOffset + 39] = 0xF2;
  EditorRig rig([](SimulatedMouse& m) { m.Parameters()[39] = 0xF2; }, SimulatedStorage::kI2C,
                image);
  PageEditor& e = *rig.editor;
  EXPECT_EQ(e.State().settings.dpi_levels[0].value_index, 2);  // 600
  EXPECT_EQ(e.State().settings.dpi_levels[1].value_index, kNoDpiValue);
  // Writing level 1 leaves level 2 without a value rather than giving it 200.
  e.SetDpiValue(1, 5);
  EXPECT_EQ(rig.trace.SentHex().front(), "40 05 00 27 f4 00 00 01");
  ASSERT_TRUE(rig.core.SetPageParameter(39, 0xFF));
  e.TakeIn();
  EXPECT_EQ(e.State().settings.dpi_levels[0].value_index, 4);  // 1000
}

}  // namespace
}  // namespace korvex48::testing
