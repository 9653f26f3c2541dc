#pragma once
// Undo and redo in the editor: the two controls of the title bar (left of
// its stripes, on every page), Ctrl+Z for undo and Ctrl+Shift+Z or Ctrl+Y for
// redo. Each runs one step of the page editor's UndoHistory, has the pages
// show what the mouse now holds and says in the window's notice what it
// undid or redid, or why not. A control is disabled and drawn so while there
// is nothing to undo or redo; screen readers read it as a button named Undo
// or Redo, described by what it would undo or redo.
//
// EditorApp makes the only one, after the window, the page editor, the AppUi
// and the page commands (whose notice it shares), and destroys it before
// them.
#include <QObject>
#include <QPointer>

#include "core/editing/undo_history.h"

namespace korvex48::gui {

class MainWindow;
class PictureLabel;
class RefusalNotice;
class WindowAppUi;

class UndoControls final : public QObject {
  Q_OBJECT

 public:
  // Places of the controls in the window (the title bar's row of Reset and
  // Exit, left of the stripes drawn before them).
  static constexpr int kUndoX = 580;
  static constexpr int kRedoX = 610;
  static constexpr int kY = 8;

  UndoControls(MainWindow& window, UndoHistory& history, WindowAppUi& ui, RefusalNotice& notice);
  ~UndoControls() override;

  void Undo();
  void Redo();

 private:
  void Show(const UndoResult& result);
  void UpdateLooks();

  QPointer<MainWindow> window_;
  UndoHistory& history_;
  WindowAppUi& ui_;
  RefusalNotice& notice_;
  PictureLabel* undo_;
  PictureLabel* redo_;
};

}  // namespace korvex48::gui
