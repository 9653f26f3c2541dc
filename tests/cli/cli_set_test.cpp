// Every `set` against the default configuration of the simulated mouse: the
// reports it sends, and the errors that send nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_runner.h"

namespace korvex48::testing {
namespace {

using Line = std::vector<std::string>;

struct SetCase {
  std::string name;
  std::vector<Line> before;  // commands run first, unchecked
  Line command;
  std::vector<std::string> writes;
};

void PrintTo(const SetCase& c, std::ostream* os) { *os << c.name; }

class CliSet : public ::testing::TestWithParam<SetCase> {};

TEST_P(CliSet, SendsTheReportsOfTheClick) {
  const SetCase& c = GetParam();
  CliRig rig;
  for (const Line& b : c.before) ASSERT_EQ(rig.Run(b).status, 0) << b[0];
  const CliRun run = rig.Run(c.command);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.writes, c.writes);
}

// The default configuration: 7 DPI levels, level 7 active, value bytes 42 86
// A9 BB; 1000 Hz; NT LEDs in mode 3; Left Key only on button 1 of profile 1,
// Fire Key2 on button 2; fire counts 0x31; no AIM key, switch or reset key.
const std::vector<SetCase> kSetCases = {
    {"DpiActive", {}, {"set", "dpi-active", "1"}, {"40 05 00 26 60 00 00 01"}},
    {"DpiValueWritesNibbleThenByte38Twice",
     {{"set", "dpi-active", "1"}},
     {"set", "dpi-value", "3", "1000"},
     {"40 05 00 28 84 00 00 01", "40 05 00 26 61 00 00 01", "40 05 00 26 60 00 00 01"}},
    {"DpiCountUp", {}, {"set", "dpi-count", "8"}, {"40 05 00 26 76 00 00 01"}},
    {"DpiCountDownMovesActive",
     {{"set", "dpi-count", "8"}, {"set", "dpi-active", "8"}},
     {"set", "dpi-count", "7"},
     {"40 05 00 26 66 00 00 01"}},
    {"DpiColour", {}, {"set", "dpi-color", "2", "255,254,0"}, {"40 05 00 4b ff ef 0f 03"}},
    {"RateDownNoRestart", {}, {"set", "report-rate", "500"}, {"40 05 00 06 af 00 00 01"}},
    {"RateUpRestarts",
     {{"set", "report-rate", "125"}},
     {"set", "report-rate", "250"},
     {"40 05 00 06 9f 00 00 01", "40 0e 00 00 00 00 00 00"}},
    {"LedOff", {}, {"set", "led-mode", "off"}, {"40 05 00 25 f0 00 00 01"}},
    {"Led5AfterOff",
     {{"set", "led-mode", "off"}},
     {"set", "led-mode", "5"},
     {"40 05 00 25 f5 00 00 01"}},
    {"LedStep", {}, {"set", "led-step", "3"}, {"40 05 00 34 0f 0f 00 02"}},
    {"LedColour", {}, {"set", "led-color", "1", "128,64,255"}, {"40 05 00 36 07 03 0f 03"}},
    {"MenuFunction", {}, {"set", "button", "1", "2", "right key"}, {"40 05 01 04 01 02 00 00"}},
    {"MediaFunction", {}, {"set", "button", "2", "5", "Play/Pause"}, {"40 05 01 40 03 00 cd 00"}},
    {"SwitchKeyInAllProfiles",
     {},
     {"set", "button", "1", "3", "KB Switch Key"},
     {"40 05 01 08 07 00 00 00", "40 05 01 38 07 00 00 00", "40 05 01 68 07 00 00 00"}},
    {"KeyCombination",
     {},
     {"set", "button", "1", "4", "Ctrl+Shift+A"},
     {"40 05 01 0c 02 03 04 00"}},
    {"SecondLeftKeyFreesTheFirst",
     {{"set", "button", "1", "5", "Left Key"}},
     {"set", "button", "1", "1", "Right Key"},
     {"40 05 01 00 01 02 00 00"}},
    {"AlternateKey",
     {{"set", "button", "1", "3", "KB Switch Key"}},
     {"set", "active-profile", "2"},
     {"40 05 00 21 01 00 00 01"}},
    {"FireCounts",
     {},
     {"set", "fire", "2", "count=4", "delay=50"},
     {"40 05 00 01 31 00 00 01", "40 05 01 04 06 13 00 32"}},
    {"FireContinuousMax",
     {},
     {"set", "fire", "2", "count=15", "delay=4094", "continuous=on"},
     {"40 05 00 01 e1 00 00 01", "40 05 01 04 06 9e 0f fe"}},
    {"AimDpi",
     {{"set", "button", "1", "4", "AIM Key"}},
     {"set", "aim-dpi", "2000"},
     {"40 05 01 0c 05 07 00 00"}},
};

INSTANTIATE_TEST_SUITE_P(Default, CliSet, ::testing::ValuesIn(kSetCases),
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
  const CliRun run = rig.Run(c.command);
  EXPECT_EQ(run.status, c.status);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("korvex48ctl: ", 0), 0u) << run.err;
  EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_TRUE(run.writes.empty());
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
    {"LastLeftKey", {"set", "button", "1", "1", "Right Key"}, 4, "Left Key"},
    {"AlternateKeyNeedsSwitch",
     {"set", "active-profile", "2"},
     4,
     "Please select the keyboard mode switch button"},
    {"ResetControlNeedsReset", {"set", "active-profile", "3"}, 4, "Select the reset button"},
    {"AimWithoutAimKey", {"set", "aim-dpi", "800"}, 4, "Please select a AIM Key inMain Control"},
    {"ModeNotOffered", {"set", "led-mode", "4"}, 4, "not offered"},
    {"Profile3", {"set", "button", "3", "1", "Right Key"}, 4, "profile 3"},
    {"DisabledLevel", {"set", "dpi-active", "8"}, 4, "not enabled"},
    {"SwitchKeyOutsideProfile1", {"set", "button", "2", "3", "KB Switch Key"}, 4, "profile 1"},
    {"NoSuchMacro", {"set", "button", "1", "2", "macro:Nope"}, 4, "no macro named"},
};

INSTANTIATE_TEST_SUITE_P(Default, CliSetError, ::testing::ValuesIn(kErrorCases),
                         [](const auto& test_info) { return test_info.param.name; });

}  // namespace
}  // namespace korvex48::testing
