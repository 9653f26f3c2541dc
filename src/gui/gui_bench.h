#pragma once
// The editor's --bench run: the window-side cost of a page change and of a
// language switch, each timed up to the end of a synchronous repaint.
#include <cstdio>

namespace korvex48::gui {

class EditorApp;

// Shows the window, waits (up to 30 s) until the simulated mouse is read and
// shown, then prints
//   page_change_ms MEDIAN WORST
//   language_switch_ms MEDIAN WORST
//   menu_open_ms MEDIAN WORST      (a button label's click to its menu drawn)
//   dialog_open_ms MEDIAN WORST    (User-defined to the dialog painted)
//   record_key_to_line_ms MEDIAN WORST   (a key event to its line drawn)
//   library_save_ms MEDIAN WORST         (Macro.bin rewritten, 27200 bytes)
// on `out`. Returns the process exit status: 0, or 1 when the mouse never
// appeared. The button pages are made current without their profile write
// (whose 100 ms pause belongs to the mouse, not the window); the other pages
// through the navigation as a click does. Languages 1..3 are switched by the
// switch operation itself (the shipped layouts show one language button).
int RunBench(EditorApp& app, std::FILE* out);

}  // namespace korvex48::gui
