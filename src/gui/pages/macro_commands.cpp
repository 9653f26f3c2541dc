#include "gui/pages/macro_commands.h"

#include "core/performance/page_editor.h"
#include "gui/pages/macro_page.h"
#include "gui/pages/update_page.h"

namespace korvex48::gui {

MacroCommands::MacroCommands(MainWindow& window, AppCore& core, const PageEditor& editor,
                             WindowAppUi& ui, const std::string& library_path)
    : window_(&window), editor_(editor), ui_(ui) {
  MacroPage* macros = window.Macros();
  macros->LoadLibrary(library_path);
  macros->ShowLibrary();
  macros->Bind(&core, [this] { return CurrentButtonView(); });
  window.Update()->Bind(&core);
  WindowAppUi::Hooks& hooks = ui.GetHooks();
  hooks.refresh_device_macro_lists = [macros] { macros->ShowDeviceMacros(); };
  hooks.clear_macro_editor = [macros] { macros->ClearEditor(); };
  hooks.clear_device_lists = [macros] { macros->ClearDeviceLists(); };
  hooks.refresh_pc_macro_list = [macros] { macros->ShowLibrary(); };
  connect(&window, &MainWindow::popupsClosed, macros, &MacroPage::ClearMacro);
  connect(&window, &MainWindow::pageChanged, this, [this](PageId page) {
    if (page == PageId::kUpdate) window_->Update()->PageOpened();
  });
}

MacroCommands::~MacroCommands() {
  WindowAppUi::Hooks& hooks = ui_.GetHooks();
  hooks.refresh_device_macro_lists = nullptr;
  hooks.clear_macro_editor = nullptr;
  hooks.clear_device_lists = nullptr;
  hooks.refresh_pc_macro_list = nullptr;
  if (!window_) return;
  window_->Macros()->Bind(nullptr, {});
  window_->Update()->Bind(nullptr);
}

ButtonView MacroCommands::CurrentButtonView() const {
  ButtonView view;
  view.labels = editor_.State().labels;
  view.selected_profile = editor_.State().page.active_profile;
  return view;
}

}  // namespace korvex48::gui
