// The keys of the button function menus and of LB_Name (menu_keys.h).
#include <QKeyEvent>

#include "gui/control_access.h"
#include "gui/pages/button_menus.h"

namespace korvex48::gui {

bool ButtonMenus::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
    // The category entry that opened a submenu says whether it is open.
    const auto it = opened_from_.find(qobject_cast<QWidget*>(watched));
    if (it != opened_from_.end() && it->second.entry)
      SetSubmenuOpen(it->second.entry, event->type() == QEvent::Show);
    if (watched == macro_list_) AnnounceMenu(macro_list_, event->type() == QEvent::Show);
  }
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const MenuKey key = MenuKeyOf(*static_cast<QKeyEvent*>(event));
  if (key == MenuKey::kOther) return QObject::eventFilter(watched, event);
  if (watched == macro_list_) return MacroListKeyPressed(key);
  if (auto* menu = qobject_cast<FunctionMenu*>(watched)) return MenuKeyPressed(menu, key);
  return QObject::eventFilter(watched, event);
}

bool ButtonMenus::MenuKeyPressed(FunctionMenu* menu, MenuKey key) {
  const int count = static_cast<int>(menu->Entries().size());
  const int current = menu->Current();
  MenuEntry* entry = current >= 0 ? menu->Entries()[static_cast<std::size_t>(current)] : nullptr;
  switch (key) {
    case MenuKey::kUp:
    case MenuKey::kDown:
    case MenuKey::kHome:
    case MenuKey::kEnd: {
      const int to = MenuStep(key, current, count, [menu](int i) { return menu->Selectable(i); });
      // Moving on closes what the entry left behind had opened; a category
      // opens its submenu only by Right or Return.
      if (to >= 0) EnterEntry(menu, menu->Entries()[static_cast<std::size_t>(to)]);
      return true;
    }
    case MenuKey::kRight:
      if (entry && entry->EntryKind() == MenuEntry::Kind::kCategory) Pick(menu, entry, true);
      return true;
    case MenuKey::kPick:
      Pick(menu, entry, true);
      return true;
    case MenuKey::kLeft:
      if (menu != main_) CloseSubmenu(menu);
      return true;
    case MenuKey::kEscape:
      if (menu == main_)
        HideAll();
      else
        CloseSubmenu(menu);
      return true;
    case MenuKey::kOther:
      break;
  }
  return false;
}

bool ButtonMenus::MacroListKeyPressed(MenuKey key) {
  const int count = macro_list_->count();
  const int current = macro_list_->selectedItems().isEmpty() ? -1 : macro_list_->currentRow();
  switch (key) {
    case MenuKey::kUp:
    case MenuKey::kDown:
    case MenuKey::kHome:
    case MenuKey::kEnd: {
      const int to = MenuStep(key, current, count, [](int) { return true; });
      if (to >= 0) {
        macro_list_->setCurrentRow(to);
        macro_list_->scrollToItem(macro_list_->item(to));
      }
      return true;
    }
    case MenuKey::kPick:
      if (current >= 0) Q_EMIT macroChosen(current);
      return true;
    case MenuKey::kLeft:
    case MenuKey::kEscape:
      CloseSubmenu(macro_list_);
      return true;
    case MenuKey::kRight:
      return true;
    case MenuKey::kOther:
      break;
  }
  return false;
}

void ButtonMenus::CloseSubmenu(QWidget* panel) {
  const auto it = opened_from_.find(panel);
  FunctionMenu* parent = it == opened_from_.end() ? main_ : it->second.menu;
  MenuEntry* category = it == opened_from_.end() ? nullptr : it->second.entry;
  // The parent takes the focus first: the panel it leaves hides with nothing
  // focused in it.
  FocusMenu(parent);
  // With the submenus it opened (Fire Key's inside Special Key).
  for (const auto& [opened, opener] : opened_from_)
    if (opener.menu == panel) opened->hide();
  panel->hide();
  if (auto* menu = qobject_cast<FunctionMenu*>(panel)) menu->SetCurrent(-1);
  if (category) parent->SetCurrent(parent->IndexOf(category));
}

}  // namespace korvex48::gui
