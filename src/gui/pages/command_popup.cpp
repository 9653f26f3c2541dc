#include "gui/pages/command_popup.h"

#include <QKeyEvent>
#include <algorithm>

#include "gui/control_access.h"
#include "gui/focus_return.h"
#include "gui/pages/menu_keys.h"
#include "gui/pages/popup_layer.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {

CommandPopup::CommandPopup(const QString& name, const QStringList& commands, QWidget* page)
    : QFrame(page) {
  setObjectName(name);
  setAutoFillBackground(true);
  setFrameShape(QFrame::Box);
  setLineWidth(1);
  setFocusPolicy(Qt::ClickFocus);
  resize(112 + 2, 20 * static_cast<int>(commands.size()) + 2);
  int y = 1;
  for (const QString& command : commands) {
    auto* label = new TextLabel(command, this);
    SetRole(label, QAccessible::MenuItem);
    label->setGeometry(1, y, 112, 20);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setIndent(8);
    y += 20;
    const int index = static_cast<int>(commands_.size());
    commands_.push_back(label);
    // The pointer makes its command the current one; the command the keys
    // had lit goes out.
    connect(label, &TextLabel::entered, this, [this, index] {
      if (current_ == index) return;
      if (current_ >= 0) Q_EMIT commands_[static_cast<std::size_t>(current_)]->left();
      current_ = index;
      SetCurrentEntry(commands_[static_cast<std::size_t>(index)], true);
    });
    connect(label, &TextLabel::left, this, [this, index] {
      SetCurrentEntry(commands_[static_cast<std::size_t>(index)], false);
      if (current_ == index) current_ = -1;
    });
  }
  SetRole(this, QAccessible::PopupMenu);
  hide();
}

void CommandPopup::OpenAt(QWidget* page, QPoint global) {
  LiftPopup(this, page);
  QWidget* layer = parentWidget();
  QPoint at = layer->mapFromGlobal(global);
  at.setX(std::clamp(at.x(), 0, std::max(0, layer->width() - width())));
  at.setY(std::clamp(at.y(), 0, std::max(0, layer->height() - height())));
  SetCurrent(-1);
  QWidget* focused = window()->focusWidget();
  if (focused != this) return_focus_ = focused;
  ShowPopupOnTop(this, at);
  setFocus(Qt::PopupFocusReason);
  AnnounceMenu(this, true);
}

bool CommandPopup::Selectable(int index) const {
  const TextLabel* label = commands_[static_cast<std::size_t>(index)];
  return !label->isHidden() && label->isEnabled();
}

void CommandPopup::SetCurrent(int index) {
  if (index == current_) return;
  if (current_ >= 0) Q_EMIT commands_[static_cast<std::size_t>(current_)]->left();
  current_ = index;
  if (current_ >= 0) Q_EMIT commands_[static_cast<std::size_t>(current_)]->entered();
}

void CommandPopup::keyPressEvent(QKeyEvent* event) {
  const MenuKey key = MenuKeyOf(*event);
  switch (key) {
    case MenuKey::kUp:
    case MenuKey::kDown:
    case MenuKey::kHome:
    case MenuKey::kEnd: {
      const int to = MenuStep(key, current_, static_cast<int>(commands_.size()),
                              [this](int i) { return Selectable(i); });
      if (to >= 0) SetCurrent(to);
      break;
    }
    case MenuKey::kPick:
      if (current_ >= 0 && Selectable(current_))
        Q_EMIT commands_[static_cast<std::size_t>(current_)]->clicked();
      break;
    case MenuKey::kEscape:
      hide();
      break;
    case MenuKey::kLeft:
    case MenuKey::kRight:
      break;  // no submenus
    case MenuKey::kOther:
      QFrame::keyPressEvent(event);
      return;
  }
  event->accept();
}

void CommandPopup::hideEvent(QHideEvent* event) {
  QFrame::hideEvent(event);
  SetCurrent(-1);
  AnnounceMenu(this, false);
  // Back to where the focus was, before hiding passes it on to the next
  // control.
  if (window()->focusWidget() != this) return;
  if (return_focus_ && return_focus_->isVisible())
    return_focus_->setFocus(Qt::PopupFocusReason);
  else
    FocusFirstControl(parentWidget(), Qt::PopupFocusReason);
}

}  // namespace korvex48::gui
