#pragma once
// Controls shared by the parts of the Macro page: the skinned name lists,
// the value fields with their ranges, the delay option rows and the command
// pop-ups.
#include <QButtonGroup>
#include <QColor>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "core/macros/macro_edit.h"

namespace korvex48::gui {

// Grey text of a field that cannot be edited (recorded or no delay).
inline const QColor kReadOnlyText(0x72, 0x71, 0x71);

// A list in the page's look: single selection, no frame, slim dark scroll bar.
QListWidget* AddMacroList(QWidget* parent, const QString& name, int w, int h);

// A number field of at most 5 characters that keeps `field`'s range when
// editing ends (ClampFieldValue). `signed_values` lets "-" be typed.
QLineEdit* AddValueField(QWidget* parent, const QString& name, int w, const QString& value,
                         MacroField field, bool signed_values);

// A delay option row: the mark LED_<name>, its text IB_<name> and the hidden
// choice rb_<name>.
void AddOptionRow(QWidget* parent, QButtonGroup* group, const QString& name);
// Lights row `mode` of `names` (three rows) under `root` and checks its choice.
void LightOptionRow(QWidget* root, const char* const names[3], int mode);

// A command pop-up (CommandPopup): labels of 112 x 20, one under the other,
// in a frame; hidden until opened.
QWidget* AddCommandPopup(QWidget* parent, const QString& name, const QStringList& commands);
// Opens the command pop-up `popup` of `page` at the global point, kept inside
// the window, above every other control and with the keyboard focus.
void OpenPopupAt(QWidget* page, QWidget* popup, QPoint global);

// What a mouse button did on one of the page's lists. The lists share their
// mouse rules: a press below the last row clears the selection and the
// current row; a right press makes the row under the pointer current, as a
// left press would; a right release opens the list's pop-up.
enum class ListMouseAction {
  kPressedEmpty,     // a press below the last row: selection and current row cleared
  kPressedRow,       // a left or middle press on a row: the list handles it itself
  kRightPressedRow,  // a right press on a row: that row is now the current one
  kRightReleased,    // a right release, on a row or not: the pop-up may open
  kReleased,         // another release: the list handles it itself
};

struct ListMouse {
  ListMouseAction action;
  QListWidgetItem* item;  // under the pointer; nullptr below the last row
  QPoint global;          // where the pointer is, for the pop-up
  // The list's own handling must not see the event (the filter eats it).
  bool Eaten() const {
    return action != ListMouseAction::kPressedRow && action != ListMouseAction::kReleased;
  }
};

// Applies the shared rules above to `event` when it is a mouse button event
// on `list`'s viewport; std::nullopt (nothing done) for any other event.
std::optional<ListMouse> TakeListMouse(QListWidget* list, QObject* watched, QEvent* event);

// The keys a focused list of the page takes for its commands, as lists of
// desktop programs do: the Menu key and Shift+F10 open the list's pop-up at
// its current row, Delete deletes the current row, F2 renames it and Insert
// adds one (each list takes those it has commands for).
enum class ListKey { kNone, kMenu, kDelete, kRename, kInsert };

// What `event` asks of `list` when it is a key press on `list` (kNone for
// any other event or key; Ctrl, Alt and Meta make any key kNone).
ListKey TakeListKey(QListWidget* list, QObject* watched, QEvent* event);

// Where `list`'s pop-up opens when asked by a key (global): at the left of
// the current row's lower edge, or at the list's top left corner without
// a current row.
QPoint ListPopupPoint(QListWidget* list);

// The read-only look of a value field, or the editable one in `text`.
void SetFieldEditable(QLineEdit* edit, bool editable, const QColor& text);

}  // namespace korvex48::gui
