#pragma once
// The Macro page: the PC library list LB_PCMacroName, the device macro list
// LB_MacroName, the event list LB_macro of the macro on show (with its hidden
// line and hex holders mmo_macro and mmo_wrscript), the recorder's Record
// button and delay options, the insert panel, and the command pop-ups of the
// three lists (Pnl_PCMacro, Pnl_DevMacro, Pnl_DevContent).
//
// The page shows the device macro table of the bound core and the PC macro
// library it owns; device macros are shown read-only. The commands that are
// one call of the core (delete a device macro, Add to Mouse, Export All of the
// device macros) are carried out here; the other editing commands belong to
// the library and recorder logic.
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <functional>
#include <string>

#include "core/library/library_files.h"
#include "core/library/pc_macro_library.h"
#include "core/macros/macro_lines.h"
#include "gui/pages/page.h"

namespace korvex48 {
class AppCore;
struct ButtonView;
}  // namespace korvex48

namespace korvex48::gui {

class MacroEventDelegate;

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
  void Bind(AppCore* core, std::function<ButtonView()> button_view);

  // ---- The PC macro library --------------------------------------------
  // Loads the library from `path` (the default place when empty), creating
  // the file from the default library when it is missing. The list is not
  // filled here. A file that exists but cannot be read, or a library file
  // that cannot be created, is reported through the dialog seam.
  LibraryLoadResult LoadLibrary(const std::string& path);
  PcMacroLibrary& Library() { return library_; }
  const PcMacroLibrary& Library() const { return library_; }
  // Rebuilds LB_PCMacroName from the occupied slots, last row in view; "New
  // Macro" is enabled below 100 rows.
  void ShowLibrary();

  // ---- Device macros ---------------------------------------------------
  // Rebuilds LB_MacroName from the bound core's table, last row in view.
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
  // The lines of the macro on show (line 0 the delay header), as mmo_macro
  // holds them; true when they belong to a library macro.
  const MacroLines& Lines() const { return lines_; }
  bool ShowsLibraryMacro() const { return library_source_; }

  // Shows the delay options (normal) or the insert panel (insert mode).
  void ShowInsertMode(bool insert);
  bool InsertMode() const { return insert_mode_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* AddCommandPanel(const QString& name, const QStringList& commands);
  void ConnectCommands();
  void ShowLines(MacroLines lines, ByteView bytes, bool library);
  // Lights the recorder's delay option (0 recorded, 1 fixed, 2 none).
  void SetDelayMode(int mode);
  void SetInsertDelayMode(int mode);
  void OpenPanel(QWidget* panel, QPoint global);
  ButtonView CurrentButtonView() const;

  // Commands of the pop-ups carried out by the core.
  void DeleteDeviceMacro();
  void ExportDeviceMacros();
  void AddToMouse();

  PictureLabel* panel_;
  QListWidget* library_list_;
  QListWidget* device_list_;
  QListWidget* event_list_;
  MacroEventDelegate* event_delegate_;
  QPlainTextEdit* lines_box_;  // mmo_macro
  QPlainTextEdit* hex_box_;    // mmo_wrscript
  QGroupBox* delay_box_;
  QGroupBox* insert_box_;
  PictureLabel* insert_base_;
  QLineEdit* delay_edit_;
  QLineEdit* insert_delay_edit_;
  QWidget* pc_panel_;
  QWidget* device_panel_;
  QWidget* content_panel_;
  bool insert_mode_ = false;
  bool library_source_ = false;
  MacroLines lines_;
  PcMacroLibrary library_;
  AppCore* core_ = nullptr;
  std::function<ButtonView()> button_view_;
};

}  // namespace korvex48::gui
