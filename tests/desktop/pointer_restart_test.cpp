// The pointer bars' settings over GNOME's real settings (GSettings on its
// key-file backend) across a start of the editor: the user changed the
// desktop after the editor had written its file, so the desktop's values
// are shown and a click leaves the settings it did not touch alone. Its own
// process, so that GIO first reads the settings after they were changed
// from outside.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "backends/desktop/gsettings_pointer.h"
#include "core/pointer/pointer_settings.h"
#include "gtest_exit_status.h"

namespace korvex48 {
namespace {

std::filesystem::path g_config;  // the private XDG_CONFIG_HOME of this run

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buf[256];
    while (std::fgets(buf, sizeof buf, pipe)) out += buf;
    pclose(pipe);
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

std::string Slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

constexpr const char* kSchema = "org.gnome.desktop.peripherals.mouse";

std::string Get(const char* key) {
  return Shell(std::string("gsettings get ") + kSchema + " " + key);
}

TEST(PointerSettingsOverGSettings, TheDesktopsChangeSurvivesTheEditorsNextStart) {
  if (Shell(std::string("gsettings list-schemas | grep -x ") + kSchema).empty())
    GTEST_SKIP() << "gsettings-desktop-schemas is not installed";
  // What an earlier run left: speed position 3 and double-click position 8
  // in its file. Then the user changed the desktop.
  const std::filesystem::path store = g_config / "korvex48/pointer.conf";
  std::filesystem::create_directories(store.parent_path());
  {
    std::ofstream out(store, std::ios::binary);
    out << "[Mouse]\nMouseSensitivity=4\nDoubleClickSpeed=410\n";
  }
  Shell(std::string("gsettings set ") + kSchema + " speed 0.5");
  Shell(std::string("gsettings set ") + kSchema + " double-click 600");

  GSettingsPointer gnome(kSchema, "GNOME settings");
  PointerSettings settings(store.string(), {&gnome});
  settings.Refresh();
  EXPECT_EQ(settings.Position(PointerSetting::kSpeed), 8);        // 0.5
  EXPECT_EQ(settings.Position(PointerSetting::kDoubleClick), 5);  // 600 ms: nearest 620
  EXPECT_EQ(settings.Values().double_click, 600);

  // GNOME has no wheel lines: the file keeps them, the desktop is not touched.
  settings.ChooseStep(PointerSetting::kWheelLines, 7);
  EXPECT_EQ(Get("speed"), "0.5");
  EXPECT_EQ(Get("double-click"), "600");
  EXPECT_EQ(Slurp(store),
            "[Mouse]\nMouseSensitivity=4\nDoubleClickSpeed=410\n\n[Desktop]\nWheelScrollLines=7\n");

  // A double-click changes that one key; the speed stays the user's.
  settings.ChooseStep(PointerSetting::kDoubleClick, 10);
  EXPECT_EQ(Get("double-click"), "270");
  EXPECT_EQ(Get("speed"), "0.5");
  EXPECT_EQ(settings.Route(PointerSetting::kDoubleClick).applied,
            std::vector<std::string>{"GNOME settings"});
  EXPECT_FALSE(settings.Route(PointerSetting::kDoubleClick).stored);
}

}  // namespace
}  // namespace korvex48

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Before GIO starts: settings go to a key file in a private folder, and no
  // session bus of the user is reached.
  char dir[] = "/tmp/korvex48-restart-XXXXXX";
  if (!mkdtemp(dir)) return 1;
  korvex48::g_config = dir;
  setenv("XDG_CONFIG_HOME", dir, 1);
  setenv("GSETTINGS_BACKEND", "keyfile", 1);
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/korvex48-test-bus", 1);
  const int status = RUN_ALL_TESTS();
  std::filesystem::remove_all(dir);
  return korvex48::testing::GTestExitStatus(status);
}
