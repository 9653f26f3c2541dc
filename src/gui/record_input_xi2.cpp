// The recorder's input on an X11 display: XInput2 raw key and button events
// of the root window, read on a connection of its own, so keys and clicks
// made in other windows are recorded too. The raw events carry the X
// server's time and the X key code (evdev code + 8).
#include <QGuiApplication>
#include <QSocketNotifier>

#include "gui/record_input.h"

#ifdef KORVEX48_HAVE_XI2
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#endif

namespace korvex48::gui {

#ifdef KORVEX48_HAVE_XI2
namespace {

class Xi2RecordInput final : public RecordInput {
 public:
  ~Xi2RecordInput() override {
    Stop();
    if (display_) XCloseDisplay(display_);
  }

  // Connects and asks for XInput 2.2, under which raw events reach this
  // client even while another one (the editor's own window, for a click)
  // holds a grab; false when the display has no XInput 2.
  bool Open() {
    display_ = XOpenDisplay(nullptr);
    if (!display_) return false;
    int event = 0;
    int error = 0;
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(display_, "XInputExtension", &opcode_, &event, &error) ||
        XIQueryVersion(display_, &major, &minor) != Success)
      return false;
    return true;
  }

  bool Start() override {
    if (!display_) return false;
    Select(true);
    if (!notifier_) {
      notifier_ = new QSocketNotifier(ConnectionNumber(display_), QSocketNotifier::Read, this);
      connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });
    }
    notifier_->setEnabled(true);
    Drain();
    return true;
  }

  void Stop() override {
    if (!display_) return;
    Select(false);
    if (notifier_) notifier_->setEnabled(false);
    // Events already queued belong to the recording that ended.
    while (XPending(display_) > 0) {
      XEvent ev;
      XNextEvent(display_, &ev);
    }
  }

  bool Global() const override { return true; }

 private:
  void Select(bool on) {
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (on) {
      XISetMask(bits, XI_RawKeyPress);
      XISetMask(bits, XI_RawKeyRelease);
      XISetMask(bits, XI_RawButtonPress);
      XISetMask(bits, XI_RawButtonRelease);
    }
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof bits;
    mask.mask = bits;
    XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
    XFlush(display_);
  }

  // Hands on every queued event, in the server's order.
  void Drain() {
    while (XPending(display_) > 0) {
      XEvent ev;
      XNextEvent(display_, &ev);
      XGenericEventCookie* cookie = &ev.xcookie;
      if (cookie->type != GenericEvent || cookie->extension != opcode_ ||
          !XGetEventData(display_, cookie))
        continue;
      const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
      const auto time = static_cast<quint32>(raw->time);
      const int detail = raw->detail;
      switch (cookie->evtype) {
        case XI_RawKeyPress:
        case XI_RawKeyRelease:
          // Key repeats are flagged; a held key is recorded once.
          if (!(raw->flags & XIKeyRepeat) && detail >= 8)
            Q_EMIT key(detail - 8, cookie->evtype == XI_RawKeyPress, time);
          break;
        case XI_RawButtonPress:
        case XI_RawButtonRelease:
          Q_EMIT button(detail, cookie->evtype == XI_RawButtonPress, time);
          break;
        default:
          break;
      }
      XFreeEventData(display_, cookie);
    }
  }

  Display* display_ = nullptr;
  int opcode_ = 0;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace
#endif

std::unique_ptr<RecordInput> MakeRecordInput() {
#ifdef KORVEX48_HAVE_XI2
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    auto xi2 = std::make_unique<Xi2RecordInput>();
    if (xi2->Open()) return xi2;
  }
#endif
  return MakeWindowRecordInput();
}

}  // namespace korvex48::gui
