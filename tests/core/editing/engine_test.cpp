// The engine keeps its page editor current itself: the front end's AppUi
// (here one that only records) never hands the editor anything.
#include "core/editing/engine.h"

#include <gtest/gtest.h>

#include "editor_rig.h"

namespace korvex48::testing {
namespace {

TEST(Engine, TheEditorFollowsReadAndLossWithoutTheFrontEnd) {
  // The embedded image runs at 1000 Hz, the mouse at 125 Hz.
  EditorRig rig([](SimulatedMouse& m) { m.Parameters()[6] &= 0xCF; });
  const EditorState& state = rig.editor->State();
  EXPECT_EQ(state.rate_taken_in, 125);  // read in the rig's constructor

  // The first poll counts the mouse the rig opened by hand and reads it again.
  EXPECT_EQ(rig.core.Poll(), PollOutcome::kOpened);
  rig.mouse.Unplug();
  EXPECT_EQ(rig.core.Poll(), PollOutcome::kLost);
  EXPECT_EQ(state.rate_taken_in, 0);

  rig.mouse.Plug();
  EXPECT_EQ(rig.core.Poll(), PollOutcome::kOpened);
  EXPECT_EQ(state.rate_taken_in, 125);
}

}  // namespace
}  // namespace korvex48::testing
