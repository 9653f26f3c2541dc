#pragma once
// The keys of the editor's pop-up menus (the button function menus, the
// device macro list LB_Name and the macro page's command pop-ups), as in any
// desktop menu: Up and Down move between the entries and wrap around the
// ends, Home and End go to the first and the last, Right opens the current
// entry's submenu, Left closes a submenu, Return (or Enter) picks the current
// entry and Escape closes the menu.
#include <functional>

class QKeyEvent;

namespace korvex48::gui {

enum class MenuKey { kOther, kUp, kDown, kHome, kEnd, kRight, kLeft, kPick, kEscape };

// What `event` asks of a menu; kOther for any other key and for keys held
// with Ctrl, Alt or Meta.
MenuKey MenuKeyOf(const QKeyEvent& event);

// The entry a move key (Up, Down, Home, End) leads to from `current` among
// `count` entries, of which only those for which `selectable` holds can become
// current. Down and Up step to the next selectable entry in their direction,
// wrapping around the ends; from no current entry (-1) Down goes to the first
// and Up to the last. Home and End go to the first and the last selectable
// entry. -1 when no entry is selectable; `current` for any other key.
int MenuStep(MenuKey key, int current, int count, const std::function<bool(int)>& selectable);

}  // namespace korvex48::gui
