#pragma once
// Editing operations against the default image of the simulated mouse: the
// page editor's call, the reports it sends in order, and how it ends. The
// same table drives the page editor's tests and those of korvex48ctl `set`,
// which must send the same reports for the same edit.
//
// The default image: 7 DPI levels with level 7 active (byte 38 = 0x66), value
// bytes 42 86 A9 BB, 1000 Hz, NT LEDs in mode 3 (byte 37 = 0xF3), fire counts
// 0x31; profile 1 holds Left Key on button 1 only and Fire Key2 on button 2;
// no AIM key, switch key or reset key.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/editing/page_editor.h"

namespace korvex48::testing {

// One korvex48ctl command line, without the program and global options.
using CliArgs = std::vector<std::string>;

struct EditCase {
  std::string name;
  // Steps taken before the recorded one (their reports are not checked).
  std::function<void(PageEditor&)> before = {};
  std::function<EditResult(PageEditor&)> step = {};
  // Every report the step sends, as "40 05 00 28 84 00 00 01".
  std::vector<std::string> reports = {};
  EditStatus status = EditStatus::kApplied;
  // The same steps spelled for korvex48ctl, each its own run; `cli` empty:
  // the tool has no spelling for the step.
  std::vector<CliArgs> cli_before = {};
  CliArgs cli = {};
  // Refused or unavailable: part of the tool's one line on stderr.
  std::string cli_says = {};

  // The edit went through (or had nothing to change).
  bool Taken() const { return status == EditStatus::kApplied || status == EditStatus::kUnchanged; }
};

inline void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

inline const std::vector<EditCase>& EditCases() {
  static const std::vector<EditCase> cases = {
      // DPI levels.
      {.name = "ActiveLevel1",
       .step = [](PageEditor& e) { return e.SelectActiveDpiLevel(1); },
       .reports = {"40 05 00 26 60 00 00 01"},
       .cli = {"set", "dpi-active", "1"}},
      {.name = "ValueOfLevel3WithLevel1Active",
       .before = [](PageEditor& e) { e.SelectActiveDpiLevel(1); },
       .step = [](PageEditor& e) { return e.SetDpiValue(3, 5); },
       .reports = {"40 05 00 28 84 00 00 01", "40 05 00 26 61 00 00 01", "40 05 00 26 60 00 00 01"},
       .cli_before = {{"set", "dpi-active", "1"}},
       .cli = {"set", "dpi-value", "3", "1000"}},
      {.name = "ValueOfLevel8WithLevel7Active",
       .before = [](PageEditor& e) { e.ToggleDpiLevel(8); },
       .step = [](PageEditor& e) { return e.SetDpiValue(8, 12); },
       .reports = {"40 05 00 2a bb 00 00 01", "40 05 00 26 75 00 00 01",
                   "40 05 00 26 76 00 00 01"}},
      {.name = "EnableLevel8",
       .step = [](PageEditor& e) { return e.ToggleDpiLevel(8); },
       .reports = {"40 05 00 26 76 00 00 01"}},
      {.name = "CountEightEnablesLevel8",
       .step = [](PageEditor& e) { return e.SetDpiLevelCount(8); },
       .reports = {"40 05 00 26 76 00 00 01"},
       .cli = {"set", "dpi-count", "8"}},
      {.name = "DisableActiveLevel8",
       .before =
           [](PageEditor& e) {
             e.ToggleDpiLevel(8);
             e.SelectActiveDpiLevel(8);
           },
       .step = [](PageEditor& e) { return e.ToggleDpiLevel(8); },
       .reports = {"40 05 00 26 66 00 00 01"}},
      {.name = "CountSevenMovesActiveFromLevel8",
       .before =
           [](PageEditor& e) {
             e.SetDpiLevelCount(8);
             e.SelectActiveDpiLevel(8);
           },
       .step = [](PageEditor& e) { return e.SetDpiLevelCount(7); },
       .reports = {"40 05 00 26 66 00 00 01"},
       .cli_before = {{"set", "dpi-count", "8"}, {"set", "dpi-active", "8"}},
       .cli = {"set", "dpi-count", "7"}},
      {.name = "MiddleLevelRewritesByte38",
       .step = [](PageEditor& e) { return e.ToggleDpiLevel(3); },
       .reports = {"40 05 00 26 66 00 00 01"},
       .status = EditStatus::kUnchanged},
      {.name = "OnlyLevelDoesNothing",
       .before = [](PageEditor& e) { e.SetDpiLevelCount(1); },
       .step = [](PageEditor& e) { return e.ToggleDpiLevel(1); },
       .status = EditStatus::kUnchanged},
      {.name = "SecondLevelAfterOne",
       .before = [](PageEditor& e) { e.SetDpiLevelCount(1); },
       .step = [](PageEditor& e) { return e.ToggleDpiLevel(2); },
       .reports = {"40 05 00 26 10 00 00 01"}},
      {.name = "CountThreeMovesActiveDown",
       .step = [](PageEditor& e) { return e.SetDpiLevelCount(3); },
       .reports = {"40 05 00 26 22 00 00 01"},
       .cli = {"set", "dpi-count", "3"}},
      {.name = "SameCountSendsNothing",
       .step = [](PageEditor& e) { return e.SetDpiLevelCount(7); },
       .status = EditStatus::kUnchanged,
       .cli = {"set", "dpi-count", "7"}},
      {.name = "DisabledLevelHasNoMark",
       .step = [](PageEditor& e) { return e.SelectActiveDpiLevel(8); },
       .status = EditStatus::kUnavailable,
       .cli = {"set", "dpi-active", "8"},
       .cli_says = "not enabled"},
      {.name = "DpiColourOfLevel2",
       .step = [](PageEditor& e) { return e.SetDpiColour(2, 255, 254, 0); },
       .reports = {"40 05 00 4b ff ef 0f 03"},
       .cli = {"set", "dpi-color", "2", "255,254,0"}},
      // Report rate (a rise restarts the mouse: korvex48ctl's own case).
      {.name = "RateDown",
       .step = [](PageEditor& e) { return e.SetReportRate(3); },
       .reports = {"40 05 00 06 af 00 00 01"},
       .cli = {"set", "report-rate", "500"}},
      // LEDs.
      {.name = "LedOffOnNt",
       .step = [](PageEditor& e) { return e.SetLightingMode(0); },
       .reports = {"40 05 00 25 f0 00 00 01"},
       .cli = {"set", "led-mode", "off"}},
      {.name = "Led5AfterOff",
       .before = [](PageEditor& e) { e.SetLightingMode(0); },
       .step = [](PageEditor& e) { return e.SetLightingMode(5); },
       .reports = {"40 05 00 25 f5 00 00 01"},
       .cli_before = {{"set", "led-mode", "off"}},
       .cli = {"set", "led-mode", "5"}},
      {.name = "Led4NotOfferedOnNt",
       .step = [](PageEditor& e) { return e.SetLightingMode(4); },
       .status = EditStatus::kUnavailable,
       .cli = {"set", "led-mode", "4"},
       .cli_says = "not offered"},
      {.name = "StepTime3",
       .step = [](PageEditor& e) { return e.SetStepTime(3); },
       .reports = {"40 05 00 34 0f 0f 00 02"},
       .cli = {"set", "led-step", "3"}},
      {.name = "StepTimeWhileOff",
       .before = [](PageEditor& e) { e.SetLightingMode(0); },
       .step = [](PageEditor& e) { return e.SetStepTime(3); },
       .status = EditStatus::kUnavailable,
       .cli_before = {{"set", "led-mode", "off"}},
       .cli = {"set", "led-step", "3"},
       .cli_says = "while LEDs are off"},
      {.name = "LedColour1",
       .step = [](PageEditor& e) { return e.SetLightColour(1, 128, 64, 255); },
       .reports = {"40 05 00 36 07 03 0f 03"},
       .cli = {"set", "led-color", "1", "128,64,255"}},
      // Buttons (900 Left Key, 901 Right Key, 902 Middle Key, 1001 AIM Key,
      // 1002 KB Switch Key, 1300 Play/Pause).
      {.name = "RightKeyOnButton2",
       .step = [](PageEditor& e) { return e.AssignMenuItem(1, 2, 901); },
       .reports = {"40 05 01 04 01 02 00 00"},
       .cli = {"set", "button", "1", "2", "right key"}},
      {.name = "LastLeftKeyStays",
       .step = [](PageEditor& e) { return e.AssignMenuItem(1, 1, 901); },
       .status = EditStatus::kRefused,
       .cli = {"set", "button", "1", "1", "Right Key"},
       .cli_says = "Left Key"},
      {.name = "SecondLeftKeyFreesTheFirst",
       .before = [](PageEditor& e) { e.AssignMenuItem(1, 5, 900); },
       .step = [](PageEditor& e) { return e.AssignMenuItem(1, 1, 901); },
       .reports = {"40 05 01 00 01 02 00 00"},
       .cli_before = {{"set", "button", "1", "5", "Left Key"}},
       .cli = {"set", "button", "1", "1", "Right Key"}},
      {.name = "SwitchKeyGoesToAllProfiles",
       .step = [](PageEditor& e) { return e.AssignMenuItem(1, 3, 1002); },
       .reports = {"40 05 01 08 07 00 00 00", "40 05 01 38 07 00 00 00", "40 05 01 68 07 00 00 00"},
       .cli = {"set", "button", "1", "3", "KB Switch Key"}},
      {.name = "SwitchKeyTakenAwayToo",
       .before = [](PageEditor& e) { e.AssignMenuItem(1, 3, 1002); },
       .step = [](PageEditor& e) { return e.AssignMenuItem(1, 3, 1300); },
       .reports = {"40 05 01 08 03 00 cd 00", "40 05 01 38 03 00 cd 00", "40 05 01 68 03 00 cd 00"},
       .cli_before = {{"set", "button", "1", "3", "KB Switch Key"}},
       .cli = {"set", "button", "1", "3", "Play/Pause"}},
      {.name = "SwitchKeyOnlyInProfile1",
       .step = [](PageEditor& e) { return e.AssignMenuItem(2, 3, 1002); },
       .status = EditStatus::kUnavailable,
       .cli = {"set", "button", "2", "3", "KB Switch Key"},
       .cli_says = "profile 1"},
      {.name = "Profile2Button",
       .step = [](PageEditor& e) { return e.AssignMenuItem(2, 4, 902); },
       .reports = {"40 05 01 3c 01 04 00 00"},
       .cli = {"set", "button", "2", "4", "Middle Key"}},
      {.name = "MediaKeyOnProfile2",
       .step = [](PageEditor& e) { return e.AssignMenuItem(2, 5, 1300); },
       .reports = {"40 05 01 40 03 00 cd 00"},
       .cli = {"set", "button", "2", "5", "Play/Pause"}},
      {.name = "Profile3NeverEdited",
       .step = [](PageEditor& e) { return e.AssignMenuItem(3, 4, 902); },
       .status = EditStatus::kUnavailable,
       .cli = {"set", "button", "3", "4", "Middle Key"},
       .cli_says = "profile 3"},
      {.name = "KeyCombination",
       .step =
           [](PageEditor& e) { return e.AssignKeyCombination(1, 4, "Ctrl+Shift+A", "02030400"); },
       .reports = {"40 05 01 0c 02 03 04 00"},
       .cli = {"set", "button", "1", "4", "Ctrl+Shift+A"}},
      // The active profile.
      {.name = "AlternateKeyWithoutSwitchKey",
       .step = [](PageEditor& e) { return e.SelectProfile(2); },
       .status = EditStatus::kRefused,
       .cli = {"set", "active-profile", "2"},
       .cli_says = "Please select the keyboard mode switch button"},
      {.name = "AlternateKeyWithSwitchKey",
       .before = [](PageEditor& e) { e.AssignMenuItem(1, 3, 1002); },
       .step = [](PageEditor& e) { return e.SelectProfile(2); },
       .reports = {"40 05 00 21 01 00 00 01"},
       .cli_before = {{"set", "button", "1", "3", "KB Switch Key"}},
       .cli = {"set", "active-profile", "2"}},
      {.name = "SwitchButtonLockedInProfile2",
       .before =
           [](PageEditor& e) {
             e.AssignMenuItem(1, 3, 1002);
             e.SelectProfile(2);
           },
       .step = [](PageEditor& e) { return e.AssignMenuItem(2, 3, 902); },
       .status = EditStatus::kUnavailable,
       .cli_before = {{"set", "button", "1", "3", "KB Switch Key"}, {"set", "active-profile", "2"}},
       .cli = {"set", "button", "2", "3", "Middle Key"},
       .cli_says = "cannot be changed in profile 2"},
      {.name = "ResetControlWithoutResetKey",
       .step = [](PageEditor& e) { return e.SelectProfile(3); },
       .status = EditStatus::kRefused,
       .cli = {"set", "active-profile", "3"},
       .cli_says = "Select the reset button"},
      // Fire keys and AIM.
      {.name = "FireKey2Count4Delay50",
       .step =
           [](PageEditor& e) {
             return e.SetFireKey(2, {4, false, 50});
           },
       .reports = {"40 05 00 01 31 00 00 01", "40 05 01 04 06 13 00 32"},
       .cli = {"set", "fire", "2", "count=4", "delay=50"}},
      {.name = "FireKey2ContinuousMax",
       .step =
           [](PageEditor& e) {
             return e.SetFireKey(2, {15, true, 4094});
           },
       .reports = {"40 05 00 01 e1 00 00 01", "40 05 01 04 06 9e 0f fe"},
       .cli = {"set", "fire", "2", "count=15", "delay=4094", "continuous=on"}},
      {.name = "AimWithoutAimKey",
       .step = [](PageEditor& e) { return e.SetAimStep(5); },
       .status = EditStatus::kRefused,
       .cli = {"set", "aim-dpi", "1000"},
       .cli_says = "Please select a AIM Key inMain Control"},
      {.name = "AimOnButton4",
       .before = [](PageEditor& e) { e.AssignMenuItem(1, 4, 1001); },
       .step = [](PageEditor& e) { return e.SetAimStep(8); },
       .reports = {"40 05 01 0c 05 07 00 00"},
       .cli_before = {{"set", "button", "1", "4", "AIM Key"}},
       .cli = {"set", "aim-dpi", "2000"}},
  };
  return cases;
}

}  // namespace korvex48::testing
