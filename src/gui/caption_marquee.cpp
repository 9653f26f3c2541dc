#include "gui/caption_marquee.h"

#include <QVariant>

namespace korvex48::gui {

CaptionMarquee::CaptionMarquee(QObject* parent) : QObject(parent) {
  timer_.setObjectName(QStringLiteral("LabelRun"));
  timer_.setInterval(200);
  connect(&timer_, &QTimer::timeout, this, &CaptionMarquee::Tick);
}

void CaptionMarquee::Enter(QLabel* label) {
  if (label_ && label_ != label) Leave();
  label_ = label;
  caption_ = label->text();
  running_ = caption_;
  label->setProperty("fitText", caption_);
  ticks_ = 0;
  if (label->isEnabled()) timer_.start();
}

void CaptionMarquee::Stop() {
  timer_.stop();
  if (label_) {
    label_->setText(caption_);
    label_->setProperty("fitText", QVariant());
  }
}

void CaptionMarquee::Leave() {
  Stop();
  label_ = nullptr;
}

void CaptionMarquee::Recaption(const QString& caption) {
  caption_ = caption;
  running_ = caption;
  ticks_ = 0;
  if (label_) label_->setProperty("fitText", caption);
  if (label_ && label_->isEnabled()) timer_.start();
}

void CaptionMarquee::Tick() {
  if (!label_ || suppressed_ || running_.isEmpty()) return;
  ++ticks_;
  if (ticks_ > 20) ticks_ = 2;
  if (ticks_ == 1)
    running_ = running_.mid(1) + QStringLiteral("    ") + running_.left(1);
  else
    running_ = running_.mid(1) + running_.left(1);
  label_->setText(running_);
}

}  // namespace korvex48::gui
