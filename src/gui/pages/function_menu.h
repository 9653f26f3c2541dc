#pragma once
// One panel of the button function menus (Pnl_Main and its submenus): a
// column of 24-pixel entries drawn in the skin's colours -- a dark card with a
// cyan rule, entries white on teal under the pointer, ">>" beside the
// categories that open a submenu. The entries are named after the functions
// (Key_Left, Key_Special, ...); the language applier gives them their
// " * name" texts. Screen readers read a panel as a menu and its entries as
// menu items (control_access.h): the lit entry is the focused one, and a
// category says that it opens a submenu and whether it is open.
#include <QFrame>
#include <QLabel>
#include <QString>
#include <vector>

#include "core/buttons/function_menus.h"

namespace korvex48::gui {

// One entry: a function (tag of the key function table), a category that
// opens a submenu (its category tag), or User-defined.
class MenuEntry : public QLabel {
  Q_OBJECT

 public:
  enum class Kind { kFunction, kCategory, kDialog };

  MenuEntry(const QString& object_name, int tag, Kind kind, QWidget* parent);

  int Tag() const { return tag_; }
  Kind EntryKind() const { return kind_; }
  // White on teal: under the pointer, or the category whose submenu is open.
  bool Lit() const { return lit_; }
  void SetLit(bool lit);
  // The name a button receives: the text without its first three
  // characters (" * ").
  QString FunctionName() const { return text().mid(3); }

 Q_SIGNALS:
  void clicked();
  void entered();
  void left();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  int tag_;
  Kind kind_;
  bool lit_ = false;
};

class FunctionMenu : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kEntryHeight = kMenuEntryHeight;
  static constexpr int kWidth = kMenuWidth;
  static constexpr int kBorder = kMenuBorder;

  FunctionMenu(const QString& object_name, QWidget* parent);

  // Appends an entry below the others; the panel grows to hold it.
  MenuEntry* Add(const QString& object_name, int tag, MenuEntry::Kind kind);
  const std::vector<MenuEntry*>& Entries() const { return entries_; }
  // Height of the panel with all entries shown (the main menu of some mice
  // is cut shorter).
  int FullHeight() const;

  // The current entry, lit white on teal: the one under the pointer, the one
  // the arrow keys moved to, or the category whose submenu was opened by key.
  // -1 for none. SetCurrent puts out every other entry of the panel.
  int Current() const { return current_; }
  void SetCurrent(int index);
  int IndexOf(const MenuEntry* entry) const;
  // An entry the keys can move to: shown (the main menu of some mice hides
  // its last one) and enabled.
  bool Selectable(int index) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Screen readers hear the menu open and close.
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  // A panel cut shorter than its entries (the main menu of variant 1) hides
  // the entries that do not fit whole, so they cannot be picked either.
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::vector<MenuEntry*> entries_;
  int current_ = -1;
};

}  // namespace korvex48::gui
