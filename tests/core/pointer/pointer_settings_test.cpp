#include "core/pointer/pointer_settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../files/temp_dir.h"
#include "core/pointer/key_file.h"

namespace korvex48 {
namespace {

using testing::TempDir;

// A desktop that holds the settings it is told to, remembers what it was given
// and fails when asked to. `keeps` false plays the editor's own window.
class FakeDesktop final : public DesktopPointer {
 public:
  FakeDesktop(std::string name, std::vector<PointerSetting> holds, bool keeps = true)
      : name_(std::move(name)), holds_(std::move(holds)), keeps_(keeps) {}
  std::string Name() const override { return name_; }
  bool Holds(PointerSetting s) const override {
    for (PointerSetting h : holds_)
      if (h == s) return true;
    return false;
  }
  bool KeepsValues() const override { return keeps_; }
  void Read(PointerValues& values) override { values = has; }
  std::string Apply(const PointerValues& values) override {
    applied.push_back(values);
    return error;
  }
  PointerValues has;
  std::vector<PointerValues> applied;
  std::string error;

 private:
  std::string name_;
  std::vector<PointerSetting> holds_;
  bool keeps_;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::optional<std::string> Stored(const std::string& path, const char* group, const char* key) {
  const std::string text = Slurp(path);
  auto file =
      KeyFile::Parse(ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  return file ? file->Get(group, key) : std::nullopt;
}

std::string WriteText(const TempDir& dir, const std::string& text) {
  return dir.Write("pointer.conf", std::vector<std::uint8_t>(text.begin(), text.end()));
}

constexpr auto kSpeed = PointerSetting::kSpeed;
constexpr auto kDouble = PointerSetting::kDoubleClick;
constexpr auto kWheel = PointerSetting::kWheelLines;

// A settings file (or none, then its path is in a folder not yet made) and a
// desktop that holds all three settings but has no values until told.
struct Rig {
  TempDir dir;
  FakeDesktop desktop{"desk", {kSpeed, kDouble, kWheel}};
  std::unique_ptr<PointerSettings> settings;
  std::string path;
  explicit Rig(std::optional<std::string> file_text) {
    path = file_text ? WriteText(dir, *file_text) : dir.File("sub/pointer.conf");
    settings = std::make_unique<PointerSettings>(path, std::vector<DesktopPointer*>{&desktop});
  }
};

TEST(PointerSettings, StoredValuesShowTheNearestStep) {
  struct Case {
    const char* name;
    std::string file;
    int speed, dbl, wheel;
  };
  const Case cases[] = {
      {"in the tables",
       "[Mouse]\nMouseSensitivity=10\nDoubleClickSpeed=270\n[Desktop]\nWheelScrollLines=3\n", 6, 10,
       3},
      // 3 lies as close to 2 as to 4: the lower step; 500 ms is nearer 480
      // than 550; 12 lines lie beyond the last step.
      {"between and beyond the steps",
       "[Mouse]\nMouseSensitivity=3\nDoubleClickSpeed=500\n[Desktop]\nWheelScrollLines=12\n", 2, 7,
       10},
      {"not a number passed over, the others read",
       "[Mouse]\nMouseSensitivity=fast\nDoubleClickSpeed=900\n[Desktop]\nWheelScrollLines=1\n", 0,
       1, 1},
      {"values in the wrong group do not count", "[Desktop]\nMouseSensitivity=10\n", 0, 0, 0},
      {"no file contents", "", 0, 0, 0},
  };
  for (const Case& c : cases) {
    Rig rig(c.file);
    rig.settings->Refresh();
    EXPECT_EQ(rig.settings->Position(kSpeed), c.speed) << c.name;
    EXPECT_EQ(rig.settings->Position(kDouble), c.dbl) << c.name;
    EXPECT_EQ(rig.settings->Position(kWheel), c.wheel) << c.name;
  }
}

// The user changed the desktop after the editor last wrote the file: the
// desktop's value is shown. The file counts only where no desktop that
// keeps values has one; the editor's window comes last.
TEST(PointerSettings, TheDesktopsValueWinsOverTheFile) {
  Rig rig(std::string(
      "[Mouse]\nMouseSensitivity=4\nDoubleClickSpeed=410\n[Desktop]\nWheelScrollLines=2\n"));
  FakeDesktop window("window", {kDouble, kWheel}, /*keeps=*/false);
  rig.desktop.has.speed = 14;  // GNOME's 0.5
  rig.desktop.has.double_click = 620;
  window.has.double_click = 400;
  window.has.wheel_lines = 3;
  PointerSettings settings(rig.path, {&window, &rig.desktop});
  settings.Refresh();
  EXPECT_EQ(settings.Position(kSpeed), 8);
  EXPECT_EQ(settings.Position(kDouble), 5);
  EXPECT_EQ(settings.Position(kWheel), 2);  // from the file, not the window's 3
  EXPECT_TRUE(settings.Route(kSpeed).from_desktop);
  EXPECT_TRUE(settings.Route(kWheel).from_store);
  EXPECT_FALSE(settings.Route(kWheel).from_desktop);
  // Without the file the window's value is shown.
  PointerSettings no_file(rig.dir.File("none/pointer.conf"), {&window, &rig.desktop});
  no_file.Refresh();
  EXPECT_EQ(no_file.Position(kWheel), 3);
  EXPECT_TRUE(rig.desktop.applied.empty());  // reading applies nothing
  EXPECT_TRUE(window.applied.empty());
}

TEST(PointerSettings, AClickAppliesOnlyTheSettingClicked) {
  Rig rig(std::nullopt);
  FakeDesktop gnome("gnome", {kSpeed, kDouble});
  FakeDesktop window("window", {kDouble, kWheel}, /*keeps=*/false);
  gnome.has.speed = 3;  // between two steps
  gnome.has.double_click = 620;
  gnome.has.mouse_speed = 1;
  gnome.has.threshold1 = 4;
  PointerSettings settings(rig.path, {&gnome, &window});
  settings.Refresh();

  // Only the window holds the wheel lines and forgets them: kept in the file.
  settings.ChooseStep(kWheel, 10);
  EXPECT_TRUE(gnome.applied.empty());
  ASSERT_EQ(window.applied.size(), 1u);
  EXPECT_EQ(window.applied[0].wheel_lines, 10);
  EXPECT_FALSE(window.applied[0].double_click);
  EXPECT_EQ(Slurp(rig.path), "[Desktop]\nWheelScrollLines=10\n");
  EXPECT_TRUE(settings.Route(kWheel).stored);
  EXPECT_EQ(settings.Route(kWheel).applied, std::vector<std::string>{"window"});
  EXPECT_EQ(settings.Route(kWheel).no_place, std::vector<std::string>{"gnome"});
  EXPECT_EQ(settings.Values().speed, 3);  // not rounded to its step
  EXPECT_EQ(settings.Position(kSpeed), 2);

  // The speed goes to the desktop with the acceleration it is applied with,
  // and nowhere else; the file keeps only the wheel lines.
  settings.ChooseStep(kSpeed, 7);
  ASSERT_EQ(gnome.applied.size(), 1u);
  EXPECT_EQ(gnome.applied[0].speed, 12);
  EXPECT_EQ(gnome.applied[0].threshold1, 4);
  EXPECT_EQ(gnome.applied[0].mouse_speed, 1);
  EXPECT_FALSE(gnome.applied[0].double_click);
  EXPECT_EQ(window.applied.size(), 1u);  // the window holds no speed
  EXPECT_EQ(Slurp(rig.path), "[Desktop]\nWheelScrollLines=10\n");
  EXPECT_FALSE(settings.Route(kSpeed).stored);

  // A double-click goes to both; the desktop keeps it, so the file does not.
  settings.ChooseStep(kDouble, 8);
  ASSERT_EQ(gnome.applied.size(), 2u);
  EXPECT_EQ(gnome.applied[1].double_click, 410);
  EXPECT_FALSE(gnome.applied[1].speed);
  EXPECT_EQ(window.applied.back().double_click, 410);
  EXPECT_EQ(Stored(rig.path, "Mouse", "DoubleClickSpeed"), std::nullopt);
}

TEST(PointerSettings, FailuresAreReportedPerDesktopAndNeverLoseTheFile) {
  const char raw[] = "[Mouse]\nMouseSensitivity=10\n\0\n";
  const std::string garbage(raw, sizeof raw - 1);
  Rig rig(garbage);
  FakeDesktop gnome("gnome", {kSpeed, kDouble});
  gnome.error = "no schema";
  PointerSettings settings(rig.path, {&gnome});
  settings.Refresh();
  EXPECT_EQ(settings.Position(kSpeed), 0);
  EXPECT_FALSE(settings.Route(kSpeed).store_error.empty());
  EXPECT_EQ(settings.Route(kWheel).no_place, std::vector<std::string>{"gnome"});
  // Refused by the only desktop: the file would keep it, but an unreadable
  // file is not overwritten.
  settings.ChooseStep(kSpeed, 2);
  EXPECT_EQ(Slurp(rig.path), garbage);
  const PointerRoute& speed = settings.Route(kSpeed);
  EXPECT_FALSE(speed.stored);
  EXPECT_FALSE(speed.store_error.empty());
  EXPECT_TRUE(speed.applied.empty());
  ASSERT_EQ(speed.failed.size(), 1u);
  EXPECT_EQ(speed.failed[0].second, "no schema");
  EXPECT_EQ(settings.Position(kSpeed), 2);
  // A click outside the bar does nothing.
  settings.ChooseStep(kSpeed, 11);
  EXPECT_EQ(settings.Position(kSpeed), 2);
  EXPECT_EQ(gnome.applied.size(), 1u);
}

TEST(PointerSettings, KeepsTheFilesOtherLines) {
  Rig rig(std::string("# mine\n[Mouse]\nMouseSensitivity=10\nExtra=x\n[Other]\nA=1\n"));
  FakeDesktop window("window", {kDouble, kWheel}, /*keeps=*/false);
  PointerSettings settings(rig.path, {&window});
  settings.Refresh();
  settings.ChooseStep(kSpeed, 1);
  EXPECT_EQ(Slurp(rig.path), "# mine\n[Mouse]\nMouseSensitivity=1\nExtra=x\n[Other]\nA=1\n");
}

}  // namespace
}  // namespace korvex48
