#pragma once
// The macro name dialog TForm3: a small shaped window (354 x 179) over the
// centre of the main window, kept above other windows and not modal. The
// edit Edt_MacroName takes at most 8 characters; IB_Confirm hands its text
// on (confirmed) and closes, IB_Cancel empties it and stays, IB_Close closes
// without a name. New Macro and Rename open a fresh one each time.
#include <QLineEdit>
#include <QWidget>

#include "gui/editor_context.h"

namespace korvex48::gui {

class MacroNameDialog final : public QWidget {
  Q_OBJECT

 public:
  // A top-level window owned by `owner`; deleted when closed.
  MacroNameDialog(EditorContext& context, QWidget* owner);

  // Places the dialog over the centre of `main` and shows it.
  void Open(QWidget* main);
  QLineEdit* Edit() const { return edit_; }

 Q_SIGNALS:
  void confirmed(const QString& name);

 private:
  void Confirm();

  QLineEdit* edit_;
};

}  // namespace korvex48::gui
