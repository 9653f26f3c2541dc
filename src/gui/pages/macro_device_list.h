#pragma once
// The mouse's own macros on the Macro page: the list LB_MacroName (row i is
// device macro i) and its pop-up Pnl_DevMacro (Delete, Export All). A picked
// row is shown read-only in the editor. The commands are the core's.
#include <QListWidget>
#include <QObject>
#include <functional>

#include "core/app/app_core.h"
#include "core/app/device_macro_flows.h"
#include "core/app/profile_files.h"
#include "gui/editor_context.h"

namespace korvex48::gui {

class MacroDeviceList final : public QObject {
  Q_OBJECT

 public:
  MacroDeviceList(EditorContext& context, QWidget* page);

  QListWidget* List() const { return list_; }
  QWidget* Popup() const { return popup_; }

  // The core whose macro table is shown, and the button labels the commands
  // compare with macro names; nullptr shows no device macros.
  void Bind(AppCore* core, DeviceMacroFlows* macro_flows, ProfileFiles* files,
            std::function<ButtonView()> button_view);
  AppCore* Core() const { return core_; }
  DeviceMacroFlows* Flows() const { return macro_flows_; }
  ButtonView CurrentButtonView() const { return button_view_ ? button_view_() : ButtonView{}; }

  // Rebuilds the list from the core's table, last row in view.
  void Refresh();
  // The event bytes (events and end byte) of device macro `row`; empty for a
  // macro without events or a row that does not exist.
  ByteView MacroBytes(int row) const;

  void DeleteSelected();
  void ExportAll();

 Q_SIGNALS:
  void rowOpened(int row);
  void popupRequested(QWidget* popup, QPoint global);
  void hidePopupsRequested();
  void pressed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  EditorContext& ctx_;
  QListWidget* list_;
  QWidget* popup_;
  AppCore* core_ = nullptr;
  DeviceMacroFlows* macro_flows_ = nullptr;
  ProfileFiles* files_ = nullptr;  // Export All
  std::function<ButtonView()> button_view_;
};

}  // namespace korvex48::gui
