#pragma once
// The running desktop's pointer settings as the editor sees them: one
// implementation per desktop (GNOME's settings, KDE's kdeglobals, the X
// server, the editor's own window), all outside the core. Each holds some of
// the three settings and may fail; a failure never stops the editor.
#include <optional>
#include <string>

#include "core/pointer/pointer_tables.h"

namespace korvex48 {

// The values behind the bars, under the names of the settings file.
struct PointerValues {
  std::optional<int> speed;         // "MouseSensitivity", 1..20
  std::optional<int> double_click;  // "DoubleClickSpeed", milliseconds
  std::optional<int> wheel_lines;   // "WheelScrollLines"
  // Pointer acceleration, read and applied again but never changed here.
  std::optional<int> mouse_speed;  // "MouseSpeed": 0 none, 1 one stage, 2 two stages
  std::optional<int> threshold1;   // "MouseThreshold1"
  std::optional<int> threshold2;   // "MouseThreshold2"
};

class DesktopPointer {
 public:
  virtual ~DesktopPointer() = default;
  // Where the values go, for the bars' tool tips ("GNOME settings", ...).
  virtual std::string Name() const = 0;
  // Whether this desktop has a place for `setting` at all.
  virtual bool Holds(PointerSetting setting) const = 0;
  // Whether what Apply sets outlives the editor: the desktop's own settings
  // do, so they are the values' only home; a place that forgets them when
  // the editor closes (its own window) leaves them to the editor's file.
  virtual bool KeepsValues() const { return true; }
  // Fills the fields this desktop holds and could read; leaves the others.
  virtual void Read(PointerValues& values) = 0;
  // Applies the fields this desktop holds that have a value. "" when they
  // were taken, else a short reason ("no session bus", ...).
  virtual std::string Apply(const PointerValues& values) = 0;
};

}  // namespace korvex48
