// The Linux pieces beside the hidraw nodes: the claim on a mouse that
// outlives its nodes, and the udev rules the checks look for.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "backends/hidraw/machine_facts.h"
#include "backends/hidraw/mouse_claim.h"

namespace korvex48 {
namespace {

struct TempFolder {
  TempFolder() {
    char name[] = "/tmp/korvex48-platform-XXXXXX";
    path = ::mkdtemp(name);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::string path;
};

// One holder at a time, named by pid and program; the file goes with the
// holder, and the next one takes a fresh one.
TEST(MouseClaimTest, OneHolderAtATimeNamedAndGoneWithItsFile) {
  TempFolder folder;
  const std::string name = MouseClaimFileName(0x1234, 0xABCD, "/tmp/some mount");
  EXPECT_EQ(name.rfind("mouse-1234-abcd-", 0), 0u) << name;
  EXPECT_EQ(MouseClaimFileName(0x1234, 0xABCD, "/dev"), "mouse-1234-abcd.lock");
  EXPECT_NE(name, MouseClaimFileName(0x1234, 0xABCD, "/tmp/another mount"));

  MouseClaim first, second;
  InterfaceHolder holder;
  ASSERT_TRUE(first.Acquire(folder.path, name, &holder));
  EXPECT_TRUE(first.Acquire(folder.path, name, &holder));  // held already
  EXPECT_FALSE(second.Acquire(folder.path, name, &holder));
  EXPECT_EQ(holder.pid, ::getpid());
  EXPECT_FALSE(holder.program.empty());
  EXPECT_TRUE(std::filesystem::exists(folder.path + "/" + name));

  first.Release();
  EXPECT_FALSE(std::filesystem::exists(folder.path + "/" + name));
  EXPECT_TRUE(second.Acquire(folder.path, name, &holder));
  EXPECT_TRUE(second.Held());
  // Another mouse's claim is another file.
  EXPECT_TRUE(first.Acquire(folder.path, MouseClaimFileName(0x1234, 0x0001, "/dev"), &holder));
}

TEST(MouseClaimTest, TheFolderIsTheUsersOwnRuntimeFolder) {
  TempFolder runtime;
  const char* old = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = old ? old : "";
  ::setenv("XDG_RUNTIME_DIR", runtime.path.c_str(), 1);
  EXPECT_EQ(MouseClaimFolder(), runtime.path + "/korvex48");
  // A runtime folder that cannot be used: the private one in /tmp.
  ::setenv("XDG_RUNTIME_DIR", "/nonexistent/run", 1);
  EXPECT_EQ(MouseClaimFolder(), "/tmp/korvex48-" + std::to_string(::geteuid()));
  if (old)
    ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  else
    ::unsetenv("XDG_RUNTIME_DIR");
}

TEST(UdevRuleTest, ARuleNamesTheMouseOnlyWithBothIdentifiersOnALiveLine) {
  struct Case {
    const char* line;
    bool names;
  };
  const Case cases[] = {
      {R"(KERNEL=="hidraw*", ATTRS{idVendor}=="1234", ATTRS{idProduct}=="abcd", TAG+="uaccess")",
       true},
      {R"(SUBSYSTEM=="hidraw", ATTRS{idVendor} == "1234", ATTRS{idProduct}=="ABCD", MODE="0666")",
       true},
      {R"(# KERNEL=="hidraw*", ATTRS{idVendor}=="1234", ATTRS{idProduct}=="abcd")", false},
      {R"(KERNEL=="hidraw*", ATTRS{idVendor}=="1234", ATTRS{idProduct}=="abce")", false},
      {R"(KERNEL=="hidraw*", ATTRS{idVendor}=="1234")", false},
      {R"(KERNEL=="hidraw*", ATTRS{idVendor}!="1234", ATTRS{idProduct}=="abcd")", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UdevRuleLineNames(c.line, 0x1234, 0xABCD), c.names) << c.line;

  TempFolder etc, lib;
  std::ofstream(etc.path + "/70-korvex48.rules") << "# the mouse\n" << cases[0].line << "\n";
  std::ofstream(etc.path + "/50-other.rules") << cases[3].line << "\n";
  std::ofstream(lib.path + "/70-korvex48.rules.disabled") << cases[0].line << "\n";
  std::filesystem::create_symlink(etc.path + "/70-korvex48.rules", lib.path + "/71-link.rules");
  const LinuxMachineFacts facts({etc.path, lib.path, "/nonexistent"});
  EXPECT_EQ(facts.InstalledUdevRules(0x1234, 0xABCD),
            std::vector<std::string>{etc.path + "/70-korvex48.rules"});
  EXPECT_TRUE(facts.InstalledUdevRules(0x1234, 0x0001).empty());
}

}  // namespace
}  // namespace korvex48
