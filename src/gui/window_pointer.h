#pragma once
// The editor's own window as a desktop of the pointer bars: Qt's double-click
// interval and wheel lines (QStyleHints), which every other desktop's change
// would reach only after a restart. It never fails, and forgets the values
// when the editor closes.
#include "core/pointer/desktop_pointer.h"

namespace korvex48::gui {

class WindowPointer final : public DesktopPointer {
 public:
  std::string Name() const override { return "this editor"; }
  bool Holds(PointerSetting setting) const override { return setting != PointerSetting::kSpeed; }
  bool KeepsValues() const override { return false; }
  void Read(PointerValues& values) override;
  std::string Apply(const PointerValues& values) override;
};

}  // namespace korvex48::gui
