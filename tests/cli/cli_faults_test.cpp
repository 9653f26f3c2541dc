// korvex48ctl against a mouse that fails: one line, the right exit status,
// and nothing written that the user did not choose.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "cli_fuse_fixture.h"

namespace korvex48::testing {
namespace {

using CliFaults = CliFuseFixture;

int Lines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Reports the last run's connection sent and read, from its trace.
struct TraceCount {
  int sets = 0;
  int all = 0;
};
TraceCount CountTrace(const CliRig& rig) {
  TraceCount n;
  std::istringstream trace(ReadText(rig.Path("trace")));
  std::string line;
  while (std::getline(trace, line)) {
    n.sets += line.find(" > ") != std::string::npos;
    n.all += line.find(" > ") != std::string::npos || line.find(" < ") != std::string::npos;
  }
  return n;
}

bool Wrote(const CliRun& run, const std::string& prefix) {
  return std::any_of(run.writes.begin(), run.writes.end(),
                     [&](const std::string& w) { return w.rfind(prefix, 0) == 0; });
}

TEST_F(CliFaults, AFailingMouseEndsEveryCommandInOneLine) {
  Serve(SimulatedStorage::kI2C);
  if (IsSkipped()) return;
  ASSERT_EQ(rig.Run({"save-profile", rig.Path("good.bin")}).status, 0);
  ASSERT_EQ(rig.Run({"info"}).status, 0);
  const TraceCount connect = CountTrace(rig);

  struct Case {
    const char* name;
    std::string fault;
    std::vector<std::string> command;
    std::string says;
    bool may_write;
  };
  const std::string saved = rig.Path("saved.bin");
  const Case cases[] = {
      {"load-profile cut off by a vanishing mouse",
       "vanish-after " + std::to_string(connect.all + 60),
       {"load-profile", rig.Path("good.bin")},
       "configuration is incomplete",
       true},
      {"reset refused half way",
       "refuse-report-after " + std::to_string(connect.sets + 40),
       {"reset"},
       "configuration is incomplete",
       true},
      {"macro add refused at its first report",
       "refuse-report-after " + std::to_string(connect.sets),
       {"macro", "add", "1"},
       "the macro was not added: the mouse stopped taking the change",
       true},
      {"reset refused at its first report",
       "refuse-report-after " + std::to_string(connect.sets),
       {"reset"},
       "the mouse took none of the reports: its configuration was not changed",
       true},
      {"set on a mouse unplugged before the live write",
       "vanish-after " + std::to_string(connect.all),
       {"set", "dpi-active", "1"},
       "the mouse was unplugged: the change did not reach it",
       true},
      {"dump of a mouse unplugged during the read",
       "vanish-after " + std::to_string(connect.all - 30),
       {"dump"},
       "the mouse was unplugged while its configuration was read",
       false},
      {"save-profile after a failed reply",
       "fail-reply-after 30",
       {"save-profile", saved},
       "did not answer",
       false},
      {"macro add after a failed reply",
       "fail-reply-after 30",
       {"macro", "add", "1"},
       "did not answer",
       false},
      {"dump after a short reply", "short-reply-after 40", {"dump"}, "did not answer", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(mount->Control("plug"));
    ASSERT_TRUE(mount->Control("clear-faults"));
    ASSERT_TRUE(mount->Control(c.fault));
    const CliRun run = rig.Run(c.command);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(Lines(run.err), 1) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
    if (!c.may_write) {
      EXPECT_TRUE(run.writes.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(saved));
  }
  // A delete cut off inside the macro storage: the line says what the mouse,
  // read again, lists now.
  ASSERT_TRUE(mount->Control("plug"));
  ASSERT_TRUE(mount->Control("clear-faults"));
  ASSERT_EQ(rig.Run({"macro", "add", "1"}).status, 0);
  ASSERT_TRUE(mount->Control("refuse-report-after " + std::to_string(connect.sets + 10)));
  const CliRun cut = rig.Run({"macro", "delete", "1"});
  EXPECT_EQ(cut.status, 1) << cut.err;
  EXPECT_EQ(Lines(cut.err), 1) << cut.err;
  // Its only macro: the end mark alone leaves the list as meant.
  EXPECT_NE(cut.err.find("the macro was deleted, but the mouse stopped before the change was "
                         "complete (the mouse took 10 reports"),
            std::string::npos)
      << cut.err;
  EXPECT_NE(cut.err.find("the mouse no longer holds macro 1 \"Copy\""), std::string::npos)
      << cut.err;
  EXPECT_NE(cut.err.find("'korvex48ctl restore 1' puts back what the mouse held before"),
            std::string::npos)
      << cut.err;
  EXPECT_EQ(rig.Run({"macro", "list"}).out, "");
  ASSERT_TRUE(mount->Control("clear-faults"));
  ASSERT_EQ(rig.Run({"restore", "1"}).status, 0);
  EXPECT_NE(rig.Run({"macro", "list"}).out.find("Copy"), std::string::npos);

  // Three macros, the first deleted and cut inside the storage: the two
  // later ones are gone from the mouse. The line names them and both ways on;
  // a later command finds the cut and says the same; finishing the change
  // brings them back.
  ASSERT_EQ(rig.Run({"macro", "add", "2"}).status, 0);
  ASSERT_EQ(rig.Run({"macro", "add", "3"}).status, 0);
  // (Inside the first write of the block that holds the end mark.)
  ASSERT_TRUE(mount->Control("refuse-report-after " + std::to_string(connect.sets + 20)));
  const CliRun lost = rig.Run({"macro", "delete", "1"});
  EXPECT_EQ(lost.status, 1) << lost.err;
  EXPECT_EQ(Lines(lost.err), 1) << lost.err;
  EXPECT_NE(lost.err.find("now lists only the 0 macros"), std::string::npos) << lost.err;
  for (const char* name : {"macro 2 \"Paste\"", "macro 3 \"Cut\""})
    EXPECT_NE(lost.err.find(name), std::string::npos) << lost.err;
  EXPECT_NE(lost.err.find("'korvex48ctl restore --finish' finishes the change"), std::string::npos)
      << lost.err;
  ASSERT_TRUE(mount->Control("clear-faults"));
  const CliRun later = rig.Run({"macro", "list"});
  EXPECT_EQ(later.out, "");
  EXPECT_NE(later.err.find("warning: macro-delete 1 \"Copy\" did not finish"), std::string::npos)
      << later.err;
  ASSERT_EQ(rig.Run({"restore", "--finish"}).status, 0);
  const CliRun finished = rig.Run({"macro", "list"});
  EXPECT_NE(finished.out.find("Paste"), std::string::npos) << finished.out;
  EXPECT_NE(finished.out.find("Cut"), std::string::npos) << finished.out;
  EXPECT_EQ(finished.out.find("Copy"), std::string::npos) << finished.out;
  EXPECT_TRUE(finished.err.empty()) << finished.err;

  // The trace tells where the write was cut off.
  ASSERT_TRUE(mount->Control("plug"));
  ASSERT_TRUE(mount->Control("clear-faults"));
  ASSERT_TRUE(mount->Control("refuse-report-after " + std::to_string(connect.sets + 10)));
  EXPECT_EQ(rig.Run({"reset"}).status, 1);
  const std::string trace = ReadText(rig.Path("trace"));
  EXPECT_NE(trace.find("FAILED: the device refused the report"), std::string::npos);
  EXPECT_NE(trace.find("# parameter section write at 0000 cut off after 10 of 35 reports"),
            std::string::npos)
      << trace;
}

TEST_F(CliFaults, FirmwareGoesWholeOrNotAtAll) {
  Serve(SimulatedStorage::kFlashFlash);
  if (IsSkipped()) return;
  rig.AddGlobalOption(std::string("--default-image=") + KORVEX48_FLASH_FLASH_IMAGE);
  { std::ofstream(rig.Path("fw.bin"), std::ios::binary) << std::string(0x8400, '\x5A'); }
  ASSERT_EQ(rig.Run({"info"}).status, 0);
  const TraceCount connect = CountTrace(rig);
  ASSERT_TRUE(mount->Control("refuse-report-after " + std::to_string(connect.sets + 100)));
  const CliRun cut = rig.Run({"firmware", rig.Path("fw.bin")});
  EXPECT_EQ(cut.status, 1) << cut.err;
  EXPECT_NE(cut.err.find("the patch was not programmed"), std::string::npos) << cut.err;
  EXPECT_FALSE(Wrote(cut, "40 07 10 00"));  // no descriptor
  EXPECT_FALSE(Wrote(cut, "40 0e"));        // no restart
  EXPECT_TRUE(Wrote(cut, "40 07 c0 00"));   // the patch was begun

  // A whole patch, but the mouse refuses the restart: it never left the bus.
  ASSERT_TRUE(mount->Control("clear-faults"));
  ASSERT_TRUE(mount->Control("refuse-command 14"));
  const CliRun unrestarted = rig.Run({"firmware", rig.Path("fw.bin")});
  EXPECT_EQ(unrestarted.status, 1) << unrestarted.err;
  EXPECT_NE(unrestarted.err.find("the patch is on the mouse, but the restart did not happen"),
            std::string::npos)
      << unrestarted.err;
  EXPECT_TRUE(Wrote(unrestarted, "40 07 10 00"));  // the descriptor went
}

// Every flow that restarts the mouse is a failure when the mouse refuses the
// restart: what it wrote is on the mouse, but the mouse does not run it yet.
TEST_F(CliFaults, ARefusedRestartIsAFailureInEveryFlowThatRestarts) {
  CliRig source;  // the simulated mouse the 1000 Hz file comes from
  ASSERT_EQ(source.Run({"set", "report-rate", "1000"}).status, 0);
  const std::string fast = source.Path("fast.json");
  std::ofstream(fast) << source.Run({"--json", "dump"}).out;
  { std::ofstream(source.Path("fw.bin"), std::ios::binary) << std::string(0x8400, '\x5A'); }

  struct Case {
    const char* name;
    SimulatedStorage storage;
    std::vector<std::string> command;
    std::string says;
  };
  const Case cases[] = {
      {"set report-rate",
       SimulatedStorage::kI2C,
       {"set", "report-rate", "1000"},
       "the mouse refused the restart it needs"},
      {"apply", SimulatedStorage::kI2C, {"apply", fast}, "the mouse refused the restart it needs"},
      {"firmware",
       SimulatedStorage::kFlashFlash,
       {"firmware", source.Path("fw.bin")},
       "the restart did not happen: the mouse refused the restart command"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Serve(c.storage);
    if (IsSkipped()) return;
    if (c.storage == SimulatedStorage::kFlashFlash)
      rig.AddGlobalOption(std::string("--default-image=") + KORVEX48_FLASH_FLASH_IMAGE);
    ASSERT_EQ(rig.Run({"set", "report-rate", "125"}).status, 0);
    ASSERT_TRUE(mount->Control("refuse-command 14"));
    const CliRun run = rig.Run(c.command);
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(Lines(run.err), 1) << run.err;
    EXPECT_TRUE(Wrote(run, "40 0e"));  // the restart was asked for
  }
}

// A configuration whose writes the mouse stops taking part way ends in one
// line and exit 1; once the mouse takes reports, `restore --finish` finishes
// the job from the journal, and the backup undoes it.
TEST_F(CliFaults, ApplyCutOffAtOneReportIsFinishedByApplyingItAgain) {
  Serve(SimulatedStorage::kI2C);
  if (IsSkipped()) return;
  CliRig source;  // the simulated mouse the files come from
  ASSERT_EQ(source.Run({"set", "dpi-value", "2", "2400"}).status, 0);
  ASSERT_EQ(source.Run({"set", "led-color", "1", "10,20,30"}).status, 0);
  const std::string settings = source.Path("settings.json");
  std::ofstream(settings) << source.Run({"--json", "dump"}).out;
  ASSERT_EQ(source.Run({"macro", "add", "1"}).status, 0);
  ASSERT_EQ(source.Run({"set", "button", "1", "6", "macro:Copy"}).status, 0);
  const std::string macros = source.Path("macros.json");
  std::ofstream(macros) << source.Run({"--json", "dump"}).out;

  ASSERT_EQ(rig.Run({"info"}).status, 0);
  const TraceCount connect = CountTrace(rig);
  struct Case {
    const char* name;
    std::string file;
    int cut_after;  // reports of the apply that the mouse takes
    std::string says;
  };
  const Case cases[] = {
      {"a live write refused", settings, 1, "the mouse refused a change"},
      {"the macro change cut off", macros, 5, "the macros were not changed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(mount->Control("clear-faults"));
    const std::string before_apply = rig.Run({"--json", "dump"}).out;
    ASSERT_TRUE(
        mount->Control("refuse-report-after " + std::to_string(connect.sets + c.cut_after)));
    const CliRun cut = rig.Run({"apply", c.file});
    EXPECT_EQ(cut.status, 1) << cut.out;
    EXPECT_NE(cut.err.find(c.says), std::string::npos) << cut.err;
    EXPECT_EQ(Lines(cut.err), 1) << cut.err;
    ASSERT_TRUE(mount->Control("clear-faults"));
    EXPECT_EQ(rig.Run({"diff", c.file}).status, 1);
    // Finishing the change makes the mouse hold the file; restoring the
    // backup made before it (now the second) undoes it again.
    const CliRun again = rig.Run({"restore", "--finish"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(rig.Run({"diff", c.file}).status, 0);
    ASSERT_EQ(rig.Run({"restore", "2"}).status, 0);
    EXPECT_EQ(rig.Run({"--json", "dump"}).out, before_apply);
  }
}

// On the simulated mouse (nothing served): nothing unsafe reaches it.
TEST_F(CliFaults, NothingUnsafeIsSentAndNoNameCanCarryControlCharacters) {
  {
    std::ofstream(rig.Path("fw.bin"), std::ios::binary) << std::string(0x8400, '\x5A');
    std::ofstream(rig.Path("short.bin"), std::ios::binary) << std::string(0x83FF, '\x5A');
  }
  ASSERT_EQ(::mkfifo(rig.Path("fifo").c_str(), 0600), 0);
  struct Case {
    std::vector<std::string> command;
    int status;
    std::string says;
  };
  const Case cases[] = {
      // A mouse without Flash + Flash storage has configuration where the patch goes.
      {{"firmware", rig.Path("fw.bin")}, 4, "Flash + Flash"},
      {{"firmware", rig.Path("short.bin")}, 3, "whole patch code"},
      {{"firmware", rig.Path("fifo")}, 3, "is a pipe"},
      {{"load-profile", rig.Path("fifo")}, 3, "is a pipe"},
      {{"load-profile", rig.Dir().string()}, 3, "is a directory"},
      {{"load-profile", rig.Path("tiny.bin")}, 3, "too short for a profile file (12 bytes)"},
      {{"library", "new", "a\x1b[2J"}, 2, "control characters"},
      {{"library", "new", "ding\a"}, 2, "control characters"},
      {{"library", "new", "   "}, 2, "cannot be blank"},
      {{"library", "new", "abc\u202Egpj"}, 2, "text-direction controls"},
      {{"library", "new", "a\xFF"}, 2, "well-formed"},
      {{"library", "new", "NineChars"}, 2, "1 to 8 characters"},
      // A path reaches the error line escaped as names are.
      {{"load-profile", rig.Path("a\x1b]0;x\a.bin")}, 3, "a\\x1B]0;x\\x07.bin"},
  };
  { std::ofstream(rig.Path("tiny.bin"), std::ios::binary) << std::string(12, '\xE0'); }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command[0] + " " + c.command[1]);
    const CliRun run = rig.Run(c.command);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
    EXPECT_TRUE(run.writes.empty());
  }
}

}  // namespace
}  // namespace korvex48::testing
