#include "backends/desktop/x11_pointer.h"

#include <X11/Xlib.h>

#include <algorithm>

namespace korvex48 {
namespace {

// Set while our own requests run: Xlib's default handler would end the
// process on an error the server reports.
int g_x_errors = 0;
int CountError(Display*, XErrorEvent*) {
  ++g_x_errors;
  return 0;
}

}  // namespace

X11Pointer::X11Pointer(const char* display_name)
    : display_name_(display_name ? display_name : ""), has_name_(display_name != nullptr) {}

X11Pointer::~X11Pointer() {
  if (display_) XCloseDisplay(display_);
}

Display* X11Pointer::Connection() {
  if (!tried_) {
    tried_ = true;
    display_ = XOpenDisplay(has_name_ ? display_name_.c_str() : nullptr);
  }
  return display_;
}

void X11Pointer::Read(PointerValues& values) {
  Display* display = Connection();
  if (!display) return;
  int numerator = 0;
  int denominator = 0;
  int threshold = 0;
  XGetPointerControl(display, &numerator, &denominator, &threshold);
  if (const auto speed = SpeedOfXAcceleration(numerator, denominator)) values.speed = *speed;
  values.mouse_speed = 1;
  values.threshold1 = threshold;
}

std::string X11Pointer::Apply(const PointerValues& values) {
  if (!values.speed) return {};
  Display* display = Connection();
  if (!display) return "no X display";
  const XAcceleration accel = XAccelerationOfSpeed(*values.speed);
  std::optional<int> threshold;
  if (values.mouse_speed == 1) threshold = values.threshold1;
  if (values.mouse_speed == 2) threshold = values.threshold2;
  const auto old_handler = XSetErrorHandler(CountError);
  g_x_errors = 0;
  XChangePointerControl(display, True, threshold ? True : False, accel.numerator, accel.denominator,
                        threshold ? std::max(0, *threshold) : 0);
  XSync(display, False);
  XSetErrorHandler(old_handler);
  return g_x_errors == 0 ? std::string() : "the X server refused the values";
}

}  // namespace korvex48
