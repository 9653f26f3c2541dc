#pragma once
// KDE Plasma's double-click time and wheel lines: group [KDE] of kdeglobals
// in the user's configuration folder, then the change signals KDE programs
// listen for on the session bus. KDE keeps no pointer speed there.
#include <string>

#include "core/pointer/desktop_pointer.h"

namespace korvex48 {

class KdePointer final : public DesktopPointer {
 public:
  // `kdeglobals`: the file to edit; KdeGlobalsPath() in the program.
  explicit KdePointer(std::string kdeglobals) : path_(std::move(kdeglobals)) {}
  // $XDG_CONFIG_HOME/kdeglobals, or ~/.config/kdeglobals.
  static std::string KdeGlobalsPath();

  std::string Name() const override { return "KDE settings"; }
  bool Holds(PointerSetting setting) const override;
  void Read(PointerValues& values) override;
  // Writes the file atomically, keeping all its other lines; then tells the
  // running KDE programs (without a session bus they see it at their next start).
  std::string Apply(const PointerValues& values) override;

 private:
  std::string path_;
};

}  // namespace korvex48
