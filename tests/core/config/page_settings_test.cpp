#include "core/config/page_settings.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "core/image/default_image.h"

namespace korvex48 {
namespace {

ParameterSection DefaultParameters() {
  ConfigImage image;
  ReadDefaultSections(StorageKind::kI2C, image);
  return image.parameters;
}

struct SaveCase {
  const char* name;
  std::function<void(ParameterSection&)> mouse;  // the section taken in, before the defaults
  std::function<void(PageSettings&)> change;     // what the pages show then
  std::map<std::size_t, std::uint8_t> expected;  // bytes that change; all others keep
};

class SaveRulesTest : public ::testing::TestWithParam<SaveCase> {};

// The settings a freshly shown section leaves, changed by the case, written
// back as a profile save writes them.
TEST_P(SaveRulesTest, ChangesOnlyTheExpectedBytes) {
  const SaveCase& c = GetParam();
  ParameterSection before = DefaultParameters();
  if (c.mouse) c.mouse(before);
  PageSettings shown = PageSettingsOf(before, PageSettings{});
  if (c.change) c.change(shown);
  ParameterSection after = before;
  EncodeSettingsForSave(shown, after);
  for (std::size_t i = 0; i < after.size(); ++i) {
    const auto it = c.expected.find(i);
    EXPECT_EQ(after[i], it == c.expected.end() ? before[i] : it->second) << "byte " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveRulesTest,
    ::testing::Values(
        SaveCase{"ShownSectionSavesUnchanged", nullptr, nullptr, {}},
        SaveCase{"LevelCountAndActive",
                 nullptr,
                 [](PageSettings& s) {
                   s.dpi_level_count = 3;
                   s.dpi_active_level = 2;
                 },
                 {{38, 0x21}}},
        SaveCase{"NoActiveLevelKeepsByte38",
                 nullptr,
                 [](PageSettings& s) {
                   s.dpi_level_count = 3;
                   s.dpi_active_level = 0;
                 },
                 {}},
        // A count nibble above 7 is shown as eight levels; the save keeps
        // the mouse's byte until the pages change count or active level.
        SaveCase{
            "CountNibbleAboveSevenKeeps", [](ParameterSection& p) { p[38] = 0xA2; }, nullptr, {}},
        SaveCase{"CountNibbleAboveSevenClampedWhenChanged",
                 [](ParameterSection& p) { p[38] = 0xA2; },
                 [](PageSettings& s) { s.dpi_active_level = 2; },
                 {{38, 0x71}}},
        SaveCase{"ActiveNibbleAboveSevenKeepsByte38",
                 [](ParameterSection& p) { p[38] = 0xAA; },
                 nullptr,
                 {}},
        // Default 39 = 0x42: level 1 index 2, level 2 index 4.
        SaveCase{"NoValueGivesF",
                 nullptr,
                 [](PageSettings& s) { s.dpi_levels[1].value_index = kNoDpiValue; },
                 {{39, 0xF2}}},
        SaveCase{"ValueOutsideTheListKeepsNibble",
                 nullptr,
                 [](PageSettings& s) {
                   s.dpi_levels[0].value_index = 13;
                   s.dpi_levels[1].value_index = 11;
                 },
                 {{39, 0xB2}}},
        SaveCase{"NibbleOutsideTheListTakenInIsKept",
                 [](ParameterSection& p) { p[39] = 0xD2; },
                 nullptr,
                 {}},
        // A level the mouse holds no value for shows, and saves, the value it
        // showed before; with none shown before it stays 0xF.
        SaveCase{"NibbleFifteenWithNothingShownStays",
                 [](ParameterSection& p) { p[39] = 0xF2; },
                 nullptr,
                 {}},
        // Default 75 = 0x0F: level 1 red 15, level 2 red 0.
        SaveCase{"DpiColourNibblesModulo16",
                 nullptr,
                 [](PageSettings& s) {
                   s.dpi_levels[1].colour[0] = 17;
                   s.dpi_levels[0].colour[0] = 3;
                 },
                 {{75, 0x13}}},
        SaveCase{"ReportRateBitsOnly",
                 nullptr,
                 [](PageSettings& s) { s.report_rate_hz = 125; },
                 {{6, 0x8F}}},
        SaveCase{"SyncLed3LeavesByte37",
                 nullptr,
                 [](PageSettings& s) {
                   s.lighting.kind = LedKind::kSync;
                   s.lighting.mode = 3;
                 },
                 {}},
        SaveCase{"SyncLed2",
                 nullptr,
                 [](PageSettings& s) {
                   s.lighting.kind = LedKind::kSync;
                   s.lighting.mode = 2;
                 },
                 {{37, 0x42}}},
        // A mode the mouse holds is saved as it holds it, bits 5-4 too;
        // a mode chosen is packed by kind (Sync 0x40 + mode).
        SaveCase{
            "SyncTakenInKeepsBits5And4", [](ParameterSection& p) { p[37] = 0x71; }, nullptr, {}},
        SaveCase{"SyncChosenLosesBits5And4",
                 [](ParameterSection& p) { p[37] = 0x71; },
                 [](PageSettings& s) { s.lighting.mode = 2; },
                 {{37, 0x42}}},
        SaveCase{"RgbOffWholeByte",
                 nullptr,
                 [](PageSettings& s) {
                   s.lighting.kind = LedKind::kRgb;
                   s.lighting.mode = 0;
                 },
                 {{37, 0x00}}},
        SaveCase{
            "RgbTakenInKeepsBits5And4", [](ParameterSection& p) { p[37] = 0x35; }, nullptr, {}},

        SaveCase{"NtKeepsHighNibble",
                 nullptr,
                 [](PageSettings& s) { s.lighting.mode = 5; },
                 {{37, 0xF5}}},
        SaveCase{
            "ModeNotOfferedKeepsByte37", [](ParameterSection& p) { p[37] = 0x07; }, nullptr, {}},
        SaveCase{"UnknownKindKeepsByte37",
                 nullptr,
                 [](PageSettings& s) {
                   s.led_kind_known = false;
                   s.lighting.mode = 5;
                 },
                 {}},
        SaveCase{"FallTime",
                 nullptr,
                 [](PageSettings& s) { s.lighting.fall_time = 15; },
                 {{52, 15}, {53, 15}}},
        // The mouse's step-time bytes are saved as it holds them, also a value
        // no step gives (the shipped 60) and two bytes that differ, until a
        // step is chosen.
        SaveCase{"FallTimeNoStepGivesKeeps",
                 [](ParameterSection& p) {
                   p[52] = 3;
                   p[53] = 12;
                 },
                 nullptr,
                 {}},
        SaveCase{"FallTimeChosenAfterOddBytes",
                 [](ParameterSection& p) {
                   p[52] = 3;
                   p[53] = 12;
                 },
                 [](PageSettings& s) { s.lighting.fall_time = 10; },
                 {{52, 10}, {53, 10}}},
        SaveCase{"LightColourBytes",
                 nullptr,
                 [](PageSettings& s) {
                   s.lighting.colours[6][2] = 2;
                   s.lighting.colours[0][0] = 255;
                 },
                 {{74, 2}, {54, 255}}},
        SaveCase{
            "ActiveProfile", nullptr, [](PageSettings& s) { s.active_profile = 3; }, {{33, 2}}},
        SaveCase{"NoProfileKeepsByte33", [](ParameterSection& p) { p[33] = 7; }, nullptr, {}}),
    [](const auto& test_info) { return std::string(test_info.param.name); });

TEST(PageSettingsTakeIn, ALevelWithoutValueKeepsTheValueItShowed) {
  ParameterSection p = DefaultParameters();
  const PageSettings first = PageSettingsOf(p, PageSettings{});
  ASSERT_EQ(first.dpi_levels[1].value_index, 4);
  p[39] = 0xF2;
  const PageSettings again = PageSettingsOf(p, first);
  EXPECT_EQ(again.dpi_levels[0].value_index, 2);
  EXPECT_EQ(again.dpi_levels[1].value_index, 4);
  // A live write of the pair gives the value shown; a save keeps what the
  // mouse holds.
  ParameterSection saved = p;
  EncodeSettingsForSave(again, saved);
  EXPECT_EQ(saved[39], 0xF2);
  EXPECT_EQ(DpiPairNibble(again.dpi_levels[1].value_index), 4);
  EXPECT_EQ(DpiPairNibble(13), kNoDpiValue);
}

}  // namespace
}  // namespace korvex48
