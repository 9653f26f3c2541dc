// The undo history over the simulated mouse: an undo leaves the mouse's
// sections as they were before the change, a redo as after it; the steps of
// one bar in a row are one step; what the mouse refuses is no step, and an
// undo it refuses keeps the step; a read of the mouse outside a change starts
// the history over, the read after a report rate's restart does not.
#include "core/editing/undo_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_rig.h"

namespace korvex48::testing {
namespace {

struct Sections {
  std::vector<std::uint8_t> parameters;
  std::vector<std::uint8_t> profiles;
  friend bool operator==(const Sections&, const Sections&) = default;
};

Sections MouseSections(EditorRig& rig) {
  return {{rig.mouse.Parameters().begin(), rig.mouse.Parameters().end()},
          {rig.mouse.Profiles().begin(), rig.mouse.Profiles().end()}};
}

// Value step `away` steps from level 1's own, towards the middle of the bar.
int DpiStepAway(EditorRig& rig, int away) {
  const int now = rig.editor->State().settings.dpi_levels[0].value_index + 1;
  return now <= 6 ? now + away : now - away;
}

// Enables one more DPI level, or disables the last when all eight are.
EditResult ToggleLastDpiLevel(EditorRig& rig) {
  const int count = rig.editor->State().settings.dpi_level_count;
  return rig.editor->ToggleDpiLevel(count < 8 ? count + 1 : count);
}

TEST(UndoHistory, UndoAndRedoLeaveTheMouseAsBeforeAndAfter) {
  EditorRig rig;
  UndoHistory& history = rig.editor->History();
  EXPECT_FALSE(history.CanUndo());
  const Sections before = MouseSections(rig);
  ASSERT_TRUE(rig.editor->SetDpiValue(1, DpiStepAway(rig, 1)).ok());
  ASSERT_TRUE(ToggleLastDpiLevel(rig).ok());
  const Sections after = MouseSections(rig);
  ASSERT_NE(after, before);
  EXPECT_EQ(history.UndoSteps(), 2u);

  const UndoResult levels = history.Undo();
  EXPECT_TRUE(levels.done);
  EXPECT_EQ(levels.notice.rfind("Undone: dpi levels: ", 0), 0u) << levels.notice;
  const UndoResult dpi = history.Undo();
  EXPECT_TRUE(dpi.done);
  EXPECT_EQ(dpi.notice.rfind("Undone: dpi level 1: ", 0), 0u) << dpi.notice;
  EXPECT_EQ(MouseSections(rig), before);
  EXPECT_EQ(rig.core.Page().parameters, rig.mouse.Parameters());
  EXPECT_FALSE(history.CanUndo());
  EXPECT_EQ(history.Undo().notice, "Nothing to undo.");

  EXPECT_TRUE(history.Redo().done);
  const UndoResult redone = history.Redo();
  EXPECT_EQ(redone.notice.rfind("Redone: dpi levels: ", 0), 0u) << redone.notice;
  EXPECT_EQ(MouseSections(rig), after);
  EXPECT_FALSE(history.CanRedo());

  // A new change after an undo drops what could be redone.
  ASSERT_TRUE(history.Undo().done);
  ASSERT_TRUE(rig.editor->SetDpiValue(1, DpiStepAway(rig, 2)).ok());
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.UndoSteps(), 2u);
}

TEST(UndoHistory, StepsOfOneBarInARowAreOneStep) {
  EditorRig rig;
  UndoHistory& history = rig.editor->History();
  const Sections before = MouseSections(rig);
  const int start = rig.editor->State().settings.dpi_levels[0].value_index + 1;
  const int toward = start <= 6 ? 1 : -1;
  for (int away = 1; away <= 3; ++away)
    ASSERT_TRUE(rig.editor->SetDpiValue(1, start + toward * away).ok());
  EXPECT_EQ(history.UndoSteps(), 1u);
  // Another control ends the run; the same bar then starts a step of its own.
  ASSERT_TRUE(ToggleLastDpiLevel(rig).ok());
  ASSERT_TRUE(rig.editor->SetDpiValue(1, start).ok());
  EXPECT_EQ(history.UndoSteps(), 3u);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(history.Undo().done);
  EXPECT_EQ(MouseSections(rig), before);

  // A run that ends where it started is no step.
  ASSERT_TRUE(history.Redo().done);
  ASSERT_TRUE(ToggleLastDpiLevel(rig).ok());
  const int now = rig.editor->State().settings.dpi_levels[0].value_index + 1;
  ASSERT_TRUE(rig.editor->SetDpiValue(1, now == 12 ? 11 : 12).ok());
  ASSERT_TRUE(rig.editor->SetDpiValue(1, now).ok());
  EXPECT_EQ(history.UndoSteps(), 2u);
}

TEST(UndoHistory, WhatTheMouseRefusesIsNoStepAndARefusedUndoKeepsItsStep) {
  EditorRig rig;
  UndoHistory& history = rig.editor->History();
  rig.mouse.Faults().refuse_command_code = kCmdWriteSection;
  (void)rig.editor->SetDpiValue(1, DpiStepAway(rig, 1));
  EXPECT_FALSE(history.CanUndo());

  rig.mouse.Faults().refuse_command_code = -1;
  ASSERT_TRUE(rig.editor->SetDpiValue(1, DpiStepAway(rig, 1)).ok());
  const Sections after = MouseSections(rig);
  rig.mouse.Faults().refuse_command_code = kCmdWriteSection;
  const UndoResult refused = history.Undo();
  EXPECT_FALSE(refused.done);
  EXPECT_EQ(refused.notice.rfind("Not undone: dpi level 1: ", 0), 0u) << refused.notice;
  EXPECT_EQ(MouseSections(rig), after);
  EXPECT_EQ(history.UndoSteps(), 1u);
  EXPECT_FALSE(history.CanRedo());

  rig.mouse.Faults().refuse_command_code = -1;
  EXPECT_TRUE(history.Undo().done);
}

TEST(UndoHistory, AReadOutsideAChangeStartsOverButARestartsReadDoesNot) {
  EditorRig rig([](SimulatedMouse& mouse) {
    mouse.Parameters()[6] = static_cast<std::uint8_t>(mouse.Parameters()[6] & 0xCF);  // 125 Hz
  });
  rig.images.ReadConfiguration();
  UndoHistory& history = rig.editor->History();
  const Sections before = MouseSections(rig);
  // 1000 Hz restarts the mouse, which is then found and read again.
  const EditResult rate = rig.editor->SetReportRate(4);
  ASSERT_TRUE(rate.restarted);
  ASSERT_EQ(history.UndoSteps(), 1u);
  EXPECT_EQ(history.NextUndo(), "report rate: 1000 Hz -> 125 Hz");
  EXPECT_TRUE(history.Undo().done);
  EXPECT_EQ(MouseSections(rig).parameters[6], before.parameters[6]);
  EXPECT_TRUE(history.CanRedo());

  ASSERT_TRUE(rig.images.ReadConfiguration());
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.CanRedo());
}

}  // namespace
}  // namespace korvex48::testing
