#include "gui/busy_popup.h"

#include <QCoreApplication>
#include <QPainter>
#include <QtMath>

#include "gui/skin.h"

namespace korvex48::gui {
namespace {

constexpr int kWidth = 206;
constexpr int kHeight = 196;
constexpr int kFrames = 12;
constexpr int kFrameMs = 80;

}  // namespace

BusyPopup::BusyPopup(const Skin& skin, QWidget* owner)
    : QWidget(owner), skin_(skin), owner_(owner) {
  setObjectName(QStringLiteral("TFormLoadingUI"));
  setAttribute(Qt::WA_TranslucentBackground);
  setFixedSize(kWidth, kHeight);
  hide();
  frames_.setInterval(kFrameMs);
  connect(&frames_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % kFrames;
    update();
  });
  if (owner_) move(PlaceOver(owner_->rect()));
}

QPoint BusyPopup::PlaceOver(const QRect& owner) {
  return {owner.left() + (owner.width() - kWidth) / 2,
          owner.top() + (owner.height() - kHeight) / 2 + 40};
}

void BusyPopup::Show() {
  // Transfers show the pop-up before every reply and hide it once at their
  // end, so showing is idempotent and one Hide ends it.
  if (isVisible()) return;
  if (owner_) move(PlaceOver(owner_->rect()));
  // The frames' corners are see-through and let clicks through to the page.
  if (mask().isEmpty() && skin_.Size(QStringLiteral("Busy_01")) == size())
    setMask(skin_.Shape(QStringLiteral("Busy_01")));
  frames_.start();
  show();
  raise();
  // Painted before the transfer blocks the event loop.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void BusyPopup::Hide() {
  frames_.stop();
  hide();
}

void BusyPopup::ProcessEvents() { QCoreApplication::processEvents(); }

void BusyPopup::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QString picture = QStringLiteral("Busy_%1").arg(frame_ + 1, 2, 10, QLatin1Char('0'));
  if (skin_.Has(picture)) {
    painter.drawPixmap(rect(), skin_.Pixmap(picture, devicePixelRatioF()));
    return;
  }
  // Without artwork: twelve spokes around a ring, the bright one walking round.
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(16, 18, 22, 220));
  painter.drawRoundedRect(rect().adjusted(18, 14, -18, -14), 14, 14);
  const QPointF centre(width() / 2.0, height() / 2.0);
  for (int i = 0; i < kFrames; ++i) {
    const int age = (frame_ - i + kFrames) % kFrames;
    const int alpha = 255 - age * 200 / kFrames;
    painter.save();
    painter.translate(centre);
    painter.rotate(i * 360.0 / kFrames);
    painter.setBrush(QColor(0, 200, 255, alpha));
    painter.drawRoundedRect(QRectF(-5, -62, 10, 26), 5, 5);
    painter.restore();
  }
}

}  // namespace korvex48::gui
