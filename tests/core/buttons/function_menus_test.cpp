#include "core/buttons/function_menus.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace korvex48 {
namespace {

// Every entry has an object name for the layout and language tables, every
// category entry opens a submenu of that category, and no name is used twice
// (the tables address the widgets by it).
TEST(FunctionMenus, EveryEntryIsNamedAndEveryCategoryOpensASubmenu) {
  std::set<int> categories;
  for (const FunctionMenuData& menu : SubmenuData()) categories.insert(menu.category);
  std::set<std::string> names;
  auto check = [&](const FunctionMenuData& menu) {
    EXPECT_TRUE(names.insert(std::string(menu.object_name)).second) << menu.object_name;
    for (const MenuEntryData& entry : menu.entries) {
      const std::string name(MenuEntryName(entry));
      EXPECT_FALSE(name.empty()) << menu.object_name << " tag " << entry.tag;
      EXPECT_TRUE(names.insert(name).second) << name;
      if (entry.kind == MenuEntryKind::kCategory && entry.tag != kMenuCategoryMacro) {
        EXPECT_EQ(categories.count(entry.tag), 1u) << name;
      }
    }
  };
  check(MainMenuData());
  for (const FunctionMenuData& menu : SubmenuData()) check(menu);
}

// A variant's row count cuts the main menu from below: Macro is its last row.
TEST(FunctionMenus, VariantsOfferTheirRows) {
  const auto& main = MainMenuData();
  ASSERT_FALSE(main.entries.empty());
  EXPECT_EQ(main.entries.back().tag, kMenuCategoryMacro);
  const struct {
    int variant;
    std::optional<int> height;
    bool macro_row;
  } cases[] = {
      {1, 146, false}, {4, 170, true}, {16, 170, true},         {17, 170, true},
      {22, 170, true}, {0, {}, true},  {2, std::nullopt, true}, {255, std::nullopt, true},
  };
  for (const auto& c : cases) {
    const auto variant = static_cast<std::uint8_t>(c.variant);
    EXPECT_EQ(MainMenuHeightOfVariant(variant), c.height) << c.variant;
    EXPECT_EQ(VariantOffersMacroRow(variant), c.macro_row) << c.variant;
  }
  EXPECT_EQ(MenuHeightOfRows(static_cast<int>(main.entries.size())), 170);
}

}  // namespace
}  // namespace korvex48
