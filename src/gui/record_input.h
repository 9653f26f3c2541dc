#pragma once
// Where the recorder's keys and mouse buttons come from. Each event carries
// the time it happened on the input's own millisecond clock (the X server's
// time, or the window system's event time), so delays do not depend on when
// the event was handled.
//
// Two sources exist: on an X11 display (XWayland included) XInput2 raw
// events of the root window, which see the keyboard and the mouse also while
// another window has the focus; elsewhere (a Wayland session without X11)
// what reaches the editor's own windows. Both deliver on the GUI thread, in
// the order the events happened.
#include <QObject>
#include <QString>
#include <memory>

namespace korvex48::gui {

class RecordInput : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
  ~RecordInput() override = default;

  // Starts delivering events; false when the source cannot run.
  virtual bool Start() = 0;
  virtual void Stop() = 0;
  // True when events meant for other windows are seen too.
  virtual bool Global() const = 0;

 Q_SIGNALS:
  // A key by its evdev code (X key code less 8).
  void key(int scan_code, bool down, quint32 time_ms);
  // A mouse button by its X number: 1 left, 2 middle, 3 right, 8 back, 9
  // forward.
  void button(int number, bool down, quint32 time_ms);
};

// The XInput2 source when the application runs on an X11 display and the
// server has XInput 2; else the source of the editor's own windows.
std::unique_ptr<RecordInput> MakeRecordInput();

// The source of the editor's own windows (also for tests).
std::unique_ptr<RecordInput> MakeWindowRecordInput();

}  // namespace korvex48::gui
