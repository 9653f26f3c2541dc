#pragma once
// The session bus the editor's libraries reach, named before Qt starts.
//
// Qt's screen-reader bridge connects to the session bus at the window's first
// accessibility event, before the first paint, and the main thread waits for
// it. With no bus address in the environment, libdbus would then "autolaunch"
// one: fork, run dbus-launch and wait for it, only to reach a private bus no
// screen reader listens on (over ssh, in CI, on a bare X server). Naming the
// session's usual socket instead keeps every session that has a bus as it was
// (that socket is where libdbus and GLib look first) and makes a connection
// without one fail at once.
#include <string>

namespace korvex48::gui {

// "unix:path=<runtime_dir>/bus", the path escaped as bus addresses are;
// `runtime_dir` empty: /run/user/<uid>.
std::string UserSessionBusAddress(const std::string& runtime_dir, unsigned uid);

// Sets DBUS_SESSION_BUS_ADDRESS to UserSessionBusAddress of $XDG_RUNTIME_DIR
// and the user unless it is set already.
void NameSessionBusBeforeStart();

}  // namespace korvex48::gui
