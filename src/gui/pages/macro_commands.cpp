#include "gui/pages/macro_commands.h"

#include "core/editing/page_editor.h"
#include "gui/pages/macro_page.h"
#include "gui/pages/update_page.h"

namespace korvex48::gui {

MacroCommands::MacroCommands(MainWindow& window, AppCore& core, DeviceMacroFlows& macro_flows,
                             FirmwareFlow& firmware, ProfileFiles& files, const PageEditor& editor,
                             WindowAppUi& ui, const std::string& library_path)
    : window_(&window), editor_(editor), ui_(ui) {
  // The hooks only show what the core holds: a Macro page not made yet has
  // nothing to show or clear, and shows the core's state when it is made.
  WindowAppUi::Hooks& hooks = ui.GetHooks();
  auto on_macro_page = [this](void (MacroPage::*show)()) {
    return [this, show] {
      if (window_->LaterPagesBuilt()) (window_->Macros()->*show)();
    };
  };
  hooks.refresh_device_macro_lists = on_macro_page(&MacroPage::ShowDeviceMacros);
  hooks.clear_macro_editor = on_macro_page(&MacroPage::ClearEditor);
  hooks.clear_device_lists = on_macro_page(&MacroPage::ClearDeviceLists);
  hooks.refresh_pc_macro_list = on_macro_page(&MacroPage::ShowLibrary);
  connect(&window, &MainWindow::pageChanged, this, [this](PageId page) {
    if (page == PageId::kUpdate) window_->Update()->PageOpened();
  });
  // The library is read when the Macro page is made, which a window made
  // with its later pages does after its first paint.
  auto bind = [this, &core, &macro_flows, &firmware, &files, library_path] {
    MacroPage* macros = window_->Macros();
    macros->LoadLibrary(library_path);
    macros->ShowLibrary();
    macros->Bind(&core, &macro_flows, &files, [this] { return CurrentButtonView(); });
    window_->Update()->Bind(&firmware);
    connect(window_.data(), &MainWindow::popupsClosed, macros, &MacroPage::ClearMacro);
  };
  if (window.LaterPagesBuilt())
    bind();
  else
    connect(&window, &MainWindow::laterPagesBuilt, this, bind);
}

MacroCommands::~MacroCommands() {
  WindowAppUi::Hooks& hooks = ui_.GetHooks();
  hooks.refresh_device_macro_lists = nullptr;
  hooks.clear_macro_editor = nullptr;
  hooks.clear_device_lists = nullptr;
  hooks.refresh_pc_macro_list = nullptr;
  if (!window_ || !window_->LaterPagesBuilt()) return;
  window_->Macros()->Bind(nullptr, nullptr, nullptr, {});
  window_->Update()->Bind(nullptr);
}

ButtonView MacroCommands::CurrentButtonView() const {
  ButtonView view;
  view.labels = editor_.State().labels;
  view.selected_profile = editor_.State().settings.active_profile;
  return view;
}

}  // namespace korvex48::gui
