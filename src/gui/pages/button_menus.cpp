#include "gui/pages/button_menus.h"

#include <algorithm>

#include "core/buttons/function_menus.h"
#include "core/buttons/menu_placement.h"

namespace korvex48::gui {
namespace {

// LB_Name shows this many rows at most and scrolls the rest.
constexpr int kMacroRowsShown = 10;

MenuRect ToMenuRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

MenuEntry::Kind KindOf(MenuEntryKind kind) {
  switch (kind) {
    case MenuEntryKind::kCategory:
      return MenuEntry::Kind::kCategory;
    case MenuEntryKind::kDialog:
      return MenuEntry::Kind::kDialog;
    case MenuEntryKind::kFunction:
      break;
  }
  return MenuEntry::Kind::kFunction;
}

// The macro list in the skin's colours, like the function panels.
const QString kMacroListStyle = QStringLiteral(
    "QListWidget { background: rgb(16,21,28); color: rgb(226,236,246);"
    " border: 1px solid rgb(44,57,72); border-top: 2px solid rgb(0,229,255); outline: 0; }"
    "QListWidget::item { height: 24px; padding-left: 4px; }"
    "QListWidget::item:hover, QListWidget::item:selected { background: rgb(0,128,128);"
    " color: white; }"
    "QScrollBar:vertical { background: rgb(9,12,16); width: 8px; }"
    "QScrollBar::handle:vertical { background: rgb(0,150,175); min-height: 20px; }"
    "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }");

}  // namespace

ButtonMenus::ButtonMenus(QWidget* page) : QObject(page), page_(page) {
  main_ = AddMenu(MainMenuData());
  for (const FunctionMenuData& data : SubmenuData()) submenus_[data.category] = AddMenu(data);

  macro_list_ = new QListWidget(page);
  macro_list_->setObjectName(QStringLiteral("LB_Name"));
  macro_list_->setStyleSheet(kMacroListStyle);
  macro_list_->setMouseTracking(true);
  macro_list_->setFocusPolicy(Qt::NoFocus);
  macro_list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  macro_list_->setFixedWidth(FunctionMenu::kWidth);
  macro_list_->hide();
  connect(macro_list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { Q_EMIT macroChosen(macro_list_->row(item)); });
}

FunctionMenu* ButtonMenus::AddMenu(const FunctionMenuData& data) {
  auto* menu = new FunctionMenu(Latin1(data.object_name), page_);
  for (const MenuEntryData& entry : data.entries)
    ConnectEntry(menu, menu->Add(Latin1(MenuEntryName(entry)), entry.tag, KindOf(entry.kind)));
  return menu;
}

FunctionMenu* ButtonMenus::Submenu(int category) const {
  const auto it = submenus_.find(category);
  return it == submenus_.end() ? nullptr : it->second;
}

void ButtonMenus::ConnectEntry(FunctionMenu* menu, MenuEntry* entry) {
  switch (entry->EntryKind()) {
    case MenuEntry::Kind::kCategory:
      connect(entry, &MenuEntry::entered, this, [this, menu, entry] { OpenCategory(menu, entry); });
      // A click opens the category as the pointer does (touch screens).
      connect(entry, &MenuEntry::clicked, this, [this, menu, entry] { OpenCategory(menu, entry); });
      connect(entry, &MenuEntry::left, entry, [entry] { entry->SetLit(false); });
      return;
    case MenuEntry::Kind::kDialog:
      connect(entry, &MenuEntry::entered, this, [this, entry] {
        entry->SetLit(true);
        HideSubmenus(false);
      });
      connect(entry, &MenuEntry::left, entry, [entry] { entry->SetLit(false); });
      connect(entry, &MenuEntry::clicked, this, [this] { Q_EMIT assemblyChosen(); });
      return;
    case MenuEntry::Kind::kFunction:
      connect(entry, &MenuEntry::entered, this, [this, menu, entry] {
        entry->SetLit(true);
        // Any other entry of the Special menu closes the fire keys.
        if (menu == Submenu(kMenuCategorySpecial)) Submenu(kMenuCategoryFire)->hide();
      });
      connect(entry, &MenuEntry::left, entry, [entry] { entry->SetLit(false); });
      connect(entry, &MenuEntry::clicked, this, [this, entry] {
        if (entry->isEnabled()) Q_EMIT functionChosen(entry->Tag());
      });
      return;
  }
}

void ButtonMenus::OpenCategory(FunctionMenu* menu, MenuEntry* entry) {
  entry->SetLit(true);
  const int category = entry->Tag();
  HideSubmenus(category == kMenuCategoryFire);
  if (category == kMenuCategoryMacro) {
    if (macro_list_->count() == 0) return;
    Place(macro_list_, menu, entry);
    return;
  }
  if (FunctionMenu* submenu = Submenu(category)) Place(submenu, menu, entry);
}

void ButtonMenus::HideSubmenus(bool keep_special) {
  for (const auto& [category, panel] : submenus_)
    if (!(keep_special && category == kMenuCategorySpecial)) panel->hide();
  macro_list_->hide();
}

void ButtonMenus::Place(QWidget* panel, FunctionMenu* beside, MenuEntry* entry) {
  const QRect entry_rect(entry->mapTo(page_, QPoint(0, 0)), entry->size());
  const MenuRect at = PlaceSubmenu(ToMenuRect(beside->geometry()), ToMenuRect(entry_rect),
                                   panel->width(), panel->height());
  panel->move(at.x, at.y);
  panel->show();
  panel->raise();
}

void ButtonMenus::Open(const QRect& label) {
  HideAll();
  const MenuRect at = PlaceMainMenu(ToMenuRect(label), main_->width(), main_->height());
  main_->move(at.x, at.y);
  main_->show();
  main_->raise();
}

void ButtonMenus::HideAll() {
  main_->hide();
  HideSubmenus(false);
  for (MenuEntry* entry : main_->Entries()) entry->SetLit(false);
  for (const auto& [category, panel] : submenus_)
    for (MenuEntry* entry : panel->Entries()) entry->SetLit(false);
}

bool ButtonMenus::AnyShown() const {
  if (!main_->isHidden() || !macro_list_->isHidden()) return true;
  for (const auto& [category, panel] : submenus_)
    if (!panel->isHidden()) return true;
  return false;
}

void ButtonMenus::SetSwitchEntryAllowed(bool allowed) {
  for (MenuEntry* entry : Submenu(kMenuCategorySpecial)->Entries())
    if (entry->Tag() == kMenuTagSwitchKey) entry->setEnabled(allowed);
}

void ButtonMenus::SetMacroNames(const QStringList& names) {
  QStringList shown;
  for (int i = 0; i < macro_list_->count(); ++i) shown.append(macro_list_->item(i)->text());
  if (shown != names) {
    macro_list_->clear();
    macro_list_->addItems(names);
  }
  const int rows = std::min(static_cast<int>(names.size()), kMacroRowsShown);
  macro_list_->setFixedHeight(rows * FunctionMenu::kEntryHeight + 3);
}

}  // namespace korvex48::gui
