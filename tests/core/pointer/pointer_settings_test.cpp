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
// and fails when asked to.
class FakeDesktop final : public DesktopPointer {
 public:
  FakeDesktop(std::string name, std::vector<PointerSetting> holds)
      : name_(std::move(name)), holds_(std::move(holds)) {}
  std::string Name() const override { return name_; }
  bool Holds(PointerSetting s) const override {
    for (PointerSetting h : holds_)
      if (h == s) return true;
    return false;
  }
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

TEST(PointerSettings, StoredValuesSetThePositionsTheTablesGive) {
  struct Case {
    const char* name;
    std::string file;
    int speed, dbl, wheel;
  };
  const Case cases[] = {
      {"in the tables",
       "[Mouse]\nMouseSensitivity=10\nDoubleClickSpeed=270\n[Desktop]\nWheelScrollLines=3\n", 6, 10,
       3},
      {"not in the tables",
       "[Mouse]\nMouseSensitivity=3\nDoubleClickSpeed=500\n[Desktop]\nWheelScrollLines=12\n", 0, 0,
       0},
      {"not a number passed over, the others read",
       "[Mouse]\nMouseSensitivity=fast\nDoubleClickSpeed=900\n[Desktop]\nWheelScrollLines=1\n", 0,
       1, 1},
      {"values in the wrong group do not count", "[Desktop]\nMouseSensitivity=10\n", 0, 0, 0},
      {"no file contents", "", 0, 0, 0},
  };
  for (const Case& c : cases) {
    Rig rig(c.file);
    rig.desktop.has.speed = 10;  // the file wins over the desktop
    rig.settings->Refresh();
    EXPECT_EQ(rig.settings->Position(kSpeed), c.speed) << c.name;
    EXPECT_EQ(rig.settings->Position(kDouble), c.dbl) << c.name;
    EXPECT_EQ(rig.settings->Position(kWheel), c.wheel) << c.name;
  }
}

TEST(PointerSettings, ClickWritesTheValueOfThePositionAndAppliesAll) {
  Rig rig(std::string("[Mouse]\nMouseSensitivity=10\nMouseSpeed=1\n"));
  rig.settings->Refresh();
  rig.settings->Click(kSpeed, 6);
  EXPECT_EQ(Stored(rig.path, "Mouse", "MouseSensitivity"), "10");
  rig.settings->Click(kWheel, 10);
  EXPECT_EQ(Stored(rig.path, "Desktop", "WheelScrollLines"), "10");
  EXPECT_EQ(Stored(rig.path, "Mouse", "DoubleClickSpeed"), std::nullopt);  // position 0
  EXPECT_EQ(Stored(rig.path, "Mouse", "MouseSpeed"), "1");
  ASSERT_EQ(rig.desktop.applied.size(), 2u);
  EXPECT_EQ(rig.desktop.applied[1].wheel_lines, 10);
  EXPECT_EQ(rig.desktop.applied[1].speed, 10);
  EXPECT_EQ(rig.desktop.applied[1].mouse_speed, 1);
  EXPECT_TRUE(rig.settings->Route(kWheel).stored);
  EXPECT_EQ(rig.settings->Route(kWheel).applied, std::vector<std::string>{"desk"});
}

TEST(PointerSettings, ASpeedOutsideTheTableStaysDarkButIsAppliedAgain) {
  Rig rig(std::string("[Mouse]\nMouseSensitivity=3\n"));
  rig.settings->Refresh();
  EXPECT_EQ(rig.settings->Position(kSpeed), 0);
  rig.settings->Click(kWheel, 4);
  EXPECT_EQ(Stored(rig.path, "Mouse", "MouseSensitivity"), "3");  // untouched, not rewritten
  ASSERT_EQ(rig.desktop.applied.size(), 1u);
  EXPECT_EQ(rig.desktop.applied[0].speed, 3);
  EXPECT_EQ(rig.desktop.applied[0].wheel_lines, 4);
  EXPECT_FALSE(rig.settings->Route(kSpeed).stored);
}

TEST(PointerSettings, WithoutAFileTheDesktopGivesTheValuesAndTheFirstClickMakesIt) {
  Rig rig(std::nullopt);
  rig.desktop.has.speed = 10;
  rig.desktop.has.double_click = 400;  // GNOME's default: not in the table
  rig.desktop.has.threshold1 = 4;
  rig.settings->Refresh();
  EXPECT_EQ(rig.settings->Position(kSpeed), 6);
  EXPECT_EQ(rig.settings->Position(kDouble), 0);
  EXPECT_TRUE(rig.settings->Route(kSpeed).from_desktop);
  EXPECT_FALSE(rig.settings->Route(kWheel).from_desktop);
  EXPECT_TRUE(rig.desktop.applied.empty());  // reading applies nothing
  rig.settings->Click(kSpeed, 7);
  EXPECT_EQ(Stored(rig.path, "Mouse", "MouseSensitivity"), "12");
  EXPECT_EQ(Stored(rig.path, "Mouse", "MouseThreshold1"), "4");
  EXPECT_EQ(Stored(rig.path, "Mouse", "DoubleClickSpeed"), std::nullopt);
  EXPECT_EQ(rig.desktop.applied.at(0).double_click, 400);
}

TEST(PointerSettings, FailuresAreReportedPerDesktopAndNeverLoseTheFile) {
  const char raw[] = "[Mouse]\nMouseSensitivity=10\n\0\n";
  const std::string garbage(raw, sizeof raw - 1);
  Rig rig(garbage);
  FakeDesktop gnome("gnome", {kSpeed, kDouble});
  gnome.error = "no schema";
  PointerSettings settings(rig.path, {&rig.desktop, &gnome});
  settings.Refresh();
  EXPECT_EQ(settings.Position(kSpeed), 0);
  EXPECT_FALSE(settings.Route(kSpeed).store_error.empty());
  EXPECT_EQ(settings.Route(kWheel).no_place, std::vector<std::string>{"gnome"});
  settings.Click(kSpeed, 2);
  EXPECT_EQ(Slurp(rig.path), garbage);  // an unreadable file is not overwritten
  EXPECT_FALSE(settings.Route(kSpeed).stored);
  const PointerRoute& wheel = settings.Route(kWheel);
  EXPECT_EQ(wheel.no_place, std::vector<std::string>{"gnome"});
  const PointerRoute& speed = settings.Route(kSpeed);
  EXPECT_EQ(speed.applied, std::vector<std::string>{"desk"});
  ASSERT_EQ(speed.failed.size(), 1u);
  EXPECT_EQ(speed.failed[0].second, "no schema");
  // A click outside the bar does nothing.
  settings.Click(kSpeed, 11);
  EXPECT_EQ(settings.Position(kSpeed), 2);
}

TEST(PointerSettings, KeepsTheFilesOtherLines) {
  Rig rig(std::string("# mine\n[Mouse]\nMouseSensitivity=10\nExtra=x\n[Other]\nA=1\n"));
  rig.settings->Refresh();
  rig.settings->Click(kSpeed, 1);
  EXPECT_EQ(Slurp(rig.path), "# mine\n[Mouse]\nMouseSensitivity=1\nExtra=x\n[Other]\nA=1\n");
}

}  // namespace
}  // namespace korvex48
