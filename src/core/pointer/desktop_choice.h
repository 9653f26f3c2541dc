#pragma once
// Which of the desktop's settings the pointer bars reach, from the session's
// XDG_CURRENT_DESKTOP (a ':'-separated list) and XDG_SESSION_TYPE. The
// editor's own window always takes the values too; it is not listed here.
#include <string_view>
#include <vector>

namespace korvex48 {

enum class DesktopKind {
  kGnomeSettings,     // GSettings org.gnome.desktop.peripherals.mouse
  kCinnamonSettings,  // GSettings org.cinnamon.desktop.peripherals.mouse (same keys)
  kKdeGlobals,        // kdeglobals [KDE] and the change signal over D-Bus
  kXServer,           // the X server's pointer control (xset m)
};

// GNOME, Unity, Budgie and Pantheon use GNOME's settings; Cinnamon its own
// with the same keys; KDE kdeglobals. Any other X11 session (or one that
// names no desktop but has a display) gets the X server's pointer control; a
// Wayland session without a known desktop gets nothing.
std::vector<DesktopKind> ChooseDesktops(std::string_view current_desktop,
                                        std::string_view session_type, bool has_x_display);

}  // namespace korvex48
