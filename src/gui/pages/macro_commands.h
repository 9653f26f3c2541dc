#pragma once
// Binds the Macro and Update pages to the core: the device macro table and
// the macro commands, firmware programming, the PC macro library (loaded
// here, from --library or the default place), the button labels the macro
// commands compare, and the window's pop-up closing and page opening.
//
// Create it after the window, the core and the window's AppUi, whose macro
// hooks it sets. It is a child of the window; the core must outlive every
// event the window handles.
#include <QObject>
#include <QPointer>
#include <string>

#include "core/app/app_core.h"
#include "gui/main_window.h"
#include "gui/window_app_ui.h"

namespace korvex48::gui {

class MacroCommands final : public QObject {
  Q_OBJECT

 public:
  // Loads the library from `library_path` (the default place when empty).
  MacroCommands(MainWindow& window, AppCore& core, WindowAppUi& ui,
                const std::string& library_path);

  // The labels Key1..Key12 as the button page shows them, and the selected
  // profile (rb_1..rb_3).
  ButtonView CurrentButtonView() const;

 private:
  QPointer<MainWindow> window_;
};

}  // namespace korvex48::gui
