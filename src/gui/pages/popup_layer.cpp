#include "gui/pages/popup_layer.h"

namespace korvex48::gui {

QWidget* PopupLayer(QWidget* page) {
  QWidget* group = page->parentWidget();
  return group && !page->isWindow() ? group : page;
}

void LiftPopup(QWidget* popup, QWidget* page) {
  QWidget* layer = PopupLayer(page);
  QWidget* parent = popup->parentWidget();
  if (parent == layer) return;
  const QPoint at = parent ? parent->mapTo(layer, popup->pos()) : popup->pos();
  popup->setParent(layer);  // hides it
  popup->move(at);
}

void ShowPopupOnTop(QWidget* popup, QPoint at) {
  popup->move(at);
  popup->show();
  popup->raise();
}

}  // namespace korvex48::gui
