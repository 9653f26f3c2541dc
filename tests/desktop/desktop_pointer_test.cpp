#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "backends/desktop/gsettings_pointer.h"
#include "backends/desktop/kde_pointer.h"
#include "backends/desktop/x11_pointer.h"
#include "gtest_exit_status.h"

namespace korvex48 {
namespace {

std::filesystem::path g_config;  // the private XDG_CONFIG_HOME of this run

// Output of a shell command run with this process's environment.
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

TEST(GSettingsPointer, AppliesAndReadsBackThroughGSettings) {
  if (Shell(std::string("gsettings list-schemas | grep -x ") + kSchema).empty())
    GTEST_SKIP() << "gsettings-desktop-schemas is not installed";
  // Set from outside before this process first reads the settings.
  Shell(std::string("gsettings set ") + kSchema + " speed 0.5");
  Shell(std::string("gsettings set ") + kSchema + " double-click 400");
  GSettingsPointer gnome(kSchema, "GNOME settings");
  EXPECT_FALSE(gnome.Holds(PointerSetting::kWheelLines));
  PointerValues read;
  gnome.Read(read);
  EXPECT_EQ(read.speed, 14);  // 0.5 is nearest position 8
  EXPECT_EQ(read.double_click, 400);
  EXPECT_FALSE(read.wheel_lines);

  PointerValues values;
  values.speed = 12;  // position 7
  values.double_click = 480;
  values.wheel_lines = 9;
  EXPECT_EQ(gnome.Apply(values), "");
  EXPECT_NEAR(std::stod(Shell(std::string("gsettings get ") + kSchema + " speed")),
              GnomeSpeedOfPosition(7), 1e-9);
  EXPECT_EQ(Shell(std::string("gsettings get ") + kSchema + " double-click"), "480");
  EXPECT_TRUE(std::filesystem::exists(g_config / "glib-2.0/settings/keyfile"));

  // A speed between two positions goes to the lower one.
  values.speed = 3;
  EXPECT_EQ(gnome.Apply(values), "");
  EXPECT_NEAR(std::stod(Shell(std::string("gsettings get ") + kSchema + " speed")),
              GnomeSpeedOfPosition(2), 1e-9);
}

TEST(GSettingsPointer, AMissingSchemaIsAReasonNotACrash) {
  GSettingsPointer missing("org.example.no.such.schema", "nowhere");
  PointerValues values;
  missing.Read(values);
  EXPECT_FALSE(values.speed);
  values.speed = 10;
  EXPECT_NE(missing.Apply(values), "");
}

// GIO is loaded at the first use; a desktop without it (or with a library
// lacking one of its functions) gets a reason from Apply and keeps its values.
TEST(GSettingsPointer, AGioThatCannotBeLoadedIsAReasonNotACrash) {
  const struct {
    const char* file;
    const char* why;
  } cases[] = {
      {"libkorvex48-no-such-gio.so.0", "libkorvex48-no-such-gio.so.0"},
      {"libm.so.6", "g_settings_schema_source_get_default"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    GSettingsPointer gnome(kSchema, "GNOME settings", c.file);
    PointerValues values;
    values.speed = 12;
    values.double_click = 480;
    gnome.Read(values);
    EXPECT_EQ(values.speed, 12);
    EXPECT_EQ(values.double_click, 480);
    const std::string error = gnome.Apply(values);
    EXPECT_EQ(error.rfind(std::string("GIO (") + c.file + ") cannot be loaded: ", 0), 0u) << error;
    EXPECT_NE(error.find(c.why), std::string::npos) << error;
  }
}

TEST(KdePointer, WritesKdeglobalsKeepingTheRest) {
  const std::filesystem::path path = g_config / "kdeglobals";
  {
    std::ofstream out(path, std::ios::binary);
    out << "[General]\nColorScheme=Breeze\n\n[KDE]\nSingleClick=false\nWheelScrollLines=3\n";
  }
  KdePointer kde(path.string());
  PointerValues read;
  kde.Read(read);
  EXPECT_EQ(read.wheel_lines, 3);
  EXPECT_FALSE(read.double_click);
  PointerValues values;
  values.speed = 10;
  values.double_click = 340;
  values.wheel_lines = 10;
  EXPECT_EQ(kde.Apply(values), "");
  EXPECT_EQ(Slurp(path),
            "[General]\nColorScheme=Breeze\n\n[KDE]\nSingleClick=false\nWheelScrollLines=10\n"
            "DoubleClickInterval=340\n");
  // No file yet: one is made.
  KdePointer fresh((g_config / "new/kdeglobals").string());
  EXPECT_EQ(fresh.Apply(values), "");
  EXPECT_EQ(Slurp(g_config / "new/kdeglobals"),
            "[KDE]\nDoubleClickInterval=340\nWheelScrollLines=10\n");
}

// A private Xvfb for the length of one test.
class Xvfb {
 public:
  Xvfb() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
             "320x200x24", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    // Xvfb may write the number and the line break separately; the pipe stays
    // open until it is gone, so no write of it ever fails.
    fd_ = fds[0];
    std::string number;
    char c = 0;
    while (read(fd_, &c, 1) == 1 && c != '\n') number += c;
    if (!number.empty()) display_ = ":" + number;
  }
  ~Xvfb() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    if (fd_ >= 0) close(fd_);
  }
  const std::string& Display() const { return display_; }

 private:
  pid_t pid_ = -1;
  int fd_ = -1;
  std::string display_;
};

TEST(X11Pointer, SetsTheServersAccelerationAsXsetShowsIt) {
  if (Shell("command -v Xvfb").empty() || Shell("command -v xset").empty())
    GTEST_SKIP() << "Xvfb or xset is missing";
  Xvfb server;
  ASSERT_FALSE(server.Display().empty());
  const std::string xset = "xset -display " + server.Display() + " q";
  X11Pointer x(server.Display().c_str());
  PointerValues read;
  x.Read(read);
  EXPECT_EQ(read.speed, 10);  // the server's default 2/1
  PointerValues values;
  values.speed = 18;
  values.mouse_speed = 1;
  values.threshold1 = 6;
  EXPECT_EQ(x.Apply(values), "");
  EXPECT_NE(Shell(xset).find("acceleration:  18/5    threshold:  6"), std::string::npos)
      << Shell(xset);
  values.speed = 1;
  values.mouse_speed = 0;  // the threshold stays as it is
  EXPECT_EQ(x.Apply(values), "");
  EXPECT_NE(Shell(xset).find("acceleration:  1/5    threshold:  6"), std::string::npos)
      << Shell(xset);
  X11Pointer none(":987");
  EXPECT_EQ(none.Apply(values), "no X display");
}

}  // namespace
}  // namespace korvex48

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Before GIO starts: settings go to a key file in a private folder, and no
  // session bus of the user is reached.
  char dir[] = "/tmp/korvex48-desktop-XXXXXX";
  if (!mkdtemp(dir)) return 1;
  korvex48::g_config = dir;
  setenv("XDG_CONFIG_HOME", dir, 1);
  setenv("GSETTINGS_BACKEND", "keyfile", 1);
  setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/korvex48-test-bus", 1);
  const int status = RUN_ALL_TESTS();
  std::filesystem::remove_all(dir);
  return korvex48::testing::GTestExitStatus(status);
}
