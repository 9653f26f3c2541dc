#include "core/pointer/desktop_choice.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace korvex48 {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

std::vector<DesktopKind> ChooseDesktops(std::string_view current_desktop,
                                        std::string_view session_type, bool has_x_display) {
  std::vector<DesktopKind> kinds;
  const auto add = [&kinds](DesktopKind k) {
    if (std::find(kinds.begin(), kinds.end(), k) == kinds.end()) kinds.push_back(k);
  };
  std::size_t start = 0;
  while (start <= current_desktop.size()) {
    std::size_t end = current_desktop.find(':', start);
    if (end == std::string_view::npos) end = current_desktop.size();
    const std::string name = Lower(current_desktop.substr(start, end - start));
    if (name == "x-cinnamon" || name == "cinnamon")
      add(DesktopKind::kCinnamonSettings);
    else if (name == "gnome" || name == "unity" || name == "budgie" || name == "pantheon" ||
             name == "gnome-classic" || name == "gnome-flashback")
      add(DesktopKind::kGnomeSettings);
    else if (name == "kde")
      add(DesktopKind::kKdeGlobals);
    start = end + 1;
  }
  // "ubuntu:GNOME" and "Budgie:GNOME" name GNOME as well; Cinnamon's own keys
  // win over GNOME's when both are named.
  if (std::find(kinds.begin(), kinds.end(), DesktopKind::kCinnamonSettings) != kinds.end())
    std::erase(kinds, DesktopKind::kGnomeSettings);
  if (kinds.empty() && has_x_display && Lower(session_type) != "wayland")
    add(DesktopKind::kXServer);
  return kinds;
}

}  // namespace korvex48
