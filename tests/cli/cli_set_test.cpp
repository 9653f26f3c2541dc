// Every `set` against the default configuration of the simulated mouse: the
// reports it sends (those of the page editor's edit, from the shared table),
// and the errors that send nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "edit_cases.h"

namespace korvex48::testing {
namespace {

using Line = std::vector<std::string>;

// A run that changed nothing: exit `status`, nothing on stdout, one line on
// stderr that holds `says`, and no report that changes the mouse.
void ExpectOneLineRefusal(const CliRun& run, int status, const std::string& says) {
  EXPECT_EQ(run.status, status);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("korvex48ctl: ", 0), 0u) << run.err;
  EXPECT_NE(run.err.find(says), std::string::npos) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_TRUE(run.writes.empty());
}

class CliSet : public ::testing::TestWithParam<EditCase> {};

// The edit the page makes, spelled for the tool: the same reports, and a
// refusal is one line with exit status 4 and leaves the mouse as it was.
TEST_P(CliSet, SendsTheReportsOfTheEdit) {
  const EditCase& c = GetParam();
  CliRig rig;
  // The state file the refusal must leave as it is.
  if (!c.Taken() && c.cli_before.empty()) {
    ASSERT_EQ(rig.Run({"info"}).status, 0);
  }
  for (const Line& b : c.cli_before) ASSERT_EQ(rig.Run(b).status, 0) << b[1];
  const std::string state = ReadText(rig.StatePath());
  const CliRun run = rig.Run(c.cli);
  if (c.Taken()) {
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.writes, c.reports);
  } else {
    ExpectOneLineRefusal(run, 4, c.cli_says);
    EXPECT_EQ(ReadText(rig.StatePath()), state);
  }
}

std::vector<EditCase> SpelledForTheTool() {
  std::vector<EditCase> out;
  for (const EditCase& c : EditCases())
    if (!c.cli.empty()) out.push_back(c);
  return out;
}

INSTANTIATE_TEST_SUITE_P(Default, CliSet, ::testing::ValuesIn(SpelledForTheTool()),
                         [](const auto& test_info) { return test_info.param.name; });

// Each run takes the mouse in afresh: the rate it was taken in at is the one
// set by the run before, so a rise restarts the mouse.
const std::vector<EditCase> kToolOnlyCases = {
    {.name = "RateUpRestarts",
     .reports = {"40 05 00 06 9f 00 00 01", "40 0e 00 00 00 00 00 00"},
     .cli_before = {{"set", "report-rate", "125"}},
     .cli = {"set", "report-rate", "250"}},
};

INSTANTIATE_TEST_SUITE_P(ToolOnly, CliSet, ::testing::ValuesIn(kToolOnlyCases),
                         [](const auto& test_info) { return test_info.param.name; });

struct ErrorCase {
  std::string name;
  Line command;
  int status;
  std::string message;  // part of the one stderr line
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class CliSetError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(CliSetError, ExitsWithOneLineAndSendsNothing) {
  const ErrorCase& c = GetParam();
  CliRig rig;
  ASSERT_EQ(rig.Run({"info"}).status, 0);
  const std::string state = ReadText(rig.StatePath());
  ExpectOneLineRefusal(rig.Run(c.command), c.status, c.message);
  EXPECT_EQ(ReadText(rig.StatePath()), state);
}

const std::vector<ErrorCase> kErrorCases = {
    {"NotADpiValue", {"set", "dpi-value", "3", "1001"}, 2, "one of 200"},
    {"ColourComponent", {"set", "dpi-color", "1", "256,0,0"}, 2, "0 to 255"},
    {"ColourShape", {"set", "led-color", "1", "1,2"}, 2, "R,G,B"},
    {"ButtonNumber", {"set", "button", "1", "13", "Right Key"}, 2, "BUTTON"},
    {"FireCount", {"set", "fire", "1", "count=0"}, 2, "count"},
    {"ReportRate", {"set", "report-rate", "300"}, 2, "125, 250, 500 or 1000"},
    {"UnknownKey", {"set", "button", "1", "2", "Ctrl+Foo"}, 2, "unknown key"},
    {"ThreeKeys", {"set", "button", "1", "2", "A+B+C"}, 2, "at most two keys"},
    {"UnknownSetting", {"set", "dpi-speed", "3"}, 2, "unknown setting"},
    {"UnknownCommand", {"frob"}, 2, "unknown command"},
    {"NoSuchMacro", {"set", "button", "1", "2", "macro:Nope"}, 4, "no macro named"},
};

INSTANTIATE_TEST_SUITE_P(Default, CliSetError, ::testing::ValuesIn(kErrorCases),
                         [](const auto& test_info) { return test_info.param.name; });

}  // namespace
}  // namespace korvex48::testing
