#pragma once
// Controls that cannot be used now (a disabled DPI level, the step time while
// the lights are off) are drawn faded: the skin pictures have no disabled
// look of their own.
#include <QGraphicsOpacityEffect>
#include <QWidget>

namespace korvex48::gui {

inline void SetFaded(QWidget* widget, bool faded) {
  if (!faded) {
    widget->setGraphicsEffect(nullptr);
    return;
  }
  if (widget->graphicsEffect()) return;
  auto* effect = new QGraphicsOpacityEffect(widget);
  effect->setOpacity(0.35);
  widget->setGraphicsEffect(effect);
}

}  // namespace korvex48::gui
