#pragma once
// The cascading menus of the button page: the main menu Pnl_Main, its
// submenus Pnl_MseKey, Pnl_Special (with Pnl_FireKey inside), Pnl_Media,
// Pnl_WWW and Pnl_MyPC, and the device macro list LB_Name. They open and
// close as the pointer moves over the categories (OpenCategory) or as
// the keys ask (menu_keys.h), and report the entry the user picks; what a
// pick does to the button is the page editor's business (ButtonCommands).
//
// The menus lie above every other control of the window, the navigation bar
// included (popup_layer.h), and inside the window: the main menu flips left
// or up near the window's right or bottom edge, a submenu opens left of its
// menu or moves up when it would cross those edges (menu_placement.h).
//
// The menu that opens takes the keyboard focus; when the menus close, the
// focus goes back to the control that had it before.
#include <QListWidget>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <map>

#include "core/buttons/function_menus.h"
#include "gui/pages/function_menu.h"
#include "gui/pages/menu_keys.h"

namespace korvex48::gui {

class ButtonMenus : public QObject {
  Q_OBJECT

 public:
  // The panels become (hidden) children of the widget `page`'s pop-ups lie
  // on (its page group), whose coordinates are the window's.
  explicit ButtonMenus(QWidget* page);

  // OpenFunctionMenu: every menu hidden, then Pnl_Main at the centre of
  // `label` (in the page's coordinates), flipped left or up near the
  // window's edges, with the keyboard focus and no entry current.
  void Open(const QRect& label);
  // CloseMenus (the macro page's pop-ups are closed by their own page).
  void HideAll();
  bool AnyShown() const;

  // Key_Profile (KB Switch Key) can be picked only while allowed.
  void SetSwitchEntryAllowed(bool allowed);
  // The device macros LB_Name offers; with none, the Macro entry opens nothing.
  // Up to 15 rows show at once (every macro of the packed layout); more scroll.
  void SetMacroNames(const QStringList& names);

  FunctionMenu* Main() const { return main_; }
  FunctionMenu* Submenu(int category) const;  // by category tag 1..6
  QListWidget* MacroList() const { return macro_list_; }

 Q_SIGNALS:
  // ChooseMenuFunction: an entry with a function tag.
  void functionChosen(int tag);
  // OpenKeyCombinationDialog: User-defined.
  void assemblyChosen();
  // AssignDeviceMacroToButton: a row of LB_Name.
  void macroChosen(int row);

 protected:
  // The menu keys of the panels and of LB_Name.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The menu and the category entry a submenu (or LB_Name) was opened from.
  struct Opener {
    FunctionMenu* menu = nullptr;
    MenuEntry* entry = nullptr;
  };

  FunctionMenu* AddMenu(const FunctionMenuData& data);
  void ConnectEntry(FunctionMenu* menu, MenuEntry* entry);
  // A category entry opens its submenu beside it; by a key, the submenu takes
  // the focus with its first entry current.
  void OpenCategory(FunctionMenu* menu, MenuEntry* entry, bool by_key);
  // The pointer (or a key) made `entry` of `menu` the current one.
  void EnterEntry(FunctionMenu* menu, MenuEntry* entry);
  void HideSubmenus(bool keep_special);
  void Place(QWidget* panel, FunctionMenu* beside, MenuEntry* entry);
  // Moves the menus onto the page's pop-up layer when the page was placed
  // after they were made.
  void Lift();
  bool IsMenuWidget(const QWidget* widget) const;

  bool MenuKeyPressed(FunctionMenu* menu, MenuKey key);
  bool MacroListKeyPressed(MenuKey key);
  void Pick(FunctionMenu* menu, MenuEntry* entry, bool by_key);
  // Left or Escape in a submenu or LB_Name: it closes and the menu it was
  // opened from takes the focus, its category entry current.
  void CloseSubmenu(QWidget* panel);
  void FocusMenu(QWidget* panel);

  QWidget* page_;
  FunctionMenu* main_;
  std::map<int, FunctionMenu*> submenus_;  // category tag -> panel
  QListWidget* macro_list_;
  std::map<QWidget*, Opener> opened_from_;
  QPointer<QWidget> return_focus_;
  bool closing_ = false;
};

}  // namespace korvex48::gui
