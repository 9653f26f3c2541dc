#include "gui/pages/menu_keys.h"

#include <QKeyEvent>

namespace korvex48::gui {

MenuKey MenuKeyOf(const QKeyEvent& event) {
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
    return MenuKey::kOther;
  switch (event.key()) {
    case Qt::Key_Up:
      return MenuKey::kUp;
    case Qt::Key_Down:
      return MenuKey::kDown;
    case Qt::Key_Home:
      return MenuKey::kHome;
    case Qt::Key_End:
      return MenuKey::kEnd;
    case Qt::Key_Right:
      return MenuKey::kRight;
    case Qt::Key_Left:
      return MenuKey::kLeft;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return MenuKey::kPick;
    case Qt::Key_Escape:
      return MenuKey::kEscape;
    default:
      return MenuKey::kOther;
  }
}

int MenuStep(MenuKey key, int current, int count, const std::function<bool(int)>& selectable) {
  int from = current;
  int step = 0;
  switch (key) {
    case MenuKey::kDown:
      step = 1;
      if (from < 0 || from >= count) from = -1;
      break;
    case MenuKey::kUp:
      step = -1;
      if (from < 0 || from >= count) from = count;
      break;
    case MenuKey::kHome:
      step = 1;
      from = -1;
      break;
    case MenuKey::kEnd:
      step = -1;
      from = count;
      break;
    default:
      return current;
  }
  // Home and End do not wrap: they stop at the first selectable entry met.
  const bool wraps = key == MenuKey::kDown || key == MenuKey::kUp;
  int at = from;
  for (int tried = 0; tried < count; ++tried) {
    at += step;
    if (at < 0 || at >= count) {
      if (!wraps) return -1;
      at = step > 0 ? 0 : count - 1;
    }
    if (selectable(at)) return at;
  }
  return -1;
}

}  // namespace korvex48::gui
