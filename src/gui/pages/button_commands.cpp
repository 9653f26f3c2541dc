#include "gui/pages/button_commands.h"

#include <QStringList>

#include "core/editing/page_editor.h"
#include "gui/key_combination_dialog.h"
#include "gui/main_window.h"
#include "gui/pages/button_menus.h"
#include "gui/pages/button_page.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {

ButtonCommands::ButtonCommands(MainWindow& window, PageEditor& editor)
    : window_(window), editor_(editor) {
  ButtonPage* page = window.Buttons();
  connect(page, &ButtonPage::keyClicked, this, &ButtonCommands::OpenFunctionMenu);
  // The menus are made with the window's later pages.
  if (window.LaterPagesBuilt())
    BindMenus();
  else
    connect(&window, &MainWindow::laterPagesBuilt, this, &ButtonCommands::BindMenus);
}

void ButtonCommands::BindMenus() {
  ButtonMenus& menus = Menus();
  connect(&menus, &ButtonMenus::functionChosen, this, &ButtonCommands::ChooseMenuFunction);
  connect(&menus, &ButtonMenus::assemblyChosen, this, &ButtonCommands::OpenKeyCombinationDialog);
  connect(&menus, &ButtonMenus::macroChosen, this, &ButtonCommands::AssignDeviceMacroToButton);
  // ClearAP, page changes, window moves and the flows' CloseMenus.
  connect(&window_, &MainWindow::popupsClosed, &menus, &ButtonMenus::HideAll);
}

ButtonCommands::~ButtonCommands() {
  if (dialog_) dialog_->close();
}

KeyCombinationDialog* ButtonCommands::Dialog() const { return dialog_.data(); }

ButtonMenus& ButtonCommands::Menus() const {
  window_.BuildLaterPages();
  return *window_.Buttons()->Menus();
}

int ButtonCommands::SelectedProfile() const { return editor_.State().settings.active_profile; }

void ButtonCommands::CloseMenus() { Q_EMIT window_.popupsClosed(); }

void ButtonCommands::OpenFunctionMenu(int button) {
  ButtonPage* page = window_.Buttons();
  TextLabel* label = page->KeyLabel(button);
  if (!label->isEnabled()) return;
  // The caption stops running and shows in full while the menu is open.
  window_.Marquee().Leave();
  page->KeyPicture(button)->SetPicture(QStringLiteral("KeyS_01"), false);
  current_ = button;
  CloseMenus();
  ButtonMenus& menus = Menus();
  menus.SetSwitchEntryAllowed(editor_.State().switch_entry_allowed);
  QStringList macros;
  for (const std::string& name : editor_.Core().Macros().Names())
    macros.append(QString::fromStdString(name));
  menus.SetMacroNames(macros);
  menus.Open(label->geometry());
}

void ButtonCommands::ShowResult() {
  // The labels of the selected profile as the editor now has them (a refused
  // choice leaves them as they were).
  window_.Buttons()->ShowLabels();
}

void ButtonCommands::ChooseMenuFunction(int tag) {
  CloseMenus();
  editor_.AssignMenuItem(SelectedProfile(), current_, tag);
  ShowResult();
}

void ButtonCommands::OpenKeyCombinationDialog() {
  CloseMenus();
  const EditorState& state = editor_.State();
  if (IsLastLeftKey(state.labels, current_, ButtonRuleNames::FromLanguage(editor_.Sources().text)))
    return;
  // A new dialog each time; one left open from before goes.
  if (dialog_) dialog_->close();
  dialog_ = new KeyCombinationDialog(window_.Context(), &window_);
  connect(dialog_, &KeyCombinationDialog::confirmed, this, &ButtonCommands::ApplyAssemblyKey);
  dialog_->Open();
}

void ButtonCommands::ApplyAssemblyKey(const QString& text, const QString& code) {
  editor_.AssignKeyCombination(SelectedProfile(), current_, text.toStdString(), code.toStdString());
  ShowResult();
}

void ButtonCommands::AssignDeviceMacroToButton(int row) {
  CloseMenus();
  if (row < 0) return;
  editor_.AssignDeviceMacro(SelectedProfile(), current_, static_cast<std::size_t>(row));
  ShowResult();
}

}  // namespace korvex48::gui
