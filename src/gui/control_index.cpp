#include "gui/control_index.h"

namespace korvex48::gui {

ControlIndex::ControlIndex(QWidget* root) { Add(root); }

void ControlIndex::Add(QWidget* root) {
  for (QWidget* child : root->findChildren<QWidget*>()) {
    const QString name = child->objectName();
    if (name.isEmpty() || controls_.contains(name)) continue;
    controls_.insert(name, child);
    missing_.removeAll(name);
  }
}

}  // namespace korvex48::gui
