#pragma once
// Keyboard and screen-reader access to the skinned controls. The text labels
// that act as buttons (TextLabel) are reached with Tab, show a focus frame in
// the skin's accent colour and are pressed with Space or Return; through
// QAccessible they are read as buttons (or the role set with SetRole) named
// by their caption, or by what they do when they have none. Bars of steps
// (StepBar) are read as sliders named by what they set, with their value.
#include <QAccessible>
#include <QString>
#include <QWidget>

namespace korvex48::gui {

// Makes QAccessible describe every TextLabel, StepBar and PictureLabel
// pressed by keys, and every other widget given a role with SetRole (menus
// and their entries, message cards, notices). Safe to call more than once.
void InstallControlAccessibility();

// The role a screen reader announces for a text label or a picture pressed
// by keys; Button by default.
void SetRole(QWidget* label, QAccessible::Role role);
QAccessible::Role RoleOf(const QWidget* label);

// Whether a control of the role RadioButton or CheckBox is chosen, as a
// screen reader tells it; pages set it where they show the choice.
void SetChecked(QWidget* control, bool checked);

// The page buttons of the navigation bar are read as tabs; the current
// page's are selected.
void SetCurrentPage(QWidget* page_button, bool current);

// Menus (the button function menus, the macro page's command pop-ups): the
// panel has the role PopupMenu (SetRole) and its entries MenuItem. The entry
// the arrow keys or the pointer made current is, for a screen reader, the
// focused and selected one, and is announced as it becomes current.
void SetCurrentEntry(QWidget* entry, bool current);
// An entry that opens a submenu, and whether that submenu is open now.
void SetOpensSubmenu(QWidget* entry, bool opens);
void SetSubmenuOpen(QWidget* entry, bool open);
// Tells a screen reader that the menu `menu` opened or closed.
void AnnounceMenu(QWidget* menu, bool opened);
// Tells a screen reader that `notice` (of the role AlertMessage) shows now.
void AnnounceAlert(QWidget* notice);

// Places `control` in the Tab order by the page's columns rather than by
// reading order: controls given a place keep the slots reading order gives
// them as a whole, and among those slots follow (group, rank).
void SetTabPlace(QWidget* control, int group, int rank);

// Puts `control` at the end of the Tab order (the window's Reset and Exit).
void SetTabLast(QWidget* control);

// Gives the labels under `root` their roles and the names of those without a
// caption by their objectNames (labels that open menus, choices, check marks,
// the close marks and the web button), and chains the Tab order of every
// control under `root` that takes focus from the keyboard in reading order:
// top to bottom, left to right in `root`'s coordinates (SetTabPlace orders
// a page's columns).
void DescribeControls(QWidget* root);

}  // namespace korvex48::gui
