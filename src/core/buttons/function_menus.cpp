#include "core/buttons/function_menus.h"

#include <iterator>

#include "core/buttons/key_codes.h"

namespace korvex48 {
namespace {

constexpr MenuEntryKind kCategory = MenuEntryKind::kCategory;

constexpr MenuEntryData kMainEntries[] = {
    {kMenuCategoryStandard, kCategory}, {kMenuCategorySpecial, kCategory},
    {kMenuCategoryMedia, kCategory},    {kMenuCategoryWww, kCategory},
    {kMenuCategoryMyPc, kCategory},     {0, MenuEntryKind::kDialog},
    {kMenuCategoryMacro, kCategory},
};
constexpr int kMainRows = static_cast<int>(std::size(kMainEntries));
// The rows above Key_Macro.
constexpr int kMainRowsWithoutMacro = kMainRows - 1;

constexpr MenuEntryData kStandardEntries[] = {{900}, {901}, {902}, {903}, {904}};
constexpr MenuEntryData kSpecialEntries[] = {
    {kMenuCategoryFire, kCategory},
    {1001},
    {kMenuTagSwitchKey},
    {1004},
    {1006},
    {1009},
    {1003},
    {1007},
    {1008},
    {1005},
};
constexpr MenuEntryData kFireEntries[] = {{1500}, {1501}, {1502}};
constexpr MenuEntryData kMediaEntries[] = {{1300}, {1301}, {1302}, {1303}, {1304}, {1305}, {1306}};
constexpr MenuEntryData kWwwEntries[] = {{1400}, {1401}, {1402}, {1403}, {1404}, {1405}, {1406}};
constexpr MenuEntryData kMyPcEntries[] = {{1100}, {1101}, {1102}, {1103}};

constexpr FunctionMenuData kMain{"Pnl_Main", 0, kMainEntries};
constexpr FunctionMenuData kSubmenus[] = {
    {"Pnl_MseKey", kMenuCategoryStandard, kStandardEntries},
    {"Pnl_Special", kMenuCategorySpecial, kSpecialEntries},
    {"Pnl_FireKey", kMenuCategoryFire, kFireEntries},
    {"Pnl_Media", kMenuCategoryMedia, kMediaEntries},
    {"Pnl_WWW", kMenuCategoryWww, kWwwEntries},
    {"Pnl_MyPC", kMenuCategoryMyPc, kMyPcEntries},
};

}  // namespace

std::string_view MenuEntryName(const MenuEntryData& entry) {
  if (entry.kind == MenuEntryKind::kFunction) {
    const KeyMenuItem* item = FindKeyMenuItem(entry.tag);
    return item ? item->objectName : std::string_view();
  }
  const int category = entry.kind == MenuEntryKind::kDialog ? 0 : entry.tag;
  for (const KeyMenuCategory& c : KeyMenuCategories())
    if (c.tag == category) return c.objectName;
  return {};
}

const FunctionMenuData& MainMenuData() { return kMain; }
std::span<const FunctionMenuData> SubmenuData() { return kSubmenus; }

std::optional<int> MainMenuRowsOfVariant(std::uint8_t variant) {
  switch (variant) {
    case 1:
      return kMainRowsWithoutMacro;
    case 4:
    case 16:
    case 17:
    case 22:
      return kMainRows;
    default:
      return std::nullopt;
  }
}

std::optional<int> MainMenuHeightOfVariant(std::uint8_t variant) {
  const std::optional<int> rows = MainMenuRowsOfVariant(variant);
  if (!rows) return std::nullopt;
  return MenuHeightOfRows(*rows);
}

bool VariantOffersMacroRow(std::uint8_t variant) {
  const std::optional<int> rows = MainMenuRowsOfVariant(variant);
  return !rows || *rows == kMainRows;
}

}  // namespace korvex48
