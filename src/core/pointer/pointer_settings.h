#pragma once
// The desktop's pointer speed, double-click time and wheel lines behind the
// three bars of the Advanced page. The running desktop's value is the truth:
// it is read at every refresh and shown at the nearest step. A per-user key
// file (pointer.conf) keeps only the settings no desktop of the session
// keeps itself (the wheel lines under GNOME, say). A click changes only the
// setting clicked, so a value the user changed elsewhere is never written
// back.
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "core/pointer/desktop_pointer.h"
#include "core/pointer/pointer_tables.h"

namespace korvex48 {

// Where one setting went at the last refresh or click.
struct PointerRoute {
  std::vector<std::string> applied;                         // desktop names
  std::vector<std::pair<std::string, std::string>> failed;  // desktop, reason
  std::vector<std::string> no_place;                        // desktops without it
  bool from_desktop = false;  // the value shown was read from a desktop
  bool from_store = false;    // the value shown was read from the settings file
  bool stored = false;        // written to the settings file by the last click
  std::string store_error;    // why the file could not be read or written
};

class PointerSettings {
 public:
  // `desktops` are applied in this order and read in this order (the first
  // that has a value gives it); they must outlive this object.
  PointerSettings(std::string store_path, std::vector<DesktopPointer*> desktops);

  // $XDG_CONFIG_HOME/korvex48/pointer.conf, or ~/.config/korvex48/pointer.conf.
  static std::string DefaultStorePath();

  // Reads the values and positions again. Each setting comes from the first
  // desktop that keeps it and has a value, else from the settings file, else
  // from a desktop that does not keep it (the editor's window). The position
  // shown is the step nearest to the value; a value missing or not a decimal
  // number leaves the position as it was. Nothing is written or applied.
  void Refresh();

  // Step `position` (1..10) of `setting`'s bar chosen: sets that
  // setting's position and value and applies it, and only it, to every
  // desktop that holds it (the pointer speed goes with the acceleration
  // values it is applied with). When no desktop that keeps values took it,
  // it is written to the settings file instead. Positions outside 1..10 do
  // nothing.
  void ChooseStep(PointerSetting setting, int position);

  int Position(PointerSetting setting) const { return positions_[Index(setting)]; }
  const PointerValues& Values() const { return values_; }
  const PointerRoute& Route(PointerSetting setting) const { return routes_[Index(setting)]; }
  const std::string& StorePath() const { return store_path_; }

 private:
  static std::size_t Index(PointerSetting s) { return static_cast<std::size_t>(s); }
  void Take(PointerSetting setting, std::optional<int> value);
  // Applies `setting`'s value; true when a desktop that keeps values took it.
  bool Apply(PointerSetting setting);
  void Store(PointerSetting setting);

  std::string store_path_;
  std::vector<DesktopPointer*> desktops_;
  std::array<int, 3> positions_{};
  PointerValues values_;
  std::array<PointerRoute, 3> routes_{};
};

}  // namespace korvex48
