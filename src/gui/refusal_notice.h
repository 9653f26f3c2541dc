#pragma once
// The short notice that the mouse did not take a change, or what an undo or
// redo did: one line near the bottom of the window that goes away by itself. It never takes the
// focus or a click, so the user keeps working while it shows; the pages already show what the mouse
// holds when it appears.
#include <QLabel>
#include <QTimer>

namespace korvex48::gui {

class RefusalNotice final : public QLabel {
  Q_OBJECT

 public:
  static constexpr int kShownMs = 4000;

  // A child of `window` (800 x 600), hidden until Show().
  explicit RefusalNotice(QWidget* window);

  // Shows the notice for `refused` reports (again for kShownMs when shown);
  // when the mouse left the bus, says that instead.
  void ShowRefusal(int refused, bool unplugged = false);
  // Shows `text` the same way: in the refusal's colours when `refused`, else
  // in the skin's accent (what an undo or redo did).
  void ShowNotice(const QString& text, bool refused);

 private:
  QTimer hide_timer_;
  bool refused_look_ = true;
};

}  // namespace korvex48::gui
