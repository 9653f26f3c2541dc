#pragma once
// The window's controls by objectName, built once after every control exists,
// so the layout and language appliers look names up in a hash instead of
// searching the widget tree for each of their several hundred keys.
#include <QHash>
#include <QString>
#include <QWidget>

namespace korvex48::gui {

class ControlIndex {
 public:
  // Indexes every named descendant of `root`. Names are unique in the window;
  // when a name occurs twice the first found is kept.
  explicit ControlIndex(QWidget* root);

  // The control, or nullptr when no control has that name.
  QWidget* Find(const QString& name) const { return controls_.value(name, nullptr); }
  template <typename T>
  T* Get(const QString& name) const {
    return qobject_cast<T*>(Find(name));
  }
  int Size() const { return static_cast<int>(controls_.size()); }

 private:
  QHash<QString, QWidget*> controls_;
};

}  // namespace korvex48::gui
