#pragma once
// The pop-ups of the pages (the button function menus with LB_Name, the macro
// page's command pop-ups) are drawn above every other control of the window.
// A page group draws its navigation bar above its page, so a pop-up made on a
// page is moved onto the page's group before it is shown, and raised to the
// top there; a press on it reaches the pop-up, never a control beneath.
#include <QPoint>
#include <QWidget>

namespace korvex48::gui {

// The widget the pop-ups of `page` lie on: its group once the page is placed
// in one, the page itself before.
QWidget* PopupLayer(QWidget* page);

// Makes `popup` a child of PopupLayer(`page`) (once), keeping its place on
// the screen. Coordinates of the pop-up are then the layer's.
void LiftPopup(QWidget* popup, QWidget* page);

// Shows `popup` at `at` (in the layer's coordinates) above every other control.
void ShowPopupOnTop(QWidget* popup, QPoint at);

}  // namespace korvex48::gui
