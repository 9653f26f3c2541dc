// Backups before larger changes: what restore brings back, and that no
// change starts without a backup.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cli_runner.h"

namespace korvex48::testing {
namespace {

// After `load-profile WRONG.bin` (another mouse's macros, buttons and
// settings), `restore 1` gives the mouse back every byte it held.
TEST(CliBackups, RestoreBringsTheMouseBackByteForByte) {
  for (const std::string kind : {"i2c", "flash-flash"}) {
    SCOPED_TRACE(kind);
    CliRig rig(kind), other(kind);
    for (CliRig* r : {&rig, &other}) {
      if (kind == "flash-flash")
        r->AddGlobalOption(std::string("--default-image=") + KORVEX48_FLASH_FLASH_IMAGE);
    }
    ASSERT_EQ(rig.Run({"macro", "add", "1"}).status, 0);
    ASSERT_EQ(rig.Run({"macro", "add", "2"}).status, 0);
    ASSERT_EQ(rig.Run({"set", "button", "2", "6", "macro:Paste"}).status, 0);
    ASSERT_EQ(rig.Run({"set", "led-color", "1", "10,20,30"}).status, 0);
    ASSERT_EQ(other.Run({"macro", "add", "3"}).status, 0);
    ASSERT_EQ(other.Run({"set", "dpi-value", "2", "2400"}).status, 0);
    ASSERT_EQ(other.Run({"set", "button", "1", "3", "KB Switch Key"}).status, 0);
    const std::string wrong = other.Path("WRONG.bin");
    ASSERT_EQ(other.Run({"save-profile", wrong}).status, 0);
    const std::string before = ReadText(rig.StatePath());

    ASSERT_EQ(rig.Run({"load-profile", wrong}).status, 0);
    ASSERT_FALSE(ReadText(rig.StatePath()) == before);
    const CliRun list = rig.Run({"backups"});
    EXPECT_EQ(list.out.rfind(" 1  ", 0), 0u) << list.out;
    EXPECT_NE(list.out.find("before load-profile " + wrong + "\n"), std::string::npos) << list.out;
    // Two adds and the load, newest first.
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 3) << list.out;
    EXPECT_NE(list.out.find(" 3  "), std::string::npos) << list.out;

    const CliRun dry = rig.Run({"restore", "1", "--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_NE(dry.out.find("Paste"), std::string::npos) << dry.out;
    EXPECT_TRUE(dry.writes.empty());
    const CliRun restored = rig.Run({"restore", "1"});
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_TRUE(ReadText(rig.StatePath()) == before) << "the mouse differs from its backup";
    // The restore was backed up first: the state WRONG.bin left is number 1.
    const CliRun json = rig.Run({"--json", "backups"});
    EXPECT_NE(json.out.find("\"change\": \"restore 1 (before load-profile"), std::string::npos)
        << json.out;
    ASSERT_EQ(rig.Run({"restore", "1"}).status, 0);
    EXPECT_FALSE(ReadText(rig.StatePath()) == before);
    EXPECT_EQ(rig.Run({"restore", "9"}).status, 2);
  }
}

// A backup folder that cannot be written stops every larger change before
// its first report, with exit 3.
TEST(CliBackups, NoBackupNoChange) {
  CliRig rig;
  ASSERT_EQ(rig.Run({"macro", "add", "1"}).status, 0);
  const std::string saved = rig.Path("saved.bin");
  ASSERT_EQ(rig.Run({"save-profile", saved}).status, 0);
  const std::string json = rig.Path("config.json");
  std::ofstream(json) << rig.Run({"--json", "dump"}).out;
  ASSERT_EQ(rig.Run({"set", "dpi-value", "2", "2400"}).status, 0);
  // A file where the folder should be.
  std::filesystem::remove_all(rig.BackupsPath());
  std::ofstream(rig.BackupsPath()) << "no folder";
  const std::string state = ReadText(rig.StatePath());
  const std::vector<std::vector<std::string>> commands = {
      {"load-profile", saved},  {"reset"},       {"macro", "add", "2"},
      {"macro", "delete", "1"}, {"apply", json}, {"restore", saved},
  };
  for (const auto& command : commands) {
    SCOPED_TRACE(command[0]);
    const CliRun run = rig.Run(command);
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_NE(run.err.find("no backup of the mouse's configuration could be written"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("nothing was changed"), std::string::npos) << run.err;
    EXPECT_TRUE(run.writes.empty());
    EXPECT_TRUE(ReadText(rig.StatePath()) == state) << "the mouse was changed";
  }
}

}  // namespace
}  // namespace korvex48::testing
