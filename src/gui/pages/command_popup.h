#pragma once
// A command pop-up of the macro page (Pnl_PCMacro, Pnl_DevMacro,
// Pnl_DevContent): text labels of 112 x 20, one under the other, in a frame.
// It opens at the pointer above every other control of the window
// (popup_layer.h) with the keyboard focus. The keys act as in any desktop
// menu (menu_keys.h): Up and Down move between the commands, wrapping, Home
// and End go to the first and the last, Return runs the current command as a
// click would and Escape closes the pop-up. The current command looks as
// under the pointer: the pointer and the keys share it.
#include <QFrame>
#include <QPointer>
#include <QStringList>
#include <vector>

namespace korvex48::gui {

class TextLabel;

class CommandPopup : public QFrame {
  Q_OBJECT

 public:
  // Hidden until opened; the labels are named `commands`.
  CommandPopup(const QString& name, const QStringList& commands, QWidget* page);

  // Opens at the global point, kept inside the pop-up layer of `page`, with
  // the focus and no command current. When it hides, the focus goes back to
  // the control that had it before.
  void OpenAt(QWidget* page, QPoint global);
  // The command the keys act on, or -1.
  int Current() const { return current_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  // Makes `index` current: the old current command is told the pointer
  // left it and the new one that the pointer entered it, so both take the
  // look the window gives hovered commands.
  void SetCurrent(int index);
  bool Selectable(int index) const;

  std::vector<TextLabel*> commands_;
  int current_ = -1;
  QPointer<QWidget> return_focus_;
};

}  // namespace korvex48::gui
