#include "core/buttons/assembly_key.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvex48 {
namespace {

// One user action in the dialog.
struct Step {
  enum Kind { kKey, kShiftKey, kTick, kUntick, kClear } kind;
  int value = 0;  // virtual key, or the AssemblyModifier
};
Step Key(int vk) { return {Step::kKey, vk}; }
Step KeyWithShift(int vk) { return {Step::kShiftKey, vk}; }
Step Tick(AssemblyModifier m) { return {Step::kTick, static_cast<int>(m)}; }
Step Untick(AssemblyModifier m) { return {Step::kUntick, static_cast<int>(m)}; }
Step Clear() { return {Step::kClear}; }

constexpr auto kCtrl = AssemblyModifier::kCtrl;
constexpr auto kShift = AssemblyModifier::kShift;
constexpr auto kAlt = AssemblyModifier::kAlt;
constexpr auto kWin = AssemblyModifier::kWin;

TEST(AssemblyKey, DialogScenarios) {
  struct Case {
    const char* what;
    std::vector<Step> steps;
    std::vector<std::string> fields;  // the field after each step
    const char* code;                 // Confirm at the end
  };
  const Case cases[] = {
      {"Ctrl and Shift ticked, then A",
       {Tick(kCtrl), Tick(kShift), Key('A')},
       {"Ctrl", "Ctrl+Shift", "Ctrl+Shift+A"},
       "02030400"},
      {"a third key starts over (no modifier)",
       {Key('A'), Key('B'), Key('C')},
       {"A", "A+B", "C"},
       "02000600"},
      {"a third key starts over from the modifier text",
       {Tick(kAlt), Key('A'), Key('B'), Key('C')},
       {"Alt", "Alt+A", "Alt+A+B", "Alt+C"},
       "02040600"},
      {"Shift held and the Windows keys are ignored",
       {KeyWithShift('A'), Key(0x5B), Key(0x5C), Key('B')},
       {"", "", "", "B"},
       "02000500"},
      {"Ctrl alone after two keys clears them and is ignored",
       {Key('A'), Key('B'), Key(0xA2)},
       {"A", "A+B", ""},
       "02000000"},
      {"Win ticked after F5, then unticked",
       {Key(0x74), Tick(kWin), Untick(kWin)},
       {"F5", "Win+F5", "F5"},
       "02003E00"},
      {"only Ctrl ticked and unticked empties the field",
       {Tick(kCtrl), Untick(kCtrl)},
       {"Ctrl", ""},
       "02000000"},
      {"unticking a modifier in the middle",
       {Tick(kCtrl), Tick(kAlt), Key('A'), Untick(kAlt), Untick(kCtrl)},
       {"Ctrl", "Ctrl+Alt", "Ctrl+Alt+A", "Ctrl+A", "A"},
       "02000400"},
      {"Clear after two keys, then Confirm",
       {Tick(kShift), Key('A'), Key('B'), Clear()},
       {"Shift", "Shift+A", "Shift+A+B", ""},
       "02000000"},
      {"a key outside the table is None with usage 0; OEM_8 keeps its name",
       {Key(0xE5), Key(0xDF)},
       {"None", "None+OEM_8"},
       "02000000"},
      {"every modifier and two keys",
       {Tick(kWin), Tick(kAlt), Tick(kShift), Tick(kCtrl), Key(0x70), Key(0x0D)},
       {"Win", "Alt+Win", "Shift+Alt+Win", "Ctrl+Shift+Alt+Win", "Ctrl+Shift+Alt+Win+F1",
        "Ctrl+Shift+Alt+Win+F1+Enter"},
       "020F3A28"},
  };
  for (const Case& c : cases) {
    AssemblyKeyModel model;
    ASSERT_EQ(c.steps.size(), c.fields.size()) << c.what;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const Step& s = c.steps[i];
      switch (s.kind) {
        case Step::kKey:
          model.KeyDown(s.value, false, false, false);
          break;
        case Step::kShiftKey:
          model.KeyDown(s.value, true, false, false);
          break;
        case Step::kTick:
          model.SetModifier(static_cast<AssemblyModifier>(s.value), true);
          break;
        case Step::kUntick:
          model.SetModifier(static_cast<AssemblyModifier>(s.value), false);
          break;
        case Step::kClear:
          model.Clear();
          break;
      }
      EXPECT_EQ(model.FieldText(), c.fields[i]) << c.what << ", step " << i + 1;
    }
    const AssemblyResult result = model.Confirm();
    EXPECT_EQ(result.code, c.code) << c.what;
    EXPECT_EQ(result.text, model.FieldText()) << c.what;
  }
}

}  // namespace
}  // namespace korvex48
