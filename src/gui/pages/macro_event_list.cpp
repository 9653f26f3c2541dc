#include "gui/pages/macro_event_list.h"

#include <QPainter>
#include <algorithm>

#include "gui/skin.h"

namespace korvex48::gui {
namespace {

// Two hex digits at `at` of the line as a number; 0 when they are missing or
// not hex.
int HexPair(const QString& line, int at) {
  bool ok = false;
  const int value = line.mid(at, 2).toInt(&ok, 16);
  return ok ? value : 0;
}

// The icon sits in a square of the row's height less 2, 2 pixels in; the text
// starts at 45.
constexpr int kIconInset = 2;
constexpr int kTextLeft = 45;

}  // namespace

int MacroLineKind(const QString& line) {
  if (line.isEmpty()) return 0;
  const QChar first = line.at(0);
  return first >= QLatin1Char('0') && first <= QLatin1Char('8') ? first.digitValue() : 0;
}

QString MacroEventText(const QString& line) {
  switch (MacroLineKind(line)) {
    case 1:
    case 2:
      // "1 " + name + " CODE:" + four hex digits.
      return line.mid(2, std::max<qsizetype>(0, line.size() - 12));
    case 3:
      return QStringLiteral("X-Axis  %1").arg(HexPair(line, 4));
    case 4:
      return QStringLiteral("X-Axis  %1").arg(HexPair(line, 4) - 256);
    case 5:
      return QStringLiteral("Y-Axis  %1").arg(HexPair(line, 6));
    case 6:
      return QStringLiteral("Y-Axis  %1").arg(HexPair(line, 6) - 256);
    case 7:
      return QStringLiteral("Rep-Start  %1").arg(HexPair(line, 4));
    case 8:
      return QStringLiteral("Rep-Stop");
    default:
      return line.mid(2) + QStringLiteral(" ms");
  }
}

QString MacroEventReading(const QString& line) {
  const QString text = MacroEventText(line).simplified();
  switch (MacroLineKind(line)) {
    case 1:
      return QStringLiteral("Press ") + text;
    case 2:
      return QStringLiteral("Release ") + text;
    case 0:
      return QStringLiteral("Delay ") + text;
    default:
      return text;
  }
}

void SetMacroLine(QListWidgetItem* item, const QString& line) {
  item->setData(kMacroLineRole, line);
  item->setData(Qt::AccessibleTextRole, MacroEventReading(line));
}

void FillMacroEventList(QListWidget* list, const MacroLines& lines) {
  list->clear();
  for (std::size_t k = 1; k < lines.size(); ++k)
    SetMacroLine(new QListWidgetItem(list), QString::fromStdString(lines[k]));
}

MacroEventDelegate::MacroEventDelegate(const Skin& skin, QObject* parent)
    : QStyledItemDelegate(parent), skin_(skin) {}

void MacroEventDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  const QString line = index.data(kMacroLineRole).toString();
  const QRect r = option.rect;
  const bool selected = option.state & QStyle::State_Selected;
  const QPalette& palette = option.palette;
  painter->save();
  painter->fillRect(r, palette.color(selected ? QPalette::Highlight : QPalette::Base));

  const int side = std::max(1, r.height() - kIconInset);
  const QRect icon(r.left() + kIconInset, r.top() + kIconInset, side, side);
  painter->setRenderHint(QPainter::SmoothPixmapTransform);
  painter->drawPixmap(icon.adjusted(0, 0, -kIconInset, -kIconInset),
                      skin_.Pixmap(QStringLiteral("MacroEvent_%1").arg(MacroLineKind(line)),
                                   painter->device()->devicePixelRatioF()));

  painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter->setFont(option.font);
  const QRect text(r.left() + kTextLeft, r.top(), std::max(0, r.width() - kTextLeft), r.height());
  painter->drawText(
      text, Qt::AlignLeft | Qt::AlignVCenter,
      option.fontMetrics.elidedText(MacroEventText(line), Qt::ElideRight, text.width()));
  painter->restore();
}

QSize MacroEventDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
  Q_UNUSED(index);
  return QSize(option.rect.width(), row_height_);
}

}  // namespace korvex48::gui
