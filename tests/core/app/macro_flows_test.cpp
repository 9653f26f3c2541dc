#include <gtest/gtest.h>

#include <algorithm>

#include "app_rig.h"
#include "core/macros/macro_names.h"

namespace korvex48::test {
namespace {

// n one-byte mouse-button events (press, release, ...).
std::vector<std::uint8_t> ClickEvents(std::size_t n) {
  std::vector<std::uint8_t> events;
  for (std::size_t i = 0; i < n; ++i) events.push_back(i % 2 == 0 ? 0xA1 : 0x21);
  return events;
}

void AddToLibrary(PcMacroLibrary& library, const std::string& name,
                  const std::vector<std::uint8_t>& events) {
  LibrarySlot& slot = library.MutableSlot(library.Count());
  slot.name = MacroNameFromText(name);
  slot.events.fill(0);
  std::copy(events.begin(), events.end(), slot.events.begin());
}

// Puts `count` macros "M0".. with two events each into the mouse's storage.
void FillMouse(AppRig& rig, std::size_t count) {
  auto memory = rig.mouse.Memory();
  if (rig.mouse.Storage() == SimulatedStorage::kFlashFlash) {
    for (std::size_t i = 0; i < count; ++i) {
      const MacroName name = MacroNameFromText("M" + std::to_string(i));
      std::copy(name.begin(), name.end(), memory.begin() + 0x3000 + 16 * i);
      const std::uint8_t page[] = {0xA1, static_cast<std::uint8_t>(i), 0x00};
      std::copy(std::begin(page), std::end(page), memory.begin() + 0x4000 + 0x100 * i);
    }
    return;
  }
  const bool i2c = rig.mouse.Storage() == SimulatedStorage::kI2C;
  PackedMacroTable t;
  t.addresses[0] = PackedFirstMacroAddress(i2c ? "I2C" : "Flash");
  for (std::size_t i = 0; i < count; ++i) {
    const std::vector<std::uint8_t> events = {0xA1, 0x21};
    ASSERT_EQ(AddPackedMacro(t, MacroNameFromText("M" + std::to_string(i)), events),
              AddMacroResult::kAdded);
  }
  std::copy(t.area.begin(), t.area.end(), memory.begin() + (i2c ? 0x0200 : 0x4000));
}

void SetCode(AppRig& rig, int profile, int button, const std::string& code) {
  KeyCodes codes = rig.core.Codes();
  auto write = codes.Set(profile, button, code);
  ASSERT_TRUE(write);
  rig.core.StoreButtonCodes(std::span(&*write, 1));
}

std::string MacroCode(std::uint16_t address) {
  return KeyCodeToText({0x10, static_cast<std::uint8_t>(address >> 8),
                        static_cast<std::uint8_t>(address & 0xFF), 0x00});
}

ButtonView Profile1View(AppRig& rig) {
  ButtonView view;
  view.labels = ProfileKeyNames(rig.core.Codes(), 1, rig.core.NameSources());
  view.selected_profile = 1;
  return view;
}

// After any save the mouse holds exactly the working image's storage and
// profile section, with a checksum that fits.
void ExpectMouseMatchesWorking(AppRig& rig) {
  const ConfigImage& w = rig.core.Working();
  EXPECT_EQ(rig.mouse.Profiles(), w.profiles);
  EXPECT_EQ(w.profiles[144], SectionChecksum(std::span(w.profiles).first(144)));
  auto memory = rig.mouse.Memory();
  if (rig.mouse.Storage() == SimulatedStorage::kFlashFlash) {
    EXPECT_TRUE(std::equal(w.macro_area.begin(), w.macro_area.end(), memory.begin() + 0x3000));
    for (std::size_t i = 0; i < 32; ++i)
      EXPECT_TRUE(std::equal(w.macro_pages[i].begin(), w.macro_pages[i].end(),
                             memory.begin() + 0x4000 + 0x100 * i))
          << "page " << i;
  } else {
    const std::size_t base = rig.mouse.Storage() == SimulatedStorage::kI2C ? 0x0200 : 0x4000;
    EXPECT_TRUE(std::equal(w.macro_area.begin(), w.macro_area.end(), memory.begin() + base));
  }
}

// ---- Add to Mouse -----------------------------------------------------------

TEST(AddToMouse, LimitsPerLayout) {
  struct Case {
    SimulatedStorage storage;
    std::size_t present;
    std::size_t limit;
  };
  for (const Case& c :
       {Case{SimulatedStorage::kI2C, 14, 15}, Case{SimulatedStorage::kFlashI2C, 14, 15},
        Case{SimulatedStorage::kFlashFlash, 31, 32}}) {
    AppRig rig(c.storage);
    FillMouse(rig, c.present);
    ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
    ASSERT_EQ(rig.core.Macros().Count(), c.present);
    PcMacroLibrary library;
    AddToLibrary(library, "New", {0x81, 0x01, 0x01, 0x01});

    rig.ClearLogs();
    EXPECT_EQ(rig.macro_flows.AddMacroToMouse(library, 0, Profile1View(rig)),
              MacroCommandResult::kDone);
    EXPECT_EQ(rig.core.Macros().Count(), c.limit);
    EXPECT_EQ(rig.core.Macros().Names().back(), "New");
    ExpectMouseMatchesWorking(rig);

    rig.ClearLogs();
    EXPECT_EQ(rig.macro_flows.AddMacroToMouse(library, 0, Profile1View(rig)),
              MacroCommandResult::kFull);
    EXPECT_TRUE(rig.trace.SentEntries().empty());
    EXPECT_TRUE(rig.ui.messages.empty());
    EXPECT_EQ(rig.core.Macros().Count(), c.limit);
  }
}

TEST(AddToMouse, PackedAreaOfExactly512FitsAnd513IsRefused) {
  AppRig rig;
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  PcMacroLibrary library;
  AddToLibrary(library, "A", ClickEvents(239));  // 256 bytes
  AddToLibrary(library, "B", ClickEvents(222));  // 239 bytes
  AddToLibrary(library, "Empty", {});            // 17 bytes
  for (std::size_t row : {0u, 1u, 2u})
    ASSERT_EQ(rig.macro_flows.AddMacroToMouse(library, row, Profile1View(rig)),
              MacroCommandResult::kDone);
  EXPECT_EQ(rig.core.Macros().Packed().total, 512);
  EXPECT_EQ(rig.core.Macros().Packed().lengths[2], 17);

  const std::vector<std::string> names = rig.core.Macros().Names();
  const ConfigImage before = rig.core.Working();
  rig.ClearLogs();
  EXPECT_EQ(rig.macro_flows.AddMacroToMouse(library, 2, Profile1View(rig)),
            MacroCommandResult::kOutOfRange);
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].Describe(), "Str103");
  EXPECT_EQ(rig.core.Macros().Names(), names);
  EXPECT_EQ(rig.core.Working(), before);
  EXPECT_TRUE(rig.trace.SentEntries().empty());
}

TEST(AddToMouse, NothingWithoutSelectionOrMouse) {
  AppRig rig;
  PcMacroLibrary library;
  AddToLibrary(library, "A", {0xA1, 0x21});
  EXPECT_EQ(rig.macro_flows.AddMacroToMouse(library, 0, {}), MacroCommandResult::kNoDevice);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  rig.ClearLogs();
  EXPECT_EQ(rig.macro_flows.AddMacroToMouse(library, 1, {}), MacroCommandResult::kNoSelection);
  EXPECT_TRUE(rig.trace.SentEntries().empty());
}

// ---- Delete -----------------------------------------------------------------

TEST(DeleteMacro, PackedMacrosCloseUpAndCodesFollow) {
  AppRig rig;
  FillMouse(rig, 3);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  const std::uint16_t a1 = *rig.core.Macros().Address(1);
  const std::uint16_t a2 = *rig.core.Macros().Address(2);
  SetCode(rig, 1, 2, MacroCode(a1));  // button 2 runs M1
  SetCode(rig, 1, 3, MacroCode(a2));  // button 3 runs M2
  SetCode(rig, 2, 4, MacroCode(a2));  // profile 2, button 4 runs M2 (not shown)
  SetCode(rig, 3, 2, MacroCode(a1));  // profile 3 cannot be edited, but plays M1
  SetCode(rig, 3, 4, MacroCode(a2));  // and M2
  const ButtonView view = Profile1View(rig);
  ASSERT_EQ(view.labels[1], "M1");

  rig.ClearLogs();
  int selection = -2;
  EXPECT_EQ(rig.macro_flows.DeleteDeviceMacro(1, view, &selection), MacroCommandResult::kDone);
  EXPECT_EQ(selection, 0);
  EXPECT_EQ(rig.core.Macros().Names(), (std::vector<std::string>{"M0", "M2"}));
  EXPECT_EQ(*rig.core.Macros().Address(1), a1);
  EXPECT_EQ(rig.core.Codes().Code(1, 3), MacroCode(a1));
  EXPECT_EQ(rig.core.Codes().Code(2, 4), MacroCode(a1));
  EXPECT_EQ(rig.core.Codes().Code(1, 2), FallbackCode(2));
  EXPECT_EQ(rig.core.Codes().Code(3, 4), MacroCode(a1));
  EXPECT_EQ(rig.core.Codes().Code(3, 2), FallbackCode(2));
  ExpectMouseMatchesWorking(rig);
  EXPECT_EQ(rig.ui.Count("RefreshKeyLabels"), 1);
}

TEST(DeleteMacro, SlotPagesMoveDownAndAddressesStay) {
  AppRig rig(SimulatedStorage::kFlashFlash);
  FillMouse(rig, 5);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  SetCode(rig, 1, 5, MacroCode(0x4400));  // button 5 runs slot 4 ("M4")
  SetCode(rig, 1, 6, MacroCode(0x4200));  // button 6 runs slot 2, deleted below
  const ButtonView view = Profile1View(rig);

  int selection = -2;
  EXPECT_EQ(rig.macro_flows.DeleteDeviceMacro(2, view, &selection), MacroCommandResult::kDone);
  EXPECT_EQ(selection, 1);
  EXPECT_EQ(rig.core.Macros().Names(), (std::vector<std::string>{"M0", "M1", "M3", "M4"}));
  EXPECT_EQ(rig.core.Codes().Code(1, 5), MacroCode(0x4300));
  EXPECT_EQ(rig.core.Codes().Code(1, 6), FallbackCode(6));
  EXPECT_EQ(rig.mouse.Memory()[0x4201], 3);  // old page 3 now at slot 2
  EXPECT_EQ(rig.mouse.Memory()[0x4401], 0);  // slot 4 cleared
  ExpectMouseMatchesWorking(rig);
}

TEST(DeleteMacro, LastMacroLeavesNoSelection) {
  AppRig rig;
  FillMouse(rig, 1);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  int selection = 5;
  EXPECT_EQ(rig.macro_flows.DeleteDeviceMacro(0, Profile1View(rig), &selection),
            MacroCommandResult::kDone);
  EXPECT_EQ(selection, -1);
  EXPECT_EQ(rig.macro_flows.DeleteDeviceMacro(0, Profile1View(rig), &selection),
            MacroCommandResult::kNoSelection);
}

// Closing the gap can bring a 2-byte event of a later macro onto area offset
// 255, where it needs a filler byte that a macro of 255 event bytes has no
// room for. The delete is refused: nothing written, nothing reported as done.
TEST(DeleteMacro, RefusedDeleteWritesNothing) {
  AppRig rig;
  std::vector<std::uint8_t> area;
  const MacroName m0 = MacroNameFromText("A");
  area.insert(area.end(), m0.begin(), m0.end());
  area.push_back(0x00);  // A: no events
  const MacroName m1 = MacroNameFromText("B");
  area.insert(area.end(), m1.begin(), m1.end());
  std::vector<std::uint8_t> events = ClickEvents(239);
  events.push_back(0x82);  // lands on offset 255 once B moves to offset 0
  events.push_back(0x04);
  const std::vector<std::uint8_t> tail = ClickEvents(14);
  events.insert(events.end(), tail.begin(), tail.end());
  ASSERT_EQ(events.size(), 255u);
  area.insert(area.end(), events.begin(), events.end());
  area.push_back(0x00);
  std::copy(area.begin(), area.end(), rig.mouse.Memory().begin() + 0x0200);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  ASSERT_EQ(rig.core.Macros().Names(), (std::vector<std::string>{"A", "B"}));

  rig.ClearLogs();
  int selection = -2;
  EXPECT_EQ(rig.macro_flows.DeleteDeviceMacro(0, Profile1View(rig), &selection),
            MacroCommandResult::kOutOfRange);
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].Describe(), "Str103");
  EXPECT_EQ(selection, 0);  // the row stays selected
  EXPECT_EQ(rig.core.Macros().Names(), (std::vector<std::string>{"A", "B"}));
  EXPECT_TRUE(rig.trace.SentEntries().empty());
}

// ---- Button codes at save ---------------------------------------------------

// The save sends the codes the core holds: a button follows its macro by
// address, and no label text moves a button to a macro of that name.
TEST(SaveDeviceMacros, SendsTheCodesAsTheyAre) {
  AppRig rig;
  FillMouse(rig, 2);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  const std::uint16_t a0 = *rig.core.Macros().Address(0);
  SetCode(rig, 1, 4, MacroCode(a0));  // button 4 shows and runs M0
  const std::string profile2_code = rig.core.Codes().Code(2, 4);
  const std::string button7_code = rig.core.Codes().Code(1, 7);

  ASSERT_TRUE(rig.macro_flows.SaveDeviceMacros());
  EXPECT_EQ(rig.core.Codes().Code(1, 4), MacroCode(a0));
  EXPECT_EQ(rig.core.Codes().Code(2, 4), profile2_code);
  EXPECT_EQ(rig.core.Codes().Code(1, 7), button7_code);
  ExpectMouseMatchesWorking(rig);
}

TEST(GiveButtonMacro, WritesTheCodeLiveUnlessLastLeftKey) {
  AppRig rig;
  FillMouse(rig, 2);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  const std::uint16_t a1 = *rig.core.Macros().Address(1);
  ButtonView view = Profile1View(rig);
  const int left = static_cast<int>(std::find(view.labels.begin(), view.labels.end(), "Left Key") -
                                    view.labels.begin()) +
                   1;
  ASSERT_LE(left, 12);

  rig.ClearLogs();
  EXPECT_FALSE(rig.macro_flows.AssignDeviceMacroToButton(left, 1, view)
                   .accepted);  // the only Left Key stays
  EXPECT_TRUE(rig.trace.SentEntries().empty());

  const int other = left == 2 ? 3 : 2;
  const AssignmentResult r = rig.macro_flows.AssignDeviceMacroToButton(other, 1, view);
  ASSERT_TRUE(r.accepted);
  EXPECT_EQ(r.labels[static_cast<std::size_t>(other - 1)], "M1");
  EXPECT_EQ(rig.core.Codes().Code(1, other), MacroCode(a1));
  const auto writes = rig.trace.Commands(kCmdWriteSection);
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0], (Report{0x40, 0x05, 0x01, static_cast<std::uint8_t>(4 * (other - 1)), 0x10,
                               static_cast<std::uint8_t>(a1 >> 8),
                               static_cast<std::uint8_t>(a1 & 0xFF), 0x00}));
  EXPECT_FALSE(rig.macro_flows.AssignDeviceMacroToButton(other, 2, view).accepted);  // no such row
}

}  // namespace
}  // namespace korvex48::test
