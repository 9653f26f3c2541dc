#include "core/app/page_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "core/image/default_image.h"

namespace korvex48 {
namespace {

ParameterSection DefaultParameters() {
  ConfigImage image;
  ReadDefaultSections(StorageKind::kI2C, image);
  // The shipped fall time (60) is no step's value; the pages would show step
  // 10 and pack 50. Start from a value the pages keep.
  image.parameters[52] = image.parameters[53] = 50;
  return image.parameters;
}

struct PackCase {
  const char* name;
  std::function<void(PageState&)> change;
  std::map<std::size_t, std::uint8_t> expected;  // bytes that change; all others keep
};

class UIToDataBufTest : public ::testing::TestWithParam<PackCase> {};

// The page state a freshly shown default image leaves, changed by the case.
TEST_P(UIToDataBufTest, ChangesOnlyTheExpectedBytes) {
  const PackCase& c = GetParam();
  const ParameterSection before = DefaultParameters();
  PageState page = PageStateFromParameters(before);
  if (c.change) c.change(page);
  ParameterSection after = before;
  PackPageState(page, after);
  for (std::size_t i = 0; i < after.size(); ++i) {
    const auto it = c.expected.find(i);
    EXPECT_EQ(after[i], it == c.expected.end() ? before[i] : it->second) << "byte " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UIToDataBufTest,
    ::testing::Values(
        PackCase{"ShownImagePacksUnchanged", nullptr, {}},
        PackCase{"LevelCountAndChecked",
                 [](PageState& p) {
                   p.dpi_level_count = 3;
                   p.checked_dpi_level = 2;
                 },
                 {{38, 0x21}}},
        PackCase{"NoLevelCheckedKeepsByte38",
                 [](PageState& p) {
                   p.dpi_level_count = 3;
                   p.checked_dpi_level = 0;
                 },
                 {}},
        // Default 39 = 0x42: level 1 index 2, level 2 index 4.
        PackCase{
            "EmptyValueTextGivesF", [](PageState& p) { p.dpi_value_texts[1] = ""; }, {{39, 0xF2}}},
        PackCase{"UnknownValueTextKeepsNibble",
                 [](PageState& p) {
                   p.dpi_value_texts[0] = "700";
                   p.dpi_value_texts[1] = "6400";
                 },
                 {{39, 0xB2}}},
        // Default 75 = 0x0F: level 1 red 15, level 2 red 0.
        PackCase{"DpiColourNibblesModulo16",
                 [](PageState& p) {
                   p.dpi_colour_texts[1][0] = "17";
                   p.dpi_colour_texts[0][0] = "3";
                 },
                 {{75, 0x13}}},
        PackCase{"DpiColourWithoutNumberKeepsNibble",
                 [](PageState& p) { p.dpi_colour_texts[1][0] = "x"; },
                 {}},
        PackCase{"ReportRateBitsOnly", [](PageState& p) { p.report_rate_choice = 1; }, {{6, 0x8F}}},
        PackCase{"SyncLed3LeavesByte37",
                 [](PageState& p) {
                   p.lighting_type = "Sync";
                   p.lighting_choice = 3;
                 },
                 {}},
        PackCase{"SyncLed2",
                 [](PageState& p) {
                   p.lighting_type = "Sync";
                   p.lighting_choice = 2;
                 },
                 {{37, 0x42}}},
        PackCase{"RgbOffWholeByte",
                 [](PageState& p) {
                   p.lighting_type = "RGB";
                   p.lighting_choice = 0;
                 },
                 {{37, 0x00}}},
        PackCase{"NtKeepsHighNibble", [](PageState& p) { p.lighting_choice = 5; }, {{37, 0xF5}}},
        PackCase{"FallTime", [](PageState& p) { p.fall_time_choice = 3; }, {{52, 15}, {53, 15}}},
        PackCase{"NoFallTimeKeeps", [](PageState& p) { p.fall_time_choice = 0; }, {}},
        PackCase{"LightColourModulo256",
                 [](PageState& p) {
                   p.lighting_colour_texts[6][2] = "258";
                   p.lighting_colour_texts[0][0] = "-1";
                   p.lighting_colour_texts[0][1] = "";
                 },
                 {{74, 2}, {54, 255}}},
        PackCase{"ActiveProfile", [](PageState& p) { p.active_profile = 3; }, {{33, 2}}}),
    [](const auto& test_info) { return std::string(test_info.param.name); });

}  // namespace
}  // namespace korvex48
