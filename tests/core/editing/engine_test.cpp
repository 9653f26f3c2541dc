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
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
  rig.mouse.Unplug();
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kLost);
  EXPECT_EQ(state.rate_taken_in, 0);

  rig.mouse.Plug();
  EXPECT_EQ(rig.connection.Poll(), PollOutcome::kOpened);
  EXPECT_EQ(state.rate_taken_in, 125);
}

// A read is told to the front end only once the core and its editor hold
// it: every event of the read finds the image taken in, the page of the
// active profile opened again by the editor (without a write: the mouse is
// still being read), and the pages' blockers up; nothing the front end does
// then has to call back.
TEST(Engine, TheFrontEndHearsOfAReadOnlyOnceTheCoreHoldsIt) {
  struct Case {
    std::uint8_t active_profile_byte;  // parameter byte 33
    EditStatus reopened;
    std::string refusal;  // the reopening's message, when refused
  };
  for (const Case& c :
       {Case{0, EditStatus::kApplied, ""}, Case{1, EditStatus::kRefused, "Str020"}}) {
    SCOPED_TRACE(c.active_profile_byte);
    EditorRig rig([&](SimulatedMouse& m) { m.Parameters()[33] = c.active_profile_byte; });
    rig.ui.Clear();
    std::vector<std::string> checked;
    rig.ui.on_line = [&](const std::string& line) {
      if (line != "RefreshDeviceMacroLists" && line != "RefreshUI" &&
          line != "RefreshPcMacroList" && line != "ReadOsMouseParameters" &&
          line != "RefreshStoragePages packed")
        return;
      checked.push_back(line);
      EXPECT_TRUE(rig.core.ImageRead()) << line;
      EXPECT_FALSE(rig.session.NoDevicePage) << line;
      EXPECT_EQ(rig.core.Page().parameters, rig.mouse.Parameters()) << line;
      EXPECT_EQ(rig.editor->State().settings.active_profile, c.active_profile_byte + 1) << line;
      EXPECT_EQ(rig.editor->ReopenedAfterRead().status, c.reopened) << line;
      EXPECT_EQ(rig.editor->ReopenedAfterRead().message.Describe(), c.refusal) << line;
    };
    ASSERT_TRUE(rig.images.ReadConfiguration());
    EXPECT_EQ(checked, (std::vector<std::string>{"RefreshDeviceMacroLists", "RefreshUI",
                                                 "RefreshPcMacroList", "ReadOsMouseParameters",
                                                 "RefreshStoragePages packed"}));
    EXPECT_TRUE(rig.trace.Commands(kCmdWriteSection).empty());
    EXPECT_EQ(rig.ui.log.back(), "UnlockPages");
  }
}

}  // namespace
}  // namespace korvex48::testing
