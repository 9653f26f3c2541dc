#include "gui/window_pointer.h"

#include <QGuiApplication>
#include <QStyleHints>

namespace korvex48::gui {

void WindowPointer::Read(PointerValues& values) {
  const QStyleHints* hints = QGuiApplication::styleHints();
  values.double_click = hints->mouseDoubleClickInterval();
  values.wheel_lines = hints->wheelScrollLines();
}

std::string WindowPointer::Apply(const PointerValues& values) {
  QStyleHints* hints = QGuiApplication::styleHints();
  if (values.double_click) hints->setMouseDoubleClickInterval(*values.double_click);
  if (values.wheel_lines) hints->setWheelScrollLines(*values.wheel_lines);
  return {};
}

}  // namespace korvex48::gui
