#pragma once
// The value lists the parameter bytes index: DPI values and report rates.
#include <optional>

namespace korvex48 {

// DPI value index 0..11 -> its value (200 ... 6400); 0 outside 0..11.
int DpiValueOfIndex(int index);
// 200 -> 0, ...; nullopt when the value is not in the list.
std::optional<int> DpiIndexOfValue(int value);
// Report rate choice 1..4 <-> Hz (125, 250, 500, 1000); the rate code of
// parameter byte 6 is the choice - 1.
int ReportRateHz(int choice);
std::optional<int> ReportRateChoiceOfHz(int hz);

}  // namespace korvex48
