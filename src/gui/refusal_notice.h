#pragma once
// The short notice that the mouse did not take a change: one line near the
// bottom of the window that goes away by itself. It never takes the focus or
// a click, so the user keeps working while it shows; the pages already show
// what the mouse holds when it appears.
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

 private:
  QTimer hide_timer_;
};

}  // namespace korvex48::gui
