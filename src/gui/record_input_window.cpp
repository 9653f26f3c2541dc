// The recorder's input from the editor's own windows: key and mouse events
// the application receives, taken before any widget sees them.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

#include "gui/record_input.h"

namespace korvex48::gui {
namespace {

class WindowRecordInput final : public RecordInput {
 public:
  bool Start() override {
    if (!running_) QCoreApplication::instance()->installEventFilter(this);
    running_ = true;
    return true;
  }
  void Stop() override {
    if (running_) QCoreApplication::instance()->removeEventFilter(this);
    running_ = false;
  }
  bool Global() const override { return false; }
  ~WindowRecordInput() override { Stop(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The window system hands every key and click to a window first, which
    // passes it on to the focused or pointed-at widget (and that one, when
    // it does not take it, to its parents). Only the window's copy counts:
    // it is there once, whichever widget takes the event then.
    if (!watched->isWindowType()) return RecordInput::eventFilter(watched, event);
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(event);
        if (!k->isAutoRepeat() && k->nativeScanCode() >= 8)
          Q_EMIT key(static_cast<int>(k->nativeScanCode()) - 8, event->type() == QEvent::KeyPress,
                     static_cast<quint32>(k->timestamp()));
        break;
      }
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease: {
        auto* m = static_cast<QMouseEvent*>(event);
        int number = 0;
        switch (m->button()) {
          case Qt::LeftButton:
            number = 1;
            break;
          case Qt::MiddleButton:
            number = 2;
            break;
          case Qt::RightButton:
            number = 3;
            break;
          case Qt::BackButton:
            number = 8;
            break;
          case Qt::ForwardButton:
            number = 9;
            break;
          default:
            break;
        }
        if (number != 0)
          Q_EMIT button(number, event->type() == QEvent::MouseButtonPress,
                        static_cast<quint32>(m->timestamp()));
        break;
      }
      default:
        break;
    }
    return RecordInput::eventFilter(watched, event);
  }

 private:
  bool running_ = false;
};

}  // namespace

std::unique_ptr<RecordInput> MakeWindowRecordInput() {
  return std::make_unique<WindowRecordInput>();
}

}  // namespace korvex48::gui
