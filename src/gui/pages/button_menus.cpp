#include "gui/pages/button_menus.h"

#include <algorithm>
#include <tuple>

#include "core/buttons/key_codes.h"
#include "core/buttons/menu_placement.h"

namespace korvex48::gui {
namespace {

constexpr int kStandard = 1;
constexpr int kSpecial = 2;
constexpr int kMedia = 3;
constexpr int kWww = 4;
constexpr int kFire = 5;
constexpr int kMyPc = 6;
constexpr int kMacro = 7;
constexpr int kSwitchKeyTag = 1002;
// LB_Name shows this many rows at most and scrolls the rest.
constexpr int kMacroRowsShown = 10;

MenuRect ToMenuRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

QString EntryName(int tag) {
  const KeyMenuItem* item = FindKeyMenuItem(tag);
  return item ? QString::fromLatin1(item->objectName.data(),
                                    static_cast<qsizetype>(item->objectName.size()))
              : QString();
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
  main_ = new FunctionMenu(QStringLiteral("Pnl_Main"), page);
  for (const auto& [name, tag, kind] :
       {std::tuple{"Key_Standard", kStandard, MenuEntry::Kind::kCategory},
        std::tuple{"Key_Special", kSpecial, MenuEntry::Kind::kCategory},
        std::tuple{"Key_Media", kMedia, MenuEntry::Kind::kCategory},
        std::tuple{"Key_WWW", kWww, MenuEntry::Kind::kCategory},
        std::tuple{"Key_MyPC", kMyPc, MenuEntry::Kind::kCategory},
        std::tuple{"Key_Assembly", 0, MenuEntry::Kind::kDialog},
        std::tuple{"Key_Macro", kMacro, MenuEntry::Kind::kCategory}})
    ConnectEntry(main_, main_->Add(QLatin1String(name), tag, kind));

  submenus_[kStandard] = AddMenu(QStringLiteral("Pnl_MseKey"), {900, 901, 902, 903, 904});
  FunctionMenu* special = new FunctionMenu(QStringLiteral("Pnl_Special"), page);
  submenus_[kSpecial] = special;
  ConnectEntry(special,
               special->Add(QStringLiteral("Key_Fire"), kFire, MenuEntry::Kind::kCategory));
  for (int tag : {1001, 1002, 1004, 1006, 1009, 1003, 1007, 1008, 1005})
    ConnectEntry(special, special->Add(EntryName(tag), tag, MenuEntry::Kind::kFunction));
  submenus_[kFire] = AddMenu(QStringLiteral("Pnl_FireKey"), {1500, 1501, 1502});
  submenus_[kMedia] =
      AddMenu(QStringLiteral("Pnl_Media"), {1300, 1301, 1302, 1303, 1304, 1305, 1306});
  submenus_[kWww] = AddMenu(QStringLiteral("Pnl_WWW"), {1400, 1401, 1402, 1403, 1404, 1405, 1406});
  submenus_[kMyPc] = AddMenu(QStringLiteral("Pnl_MyPC"), {1100, 1101, 1102, 1103});

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

FunctionMenu* ButtonMenus::AddMenu(const QString& name, std::initializer_list<int> tags) {
  auto* menu = new FunctionMenu(name, page_);
  for (int tag : tags)
    ConnectEntry(menu, menu->Add(EntryName(tag), tag, MenuEntry::Kind::kFunction));
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
        if (menu == Submenu(kSpecial)) Submenu(kFire)->hide();
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
  HideSubmenus(category == kFire);
  if (category == kMacro) {
    if (macro_list_->count() == 0) return;
    Place(macro_list_, menu, entry);
    return;
  }
  if (FunctionMenu* submenu = Submenu(category)) Place(submenu, menu, entry);
}

void ButtonMenus::HideSubmenus(bool keep_special) {
  for (const auto& [category, panel] : submenus_)
    if (!(keep_special && category == kSpecial)) panel->hide();
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
  for (MenuEntry* entry : Submenu(kSpecial)->Entries())
    if (entry->Tag() == kSwitchKeyTag) entry->setEnabled(allowed);
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
