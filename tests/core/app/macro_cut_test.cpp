// Device macro changes cut off at every report. Whatever report the mouse
// stops at, its bytes must keep every button of every profile on the button's
// own macro (at the old or the new address) or on the button's fallback
// function, never on another macro; its macro storage must parse, as the old
// list, the new one or the macros before the first changed one; and the core
// must then show what the mouse holds, name what it lost as the user had it,
// and bring it all back by restoring the backup or by finishing the change.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app_rig.h"
#include "core/backups/backup_journal.h"
#include "core/common/file_io.h"
#include "core/macros/macro_names.h"

namespace korvex48::test {
namespace {

struct FixtureMacro {
  std::string name;
  std::uint8_t tag;  // the first event byte's key, so equal names can differ
  std::size_t event_bytes = 100;
};

// A button that plays macro `macro` (index in the fixture list).
struct MacroButton {
  int profile;
  int button;
  std::size_t macro;
};

struct Fixture {
  const char* label;
  std::vector<FixtureMacro> macros;  // 100 event bytes: 117 bytes packed
  std::vector<MacroButton> buttons;
  // The packed area as another program may write it: macros back to back
  // without the filler at the page boundary, whatever event crosses it.
  bool raw = false;
};

enum class Change { kDelete, kAdd, kApply };

struct Case {
  const Fixture* fixture;
  Change change;
  std::size_t index;  // the macro deleted (kDelete; kApply deletes it and adds one)
};

// Key press/release of `tag`, then clicks up to `bytes`, then the end byte.
// At event byte 5 a second press of `tag`, which crosses the page boundary
// when the events begin at area offset 250.
std::vector<std::uint8_t> Events(std::uint8_t tag, std::size_t bytes = 100) {
  std::vector<std::uint8_t> e = {0x82, tag, 0x02, tag, 0xA1, 0x82, tag, 0x02, tag, 0x21};
  while (e.size() < bytes) {
    e.push_back(0xA1);
    e.push_back(0x21);
  }
  e.resize(bytes);
  e.push_back(0x00);
  return e;
}

bool IsPacked(SimulatedStorage s) { return s != SimulatedStorage::kFlashFlash; }
const char* Primary(SimulatedStorage s) { return s == SimulatedStorage::kI2C ? "I2C" : "Flash"; }
StorageLayout LayoutOf(SimulatedStorage s) {
  return IsPacked(s) ? StorageLayout::kPacked : StorageLayout::kSlot;
}

std::string MacroCode(std::uint16_t address) {
  return KeyCodeToText({0x10, static_cast<std::uint8_t>(address >> 8),
                        static_cast<std::uint8_t>(address & 0xFF), 0x00});
}

// The mouse's macro storage as the core would take it up, and whether its
// bytes parse as written (no macro without an end byte).
struct MouseView {
  DeviceMacros macros;
  bool parses = true;
  KeyCodes codes;
  // Where each listed macro lies in the mouse's memory, which a button's
  // code plays from (a parse packs a packed area again).
  std::vector<std::uint16_t> addresses;
};

MouseView ReadMouse(AppRig& rig) {
  const SimulatedStorage storage = rig.mouse.Storage();
  MouseView v;
  v.macros.SetStorage(LayoutOf(storage), Primary(storage));
  ConfigImage image;
  auto memory = rig.mouse.Memory();
  if (IsPacked(storage)) {
    const std::size_t base = storage == SimulatedStorage::kI2C ? 0x0200 : 0x4000;
    std::copy_n(memory.begin() + base, image.macro_area.size(), image.macro_area.begin());
    const std::vector<std::size_t> starts = PackedMacroStarts(ByteView(image.macro_area));
    for (std::size_t k = 0; k + 1 < starts.size(); ++k)
      v.addresses.push_back(static_cast<std::uint16_t>(base + starts[k] + kMacroNameBytes));
    v.parses = v.macros.TakeUp(image) == PackedStatus::kOk;
    EXPECT_EQ(v.addresses.size(), v.macros.Count());
  } else {
    std::copy_n(memory.begin() + 0x3000, image.macro_area.size(), image.macro_area.begin());
    for (std::size_t i = 0; i < kMacroPageCount; ++i)
      std::copy_n(memory.begin() + 0x4000 + 0x100 * i, kMacroBufferSize,
                  image.macro_pages[i].begin());
    v.macros.TakeUp(image);
    for (std::size_t i = 0; i < v.macros.Count(); ++i) {
      v.parses = v.parses && MacroHasEndByte(ByteView(image.macro_pages[i]));
      v.addresses.push_back(SlotAddress(i));
    }
  }
  v.codes.LoadFromProfileSection(rig.mouse.Profiles());
  return v;
}

// Puts the fixture's macros and button codes into the mouse, unopened.
void Prepare(AppRig& rig, const Fixture& f) {
  const SimulatedStorage storage = rig.mouse.Storage();
  auto memory = rig.mouse.Memory();
  DeviceMacros table;
  table.SetStorage(LayoutOf(storage), Primary(storage));
  std::vector<std::uint8_t> raw;  // the packed area without fillers
  for (const FixtureMacro& m : f.macros) {
    const std::vector<std::uint8_t> events = Events(m.tag, m.event_bytes);
    const MacroName name = MacroNameFromText(m.name);
    raw.insert(raw.end(), name.begin(), name.end());
    raw.insert(raw.end(), events.begin(), events.end());
    if (IsPacked(storage)) {
      ASSERT_EQ(AddPackedMacro(table.MutablePacked(), MacroNameFromText(m.name), events),
                AddMacroResult::kAdded);
    } else {
      ASSERT_TRUE(AddSlotMacro(table.MutableSlot(), MacroNameFromText(m.name), events));
    }
  }
  ConfigImage image;
  table.StoreTo(image);
  std::vector<std::uint16_t> addresses;
  for (std::size_t k = 0; k < table.Count(); ++k) addresses.push_back(*table.Address(k));
  if (IsPacked(storage) && f.raw) {
    ASSERT_LE(raw.size(), image.macro_area.size());
    image.macro_area.fill(0);
    std::copy(raw.begin(), raw.end(), image.macro_area.begin());
    // The fixture is meant to hold an event across the boundary.
    ASSERT_NE(image.macro_area[kPackedPageBoundary], 0xFC);
    const std::vector<std::size_t> starts = PackedMacroStarts(ByteView(image.macro_area));
    ASSERT_EQ(starts.size(), addresses.size() + 1);
    for (std::size_t k = 0; k < addresses.size(); ++k)
      addresses[k] = static_cast<std::uint16_t>(PackedAreaAddress(Primary(storage)) + starts[k] +
                                                kMacroNameBytes);
  }
  if (IsPacked(storage)) {
    std::copy(image.macro_area.begin(), image.macro_area.end(),
              memory.begin() + (storage == SimulatedStorage::kI2C ? 0x0200 : 0x4000));
  } else {
    std::copy(image.macro_area.begin(), image.macro_area.end(), memory.begin() + 0x3000);
    for (std::size_t i = 0; i < kMacroPageCount; ++i)
      std::copy(image.macro_pages[i].begin(), image.macro_pages[i].end(),
                memory.begin() + 0x4000 + 0x100 * i);
  }
  KeyCodes codes;
  ASSERT_TRUE(codes.LoadFromProfileSection(rig.mouse.Profiles()));
  for (const MacroButton& b : f.buttons)
    ASSERT_TRUE(codes.Set(b.profile, b.button, MacroCode(addresses[b.macro])));
  codes.StoreToProfileSection(rig.mouse.Profiles());
  CalcProfileChecksum(rig.mouse.Profiles());
}

// Index in the list after the change of fixture macro k; nullopt: deleted.
std::optional<std::size_t> NewIndex(const Case& c, std::size_t k);

// A configuration taken in whole: macro `c.index` deleted, one added behind
// the others, and the buttons of the fixture following their macros.
ConfigImage ApplyTarget(AppRig& rig, const Case& c) {
  DeviceMacros table = rig.core.Macros();
  ConfigImage image = rig.core.Working();
  if (table.Layout() == StorageLayout::kPacked) {
    EXPECT_TRUE(DeletePackedMacro(table.MutablePacked(), c.index));
    EXPECT_EQ(AddPackedMacro(table.MutablePacked(), MacroNameFromText("DDDD"), Events(0x07)),
              AddMacroResult::kAdded);
  } else {
    EXPECT_TRUE(DeleteSlotMacro(table.MutableSlot(), c.index));
    EXPECT_TRUE(AddSlotMacro(table.MutableSlot(), MacroNameFromText("DDDD"), Events(0x07)));
  }
  table.StoreTo(image);
  KeyCodes codes = rig.core.Codes();
  for (const MacroButton& b : c.fixture->buttons) {
    const auto moved = NewIndex(c, b.macro);
    EXPECT_TRUE(codes.Set(b.profile, b.button,
                          moved ? MacroCode(*table.Address(*moved)) : FallbackCode(b.button)));
  }
  codes.StoreToProfileSection(image.profiles);
  return image;
}

MacroCommandResult RunChange(AppRig& rig, const Case& c) {
  switch (c.change) {
    case Change::kDelete:
      return rig.macro_flows.DeleteDeviceMacro(c.index, ButtonView{});
    case Change::kAdd:
      return rig.macro_flows.AddDeviceMacro(MacroNameFromText("DDDD"), Events(0x07), ButtonView{});
    case Change::kApply:
      return rig.macro_flows.ReplaceDeviceMacros(ApplyTarget(rig, c));
  }
  return MacroCommandResult::kNoSelection;
}

std::optional<std::size_t> NewIndex(const Case& c, std::size_t k) {
  if (c.change == Change::kAdd || k < c.index) return k;
  if (k == c.index) return std::nullopt;
  return k - 1;
}

// `a` lists the first a.Count() macros of `b`.
bool IsPrefixOf(const DeviceMacros& a, const DeviceMacros& b) {
  const std::size_t n = a.Count();
  if (n > b.Count()) return false;
  for (std::size_t i = 0; i < n; ++i) {
    const ByteView x = a.EventBytes(i);
    const ByteView y = b.EventBytes(i);
    if (a.Names()[i] != b.Names()[i] || !std::equal(x.begin(), x.end(), y.begin(), y.end()))
      return false;
  }
  return true;
}

// The checks on the mouse's bytes after a cut (or after the whole change).
// `before_addresses`: where the macros of `before` lay on the mouse.
void ExpectSound(AppRig& rig, const Case& c, const DeviceMacros& before,
                 const std::vector<std::uint16_t>& before_addresses, const DeviceMacros& after,
                 const KeyCodes& codes_before, const ParameterSection& parameters_before) {
  const MouseView mouse = ReadMouse(rig);
  EXPECT_TRUE(mouse.parses);
  EXPECT_EQ(rig.mouse.Parameters(), parameters_before);
  // The storage lists the old macros, the new ones, or those before the
  // first changed one, which both share.
  const bool old_list = IsPrefixOf(mouse.macros, before);
  const bool new_list = IsPrefixOf(mouse.macros, after);
  ASSERT_TRUE(old_list || new_list);
  if (!old_list) {
    EXPECT_TRUE(mouse.macros.SameMacros(after));
  }
  if (!new_list) {
    EXPECT_TRUE(mouse.macros.SameMacros(before));
  }

  for (int p = 1; p <= kKeyProfiles; ++p) {
    for (int b = 1; b <= kKeyButtons; ++b) {
      SCOPED_TRACE("profile " + std::to_string(p) + " button " + std::to_string(b));
      const std::string& now = mouse.codes.Code(p, b);
      const std::string& was = codes_before.Code(p, b);
      std::optional<std::size_t> own;
      for (std::size_t k = 0; k < before_addresses.size(); ++k)
        if (MacroCode(before_addresses[k]) == was) own = k;
      if (!own) {
        EXPECT_EQ(now, was);  // no macro: never touched
        continue;
      }
      if (now == FallbackCode(b)) continue;
      // Its own macro, by its place in the list the mouse holds.
      bool on_own = false;
      for (std::size_t j = 0; j < mouse.addresses.size(); ++j) {
        if (MacroCode(mouse.addresses[j]) != now) continue;
        on_own = (old_list && j == *own) || (new_list && NewIndex(c, *own) == j);
      }
      EXPECT_TRUE(on_own) << "plays " << now << ", was " << was;
    }
  }
}

// After a cut of a change that made a backup: the offer is made, and the
// backup (or the change's target) makes the mouse hold all of it again.
void ExpectWayBack(AppRig& rig, const DeviceMacros& before, const DeviceMacros& after,
                   const KeyCodes& codes_before, const KeyCodes& codes_after, bool finish) {
  const MouseView mouse = ReadMouse(rig);
  if (mouse.macros.SameMacros(before) && mouse.codes == codes_before) {
    // Nothing reached the mouse: nothing to offer.
    EXPECT_FALSE(rig.core.LastCut());
    EXPECT_TRUE(rig.ui.recoveries.empty());
    return;
  }
  ASSERT_TRUE(rig.core.LastCut());
  const CutReport& cut = *rig.core.LastCut();
  ASSERT_EQ(rig.ui.recoveries.size(), 1u);
  EXPECT_TRUE(cut.can_finish);
  // Which macros the line names is checked where the mouse's table and the
  // configuration agree on what a macro holds (the CLI's cut cases); here
  // the line must at least name something.
  EXPECT_FALSE(cut.LostLine().empty());

  const auto file = ReadWholeFile(cut.backup + (finish ? "/target.bin" : "/before.bin"));
  ASSERT_TRUE(file);
  const auto image = ProfileImageOver(*file, rig.core.MouseImage(), rig.core.Layout(), nullptr);
  ASSERT_TRUE(image);
  const ConfigApplyResult r = rig.engine.Editor().ApplyImage(*image, false, {"restore", ""});
  ASSERT_EQ(r.status, ConfigApplyStatus::kApplied) << r.problem;
  const MouseView back = ReadMouse(rig);
  EXPECT_TRUE(back.macros.SameMacros(finish ? after : before));
  EXPECT_EQ(back.codes, finish ? codes_after : codes_before);
}

const Fixture kThree{"AAAA BBBB CCCC",
                     {{"AAAA", 0x04}, {"BBBB", 0x05}, {"CCCC", 0x06}},
                     {{1, 2, 1}, {3, 12, 1}, {2, 3, 2}}};
const Fixture kTwins{
    "two Imp2", {{"X", 0x04}, {"Imp2", 0x05}, {"Imp2", 0x05}}, {{1, 2, 1}, {2, 6, 2}}};
// Macro 2's events begin at offset 250: a key press at 255 crosses the page
// boundary, with no filler in the area as written.
const Fixture kAcrossBoundary{"a key press across offset 255",
                              {{"AAAA", 0x04}, {"BBBB", 0x05}, {"CCCC", 0x06}, {"EEEE", 0x08, 20}},
                              {{1, 2, 1}, {2, 3, 2}, {3, 12, 3}, {1, 5, 0}},
                              true};

TEST(MacroChangeCut, EveryReportLeavesEachButtonOnItsMacroOrItsFallback) {
  struct TempDir {
    std::filesystem::path path;
    // Every cut writes a backup: in memory where the machine has a place
    // for it, as flushing each file to a disk makes the test crawl.
    TempDir() {
      char shm[] = "/dev/shm/korvex48-cut-XXXXXX";
      char tmp[] = "/tmp/korvex48-cut-XXXXXX";
      const char* made = ::mkdtemp(shm);
      path = made ? made : ::mkdtemp(tmp);
    }
    ~TempDir() {
      std::error_code ec;
      std::filesystem::remove_all(path, ec);
    }
  } backups;
  const std::vector<Case> cases = {
      {&kThree, Change::kDelete, 0},
      {&kThree, Change::kDelete, 1},
      {&kThree, Change::kAdd, 0},
      {&kThree, Change::kApply, 1},
      {&kTwins, Change::kDelete, 0},
      {&kTwins, Change::kDelete, 2},
      {&kTwins, Change::kAdd, 0},
      {&kAcrossBoundary, Change::kDelete, 0},
      {&kAcrossBoundary, Change::kDelete, 3},
      {&kAcrossBoundary, Change::kAdd, 0},
      {&kAcrossBoundary, Change::kApply, 1},
  };
  for (SimulatedStorage storage : {SimulatedStorage::kI2C, SimulatedStorage::kFlashFlash}) {
    for (const Case& c : cases) {
      const char* change_name[] = {"delete ", "add", "apply deleting "};
      SCOPED_TRACE(std::string(SimulatedStorageName(storage)) + ", " + c.fixture->label + ", " +
                   change_name[static_cast<int>(c.change)] +
                   (c.change == Change::kAdd ? "" : std::to_string(c.index)));
      int rigs = 0;
      auto prepared = [&] {
        auto rig = std::make_unique<AppRig>(storage, std::nullopt,
                                            (backups.path / std::to_string(++rigs)).string());
        Prepare(*rig, *c.fixture);
        EXPECT_EQ(rig->Connect().outcome, DevInfoOutcome::kAccepted);
        rig->ClearLogs();
        return rig;
      };
      // Without a cut: the new list, every button on its macro's new address
      // or its fallback, and a profile section whose checksum fits.
      auto whole = prepared();
      const DeviceMacros before = whole->core.Macros();
      const std::vector<std::uint16_t> before_addresses = ReadMouse(*whole).addresses;
      const KeyCodes codes_before = whole->core.Codes();
      const ParameterSection parameters = whole->mouse.Parameters();
      ASSERT_EQ(RunChange(*whole, c), MacroCommandResult::kDone);
      const DeviceMacros after = whole->core.Macros();
      const KeyCodes codes_after = whole->core.Codes();
      EXPECT_TRUE(ReadMouse(*whole).macros.SameMacros(after));
      EXPECT_EQ(whole->mouse.Profiles(), whole->core.Working().profiles);
      ProfileSection check = whole->mouse.Profiles();
      CalcProfileChecksum(check);
      EXPECT_EQ(check, whole->mouse.Profiles());
      ExpectSound(*whole, c, before, before_addresses, after, codes_before, parameters);
      for (const MacroButton& b : c.fixture->buttons) {
        const auto moved = NewIndex(c, b.macro);
        EXPECT_EQ(whole->core.Codes().Code(b.profile, b.button),
                  moved ? MacroCode(*after.Address(*moved)) : FallbackCode(b.button));
      }
      const int reports = static_cast<int>(whole->trace.SentEntries().size());

      for (int at = 0; at < reports; ++at) {
        // A report refused (the mouse answers again); and the mouse gone,
        // which leaves the same bytes and differs only in what the core can
        // show, at the first, a middle and the last report.
        for (bool vanish : {false, true}) {
          if (vanish && at != 0 && at != reports / 2 && at != reports - 1) continue;
          SCOPED_TRACE((vanish ? "gone after " : "refused at ") + std::to_string(at) + " of " +
                       std::to_string(reports));
          auto rig = prepared();
          (vanish ? rig->mouse.Faults().vanish_after_reports
                  : rig->mouse.Faults().refuse_report_after) = at;
          ASSERT_EQ(RunChange(*rig, c), MacroCommandResult::kWriteFailed);
          ASSERT_EQ(rig->ui.messages.size(), 1u);
          EXPECT_FALSE(rig->macro_flows.LastMacroChangeCut().empty());
          if (vanish) {
            // Nothing of the storage is known: nothing listed, nothing written.
            EXPECT_EQ(rig->core.Macros().Count(), 0u);
            EXPECT_FALSE(rig->core.DeviceUsable());
          } else {
            // The core holds what the mouse holds.
            const MouseView mouse = ReadMouse(*rig);
            EXPECT_TRUE(rig->core.Macros().SameMacros(mouse.macros));
            EXPECT_EQ(rig->core.Codes(), mouse.codes);
            EXPECT_TRUE(rig->core.ImageRead());
            // The line says which of the three the mouse now holds.
            const std::string& line = rig->macro_flows.LastMacroChangeCut();
            const std::string not_done = c.change == Change::kApply ? "were not" : "was not";
            const std::string said = mouse.macros.SameMacros(before)  ? not_done
                                     : mouse.macros.SameMacros(after) ? ", but"
                                                                      : "lists only";
            EXPECT_NE(line.find(said), std::string::npos) << line;
          }
          ExpectSound(*rig, c, before, before_addresses, after, codes_before, parameters);
          // An apply's backup is the page editor's (see the apply cut test).
          if (!vanish && c.change != Change::kApply)
            ExpectWayBack(*rig, before, after, codes_before, codes_after, at % 2 == 1);
        }
      }
    }
  }
}

}  // namespace
}  // namespace korvex48::test
