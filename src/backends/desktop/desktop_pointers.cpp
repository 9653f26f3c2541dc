#include "backends/desktop/desktop_pointers.h"

#include <cstdlib>

#include "backends/desktop/gsettings_pointer.h"
#include "backends/desktop/kde_pointer.h"
#include "backends/desktop/x11_pointer.h"

namespace korvex48 {
namespace {

const char* Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

}  // namespace

std::vector<std::unique_ptr<DesktopPointer>> MakeDesktopPointers(
    const std::vector<DesktopKind>& kinds) {
  std::vector<std::unique_ptr<DesktopPointer>> made;
  for (DesktopKind kind : kinds) {
    switch (kind) {
      case DesktopKind::kGnomeSettings:
        made.push_back(std::make_unique<GSettingsPointer>("org.gnome.desktop.peripherals.mouse",
                                                          "GNOME settings"));
        break;
      case DesktopKind::kCinnamonSettings:
        made.push_back(std::make_unique<GSettingsPointer>("org.cinnamon.desktop.peripherals.mouse",
                                                          "Cinnamon settings"));
        break;
      case DesktopKind::kKdeGlobals:
        made.push_back(std::make_unique<KdePointer>(KdePointer::KdeGlobalsPath()));
        break;
      case DesktopKind::kXServer:
        made.push_back(std::make_unique<X11Pointer>());
        break;
    }
  }
  return made;
}

std::vector<DesktopKind> SessionDesktopKinds() {
  return ChooseDesktops(Env("XDG_CURRENT_DESKTOP"), Env("XDG_SESSION_TYPE"),
                        *Env("DISPLAY") != '\0');
}

}  // namespace korvex48
