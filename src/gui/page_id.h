#pragma once
// The seven pages of the main window, numbered like their hidden selectors
// rb_1..rb_7, and the page group each lies in.
#include <QString>

namespace korvex48::gui {

enum class PageId { kMain = 1, kSwitch, kFixed, kAdv, kBreath, kMacro, kUpdate };

inline constexpr int kPageCount = 7;

// gbPage1 holds the three button pages; Advanced, Breathing Light, Macro and
// Update have groups 2..5.
inline int GroupOf(PageId page) {
  switch (page) {
    case PageId::kMain:
    case PageId::kSwitch:
    case PageId::kFixed:
      return 1;
    case PageId::kAdv:
      return 2;
    case PageId::kBreath:
      return 3;
    case PageId::kMacro:
      return 4;
    case PageId::kUpdate:
      return 5;
  }
  return 1;
}

// The name part of the page's navigation controls (Btn_<name>_<k>).
inline QString NavNameOf(PageId page) {
  static const char* const kNames[] = {"Main",   "Switch", "Fixed", "Adv",
                                       "Breath", "Macro",  "Update"};
  return QLatin1String(kNames[static_cast<int>(page) - 1]);
}

}  // namespace korvex48::gui
