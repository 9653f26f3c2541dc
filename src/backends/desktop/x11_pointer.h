#pragma once
// The X server's pointer control (what `xset m` changes): the acceleration
// carries the pointer speed, the threshold comes from the stored acceleration
// values ("MouseSpeed" 1 takes "MouseThreshold1", 2 "MouseThreshold2", 0
// leaves the server's threshold as it is).
#include <string>

#include "core/pointer/desktop_pointer.h"

typedef struct _XDisplay Display;

namespace korvex48 {

class X11Pointer final : public DesktopPointer {
 public:
  // `display_name`: nullptr for $DISPLAY. Connects on first use.
  explicit X11Pointer(const char* display_name = nullptr);
  ~X11Pointer() override;
  X11Pointer(const X11Pointer&) = delete;
  X11Pointer& operator=(const X11Pointer&) = delete;

  std::string Name() const override { return "X server"; }
  bool Holds(PointerSetting setting) const override { return setting == PointerSetting::kSpeed; }
  // The speed from the acceleration; "MouseSpeed" 1 and the threshold as
  // "MouseThreshold1", so that applying them again changes nothing.
  void Read(PointerValues& values) override;
  std::string Apply(const PointerValues& values) override;

 private:
  Display* Connection();

  std::string display_name_;
  bool has_name_ = false;
  Display* display_ = nullptr;
  bool tried_ = false;
};

}  // namespace korvex48
