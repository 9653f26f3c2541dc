#pragma once
// The desktop's pointer speed, double-click time and wheel lines behind the
// three bars of the Advanced page. The values live in a per-user key file
// (pointer.conf); while it does not exist they are taken from the running
// desktop. A click writes the file (creating it) and applies every value to
// every desktop at once, whichever bar was clicked.
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
  bool from_desktop = false;  // the value shown was read from the desktop, not the file
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

  // Reads the values and positions again: from the settings file when it
  // exists, else from the desktops. A value missing, not a decimal number or
  // not in the setting's table leaves the position as it was; a value not in
  // the table is still remembered and applied on the next click.
  void Refresh();

  // A click on segment `position` (1..10) of `setting`'s bar: sets the
  // position, writes the values of every non-zero position to the settings
  // file and applies all values to all desktops. Positions outside 1..10 do
  // nothing.
  void Click(PointerSetting setting, int position);

  int Position(PointerSetting setting) const { return positions_[Index(setting)]; }
  const PointerValues& Values() const { return values_; }
  const PointerRoute& Route(PointerSetting setting) const { return routes_[Index(setting)]; }
  const std::string& StorePath() const { return store_path_; }

 private:
  static std::size_t Index(PointerSetting s) { return static_cast<std::size_t>(s); }
  void Take(PointerSetting setting, std::optional<int> value);
  void Store();
  void Apply();

  std::string store_path_;
  std::vector<DesktopPointer*> desktops_;
  std::array<int, 3> positions_{};
  PointerValues values_;
  std::array<PointerRoute, 3> routes_{};
};

}  // namespace korvex48
