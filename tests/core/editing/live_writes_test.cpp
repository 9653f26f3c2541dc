// Fast edits whose live writes overlap: the user acts inside the 100 ms waits
// of earlier writes. Afterwards the mouse holds the page's image, reading it
// back shows what the page showed, a saved profile holds the final values,
// and the writes went out one at a time, 100 ms apart.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "../files/temp_dir.h"
#include "core/image/config_image.h"
#include "editor_rig.h"

namespace korvex48::testing {
namespace {

constexpr int kRightKeyTag = 901;
constexpr int kSwitchKeyTag = 1002;

// One user action at a time in milliseconds from the start.
struct Step {
  int at_ms;
  std::function<void(EditorRig&)> act;
};

struct RaceCase {
  std::string name;
  std::vector<Step> steps;
  // What the mouse shows when read back.
  std::function<void(const EditorState&)> expect;
  // Whole-image transfers are not paced; only live writes are checked.
  bool paced = true;
};

void PrintTo(const RaceCase& c, std::ostream* os) { *os << c.name; }

// Typing into a fire key's count or delay field: the field's value after each
// key, the other settings as the page shows them.
enum class FireField { kCount, kDelay };
std::vector<Step> TypeFire(int fire_key, FireField field, const std::vector<int>& values,
                           int ms_per_key) {
  std::vector<Step> steps;
  for (std::size_t i = 0; i < values.size(); ++i) {
    steps.push_back({static_cast<int>(i) * ms_per_key, [=, value = values[i]](EditorRig& rig) {
                       FireKeySettings s =
                           rig.editor->State().fire[static_cast<std::size_t>(fire_key - 1)];
                       (field == FireField::kCount ? s.repeatCount : s.delay) = value;
                       rig.editor->SetFireKey(fire_key, s);
                     }});
  }
  return steps;
}

FireKeySettings Fire(int count, int delay) {
  FireKeySettings s;
  s.repeatCount = count;
  s.delay = delay;
  return s;
}

// What the pages show, as one text for readable differences.
std::string Shown(const EditorState& s) {
  std::ostringstream o;
  const PageSettings& p = s.settings;
  o << "levels " << p.dpi_level_count << " active " << p.dpi_active_level << " values";
  for (const DpiLevel& l : p.dpi_levels) o << ' ' << int{l.value_index};
  o << " rate " << p.report_rate_hz << " led "
    << (LightingModeChosen(p, p.lighting.mode) ? int{p.lighting.mode} : -1) << " step "
    << p.lighting.fall_time / 5 << " profile " << p.active_profile << " labels";
  for (const std::string& l : s.labels) o << " [" << l << ']';
  for (const FireKeySettings& f : s.fire)
    o << " fire " << f.repeatCount << '/' << f.delay << '/' << f.continuous;
  o << " aim " << s.aim_step;
  return o.str();
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::vector<RaceCase> kRaces = {
    {"FireCountTyped12At120msPerKey", TypeFire(2, FireField::kCount, {1, 12}, 120),
     [](const EditorState& s) { EXPECT_EQ(s.fire[1].repeatCount, 12); }},
    {"FireDelayTyped2000At250msPerKey", TypeFire(2, FireField::kDelay, {2, 20, 200, 2000}, 250),
     [](const EditorState& s) { EXPECT_EQ(s.fire[1].delay, 2000); }},
    {"FireDelayTypedAt30msPerKey", TypeFire(2, FireField::kDelay, {4, 40, 400}, 30),
     [](const EditorState& s) { EXPECT_EQ(s.fire[1].delay, 400); }},
    {"DpiStepThenAnotherLevelsMark40msLater",
     {{0, [](EditorRig& r) { r.editor->SetDpiValue(3, 5); }},
      {40, [](EditorRig& r) { r.editor->SelectActiveDpiLevel(2); }}},
     [](const EditorState& s) {
       EXPECT_EQ(s.settings.dpi_active_level, 2);
       EXPECT_EQ(DpiValueOfIndex(s.settings.dpi_levels[2].value_index), 1000);
     }},
    {"ThreeStepsOfOneLevelIn30ms",
     {{0, [](EditorRig& r) { r.editor->SetDpiValue(4, 2); }},
      {10, [](EditorRig& r) { r.editor->SetDpiValue(4, 6); }},
      {30, [](EditorRig& r) { r.editor->SetDpiValue(3, 9); }}},
     [](const EditorState& s) {
       EXPECT_EQ(DpiValueOfIndex(s.settings.dpi_levels[3].value_index), 1200);
       EXPECT_EQ(DpiValueOfIndex(s.settings.dpi_levels[2].value_index), 2400);
     }},
    {"ButtonFunctionWhileADpiWriteWaits",
     {{0, [](EditorRig& r) { r.editor->SetDpiValue(1, 12); }},
      {50, [](EditorRig& r) { r.editor->AssignMenuItem(1, 3, kRightKeyTag); }}},
     [](const EditorState& s) {
       EXPECT_EQ(s.labels[2], "Right Key");
       EXPECT_EQ(DpiValueOfIndex(s.settings.dpi_levels[0].value_index), 6400);
     }},
    {"SwitchKeyCopiesWhileADpiWriteWaits",
     {{0, [](EditorRig& r) { r.editor->SetDpiValue(2, 3); }},
      {30, [](EditorRig& r) { r.editor->AssignMenuItem(1, 4, kSwitchKeyTag); }},
      {60, [](EditorRig& r) { r.editor->SetStepTime(2); }}},
     [](const EditorState& s) {
       EXPECT_EQ(s.labels[3], "KB Switch Key");
       EXPECT_EQ(s.settings.lighting.fall_time, 5 * 2);
     }},
    {"LevelCountClicksInARow",
     {{0, [](EditorRig& r) { r.editor->ToggleDpiLevel(7); }},
      {20, [](EditorRig& r) { r.editor->ToggleDpiLevel(6); }},
      {40, [](EditorRig& r) { r.editor->ToggleDpiLevel(6); }},
      {45, [](EditorRig& r) { r.editor->SelectActiveDpiLevel(1); }}},
     [](const EditorState& s) {
       EXPECT_EQ(s.settings.dpi_level_count, 6);
       EXPECT_EQ(s.settings.dpi_active_level, 1);
     }},
    {"LightingStepsAndModeIn50ms",
     {{0, [](EditorRig& r) { r.editor->SetStepTime(3); }},
      {10, [](EditorRig& r) { r.editor->SetLightingMode(1); }},
      {20, [](EditorRig& r) { r.editor->SetStepTime(9); }},
      {50, [](EditorRig& r) { r.editor->SetLightColour(2, 255, 0, 128); }}},
     [](const EditorState& s) {
       EXPECT_EQ(s.settings.lighting.fall_time, 5 * 9);
       EXPECT_EQ(s.settings.lighting.mode, 1);
     }},
    {"ResetInsideALiveWritesWait",
     {{0, [](EditorRig& r) { r.editor->SetDpiValue(3, 1); }},
      {30, [](EditorRig& r) { r.images.ResetMouse(); }},
      // The pages are locked while the reset writes; the next click follows.
      {500, [](EditorRig& r) { r.editor->SetStepTime(4); }}},
     [](const EditorState& s) {
       EXPECT_EQ(s.settings.lighting.fall_time, 5 * 4);
       EXPECT_EQ(s.settings.dpi_level_count, 7);
       EXPECT_EQ(DpiValueOfIndex(s.settings.dpi_levels[2].value_index), 1600);
     },
     false},
};

class LiveWriteRaces : public ::testing::TestWithParam<RaceCase> {};

TEST_P(LiveWriteRaces, MouseEndsWithThePagesImage) {
  const RaceCase& c = GetParam();
  // A step time a step gives (the 60 of the default image is none).
  EditorRig rig(
      [](SimulatedMouse& mouse) { mouse.Parameters()[52] = mouse.Parameters()[53] = 50; });
  for (const Step& step : c.steps)
    rig.clock.At(static_cast<std::uint64_t>(step.at_ms) * 1000, [&rig, &step] { step.act(rig); });
  rig.clock.RunAll();

  EXPECT_TRUE(rig.commands.LiveWrites().Idle());
  EXPECT_EQ(rig.mouse.Parameters(), rig.core.Page().parameters);
  EXPECT_EQ(rig.mouse.Profiles(), rig.core.Page().profiles);

  // One report at a time, each live write followed by its 100 ms.
  if (c.paced) {
    for (std::size_t i = 1; i < rig.trace.SentTimes().size(); ++i)
      EXPECT_GE(rig.trace.SentTimes()[i] - rig.trace.SentTimes()[i - 1], 100'000u)
          << "report " << i << ": " << rig.trace.SentHex()[i];
  }

  // A profile saved now holds what the page shows.
  TempDir dir;
  const FileCommandResult saved = rig.editor->SaveProfile(ProfileFileTarget(dir.File("race")));
  ASSERT_TRUE(saved.ok()) << saved.error.message;
  const std::vector<std::uint8_t> file = ReadFile(saved.path);
  ASSERT_GE(file.size(), kImageHeadSize);
  for (std::size_t i = 1; i < kParameterChecksumOffset; ++i)
    EXPECT_EQ(file[kImageParameterOffset + i], rig.mouse.Parameters()[i]) << "parameter " << i;
  for (std::size_t i = 0; i < kProfileChecksumOffset; ++i)
    EXPECT_EQ(file[kImageProfileOffset + i], rig.mouse.Profiles()[i]) << "profile byte " << i;

  // Read back, the mouse shows what the page showed.
  const std::string shown = Shown(rig.editor->State());
  rig.images.ReadConfiguration();
  EXPECT_EQ(Shown(rig.editor->State()), shown);
  c.expect(rig.editor->State());
}

INSTANTIATE_TEST_SUITE_P(Races, LiveWriteRaces, ::testing::ValuesIn(kRaces),
                         [](const auto& race) { return race.param.name; });

// A queued write whose bytes a later edit rewrites never reaches the mouse.
TEST(LiveWriteQueue, LaterEditsSupersedeQueuedWritesOfTheSameBytes) {
  EditorRig rig;
  for (int step = 1; step <= 10; ++step)
    rig.clock.At(static_cast<std::uint64_t>(step) * 10'000,
                 [&rig, step] { rig.editor->SetStepTime(step); });
  rig.clock.RunAll();
  // The first step is sent at once; the nine that follow within its 100 ms
  // leave only the last.
  EXPECT_EQ(rig.trace.SentHex(),
            (std::vector<std::string>{"40 05 00 34 05 05 00 02", "40 05 00 34 32 32 00 02"}));
}

// A write the mouse refuses: the image and the page go back to what the mouse
// holds, and the listener hears of it once the queue is idle.
TEST(LiveWriteQueue, RefusedWriteShowsWhatTheMouseHolds) {
  EditorRig rig;
  std::vector<LiveWriteRefusal> heard;
  rig.editor->SetRefusalListener([&heard](const LiveWriteRefusal& r) { heard.push_back(r); });
  const int step_before = rig.editor->State().settings.lighting.fall_time / 5;
  const std::uint8_t byte_before = rig.mouse.Parameters()[52];

  rig.mouse.Faults().refuse_command_code = kCmdWriteSection;
  EXPECT_EQ(rig.editor->SetStepTime(step_before == 3 ? 4 : 3).status, EditStatus::kApplied);
  EXPECT_EQ(rig.editor->RefusedWrites(), 1);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].mouse_holds, (std::vector<MouseByte>{{kParameterBlock, 52, byte_before},
                                                          {kParameterBlock, 53, byte_before}}));
  EXPECT_EQ(rig.editor->State().settings.lighting.fall_time / 5, step_before);
  EXPECT_EQ(rig.core.Page().parameters, rig.mouse.Parameters());

  // Refused first, then taken when the user types on inside the wait: the
  // later write carries the bytes, nothing goes back.
  heard.clear();
  rig.clock.At(rig.clock.NowMicroseconds() + 1000,
               [&rig] { rig.editor->SetFireKey(2, Fire(1, 16)); });
  rig.clock.At(rig.clock.NowMicroseconds() + 50'000, [&rig] {
    rig.mouse.Faults().refuse_command_code = -1;
    rig.editor->SetFireKey(2, Fire(12, 16));
  });
  rig.clock.RunAll();
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_GE(heard[0].refused, 1);
  EXPECT_EQ(rig.editor->State().fire[1].repeatCount, 12);
  EXPECT_EQ(rig.core.Page().profiles, rig.mouse.Profiles());
  EXPECT_EQ(rig.core.Page().parameters, rig.mouse.Parameters());
}

}  // namespace
}  // namespace korvex48::testing
