#pragma once
// Where the keyboard focus goes when a dialog, menu or pop-up drawn inside
// the main window closes: back to the control that had it when it opened, as
// in any desktop program. Left to itself Qt would pass the focus on to the
// control after the closing one in the Tab chain, which may be any button of
// the navigation bar (Reset among them).
#include <QWidget>

namespace korvex48::gui {

// From now on, each time `popup` is shown it remembers the focused control
// outside it, and when it hides with the focus inside it (or with no control
// focused) gives the focus back to that control. When that control is hidden
// by then (it lay in a pop-up that has closed meanwhile), the focus goes to
// the control that pop-up was opened from, and so on; when none is left, to
// the first control of the page on show (the window's invokable FocusPage(),
// when it has one).
void ReturnFocusOnClose(QWidget* popup);

// The control `popup` gives the focus back to when it closes now (nullptr:
// the page's first control).
QWidget* FocusReturnTarget(const QWidget* popup);

// Gives the focus to the first control, in Tab order, that `area` holds and
// that Tab can reach now (shown and enabled). False when there is none.
bool FocusFirstControl(QWidget* area, Qt::FocusReason reason = Qt::OtherFocusReason);

}  // namespace korvex48::gui
