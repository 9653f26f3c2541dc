#include "gui/session_bus.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace korvex48::gui {

std::string UserSessionBusAddress(const std::string& runtime_dir, unsigned uid) {
  const std::string path =
      (runtime_dir.empty() ? "/run/user/" + std::to_string(uid) : runtime_dir) + "/bus";
  std::string address = "unix:path=";
  for (const char c : path) {
    const auto u = static_cast<unsigned char>(c);
    const bool plain = (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                       c == '-' || c == '_' || c == '/' || c == '.' || c == '\\' || c == '*';
    if (plain) {
      address += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02x", u);
      address += escaped;
    }
  }
  return address;
}

void NameSessionBusBeforeStart() {
  const char* set = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (set && *set) return;
  const char* runtime_dir = std::getenv("XDG_RUNTIME_DIR");
  const std::string address = UserSessionBusAddress(runtime_dir ? runtime_dir : "", getuid());
  setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
}

}  // namespace korvex48::gui
