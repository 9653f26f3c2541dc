#pragma once
// The busy pop-up BusyPopup shown during transfers with the mouse:
// 206 x 196, centred over the main window and 40 pixels lower, above every
// other control, with a looping animation of its own. It is drawn inside the
// main window (a child, not a window of its own), so it opens where it
// belongs under every display server: a Wayland client cannot place windows.
// It is the transfer operations' BusyUi: Show/Hide bracket a transfer,
// ProcessEvents lets the window repaint (and the animation run) between
// reports.
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "core/device/busy_ui.h"

namespace korvex48::gui {

class Skin;

class BusyPopup : public QWidget, public BusyUi {
  Q_OBJECT

 public:
  // `owner` is the main window it is drawn in; it is never closed.
  // The animation is the skin's pictures Busy_01..Busy_12 when they exist.
  BusyPopup(const Skin& skin, QWidget* owner);

  void Show() override;
  void Hide() override;
  void ProcessEvents() override;

  // Top-left corner over `owner` (in the coordinates `owner` is given in):
  // left = owner left + (owner width − 206) / 2,
  // top = owner top + (owner height − 196) / 2 + 40.
  static QPoint PlaceOver(const QRect& owner);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Skin& skin_;
  QPointer<QWidget> owner_;
  QTimer frames_;
  int frame_ = 0;
};

}  // namespace korvex48::gui
