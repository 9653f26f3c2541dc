#pragma once
// The busy pop-up TFormLoadingUI shown during transfers with the mouse:
// frameless, always on top, 206 x 196, centred over the main window and 40
// pixels lower, with a looping animation of its own. It is the transfer
// operations' BusyUi: Show/Hide bracket a transfer, ProcessEvents lets the
// window repaint (and the animation run) between reports.
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "core/device/busy_ui.h"

namespace korvex48::gui {

class Skin;

class TFormLoadingUI : public QWidget, public BusyUi {
  Q_OBJECT

 public:
  // `owner` is the main window it places itself over; it is never closed.
  // The animation is the skin's pictures Busy_01..Busy_12 when they exist.
  TFormLoadingUI(const Skin& skin, QWidget* owner);

  void Show() override;
  void Hide() override;
  void ProcessEvents() override;

  // Top-left corner over `owner`: left = owner left + (owner width − 206) / 2,
  // top = owner top + (owner height − 196) / 2 + 40.
  static QPoint PlaceOver(const QRect& owner);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const Skin& skin_;
  QPointer<QWidget> owner_;
  QTimer frames_;
  int frame_ = 0;
};

}  // namespace korvex48::gui
