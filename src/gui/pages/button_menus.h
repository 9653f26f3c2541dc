#pragma once
// The cascading menus of the button page: the main menu Pnl_Main, its
// submenus Pnl_MseKey, Pnl_Special (with Pnl_FireKey inside), Pnl_Media,
// Pnl_WWW and Pnl_MyPC, and the device macro list LB_Name. They open and
// close as the pointer moves over the categories (KeyByTagMouseEnter) and
// report the entry the user picks; what a pick does to the button is the
// page editor's business (ButtonCommands).
#include <QListWidget>
#include <QObject>
#include <QRect>
#include <QStringList>
#include <map>

#include "core/buttons/function_menus.h"
#include "gui/pages/function_menu.h"

namespace korvex48::gui {

class ButtonMenus : public QObject {
  Q_OBJECT

 public:
  // The panels become (hidden) children of `page`, whose coordinates are the
  // window's.
  explicit ButtonMenus(QWidget* page);

  // ShowPnlMain_OnClick: every menu hidden, then Pnl_Main at the centre of
  // `label`, flipped left or up near the window's edges.
  void Open(const QRect& label);
  // HideAllMenu (the macro page's pop-ups are closed by their own page).
  void HideAll();
  bool AnyShown() const;

  // Key_Profile (KB Switch Key) can be picked only while allowed.
  void SetSwitchEntryAllowed(bool allowed);
  // The device macros LB_Name offers; with none, the Macro entry opens nothing.
  void SetMacroNames(const QStringList& names);

  FunctionMenu* Main() const { return main_; }
  FunctionMenu* Submenu(int category) const;  // by category tag 1..6
  QListWidget* MacroList() const { return macro_list_; }

 Q_SIGNALS:
  // KeyStatusOnClick: an entry with a function tag.
  void functionChosen(int tag);
  // Key_AssemblyClick: User-defined.
  void assemblyChosen();
  // LB_NameClick: a row of LB_Name.
  void macroChosen(int row);

 private:
  FunctionMenu* AddMenu(const FunctionMenuData& data);
  void ConnectEntry(FunctionMenu* menu, MenuEntry* entry);
  void OpenCategory(FunctionMenu* menu, MenuEntry* entry);
  void HideSubmenus(bool keep_special);
  void Place(QWidget* panel, FunctionMenu* beside, MenuEntry* entry);

  QWidget* page_;
  FunctionMenu* main_;
  std::map<int, FunctionMenu*> submenus_;  // category tag -> panel
  QListWidget* macro_list_;
};

}  // namespace korvex48::gui
