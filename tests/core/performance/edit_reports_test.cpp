// Each editing operation against the default image of the simulated mouse:
// the reports it sends, in order, and how it ends.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editor_rig.h"

namespace korvex48::testing {
namespace {

struct ReportCase {
  std::string name;
  // Steps taken before the recorded one (their reports are not checked).
  std::function<void(PageEditor&)> before;
  std::function<EditResult(PageEditor&)> step;
  std::vector<std::string> reports;
  EditStatus status = EditStatus::kApplied;
};

void PrintTo(const ReportCase& c, std::ostream* os) { *os << c.name; }

class EditReports : public ::testing::TestWithParam<ReportCase> {};

TEST_P(EditReports, SendsTheReportsOfTheClick) {
  const ReportCase& c = GetParam();
  EditorRig rig;
  if (c.before) c.before(*rig.editor);
  rig.trace.Clear();
  const EditResult r = c.step(*rig.editor);
  EXPECT_EQ(r.status, c.status) << r.reason;
  EXPECT_EQ(rig.trace.SentHex(), c.reports);
  EXPECT_EQ(r.sent, !c.reports.empty());
}

// The default image: 7 DPI levels with level 7 active (byte 38 = 0x66), value
// bytes 42 86 A9 BB, 1000 Hz, NT LEDs in mode 3 (byte 37 = 0xF3), fire counts
// 0x31; profile 1 holds Left Key on button 1 only and Fire Key2 on button 2.
const std::vector<ReportCase> kCases = {
    {"ActiveLevel1",
     {},
     [](PageEditor& e) { return e.SelectActiveDpiLevel(1); },
     {"40 05 00 26 60 00 00 01"}},
    {"ValueOfLevel3WithLevel1Active",
     [](PageEditor& e) { e.SelectActiveDpiLevel(1); },
     [](PageEditor& e) { return e.SetDpiValue(3, 5); },
     {"40 05 00 28 84 00 00 01", "40 05 00 26 61 00 00 01", "40 05 00 26 60 00 00 01"}},
    {"ValueOfLevel8WithLevel7Active",
     [](PageEditor& e) { e.DpiLevelClick(8); },
     [](PageEditor& e) { return e.SetDpiValue(8, 12); },
     {"40 05 00 2a bb 00 00 01", "40 05 00 26 75 00 00 01", "40 05 00 26 76 00 00 01"}},
    {"EnableLevel8",
     {},
     [](PageEditor& e) { return e.DpiLevelClick(8); },
     {"40 05 00 26 76 00 00 01"}},
    {"DisableActiveLevel8",
     [](PageEditor& e) {
       e.DpiLevelClick(8);
       e.SelectActiveDpiLevel(8);
     },
     [](PageEditor& e) { return e.DpiLevelClick(8); },
     {"40 05 00 26 66 00 00 01"}},
    {"MiddleLevelRewritesByte38",
     {},
     [](PageEditor& e) { return e.DpiLevelClick(3); },
     {"40 05 00 26 66 00 00 01"},
     EditStatus::kUnchanged},
    {"OnlyLevelDoesNothing",
     [](PageEditor& e) { e.SetDpiLevelCount(1); },
     [](PageEditor& e) { return e.DpiLevelClick(1); },
     {},
     EditStatus::kUnchanged},
    {"SecondLevelAfterOne",
     [](PageEditor& e) { e.SetDpiLevelCount(1); },
     [](PageEditor& e) { return e.DpiLevelClick(2); },
     {"40 05 00 26 10 00 00 01"}},
    {"CountThreeMovesActiveDown",
     {},
     [](PageEditor& e) { return e.SetDpiLevelCount(3); },
     {"40 05 00 26 22 00 00 01"}},
    {"SameCountSendsNothing",
     {},
     [](PageEditor& e) { return e.SetDpiLevelCount(7); },
     {},
     EditStatus::kUnchanged},
    {"DisabledLevelHasNoMark",
     {},
     [](PageEditor& e) { return e.SelectActiveDpiLevel(8); },
     {},
     EditStatus::kUnavailable},
    {"DpiColourOfLevel2",
     {},
     [](PageEditor& e) { return e.SetDpiColour(2, 255, 254, 0); },
     {"40 05 00 4b ff ef 0f 03"}},
    {"RateDown", {}, [](PageEditor& e) { return e.SetReportRate(3); }, {"40 05 00 06 af 00 00 01"}},
    {"LedOffOnNt",
     {},
     [](PageEditor& e) { return e.SetLightingMode(0); },
     {"40 05 00 25 f0 00 00 01"}},
    {"Led5AfterOff",
     [](PageEditor& e) { e.SetLightingMode(0); },
     [](PageEditor& e) { return e.SetLightingMode(5); },
     {"40 05 00 25 f5 00 00 01"}},
    {"Led4NotOfferedOnNt",
     {},
     [](PageEditor& e) { return e.SetLightingMode(4); },
     {},
     EditStatus::kUnavailable},
    {"StepTime3", {}, [](PageEditor& e) { return e.SetStepTime(3); }, {"40 05 00 34 0f 0f 00 02"}},
    {"StepTimeWhileOff",
     [](PageEditor& e) { e.SetLightingMode(0); },
     [](PageEditor& e) { return e.SetStepTime(3); },
     {},
     EditStatus::kUnavailable},
    {"LedColour1",
     {},
     [](PageEditor& e) { return e.SetLightColour(1, 128, 64, 255); },
     {"40 05 00 36 07 03 0f 03"}},
    {"RightKeyOnButton2",
     {},
     [](PageEditor& e) { return e.AssignMenuItem(1, 2, 901); },
     {"40 05 01 04 01 02 00 00"}},
    {"LastLeftKeyStays",
     {},
     [](PageEditor& e) { return e.AssignMenuItem(1, 1, 901); },
     {},
     EditStatus::kRefused},
    {"SecondLeftKeyFreesTheFirst",
     [](PageEditor& e) { e.AssignMenuItem(1, 5, 900); },
     [](PageEditor& e) { return e.AssignMenuItem(1, 1, 901); },
     {"40 05 01 00 01 02 00 00"}},
    {"SwitchKeyGoesToAllProfiles",
     {},
     [](PageEditor& e) { return e.AssignMenuItem(1, 3, 1002); },
     {"40 05 01 08 07 00 00 00", "40 05 01 38 07 00 00 00", "40 05 01 68 07 00 00 00"}},
    {"SwitchKeyTakenAwayToo",
     [](PageEditor& e) { e.AssignMenuItem(1, 3, 1002); },
     [](PageEditor& e) { return e.AssignMenuItem(1, 3, 1300); },
     {"40 05 01 08 03 00 cd 00", "40 05 01 38 03 00 cd 00", "40 05 01 68 03 00 cd 00"}},
    {"SwitchKeyOnlyInProfile1",
     {},
     [](PageEditor& e) { return e.AssignMenuItem(2, 3, 1002); },
     {},
     EditStatus::kUnavailable},
    {"Profile2Button",
     {},
     [](PageEditor& e) { return e.AssignMenuItem(2, 4, 902); },
     {"40 05 01 3c 01 04 00 00"}},
    {"Profile3NeverEdited",
     {},
     [](PageEditor& e) { return e.AssignMenuItem(3, 4, 902); },
     {},
     EditStatus::kUnavailable},
    {"KeyCombination",
     {},
     [](PageEditor& e) { return e.AssignKeyCombination(1, 4, "Ctrl+Shift+A", "02030400"); },
     {"40 05 01 0c 02 03 04 00"}},
    {"AlternateKeyWithoutSwitchKey",
     {},
     [](PageEditor& e) { return e.SelectProfile(2); },
     {},
     EditStatus::kRefused},
    {"AlternateKeyWithSwitchKey",
     [](PageEditor& e) { e.AssignMenuItem(1, 3, 1002); },
     [](PageEditor& e) { return e.SelectProfile(2); },
     {"40 05 00 21 01 00 00 01"}},
    {"SwitchButtonLockedInProfile2",
     [](PageEditor& e) {
       e.AssignMenuItem(1, 3, 1002);
       e.SelectProfile(2);
     },
     [](PageEditor& e) { return e.AssignMenuItem(2, 3, 902); },
     {},
     EditStatus::kUnavailable},
    {"ResetControlWithoutResetKey",
     {},
     [](PageEditor& e) { return e.SelectProfile(3); },
     {},
     EditStatus::kRefused},
    {"FireKey2Count4Delay50",
     {},
     [](PageEditor& e) {
       return e.SetFireKey(2, {4, false, 50});
     },
     {"40 05 00 01 31 00 00 01", "40 05 01 04 06 13 00 32"}},
    {"FireKey2ContinuousMax",
     {},
     [](PageEditor& e) {
       return e.SetFireKey(2, {15, true, 4094});
     },
     {"40 05 00 01 e1 00 00 01", "40 05 01 04 06 9e 0f fe"}},
    {"AimWithoutAimKey",
     {},
     [](PageEditor& e) { return e.SetAimStep(5); },
     {},
     EditStatus::kRefused},
    {"AimOnButton4",
     [](PageEditor& e) { e.AssignMenuItem(1, 4, 1001); },
     [](PageEditor& e) { return e.SetAimStep(8); },
     {"40 05 01 0c 05 07 00 00"}},
};

INSTANTIATE_TEST_SUITE_P(Default, EditReports, ::testing::ValuesIn(kCases),
                         [](const auto& test_info) { return test_info.param.name; });

TEST(EditMessages, RefusalsCarryTheSystemTexts) {
  EditorRig rig;
  PageEditor& e = *rig.editor;
  EXPECT_EQ(e.SelectProfile(2).message.keys, std::vector<std::string>{"Str020"});
  EXPECT_EQ(e.SelectProfile(3).message.keys, std::vector<std::string>{"Str021"});
  const EditResult aim = e.SetAimStep(5);
  EXPECT_EQ(aim.message.literal, "Please select a AIM Key inMain Control");
  EXPECT_EQ(e.State().aim_step, 1);
  EXPECT_EQ(e.State().page.active_profile, 1);

  rig.transport.CloseDevice();
  EXPECT_EQ(e.SelectProfile(1).message.keys, std::vector<std::string>{"Str022"});
}

TEST(EditLoading, ClicksChangeThePageButSendNothing) {
  EditorRig rig;
  PageEditor& e = *rig.editor;
  rig.session.Loading = true;
  EXPECT_EQ(e.DpiLevelClick(8).status, EditStatus::kUnchanged);
  EXPECT_EQ(e.State().page.dpi_level_count, 7);
  e.SetDpiValue(1, 12);
  e.SetReportRate(1);
  e.SetLightingMode(1);
  EXPECT_EQ(e.State().page.dpi_value_texts[0], "6400");
  EXPECT_EQ(e.State().page.report_rate_choice, 1);
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
  rig.core.ReadDevInfo();
  e.TakeIn();
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

// After any series of edits, packing the page state gives the bytes the mouse
// holds: the live writes and the saved image never disagree.
TEST(EditPacking, PackedPageMatchesTheMouse) {
  EditorRig rig;
  PageEditor& e = *rig.editor;
  e.DpiLevelClick(8);
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
  ParameterSection packed = rig.core.Page().parameters;
  UIToDataBuf(e.State().page, packed);
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
  EXPECT_EQ(e.State().page.lighting_type, "Sync");
  EXPECT_EQ(e.State().page.lighting_choice, -1);  // mode 4 is not a Sync mode
  EXPECT_EQ(e.SetLightingMode(3).status, EditStatus::kUnavailable);
  EXPECT_EQ(e.SetLightColour(1, 1, 2, 3).status, EditStatus::kUnavailable);
  EXPECT_EQ(e.SetDpiColour(1, 1, 2, 3).status, EditStatus::kUnavailable);
  EXPECT_TRUE(rig.trace.SentHex().empty());
  EXPECT_TRUE(e.SetLightingMode(2).sent);
  EXPECT_EQ(rig.trace.SentHex(), std::vector<std::string>{"40 05 00 25 42 00 00 01"});
}

TEST(EditTakeIn, LevelWithoutValueKeepsWhatItShowed) {
  EditorRig rig([](SimulatedMouse& m) { m.Parameters()[39] = 0xF2; });
  PageEditor& e = *rig.editor;
  EXPECT_EQ(e.State().page.dpi_value_texts[0], "600");
  EXPECT_EQ(e.State().page.dpi_value_texts[1], "");
  // Writing level 1 leaves level 2 without a value rather than giving it 200.
  e.SetDpiValue(1, 5);
  EXPECT_EQ(rig.trace.SentHex().front(), "40 05 00 27 f4 00 00 01");
  rig.core.Page().parameters[39] = 0xFF;
  e.TakeIn();
  EXPECT_EQ(e.State().page.dpi_value_texts[0], "1000");
}

}  // namespace
}  // namespace korvex48::testing
