// A whole configuration from one mouse to another through its text form:
// the file reads back to the same configuration, a fresh mouse of the same
// kind ends up with the same bytes, and a mouse given its own file gets no
// report at all.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/backups/backup_journal.h"
#include "core/buttons/button_assignment.h"
#include "core/config/config_text.h"
#include "core/config/image_codec.h"
#include "core/macros/macro_lines.h"
#include "core/macros/macro_names.h"
#include "core/macros/packed_layout.h"
#include "edit_cases.h"
#include "editor_rig.h"

namespace korvex48::testing {
namespace {

// Puts macros into the mouse's storage before it is read: `events` each,
// named "M0", "M1", ...
void PutMacros(SimulatedMouse& mouse, const std::vector<Bytes>& macros) {
  auto memory = mouse.Memory();
  if (mouse.Storage() == SimulatedStorage::kFlashFlash) {
    for (std::size_t i = 0; i < macros.size(); ++i) {
      const MacroName name = MacroNameFromText("M" + std::to_string(i));
      std::copy(name.begin(), name.end(), memory.begin() + 0x3000 + 16 * i);
      Bytes page = macros[i];
      page.push_back(0x00);
      std::copy(page.begin(), page.end(), memory.begin() + 0x4000 + 0x100 * i);
    }
    return;
  }
  const bool i2c = mouse.Storage() == SimulatedStorage::kI2C;
  PackedMacroTable t;
  t.addresses[0] = PackedFirstMacroAddress(i2c ? "I2C" : "Flash");
  for (std::size_t i = 0; i < macros.size(); ++i) {
    Bytes events = macros[i];
    events.push_back(0x00);
    ASSERT_EQ(AddPackedMacro(t, MacroNameFromText("M" + std::to_string(i)), events),
              AddMacroResult::kAdded);
  }
  std::copy(t.area.begin(), t.area.end(), memory.begin() + (i2c ? 0x0200 : 0x4000));
}

// Bytes no single setting carries: a code of no known function, an AIM index
// past the list, a fire delay past 4094, a DPI nibble of 13, a lighting
// colour byte past 15, a step time no step gives.
void PutOddBytes(SimulatedMouse& mouse) {
  const std::uint8_t odd_codes[] = {0x0A, 0x01, 0x02, 0x03, 0x05, 0x0D, 0x00, 0x00,
                                    0x06, 0x12, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00};
  std::copy(std::begin(odd_codes), std::end(odd_codes), mouse.Profiles().begin() + 48 + 8);
  mouse.Parameters()[40] = 0xD4;
  mouse.Parameters()[54] = 0xC8;
  mouse.Parameters()[52] = 0x11;
  mouse.Parameters()[53] = 0x11;
}

struct Crafted {
  std::string name;
  std::function<void(SimulatedMouse&)> prepare;  // before the mouse is read
  std::function<void(PageEditor&)> edit;         // after
};

std::vector<Crafted> CraftedConfigurations() {
  std::vector<Crafted> all = {
      {"Default", {}, {}},
      {"OddBytes", PutOddBytes, {}},
      {"MacrosOnButtons",
       [](SimulatedMouse& m) {
         // Ctrl+C with delays, a repeated right click, moves both ways.
         PutMacros(m, {{0x81, 0x01, 0xFE, 0x00, 0x14, 0x82, 0x06, 0x02, 0x06, 0x01, 0x01},
                       {0xFD, 0x05, 0xA2, 0x22, 0xFC},
                       {0x04, 0x05, 0x00, 0x21, 0x04, 0x00, 0xFB, 0x21, 0xFE, 0x01, 0x00}});
       },
       [](PageEditor& e) {
         e.AssignDeviceMacro(1, 4, 0);
         e.AssignDeviceMacro(1, 6, 2);
         e.AssignDeviceMacro(2, 6, 1);
       }},
      {"TwoMacrosOfOneName",
       [](SimulatedMouse& m) {
         PutMacros(m, {{0xA1, 0x21}, {0xA4, 0x24}});
       },
       [](PageEditor& e) { e.AssignDeviceMacro(1, 4, 1); }},
  };
  for (const EditCase& c : EditCases()) {
    all.push_back({c.name, {}, [c](PageEditor& e) {
                     if (c.before) c.before(e);
                     (void)c.step(e);
                   }});
  }
  return all;
}

struct RoundTrip {
  SimulatedStorage storage;
  Crafted crafted;
};

void PrintTo(const RoundTrip& t, std::ostream* os) {
  *os << SimulatedStorageName(t.storage) << " " << t.crafted.name;
}

std::vector<RoundTrip> RoundTrips() {
  std::vector<RoundTrip> all;
  for (SimulatedStorage s :
       {SimulatedStorage::kI2C, SimulatedStorage::kFlashI2C, SimulatedStorage::kFlashFlash}) {
    for (const Crafted& c : CraftedConfigurations()) all.push_back({s, c});
  }
  return all;
}

// What the mouse keeps, without the checksum bytes: single settings reach
// the mouse without them, so they tell how a configuration was made, not
// what it is.
Bytes MouseBytes(SimulatedMouse& mouse) {
  Bytes bytes(mouse.Parameters().begin(), mouse.Parameters().begin() + 103);
  bytes.insert(bytes.end(), mouse.Profiles().begin(), mouse.Profiles().begin() + 144);
  const auto memory = mouse.Memory();
  switch (mouse.Storage()) {
    case SimulatedStorage::kI2C:
      bytes.insert(bytes.end(), memory.begin() + 0x0200, memory.begin() + 0x0400);
      break;
    case SimulatedStorage::kFlashI2C:
      bytes.insert(bytes.end(), memory.begin() + 0x4000, memory.begin() + 0x4200);
      break;
    case SimulatedStorage::kFlashFlash:
      bytes.insert(bytes.end(), memory.begin() + 0x3000, memory.begin() + 0x3200);
      bytes.insert(bytes.end(), memory.begin() + 0x4000, memory.begin() + 0x6000);
      break;
  }
  return bytes;
}

class ConfigRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ConfigRoundTrip, FileRecreatesTheMouseAndItsOwnFileSendsNothing) {
  const RoundTrip& t = GetParam();
  EditorRig source(t.crafted.prepare, t.storage);
  if (t.crafted.edit) t.crafted.edit(*source.editor);
  const Configuration made = source.editor->CurrentConfiguration();
  const std::string text = ConfigurationToText(made);

  TextProblem problem;
  const std::optional<Configuration> read = ConfigurationFromText(text, &problem);
  ASSERT_TRUE(read) << problem.Line() << "\n" << text;
  EXPECT_EQ(*read, made) << text;

  source.trace.Clear();
  const ConfigApplyResult own = source.editor->ApplyConfiguration(*read);
  EXPECT_EQ(own.status, ConfigApplyStatus::kApplied) << own.problem;
  EXPECT_TRUE(own.differences.empty()) << own.differences.front();
  EXPECT_TRUE(source.trace.SentHex().empty());

  EditorRig fresh({}, t.storage);
  const ConfigApplyResult applied = fresh.editor->ApplyConfiguration(*read);
  ASSERT_EQ(applied.status, ConfigApplyStatus::kApplied) << applied.problem;
  EXPECT_EQ(ConfigurationToText(fresh.editor->CurrentConfiguration()), text);
  EXPECT_EQ(MouseBytes(fresh.mouse), MouseBytes(source.mouse));
}

INSTANTIATE_TEST_SUITE_P(Crafted, ConfigRoundTrip, ::testing::ValuesIn(RoundTrips()),
                         [](const auto& test_info) {
                           return std::string(
                                      SimulatedStorageName(test_info.param.storage) == "i2c" ? "I2c"
                                      : SimulatedStorageName(test_info.param.storage) == "flash-i2c"
                                          ? "FlashI2c"
                                          : "FlashFlash") +
                                  "_" + test_info.param.crafted.name;
                         });

}  // namespace
}  // namespace korvex48::testing

namespace korvex48::testing {
namespace {

// The mouse's bytes as a configuration, as a fresh read would take them.
Configuration MouseConfiguration(SimulatedMouse& mouse) {
  ConfigImage image;
  image.parameters = mouse.Parameters();
  image.profiles = mouse.Profiles();
  const auto memory = mouse.Memory();
  const SimulatedStorage s = mouse.Storage();
  if (s == SimulatedStorage::kFlashFlash) {
    std::copy_n(memory.begin() + 0x3000, image.macro_area.size(), image.macro_area.begin());
    for (std::size_t i = 0; i < kMacroPageCount; ++i)
      std::copy_n(memory.begin() + 0x4000 + 0x100 * i, kMacroPageSize,
                  image.macro_pages[i].begin());
    return DecodeConfiguration(image, StorageLayout::kSlot, "Flash");
  }
  const bool i2c = s == SimulatedStorage::kI2C;
  std::copy_n(memory.begin() + (i2c ? 0x0200 : 0x4000), image.macro_area.size(),
              image.macro_area.begin());
  return DecodeConfiguration(image, StorageLayout::kPacked, i2c ? "I2C" : "Flash");
}

// What a button plays: its function, with a macro as the macro itself.
std::string Plays(const Configuration& c, int profile, int button) {
  const ButtonFunction& f =
      c.profiles[static_cast<std::size_t>(profile - 1)][static_cast<std::size_t>(button - 1)];
  if (f.kind != FunctionKind::kDeviceMacro) return ButtonFunctionName(f, c.macros);
  const DeviceMacro& m = c.macros[f.macro];
  return "macro " + m.name + " " + BytesToHex(m.events);
}

// A whole configuration whose macros change, applied to a mouse that stops
// at one report, for every report of the change: every button of every
// profile plays what it played, what the file gives it or its fallback,
// never another macro; the offer names every macro the mouse lost, and the
// backup (or the journal's target) brings the mouse back (or to the file);
// and the same file applied again finishes the job.
TEST(ConfigApplyCut, EveryButtonPlaysItsOwnMacroOrItsFallbackAtEveryCut) {
  char dir[] = "/tmp/korvex48-apply-cut-XXXXXX";
  const std::filesystem::path backups = ::mkdtemp(dir);
  int rigs = 0;
  for (SimulatedStorage storage :
       {SimulatedStorage::kI2C, SimulatedStorage::kFlashI2C, SimulatedStorage::kFlashFlash}) {
    SCOPED_TRACE(std::string(SimulatedStorageName(storage)));
    auto before = [](SimulatedMouse& m) {
      PutMacros(m, {{0xA1, 0x21}, {0xA2, 0x22}, {0xA4, 0x24}});
    };
    auto assign = [](PageEditor& e) {
      e.AssignDeviceMacro(1, 4, 0);
      e.AssignDeviceMacro(1, 6, 1);
      e.AssignDeviceMacro(2, 7, 2);
    };
    // The file: the first macro longer (the others move), the third gone,
    // button 6 of profile 1 on the new first macro.
    Configuration target;
    {
      EditorRig rig(before, storage);
      assign(*rig.editor);
      target = rig.editor->CurrentConfiguration();
      target.macros[0].events = {0xA1, 0xFE, 0x00, 0x10, 0x21};
      target.macros.pop_back();
      target.profiles[1][6] = ButtonFunction{};
      target.profiles[1][6].kind = FunctionKind::kMenuEntry;
      target.profiles[1][6].menu_tag = 901;  // Right Key
      target.profiles[0][5].macro = 0;
    }
    std::size_t reports = 0;
    {
      EditorRig rig(before, storage);
      assign(*rig.editor);
      rig.trace.Clear();
      ASSERT_EQ(rig.editor->ApplyConfiguration(target).status, ConfigApplyStatus::kApplied);
      reports = rig.trace.SentHex().size();
      ASSERT_EQ(ConfigurationToText(MouseConfiguration(rig.mouse)), ConfigurationToText(target));
    }
    ASSERT_GT(reports, 10u);
    for (std::size_t cut = 0; cut < reports; ++cut) {
      SCOPED_TRACE("cut at report " + std::to_string(cut));
      EditorRig rig(before, storage, {}, (backups / std::to_string(++rigs)).string());
      assign(*rig.editor);
      const Configuration initial = MouseConfiguration(rig.mouse);
      ASSERT_TRUE(rig.mouse.Control("refuse-report-after " + std::to_string(cut)));
      const ConfigApplyResult r = rig.editor->ApplyConfiguration(target);
      EXPECT_NE(r.status, ConfigApplyStatus::kApplied);
      const Configuration held = MouseConfiguration(rig.mouse);
      for (int p = 1; p <= 3; ++p) {
        for (int b = 1; b <= 12; ++b) {
          const std::string now = Plays(held, p, b);
          const bool fallback =
              KeyCodeToText(KeyCodeAt(rig.mouse.Profiles(), p, b)) == FallbackCode(b);
          EXPECT_TRUE(now == Plays(initial, p, b) || now == Plays(target, p, b) || fallback)
              << "profile " << p << " button " << b << " plays " << now;
        }
      }
      if (const auto& lost = rig.core.LastCut()) {
        const std::string line = lost->LostLine();
        for (std::size_t i = 0; i < initial.macros.size(); ++i) {
          const bool kept = std::find(held.macros.begin(), held.macros.end(), initial.macros[i]) !=
                            held.macros.end();
          const std::string named =
              "macro " + std::to_string(i + 1) + " \"" + initial.macros[i].name + "\"";
          EXPECT_EQ(line.find(named) != std::string::npos, !kept) << line;
        }
        const bool finish = cut % 2 == 1;
        const auto image = BackupImage(lost->backup + (finish ? "/target.bin" : "/before.bin"),
                                       rig.editor->MouseImage(), rig.core.Layout(), nullptr);
        ASSERT_TRUE(image);
        ASSERT_EQ(rig.editor->ApplyImage(*image, false, {"restore", ""}).status,
                  ConfigApplyStatus::kApplied);
        EXPECT_EQ(ConfigurationToText(MouseConfiguration(rig.mouse)),
                  ConfigurationToText(finish ? target : initial));
      }
      EXPECT_EQ(rig.editor->ApplyConfiguration(target).status, ConfigApplyStatus::kApplied);
      EXPECT_EQ(ConfigurationToText(MouseConfiguration(rig.mouse)), ConfigurationToText(target));
    }
  }
  std::error_code ec;
  std::filesystem::remove_all(backups, ec);
}

}  // namespace
}  // namespace korvex48::testing
