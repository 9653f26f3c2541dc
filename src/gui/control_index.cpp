#include "gui/control_index.h"

namespace korvex48::gui {

ControlIndex::ControlIndex(QWidget* root) {
  const auto children = root->findChildren<QWidget*>();
  controls_.reserve(children.size());
  for (QWidget* child : children) {
    const QString name = child->objectName();
    if (!name.isEmpty() && !controls_.contains(name)) controls_.insert(name, child);
  }
}

}  // namespace korvex48::gui
