#pragma once
// Where the button function menus open inside the 800 x 600 window: the main
// menu at the centre of the clicked label, flipped left and up near the
// window's right and bottom edges; a submenu beside the entry that opened it,
// on the left of its menu when the right has no room, and aligned with the
// entry's bottom when it would pass the bottom edge. All in window pixels.
namespace korvex48 {

struct MenuRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
  friend bool operator==(const MenuRect&, const MenuRect&) = default;
};

inline constexpr int kMenuWindowWidth = 800;
inline constexpr int kMenuWindowHeight = 600;

// Pnl_Main (width x height) for a click on `label`: its top-left corner at the
// label's centre; moved left by its width when label right + width >= 800,
// up by its height when label bottom + height >= 600.
MenuRect PlaceMainMenu(const MenuRect& label, int width, int height);

// A submenu (width x height) opened from `entry` of the menu `parent`: right
// of the parent at the entry's top, or left of it when parent right + width
// would pass 800; when its bottom would pass 600 its bottom is aligned with
// the entry's. Never placed above or left of the window.
MenuRect PlaceSubmenu(const MenuRect& parent, const MenuRect& entry, int width, int height);

}  // namespace korvex48
