#include "gui/pages/function_menu.h"

#include <QMouseEvent>
#include <QPainter>

#include "gui/control_access.h"

namespace korvex48::gui {
namespace {

// The skin's colours (see tools/make_artwork.py): card, rule, text.
const QColor kCard(16, 21, 28);
const QColor kRule(44, 57, 72);
const QColor kAccent(0, 229, 255);
const QColor kText(226, 236, 246);
const QColor kTextFaint(78, 94, 110);
// Under the pointer: white on teal.
const QColor kTeal(0, 128, 128);

}  // namespace

MenuEntry::MenuEntry(const QString& object_name, int tag, Kind kind, QWidget* parent)
    : QLabel(parent), tag_(tag), kind_(kind) {
  setObjectName(object_name);
  setAttribute(Qt::WA_Hover);
  setCursor(Qt::PointingHandCursor);
  QFont f = font();
  f.setPointSize(9);
  setFont(f);
  InstallControlAccessibility();
  SetRole(this, QAccessible::MenuItem);
  SetOpensSubmenu(this, kind == Kind::kCategory);
}

void MenuEntry::SetLit(bool lit) {
  if (lit_ == lit) return;
  lit_ = lit;
  SetCurrentEntry(this, lit);
  update();
}

void MenuEntry::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool lit = lit_ && isEnabled();
  if (lit) painter.fillRect(rect(), kTeal);
  painter.setPen(lit ? QColor(Qt::white) : isEnabled() ? kText : kTextFaint);
  painter.setFont(font());
  const QRect room = rect().adjusted(4, 0, kind_ == Kind::kCategory ? -24 : -4, 0);
  painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                   painter.fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
  if (kind_ == Kind::kCategory) {
    painter.setPen(lit ? QColor(Qt::white) : kAccent);
    painter.drawText(rect().adjusted(0, 0, -6, 0), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral(">>"));
  }
}

void MenuEntry::mousePressEvent(QMouseEvent* event) { event->accept(); }

void MenuEntry::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    Q_EMIT clicked();
}

void MenuEntry::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  if (isEnabled()) Q_EMIT entered();
}

void MenuEntry::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  Q_EMIT left();
}

void MenuEntry::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::EnabledChange && !isEnabled()) SetLit(false);
}

FunctionMenu::FunctionMenu(const QString& object_name, QWidget* parent) : QFrame(parent) {
  setObjectName(object_name);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The panel takes the keys while it is open (given the focus when it
  // opens); the entries themselves take none.
  setFocusPolicy(Qt::ClickFocus);
  resize(kWidth, 2 * kBorder);
  SetRole(this, QAccessible::PopupMenu);
  hide();
}

void FunctionMenu::showEvent(QShowEvent* event) {
  QFrame::showEvent(event);
  AnnounceMenu(this, true);
}

void FunctionMenu::hideEvent(QHideEvent* event) {
  QFrame::hideEvent(event);
  AnnounceMenu(this, false);
}

MenuEntry* FunctionMenu::Add(const QString& object_name, int tag, MenuEntry::Kind kind) {
  auto* entry = new MenuEntry(object_name, tag, kind, this);
  const int top = kBorder + static_cast<int>(entries_.size()) * kEntryHeight;
  entry->setGeometry(kBorder, top, kWidth - 2 * kBorder, kEntryHeight);
  entries_.push_back(entry);
  resize(kWidth, FullHeight());
  return entry;
}

int FunctionMenu::FullHeight() const {
  return 2 * kBorder + static_cast<int>(entries_.size()) * kEntryHeight;
}

void FunctionMenu::SetCurrent(int index) {
  current_ = index >= 0 && index < static_cast<int>(entries_.size()) ? index : -1;
  for (std::size_t i = 0; i < entries_.size(); ++i)
    entries_[i]->SetLit(static_cast<int>(i) == current_);
}

int FunctionMenu::IndexOf(const MenuEntry* entry) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i] == entry) return static_cast<int>(i);
  return -1;
}

bool FunctionMenu::Selectable(int index) const {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return false;
  const MenuEntry* entry = entries_[static_cast<std::size_t>(index)];
  return !entry->isHidden() && entry->isEnabled();
}

void FunctionMenu::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kCard);
  painter.setPen(kRule);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  // The skin's accent: a short cyan rule on the top edge, as on its panels.
  painter.fillRect(QRect(0, 0, width() * 2 / 5, 2), kAccent);
}

void FunctionMenu::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  for (MenuEntry* entry : entries_)
    entry->setVisible(entry->geometry().bottom() < height() - kBorder);
}

// Presses between or beside the entries stay in the panel: they must not
// reach the page below (which would close the menus or move the window).
void FunctionMenu::mousePressEvent(QMouseEvent* event) { event->accept(); }
void FunctionMenu::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

}  // namespace korvex48::gui
