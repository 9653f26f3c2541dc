#pragma once
// The button page's function menus as data: which panels there are, the
// entries of each (by object name, the tag of the function or the category
// they open, and what a click on them does), their size in window pixels,
// and how many rows of the main menu a chip variant offers. The GUI builds
// its panels from this and decides none of it; the page editor refuses what
// the menu of the mouse does not offer.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvex48 {

// Categories: the tags of the entries that open a submenu (KeyMenuCategories).
inline constexpr int kMenuCategoryStandard = 1;
inline constexpr int kMenuCategorySpecial = 2;
inline constexpr int kMenuCategoryMedia = 3;
inline constexpr int kMenuCategoryWww = 4;
inline constexpr int kMenuCategoryFire = 5;
inline constexpr int kMenuCategoryMyPc = 6;
inline constexpr int kMenuCategoryMacro = 7;  // opens the device macro list LB_Name

// The KB Switch Key entry (Key_Profile), offered only where the profile's
// rules allow it.
inline constexpr int kMenuTagSwitchKey = 1002;

enum class MenuEntryKind {
  kFunction,  // gives the button the function `tag` (KeyMenuItems)
  kCategory,  // opens the submenu of category `tag`
  kDialog,    // User-defined: opens the key-combination dialog
};

struct MenuEntryData {
  int tag = 0;  // the function's tag (KeyMenuItems) or the category's; 0 for the dialog
  MenuEntryKind kind = MenuEntryKind::kFunction;
};

// The entry's object name (Key_Left, Key_Special, Key_Assembly, ...): that of
// its function (KeyMenuItems) or category (KeyMenuCategories); empty for a
// tag neither table has.
std::string_view MenuEntryName(const MenuEntryData& entry);

struct FunctionMenuData {
  std::string_view object_name;  // Pnl_Main, Pnl_MseKey, ...
  int category = 0;              // the category that opens it; 0 for Pnl_Main
  std::span<const MenuEntryData> entries;
};

// Panel geometry: a column of entries inside a one-pixel border.
inline constexpr int kMenuWidth = 190;
inline constexpr int kMenuEntryHeight = 24;
inline constexpr int kMenuBorder = 1;
// Height of a panel showing `rows` entries.
constexpr int MenuHeightOfRows(int rows) { return 2 * kMenuBorder + rows * kMenuEntryHeight; }

// Pnl_Main: Standard, Special, Media, WWW, PC, User-defined, Macro.
const FunctionMenuData& MainMenuData();
// The submenus, each opened by its category: Pnl_MseKey, Pnl_Special (which
// holds the Fire category), Pnl_FireKey, Pnl_Media, Pnl_WWW, Pnl_MyPC.
std::span<const FunctionMenuData> SubmenuData();

// Rows of Pnl_Main a chip variant offers: all 7 for variants 4, 16, 17 and
// 22; 6 for variant 1, whose mice take no macros on their buttons (the Macro
// row is cut off); nullopt for other variants, which leave the menu as it is.
std::optional<int> MainMenuRowsOfVariant(std::uint8_t variant);
// Pnl_Main's height for the variant in pixels (146 or 170), or nullopt.
std::optional<int> MainMenuHeightOfVariant(std::uint8_t variant);
// False for a variant whose menu cuts off the Macro row.
bool VariantOffersMacroRow(std::uint8_t variant);

}  // namespace korvex48
