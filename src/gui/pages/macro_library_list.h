#pragma once
// The PC macro library on the Macro page: the list LB_PCMacroName (row r is
// library slot r) and its command pop-up Pnl_PCMacro: New Macro and Rename
// (through the name dialog MacroNameDialog), Delete, Import One/All, Export One/All
// and Add to Mouse. The library is saved to Macro.bin after every change.
#include <QLabel>
#include <QListWidget>
#include <QObject>
#include <QPointer>
#include <functional>
#include <string>

#include "core/library/library_files.h"
#include "core/library/pc_macro_library.h"
#include "gui/editor_context.h"
#include "gui/pages/macro_name_dialog.h"

namespace korvex48::gui {

class MacroLibraryList final : public QObject {
  Q_OBJECT

 public:
  MacroLibraryList(EditorContext& context, QWidget* page);

  QListWidget* List() const { return list_; }
  QWidget* Popup() const { return popup_; }
  PcMacroLibrary& Library() { return library_; }
  const PcMacroLibrary& Library() const { return library_; }
  // The selected row, -1 when none.
  int SelectedRow() const;

  // Loads the library from `path`, the default place when
  // empty; a file that cannot be read or is no library is reported. A
  // library that could not be read (kReadFailed) is never written: the
  // commands that would write it are disabled and a line over the list says
  // why, until the next start.
  LibraryLoadResult Load(const std::string& path);
  // Writes Macro.bin; a failure is reported. The file is
  // written whole and atomically: it never holds half a library. Nothing is
  // written, and false returned, while the library is unusable.
  bool Save();
  // Why the library may not be changed ("" when it may).
  const QString& Unusable() const { return unusable_; }
  // Rebuilds the list from the occupied slots, last row in view; New Macro
  // is enabled below 100 rows.
  void Refresh();

  // The commands of Pnl_PCMacro.
  void NewMacro();
  void Rename();
  void DeleteSelected();
  void ImportOne();
  void ImportAll();
  void ExportOne();
  void ExportAll();
  // The name confirmed in the dialog: finishes New Macro or Rename.
  void ApplyName(const QString& name);
  // The open name dialog, if any.
  MacroNameDialog* NameDialog() const { return dialog_; }

 Q_SIGNALS:
  // Row `row` was picked: the editor shows its macro.
  void rowOpened(int row);
  // The editor is to be emptied (a new macro, a deleted one, an import).
  void editorCleared();
  void addToMouseRequested(int row);
  void popupRequested(QWidget* popup, QPoint global);
  void hidePopupsRequested();
  // A press in this list lets go of the device list's row.
  void pressed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Naming { kNone, kNew, kRename };
  void OpenNameDialog(Naming mode);
  void ShowFileError(const FileError& error);
  // Enables the commands of Pnl_PCMacro that may act now.
  void UpdateCommands();
  void PlaceNotice();
  // Asks before an existing file is replaced; true to go on.
  bool MayReplace(const std::string& path);
  void Select(int row);

  EditorContext& ctx_;
  QListWidget* list_;
  QWidget* popup_;
  QLabel* notice_;  // lbl_LibraryUnusable, over the list
  QString unusable_;
  PcMacroLibrary library_;
  std::string path_;
  Naming naming_ = Naming::kNone;
  QPointer<MacroNameDialog> dialog_;
};

}  // namespace korvex48::gui
