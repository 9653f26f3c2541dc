#include "gui/pages/macro_widgets.h"

#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>

#include "gui/char_set_validator.h"
#include "gui/control_access.h"
#include "gui/pages/command_popup.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {

QListWidget* AddMacroList(QWidget* parent, const QString& name, int w, int h) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  list->resize(w, h);
  list->setFrameShape(QFrame::NoFrame);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setUniformItemSizes(true);
  // A slim dark scroll bar in the skin's colours instead of the light
  // default one with arrow buttons.
  list->verticalScrollBar()->setStyleSheet(QStringLiteral(
      "QScrollBar:vertical { background: #0b0e13; width: 10px; margin: 0; }"
      "QScrollBar::handle:vertical { background: #2a3442; min-height: 24px;"
      " border-radius: 4px; margin: 1px; }"
      "QScrollBar::handle:vertical:hover { background: #00a8cc; }"
      "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
      "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
  return list;
}

QLineEdit* AddValueField(QWidget* parent, const QString& name, int w, const QString& value,
                         MacroField field, bool signed_values) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->resize(w, 22);
  edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  edit->setMaxLength(5);
  edit->setText(value);
  // Digits (and "-" where a value may be negative) are all that can be typed.
  edit->setValidator(new CharSetValidator(
      signed_values ? CharSetValidator::kSignedDigits : CharSetValidator::kDigits, edit));
  QObject::connect(edit, &QLineEdit::editingFinished, edit, [edit, field] {
    const QString kept = QString::number(ClampFieldValue(field, edit->text().toStdString()));
    if (kept != edit->text()) edit->setText(kept);
  });
  return edit;
}

void AddOptionRow(QWidget* parent, QButtonGroup* group, const QString& name) {
  auto* mark = new QRadioButton(parent);
  mark->setObjectName(QStringLiteral("LED_") + name);
  mark->setAutoExclusive(false);
  mark->setFocusPolicy(Qt::NoFocus);
  group->addButton(mark);
  mark->resize(16, 16);
  auto* text = new TextLabel(QStringLiteral("IB_") + name, parent);
  text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  text->resize(170, 18);
  auto* choice = new QRadioButton(parent);
  choice->setObjectName(QStringLiteral("rb_") + name);
  choice->hide();
}

void LightOptionRow(QWidget* root, const char* const names[3], int mode) {
  for (int i = 0; i < 3; ++i) {
    const QString name = QLatin1String(names[i]);
    if (auto* mark = root->findChild<QRadioButton*>(QStringLiteral("LED_") + name))
      mark->setChecked(i == mode);
    if (auto* choice = root->findChild<QRadioButton*>(QStringLiteral("rb_") + name))
      choice->setChecked(i == mode);
    // The option's text is what a screen reader reads as the choice.
    if (auto* text = root->findChild<QWidget*>(QStringLiteral("IB_") + name))
      SetChecked(text, i == mode);
  }
}

QWidget* AddCommandPopup(QWidget* parent, const QString& name, const QStringList& commands) {
  return new CommandPopup(name, commands, parent);
}

void OpenPopupAt(QWidget* page, QWidget* popup, QPoint global) {
  if (auto* commands = qobject_cast<CommandPopup*>(popup)) commands->OpenAt(page, global);
}

std::optional<ListMouse> TakeListMouse(QListWidget* list, QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched != list->viewport() ||
      (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
       type != QEvent::MouseButtonDblClick))
    return std::nullopt;
  const auto* mouse = static_cast<QMouseEvent*>(event);
  ListMouse taken{ListMouseAction::kReleased, list->itemAt(mouse->position().toPoint()),
                  mouse->globalPosition().toPoint()};
  const bool right = mouse->button() == Qt::RightButton;
  if (type == QEvent::MouseButtonRelease) {
    if (right) taken.action = ListMouseAction::kRightReleased;
  } else if (!taken.item) {
    list->clearSelection();
    list->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    taken.action = ListMouseAction::kPressedEmpty;
  } else if (right) {
    list->setCurrentItem(taken.item);
    taken.action = ListMouseAction::kRightPressedRow;
  } else {
    taken.action = ListMouseAction::kPressedRow;
  }
  return taken;
}

ListKey TakeListKey(QListWidget* list, QObject* watched, QEvent* event) {
  if (watched != list || event->type() != QEvent::KeyPress) return ListKey::kNone;
  const auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
  if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return ListKey::kNone;
  switch (key->key()) {
    case Qt::Key_Menu:
      return ListKey::kMenu;
    case Qt::Key_F10:
      return mods == Qt::ShiftModifier ? ListKey::kMenu : ListKey::kNone;
    case Qt::Key_Delete:
      return mods == Qt::NoModifier ? ListKey::kDelete : ListKey::kNone;
    case Qt::Key_F2:
      return mods == Qt::NoModifier ? ListKey::kRename : ListKey::kNone;
    case Qt::Key_Insert:
      return mods == Qt::NoModifier ? ListKey::kInsert : ListKey::kNone;
    default:
      return ListKey::kNone;
  }
}

QPoint ListPopupPoint(QListWidget* list) {
  QWidget* viewport = list->viewport();
  if (QListWidgetItem* item = list->currentItem()) {
    list->scrollToItem(item);
    const QRect row = list->visualItemRect(item);
    return viewport->mapToGlobal(QPoint(row.left() + 8, row.bottom() + 1));
  }
  return viewport->mapToGlobal(QPoint(8, 8));
}

void SetFieldEditable(QLineEdit* edit, bool editable, const QColor& text) {
  edit->setReadOnly(!editable);
  QPalette p = edit->palette();
  p.setColor(QPalette::Text, editable ? text : kReadOnlyText);
  edit->setPalette(p);
}

}  // namespace korvex48::gui
