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
// pressed by keys. Safe to call more than once.
void InstallControlAccessibility();

// The role a screen reader announces for a text label or a picture pressed
// by keys; Button by default.
void SetRole(QWidget* label, QAccessible::Role role);
QAccessible::Role RoleOf(const QWidget* label);

// Whether a control of the role RadioButton or CheckBox is chosen, as a
// screen reader tells it; pages set it where they show the choice.
void SetChecked(QWidget* control, bool checked);

// Gives the labels under `root` their roles and the names of those without a
// caption by their objectNames (labels that open menus, choices, check marks,
// the close marks and the web button), and chains the Tab order of every
// control under `root` that takes focus from the keyboard in reading order:
// top to bottom, left to right in `root`'s coordinates.
void DescribeControls(QWidget* root);

}  // namespace korvex48::gui
