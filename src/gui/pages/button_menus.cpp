#include "gui/pages/button_menus.h"

#include <QApplication>
#include <algorithm>

#include "core/buttons/function_menus.h"
#include "core/buttons/menu_placement.h"
#include "gui/focus_return.h"
#include "gui/pages/popup_layer.h"

namespace korvex48::gui {
namespace {

// LB_Name shows this many rows at most and scrolls the rest: every macro of
// the packed layout (15) at once, the 32 of the slot layout by scrolling.
constexpr int kMacroRowsShown = 15;

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

// The macro list in the skin's colours, like the function panels. One row is
// lit: the current one, which follows the pointer and the arrow keys.
const QString kMacroListStyle = QStringLiteral(
    "QListWidget { background: rgb(16,21,28); color: rgb(226,236,246);"
    " border: 1px solid rgb(44,57,72); border-top: 2px solid rgb(0,229,255); outline: 0; }"
    "QListWidget::item { height: 24px; padding-left: 4px; }"
    "QListWidget::item:selected { background: rgb(0,128,128); color: white; }"
    "QScrollBar:vertical { background: rgb(9,12,16); width: 8px; }"
    "QScrollBar::handle:vertical { background: rgb(0,150,175); min-height: 20px; }"
    "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }");

}  // namespace

ButtonMenus::ButtonMenus(QWidget* page) : QObject(page), page_(page) {
  QWidget* layer = PopupLayer(page);
  main_ = AddMenu(MainMenuData());
  main_->setAccessibleName(QStringLiteral("Button functions"));
  for (const FunctionMenuData& data : SubmenuData()) submenus_[data.category] = AddMenu(data);

  macro_list_ = new QListWidget(layer);
  macro_list_->setObjectName(QStringLiteral("LB_Name"));
  macro_list_->setStyleSheet(kMacroListStyle);
  macro_list_->setMouseTracking(true);
  macro_list_->setFocusPolicy(Qt::ClickFocus);
  macro_list_->setSelectionMode(QAbstractItemView::SingleSelection);
  macro_list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  macro_list_->setFixedWidth(FunctionMenu::kWidth);
  macro_list_->installEventFilter(this);
  macro_list_->setAccessibleName(QStringLiteral("Macros on the mouse"));
  macro_list_->hide();
  connect(macro_list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { Q_EMIT macroChosen(macro_list_->row(item)); });
  // The row under the pointer is the current one, as the arrow keys make it.
  connect(macro_list_, &QListWidget::itemEntered, this, [this](QListWidgetItem* item) {
    macro_list_->setCurrentItem(item);
    macro_list_->setFocus(Qt::MouseFocusReason);
  });

  // Focus that leaves the menus for another control (Tab, a click on a
  // field) closes them, as a desktop menu does.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    if (now && IsMenuWidget(old) && !IsMenuWidget(now) && AnyShown()) HideAll();
  });
}

FunctionMenu* ButtonMenus::AddMenu(const FunctionMenuData& data) {
  auto* menu = new FunctionMenu(Latin1(data.object_name), PopupLayer(page_));
  menu->installEventFilter(this);
  for (const MenuEntryData& entry : data.entries)
    ConnectEntry(menu, menu->Add(Latin1(MenuEntryName(entry)), entry.tag, KindOf(entry.kind)));
  return menu;
}

FunctionMenu* ButtonMenus::Submenu(int category) const {
  const auto it = submenus_.find(category);
  return it == submenus_.end() ? nullptr : it->second;
}

void ButtonMenus::ConnectEntry(FunctionMenu* menu, MenuEntry* entry) {
  connect(entry, &MenuEntry::entered, this, [this, menu, entry] {
    FocusMenu(menu);
    if (entry->EntryKind() == MenuEntry::Kind::kCategory)
      OpenCategory(menu, entry, false);
    else
      EnterEntry(menu, entry);
  });
  connect(entry, &MenuEntry::left, menu, [menu, entry] {
    if (menu->Current() == menu->IndexOf(entry)) menu->SetCurrent(-1);
  });
  // A click on a category opens it as the pointer does (touch screens).
  connect(entry, &MenuEntry::clicked, this, [this, menu, entry] { Pick(menu, entry, false); });
}

void ButtonMenus::EnterEntry(FunctionMenu* menu, MenuEntry* entry) {
  menu->SetCurrent(menu->IndexOf(entry));
  if (menu == main_)
    HideSubmenus(false);  // User-defined closes every submenu
  else if (menu == Submenu(kMenuCategorySpecial))
    Submenu(kMenuCategoryFire)->hide();  // any other entry of the Special menu closes the fire keys
}

void ButtonMenus::Pick(FunctionMenu* menu, MenuEntry* entry, bool by_key) {
  if (!entry || !entry->isEnabled()) return;
  switch (entry->EntryKind()) {
    case MenuEntry::Kind::kCategory:
      OpenCategory(menu, entry, by_key);
      return;
    case MenuEntry::Kind::kDialog:
      Q_EMIT assemblyChosen();
      return;
    case MenuEntry::Kind::kFunction:
      Q_EMIT functionChosen(entry->Tag());
      return;
  }
}

void ButtonMenus::OpenCategory(FunctionMenu* menu, MenuEntry* entry, bool by_key) {
  menu->SetCurrent(menu->IndexOf(entry));
  const int category = entry->Tag();
  HideSubmenus(category == kMenuCategoryFire);
  if (category == kMenuCategoryMacro) {
    if (macro_list_->count() == 0) return;
    // No row is lit until the pointer or a key makes one current.
    macro_list_->clearSelection();
    macro_list_->setCurrentRow(-1, QItemSelectionModel::Clear);
    macro_list_->scrollToTop();
    Place(macro_list_, menu, entry);
    if (by_key) {
      macro_list_->setCurrentRow(0);
      FocusMenu(macro_list_);
    }
    return;
  }
  FunctionMenu* submenu = Submenu(category);
  if (!submenu) return;
  submenu->SetCurrent(-1);
  Place(submenu, menu, entry);
  if (by_key) {
    submenu->SetCurrent(MenuStep(MenuKey::kHome, -1, static_cast<int>(submenu->Entries().size()),
                                 [submenu](int i) { return submenu->Selectable(i); }));
    FocusMenu(submenu);
  }
}

void ButtonMenus::HideSubmenus(bool keep_special) {
  for (const auto& [category, panel] : submenus_)
    if (!(keep_special && category == kMenuCategorySpecial)) panel->hide();
  macro_list_->hide();
}

void ButtonMenus::Place(QWidget* panel, FunctionMenu* beside, MenuEntry* entry) {
  QWidget* layer = panel->parentWidget();
  const QRect entry_rect(entry->mapTo(layer, QPoint(0, 0)), entry->size());
  const MenuRect at = PlaceSubmenu(ToMenuRect(beside->geometry()), ToMenuRect(entry_rect),
                                   panel->width(), panel->height());
  opened_from_[panel] = Opener{beside, entry};
  // Named by the category that opened it, as a screen reader reads it.
  panel->setAccessibleName(entry->FunctionName());
  ShowPopupOnTop(panel, QPoint(at.x, at.y));
}

void ButtonMenus::Lift() {
  LiftPopup(main_, page_);
  for (const auto& [category, panel] : submenus_) LiftPopup(panel, page_);
  LiftPopup(macro_list_, page_);
}

bool ButtonMenus::IsMenuWidget(const QWidget* widget) const {
  if (!widget) return false;
  if (widget == main_ || widget == macro_list_ || macro_list_->isAncestorOf(widget)) return true;
  return std::any_of(submenus_.begin(), submenus_.end(),
                     [widget](const auto& entry) { return entry.second == widget; });
}

void ButtonMenus::FocusMenu(QWidget* panel) {
  if (!panel->hasFocus()) panel->setFocus(Qt::PopupFocusReason);
}

void ButtonMenus::Open(const QRect& label) {
  HideAll();
  Lift();
  QWidget* layer = main_->parentWidget();
  const QRect in_layer(page_->mapTo(layer, label.topLeft()), label.size());
  const MenuRect at = PlaceMainMenu(ToMenuRect(in_layer), main_->width(), main_->height());
  QWidget* focused = page_->window()->focusWidget();
  return_focus_ = IsMenuWidget(focused) ? nullptr : focused;
  ShowPopupOnTop(main_, QPoint(at.x, at.y));
  FocusMenu(main_);
}

void ButtonMenus::HideAll() {
  if (closing_) return;
  closing_ = true;
  // The focus goes back before the menus hide, so that hiding the focused
  // panel does not pass it on to whatever control comes next.
  if (IsMenuWidget(page_->window()->focusWidget())) {
    if (return_focus_ && return_focus_->isVisible() && return_focus_->isEnabled())
      return_focus_->setFocus(Qt::PopupFocusReason);
    else if (!FocusFirstControl(page_, Qt::PopupFocusReason))
      page_->window()->setFocus(Qt::PopupFocusReason);
  }
  main_->hide();
  HideSubmenus(false);
  main_->SetCurrent(-1);
  for (const auto& [category, panel] : submenus_) panel->SetCurrent(-1);
  closing_ = false;
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
