#pragma once
// The running caption of the label under the pointer: while the pointer rests
// on a label its caption scrolls left one character every 200 ms (timer
// LabelRun), with four blanks put between its end and its start once per
// hover. One marquee serves the whole window.
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

namespace korvex48::gui {

class CaptionMarquee : public QObject {
  Q_OBJECT

 public:
  explicit CaptionMarquee(QObject* parent = nullptr);

  // The pointer entered `label`: remember its caption and start the timer
  // (only when the label is enabled).
  void Enter(QLabel* label);
  // The pointer left: stop and give the label back the caption saved on entry.
  void Leave();
  // Stops and restores without forgetting which label is hovered (used before
  // a language change re-translates the captions).
  void Stop();
  // The hovered label's caption changed under the pointer (language switch):
  // restart the rotation from the new caption.
  void Recaption(const QString& caption);
  // While suppressed, ticks do not rotate (a menu was opened from the label).
  void SetSuppressed(bool suppressed) { suppressed_ = suppressed; }

  // One tick of LabelRun (public so tests drive it without waiting).
  void Tick();

  QTimer& Timer() { return timer_; }
  QLabel* Label() const { return label_; }
  const QString& SavedCaption() const { return caption_; }
  int TickCount() const { return ticks_; }

 private:
  QTimer timer_;
  QPointer<QLabel> label_;
  QString caption_;
  QString running_;
  int ticks_ = 0;
  bool suppressed_ = false;
};

}  // namespace korvex48::gui
