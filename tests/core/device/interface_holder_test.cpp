#include "core/device/interface_holder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvex48 {
namespace {

TEST(InterfaceHolder, TheHolderOfALockedNodeIsFoundInTheLockList) {
  const LockedFile node{0x00, 0x2f, 1234};
  struct Case {
    const char* name;
    std::string locks;
    std::optional<int> pid;
  };
  const std::vector<Case> cases = {
      {"flock", "1: FLOCK  ADVISORY  WRITE 4242 00:2f:1234 0 EOF\n", 4242},
      {"among others, without a final newline",
       "1: POSIX  ADVISORY  WRITE 77 00:2f:1234 0 EOF\n"
       "2: FLOCK  ADVISORY  WRITE 88 00:2f:12345 0 EOF\n"
       "3: FLOCK  ADVISORY  WRITE 99 08:2f:1234 0 EOF\n"
       "4: FLOCK  ADVISORY  WRITE 4242 00:2f:1234 0 EOF",
       4242},
      {"a waiter is not the holder", "1: -> FLOCK  ADVISORY  WRITE 55 00:2f:1234 0 EOF\n",
       std::nullopt},
      {"hex device numbers", "1: FLOCK  ADVISORY  WRITE 7 00:2F:1234 0 EOF\n", 7},
      {"no pid", "1: FLOCK  ADVISORY  WRITE -1 00:2f:1234 0 EOF\n", std::nullopt},
      {"cut short", "1: FLOCK  ADVISORY  WRITE 4242 00:2f", std::nullopt},
      {"empty", "", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(FlockHolderPid(c.locks, node), c.pid) << c.name;
}

TEST(InterfaceHolder, TheProgramIsNamedByItsFirstArgumentAndTheLineByBoth) {
  struct Case {
    std::string cmdline;
    const char* program;
  };
  const std::vector<Case> cases = {
      {std::string("/usr/bin/korvex48ctl\0info\0", 26), "korvex48ctl"},
      {std::string("korvex48\0", 9), "korvex48"},
      {"./korvex48", "korvex48"},
      {std::string("/usr/bin/\x1b[2Jevil\0", 18), "[2Jevil"},
      {"", ""},
      {"/usr/bin/", ""},
  };
  for (const Case& c : cases) {
    const std::vector<std::uint8_t> bytes(c.cmdline.begin(), c.cmdline.end());
    EXPECT_EQ(ProgramNameOfCommandLine(bytes), c.program) << c.cmdline;
  }
  EXPECT_EQ(HeldMouseText({"korvex48", 4242}), "the mouse is in use by korvex48 (pid 4242)");
  EXPECT_EQ(HeldMouseText({"", 17}), "the mouse is in use by another program (pid 17)");
  EXPECT_EQ(HeldMouseText({}), "the mouse is in use by another program");
}

}  // namespace
}  // namespace korvex48
