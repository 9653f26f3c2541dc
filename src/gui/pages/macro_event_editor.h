#pragma once
// The macro editor of the Macro page: the event list LB_macro of the macro on
// show (drawn from the macro lines kept in the hidden mmo_macro, its bytes in
// the hidden mmo_wrscript), its pop-up Pnl_DevContent (Delete, Insert) and the
// insert panel Gb_Insert with its ten choices, value fields and OK/Cancel.
//
// A device macro is shown read-only. A library macro is edited: every change
// is encoded back into the library slot of the selected library row and the
// library is saved (through `library_changed`). The rules of the changes are
// the core's (macro_edit.h); this class only shows them.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QObject>
#include <QPlainTextEdit>
#include <functional>

#include "core/library/pc_macro_library.h"
#include "core/macros/macro_edit.h"
#include "core/macros/macro_lines.h"
#include "gui/editor_context.h"
#include "gui/skin_widgets.h"

namespace korvex48::gui {

class MacroEventDelegate;

class MacroEventEditor final : public QObject {
  Q_OBJECT

 public:
  // Creates the controls as children of `page`. `library_row` gives the
  // selected library row (-1 for none), `library_changed` saves the library.
  MacroEventEditor(EditorContext& context, QWidget* page, PcMacroLibrary& library,
                   std::function<int()> library_row, std::function<void()> library_changed);

  QListWidget* List() const { return list_; }
  QWidget* Popup() const { return popup_; }

  // Shows `bytes` (events and end byte) as lines; `library` tells whether
  // they belong to the selected library row (editable) or to a device macro.
  void Show(ByteView bytes, bool library);
  // An empty editor; `library` as for Show (a new library macro is empty).
  void Clear(bool library = false);
  const MacroLines& Lines() const { return lines_; }
  bool ShowsLibraryMacro() const { return library_; }

  // Replaces the lines (a recording) and redraws the list; with `encode`
  // the lines are also written into the library macro and saved.
  void SetLines(MacroLines lines, bool encode);
  // Inserts list items for lines [first_line, first_line + count) that were
  // just added to the lines, and selects the last of them.
  void LinesInserted(const MacroLines& lines, std::size_t first_line, std::size_t count);
  // The recorder took back `count` lines from `first_line` on (the key that
  // stopped it); `lines` are the lines without them.
  void LinesRemoved(const MacroLines& lines, std::size_t first_line, std::size_t count);

  // Encodes the lines into the selected library macro and saves the
  // library; false (nothing written) when no library macro is on show or the
  // encoded macro does not fit its buffer.
  bool Encode();

  // The insert panel.
  bool InsertMode() const { return insert_mode_; }
  void ShowInsertMode(bool insert);
  InsertChoice Choice() const;
  int InsertDelayMode() const { return insert_delay_mode_; }
  QLineEdit* InsertDelayEdit() const { return insert_delay_; }
  TextLabel* InsertStartButton() const { return insert_start_; }
  // While an insert recording runs the panel's other controls are disabled.
  void SetInsertRecording(bool recording);

  // Lights a delay option (0 recorded, 1 fixed, 2 none) of the insert panel.
  void SetInsertDelayMode(int mode);

  // Delete and Insert of the pop-up, OK and Cancel of the insert panel.
  void DeleteSelected();
  void OpenInsertPanel();
  void ConfirmInsert();
  void CancelInsert();

  void ApplyLayout(const LayoutTable& t, int bottom);

 Q_SIGNALS:
  void insertModeChanged(bool insert);
  // The header of a shown macro chose the recorder's delay mode.
  void delayHeaderShown(DelayHeader header);
  void popupRequested(QWidget* popup, QPoint global);
  void hidePopupsRequested();
  void insertRecordRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Redraw();
  void ApplyChoice(int index);
  void CloseInsertPanel();

  EditorContext& ctx_;
  PcMacroLibrary& library_slots_;
  std::function<int()> library_row_;
  std::function<void()> library_changed_;

  QListWidget* list_;
  MacroEventDelegate* delegate_;
  QPlainTextEdit* lines_box_;  // mmo_macro
  QPlainTextEdit* hex_box_;    // mmo_wrscript
  QWidget* popup_;             // Pnl_DevContent
  QGroupBox* insert_box_;      // Gb_Insert
  PictureLabel* insert_base_;  // Img_InsertBase
  QComboBox* choice_;          // CB_Insert
  QLineEdit* insert_delay_;    // Edt_InsertDelay
  QLineEdit* x_value_;
  QLineEdit* y_value_;
  QLineEdit* repeat_;
  TextLabel* insert_start_;
  TextLabel* ok_;
  TextLabel* cancel_;

  MacroLines lines_;
  bool library_ = false;
  bool insert_mode_ = false;
  int insert_delay_mode_ = 0;
  int remembered_top_ = 0;
  int remembered_row_ = -1;
};

}  // namespace korvex48::gui
