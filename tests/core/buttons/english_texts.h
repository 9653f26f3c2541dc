#pragma once
// The English texts of the first language table that button names use.
#include <map>
#include <string>
#include <string_view>

#include "core/common/text.h"

namespace korvex48::testing {

inline TextLookup EnglishTexts() {
  static const std::map<std::string, std::string, std::less<>> kTexts = {
      {"Str004", "Main Control"},
      {"Str005", "Alternate Key"},
      {"Str006", "Reset Control"},
      {"Str020",
       "Please select the keyboard mode switch button to take effect after the key "
       "definition interface"},
      {"Str021", "Select the reset button in the key definition interface to take effect"},
      {"Str105", "Please select a AIM Key in"},
      {"Str201", "Standard Mouse Key"},
      {"Str202", "Special Key"},
      {"Str203", "Media Fn"},
      {"Str204", "WWW Fn"},
      {"Str205", "User-defined"},
      {"Str206", "Macro"},
      {"Str207", "PC Fn"},
      {"Str210", "Left Key"},
      {"Str211", "Right Key"},
      {"Str212", "Middle Key"},
      {"Str213", "Backward"},
      {"Str214", "Forward"},
      {"Str230", "Fire Key"},
      {"Str231", "Fire Key1"},
      {"Str232", "Fire Key2"},
      {"Str233", "Fire Key3"},
      {"Str234", "AIM Key"},
      {"Str241", "LED Switch"},
      {"Str242", "KB Switch Key"},
      {"Str243", "CPI"},
      {"Str244", "Report Rate"},
      {"Str245", "KB Reset Key"},
      {"Str246", "LED Mode"},
      {"Str247", "CPI +"},
      {"Str248", "CPI -"},
      {"Str250", "Play/Pause"},
      {"Str251", "Stop"},
      {"Str252", "Previous Track"},
      {"Str253", "Next Track"},
      {"Str254", "Volume +"},
      {"Str255", "Volume -"},
      {"Str256", "Mute"},
      {"Str260", "WWW Home"},
      {"Str261", "WWW Search"},
      {"Str262", "WWW Back"},
      {"Str263", "WWW Forward"},
      {"Str264", "WWW Stop"},
      {"Str265", "WWW Refresh"},
      {"Str266", "WWW Favorites"},
      {"Str270", "My Computer"},
      {"Str271", "Calculator"},
      {"Str272", "E-Mail"},
      {"Str273", "Desktop"},
  };
  return [](std::string_view key) {
    auto it = kTexts.find(key);
    return it == kTexts.end() ? std::string() : it->second;
  };
}

}  // namespace korvex48::testing
