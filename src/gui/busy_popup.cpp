#include "gui/busy_popup.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QKeyEvent>
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

TFormLoadingUI::TFormLoadingUI(const Skin& skin, QWidget* owner)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      skin_(skin),
      owner_(owner) {
  setObjectName(QStringLiteral("TFormLoadingUI"));
  setAttribute(Qt::WA_TranslucentBackground);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFixedSize(kWidth, kHeight);
  frames_.setInterval(kFrameMs);
  connect(&frames_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % kFrames;
    update();
  });
  if (owner_) move(PlaceOver(owner_->frameGeometry()));
}

QPoint TFormLoadingUI::PlaceOver(const QRect& owner) {
  return {owner.left() + (owner.width() - kWidth) / 2,
          owner.top() + (owner.height() - kHeight) / 2 + 40};
}

void TFormLoadingUI::Show() {
  // Transfers show the pop-up before every reply and hide it once at their
  // end, so showing is idempotent and one Hide ends it.
  if (isVisible()) return;
  if (owner_) move(PlaceOver(owner_->frameGeometry()));
  if (skin_.Has(QStringLiteral("Busy_01"))) {
    // The frames' corners are in the key colour: cut them away.
    const QImage first = skin_.Image(QStringLiteral("Busy_01"));
    if (first.size() == size())
      setMask(QBitmap::fromImage(first.createMaskFromColor(qRgb(128, 0, 0), Qt::MaskInColor)));
  }
  frames_.start();
  show();
  raise();
  // Painted before the transfer blocks the event loop.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFormLoadingUI::Hide() {
  frames_.stop();
  hide();
}

void TFormLoadingUI::ProcessEvents() { QCoreApplication::processEvents(); }

void TFormLoadingUI::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QString picture = QStringLiteral("Busy_%1").arg(frame_ + 1, 2, 10, QLatin1Char('0'));
  if (skin_.Has(picture)) {
    painter.drawPixmap(rect(), skin_.Pixmap(picture));
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

void TFormLoadingUI::keyPressEvent(QKeyEvent* event) {
  // Keys reach the pop-up first while it is shown and go no further, so a
  // transfer cannot be interrupted from the keyboard.
  event->accept();
}

}  // namespace korvex48::gui
