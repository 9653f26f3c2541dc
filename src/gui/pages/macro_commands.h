#pragma once
// Binds the Macro and Update pages to the core: the PC macro library (loaded
// here, once, from --library or the default place), the device macro table
// and the macro commands, firmware programming, the button labels the macro
// commands compare (the page editor's), and the window's pop-up closing and
// page opening. The window's AppUi gets its macro hooks from here.
//
// EditorApp makes the only one, after the window, the core, the page editor
// and the AppUi, and destroys it before them: the destructor unbinds the
// pages and the hooks.
#include <QObject>
#include <QPointer>
#include <string>

#include "core/app/app_core.h"
#include "core/app/device_macro_flows.h"
#include "core/app/firmware_flow.h"
#include "core/app/profile_files.h"
#include "gui/main_window.h"
#include "gui/window_app_ui.h"

namespace korvex48 {
class PageEditor;
}

namespace korvex48::gui {

class MacroCommands final : public QObject {
  Q_OBJECT

 public:
  // Loads the library from `library_path` (the default place when empty)
  // into the Macro page, now or when the window makes that page; a library
  // that cannot be read or created is reported once, through the dialog seam.
  MacroCommands(MainWindow& window, AppCore& core, DeviceMacroFlows& macro_flows,
                FirmwareFlow& firmware, ProfileFiles& files, const PageEditor& editor,
                WindowAppUi& ui, const std::string& library_path);
  ~MacroCommands() override;

  // The labels of the shown profile and that profile (1..3), as the page
  // editor keeps them.
  ButtonView CurrentButtonView() const;

 private:
  QPointer<MainWindow> window_;
  const PageEditor& editor_;
  WindowAppUi& ui_;
};

}  // namespace korvex48::gui
