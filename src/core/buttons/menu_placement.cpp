#include "core/buttons/menu_placement.h"

#include <algorithm>

namespace korvex48 {

MenuRect PlaceMainMenu(const MenuRect& label, int width, int height) {
  MenuRect menu{label.x + label.width / 2, label.y + label.height / 2, width, height};
  if (label.Right() + width >= kMenuWindowWidth) menu.x -= width;
  if (label.Bottom() + height >= kMenuWindowHeight) menu.y -= height;
  return menu;
}

MenuRect PlaceSubmenu(const MenuRect& parent, const MenuRect& entry, int width, int height) {
  MenuRect menu{parent.Right(), entry.y, width, height};
  if (menu.Right() > kMenuWindowWidth) menu.x = parent.x - width;
  if (menu.Bottom() > kMenuWindowHeight) menu.y = entry.Bottom() - height;
  // A panel is part of the window: outside it, it would be cut off.
  menu.x = std::max(0, menu.x);
  menu.y = std::max(0, menu.y);
  return menu;
}

}  // namespace korvex48
