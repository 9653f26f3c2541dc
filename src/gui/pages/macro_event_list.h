#pragma once
// Drawing of the macro event list LB_macro. The list holds
// one item per event line of the macro on show; the item's text is empty and
// its line ("1 Ctrl CODE:8101", "0 30", "7 FD0A", ...) is kept under
// kMacroLineRole. Each item shows the 24 x 24 event icon of the line's kind
// (MacroEvent_0 .. MacroEvent_8) shrunk into the row, and the event's text
// 45 pixels from the left.
#include <QListWidget>
#include <QString>
#include <QStyledItemDelegate>

#include "core/macros/macro_lines.h"

namespace korvex48::gui {

class Skin;

inline constexpr int kMacroLineRole = Qt::UserRole + 1;

// The kind digit 0..8 of an event line; a line that does not start with a
// digit 0..8 counts as 0 (a delay).
int MacroLineKind(const QString& line);

// The text an event item shows: the key or button name for presses and
// releases, "<ms> ms" for delays, "X-Axis  <v>" / "Y-Axis  <v>" for moves
// (negative values for kinds 4 and 6), "Rep-Start  <count>" and "Rep-Stop".
// A line too short for its kind shows what it has, never out of range.
QString MacroEventText(const QString& line);
// What a screen reader reads for the line: "Press A", "Release A",
// "Delay 120 ms", "X-Axis 5".
QString MacroEventReading(const QString& line);

// Replaces the items of `list` by one per event line of `lines` (line 0, the
// delay header, has no item).
void FillMacroEventList(QListWidget* list, const MacroLines& lines);
// Gives `item` its line, and the reading of the line for screen readers.
void SetMacroLine(QListWidgetItem* item, const QString& line);

class MacroEventDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  MacroEventDelegate(const Skin& skin, QObject* parent);

  // Row height of the list (layout key MacroNameHeight).
  void SetRowHeight(int height) { row_height_ = height; }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  const Skin& skin_;
  int row_height_ = 20;
};

}  // namespace korvex48::gui
