#pragma once
// The Macro page. It is made of four parts, each a class of its own:
//   - MacroLibraryList: the PC library list LB_PCMacroName and its commands;
//   - MacroDeviceList: the mouse's macro list LB_MacroName and its commands;
//   - MacroEventEditor: the event list LB_macro with its insert panel;
//   - MacroRecorderPanel: the record button and the delay options.
// The page places them, passes the macro picked in a list to the editor and
// keeps the parts' enabled states in step (insert mode, recording).
#include <functional>
#include <string>

#include "core/library/library_files.h"
#include "core/library/pc_macro_library.h"
#include "core/macros/macro_lines.h"
#include "gui/pages/page.h"

namespace korvex48 {
class AppCore;
class ProfileFiles;
class DeviceMacroFlows;
struct ButtonView;
}  // namespace korvex48

namespace korvex48::gui {

class MacroLibraryList;
class MacroDeviceList;
class MacroEventEditor;
class MacroRecorderPanel;

class MacroPage : public Page {
  Q_OBJECT

 public:
  MacroPage(EditorContext& context, QWidget* parent);
  void Opened() override;
  void ApplyLayout() override;
  // Refreshes the device macro list from the bound core.
  void ShowImage() override;

  // The core whose device macro table the page shows, and where the button
  // labels and the selected profile come from (the macro commands compare
  // labels with macro names). nullptr shows no device macros.
  void Bind(AppCore* core, DeviceMacroFlows* macro_flows, ProfileFiles* files,
            std::function<ButtonView()> button_view);

  // ---- The PC macro library --------------------------------------------
  // Loads the library from `path` (the default place when empty), creating
  // the file from the default library when it is missing. The list is not
  // filled here. A file that cannot be read or is no library is reported
  // through the dialog seam.
  LibraryLoadResult LoadLibrary(const std::string& path);
  PcMacroLibrary& Library();
  const PcMacroLibrary& Library() const;
  // Rebuilds LB_PCMacroName from the occupied slots, last row in view; "New
  // Macro" is enabled below 100 rows.
  void ShowLibrary();

  // ---- Device macros ---------------------------------------------------
  void ShowDeviceMacros();
  // Empties LB_MacroName and the editor (the mouse is gone).
  void ClearDeviceLists();

  // ---- The editor ----------------------------------------------------------
  // A click on row `row` of LB_MacroName: that device macro in the event
  // list (read-only).
  void ShowDeviceMacro(int row);
  // A click on row `row` of LB_PCMacroName: that library macro in the event
  // list.
  void ShowLibraryMacro(int row);
  // Empties LB_macro, the lines and the hex dump; hides the pop-ups.
  void ClearEditor();
  // ClearMacro: hides the three command pop-ups.
  void ClearMacro();
  const MacroLines& Lines() const;
  bool ShowsLibraryMacro() const;

  // Shows the delay options (normal) or the insert panel (insert mode).
  void ShowInsertMode(bool insert);
  bool InsertMode() const;

  MacroLibraryList& LibraryList() { return *library_; }
  MacroDeviceList& DeviceList() { return *device_; }
  MacroEventEditor& EventEditor() { return *editor_; }
  MacroRecorderPanel& Recorder() { return *recorder_; }

 private:
  void OpenPopup(QWidget* popup, QPoint global);
  // Add to Mouse of library row `row`, and why when the mouse did not get it.
  void AddToMouse(int row);
  void UpdateEnabled();

  PictureLabel* panel_;
  MacroLibraryList* library_;
  MacroDeviceList* device_;
  MacroEventEditor* editor_;
  MacroRecorderPanel* recorder_;
};

}  // namespace korvex48::gui
