#pragma once
// The window's controls by objectName, built once after every control exists,
// so the layout and language appliers look names up in a hash instead of
// searching the widget tree for each of their several hundred keys.
//
// A lookup of a name the window does not have (or of a control of another
// type) is kept in Missing(): the appliers skip such a name, and the tests
// check that no table or handler names a control that is not there.
#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace korvex48::gui {

class ControlIndex {
 public:
  // Indexes every named descendant of `root`. Names are unique in the window;
  // when a name occurs twice the first found is kept.
  explicit ControlIndex(QWidget* root);

  // Indexes the named descendants of `root` (controls made after the index);
  // names found now leave Missing().
  void Add(QWidget* root);

  // The control, or nullptr when no control has that name.
  QWidget* Find(const QString& name) const {
    QWidget* found = controls_.value(name, nullptr);
    if (!found) NoteMissing(name);
    return found;
  }
  // The control as a T, or nullptr when there is none or it is no T.
  template <typename T>
  T* Get(const QString& name) const {
    QWidget* found = Find(name);
    T* typed = qobject_cast<T*>(found);
    if (found && !typed)
      NoteMissing(name + QStringLiteral(" (not a ") +
                  QLatin1String(T::staticMetaObject.className()) + QLatin1Char(')'));
    return typed;
  }
  int Size() const { return static_cast<int>(controls_.size()); }

  // Names looked up and not found, each once, in the order first asked.
  const QStringList& Missing() const { return missing_; }

 private:
  void NoteMissing(const QString& name) const {
    if (!missing_.contains(name)) missing_.append(name);
  }

  QHash<QString, QWidget*> controls_;
  mutable QStringList missing_;
};

}  // namespace korvex48::gui
