#pragma once
// The backups dialog BackupsDialog: the backups kept before every larger
// change, newest first, and the way back. A panel drawn inside the main window
// (like the macro name dialog), above its other controls and not modal. The
// list LB_Backups names each backup by its time and the change that
// followed; IB_Restore (or Return on a row) asks to restore the selected one.
// Opened for a change that did not finish, lbl_BackupsLost names what the
// mouse lost and IB_Finish asks to finish that change. IB_Close and Escape
// close it.
#include <QListWidget>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/app/change_guard.h"
#include "core/backups/backup_store.h"
#include "gui/editor_context.h"

namespace korvex48::gui {

class TextLabel;

class BackupsDialog final : public QWidget {
  Q_OBJECT

 public:
  // A panel drawn in `owner` (the main window) listing `entries`; `cut`, when
  // given, is the change that did not finish. Deleted when closed.
  BackupsDialog(EditorContext& context, QWidget* owner, std::vector<BackupEntry> entries,
                std::optional<CutReport> cut);

  // Places the dialog over the centre of its owner, shows it and gives the
  // list the keyboard focus.
  void Open();
  QListWidget* List() const { return list_; }

 Q_SIGNALS:
  // Row `row` (0: the newest) is to be restored.
  void restoreRequested(int row);
  // The change that did not finish is to be finished.
  void finishRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void RestoreSelected();

  QListWidget* list_;
};

}  // namespace korvex48::gui
