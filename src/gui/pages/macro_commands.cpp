#include "gui/pages/macro_commands.h"

#include <QRadioButton>

#include "gui/pages/button_page.h"
#include "gui/pages/macro_page.h"
#include "gui/pages/update_page.h"

namespace korvex48::gui {

MacroCommands::MacroCommands(MainWindow& window, AppCore& core, WindowAppUi& ui,
                             const std::string& library_path)
    : QObject(&window), window_(&window) {
  MacroPage* macros = window.Macros();
  macros->LoadLibrary(library_path);
  macros->Bind(&core, [this] { return CurrentButtonView(); });
  window.Update()->Bind(&core);
  WindowAppUi::Hooks& hooks = ui.GetHooks();
  hooks.refresh_device_macro_lists = [macros] { macros->ShowDeviceMacros(); };
  hooks.clear_macro_editor = [macros] { macros->ClearEditor(); };
  hooks.refresh_pc_macro_list = [macros] { macros->ShowLibrary(); };
  connect(&window, &MainWindow::popupsClosed, macros, &MacroPage::ClearMacro);
  connect(&window, &MainWindow::pageChanged, this, [this](PageId page) {
    if (page == PageId::kUpdate) window_->Update()->PageOpened();
  });
}

ButtonView MacroCommands::CurrentButtonView() const {
  ButtonView view;
  if (!window_) return view;
  for (int m = 1; m <= kKeyButtons; ++m)
    view.labels[static_cast<std::size_t>(m - 1)] =
        window_->Buttons()->KeyLabel(m)->text().toStdString();
  for (int p = 1; p <= 3; ++p) {
    auto* choice = window_->Controls().Get<QRadioButton>(QStringLiteral("rb_%1").arg(p));
    if (choice && choice->isChecked()) view.selected_profile = p;
  }
  return view;
}

}  // namespace korvex48::gui
