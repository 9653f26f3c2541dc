#pragma once
// The macro name dialog MacroNameDialog: a small shaped panel (354 x 179) over the
// centre of the main window, above its other controls and not modal. It is
// drawn inside the main window, not as a window of its own, so it opens in
// its place under X11 and Wayland alike. The
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
  // A panel drawn in `owner` (the main window); deleted when closed.
  MacroNameDialog(EditorContext& context, QWidget* owner);

  // Places the dialog over the centre of its owner and shows it.
  void Open();
  QLineEdit* Edit() const { return edit_; }

 Q_SIGNALS:
  void confirmed(const QString& name);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Confirm();

  QLineEdit* edit_;
};

}  // namespace korvex48::gui
