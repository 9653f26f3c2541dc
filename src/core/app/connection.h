#pragma once
// The connection to the mouse: polling for it, opening and identifying it
// (accepted mice are read whole), its loss, and the
// restart after which it is found again. It changes the core's connection
// state (AppCore's session, device information, the no-device look) and
// tells the front end through AppUi; waits go through the clock, each 100 ms
// step followed by ProcessEvents.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/app/app_core.h"
#include "core/app/image_flows.h"

namespace korvex48 {

class MachineFacts;

// Device address of the customer identifier for a primary storage kind.
std::uint16_t CustomerIdAddress(std::string_view primary_storage);

class Connection {
 public:
  // `core` (the state this flow changes) and `images` (which reads an
  // accepted mouse) must outlive the connection.
  Connection(AppCore& core, ImageFlows& images);
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // One tick of the device polling (every 3.5 s): counts the HID interfaces ten times in five pairs
  // and handles an arrival (2.1 s wait, open, IdentifyMouse) or a removal. A
  // mouse whose handles were found dead is lost and searched for again even
  // when the count did not change (unplugged and back within one period); a
  // whole-image read that came back incomplete, or an information step that
  // lost a reply, is made again; a mouse another program held is tried again.
  PollOutcome Poll();
  // Command 13: variant, storage kinds, storage check, customer identifier;
  // accepted mice are read (ImageFlows::ReadConfiguration).
  DevInfoResult IdentifyMouse();
  // Forgets the device and tries to open it again at once. A mouse another
  // program holds is shown as held (no message box).
  void FindMouseAgain();
  // The device-lost path; always ends in the Str100/Str101 message, with
  // `detail` (why the mouse could not be opened) when there is one. With
  // machine facts set, the no-device look also names the first problem of
  // the access checks (CheckMouseAccess) and points to `korvex48ctl doctor`;
  // not while the mouse is off the bus for a restart.
  void DeviceLost(const std::string& detail = {});
  // What the access checks of the no-device look ask the system (not owned;
  // nullptr: the look names no check).
  void SetMachineFacts(const MachineFacts* facts) { facts_ = facts; }
  // The program ends (the editor's window closed): the mouse's handles are
  // closed and marked invalid, so a flow still running in a nested event
  // loop sends nothing more, and the claim on the mouse goes. Nothing is
  // saved.
  void ReleaseDevice();
  // Restarts the mouse (command 14) and finds it again 5.1 s later, as a
  // report-rate increase and a firmware patch need: PollTimer stopped, 100 ms,
  // restart, the busy pop-up hidden, DeviceLost, 51 x 100 ms with events,
  // FindMouseAgain, PollTimer started. The claim on the mouse (see
  // Transport::OpenDevice) holds through the wait, so no other program takes
  // the mouse while it is off the bus. A mouse that refuses the command never
  // left the bus: it stays open, and the user is told `refused_text` with
  // the reason (the mouse holds what was written, but it was not restarted).
  RestartResult RestartAndFindAgain(
      const std::string& refused_text = "The mouse refused the restart command.");

 private:
  void WaitWithEvents(int steps_of_100ms);
  // After an open that failed: when another program holds the mouse, the
  // no-device look with the holder's line, retried at the next poll (true);
  // otherwise false and nothing done.
  bool ShowIfHeld();
  void ForgetHeld();    // the holder's line goes
  void ForgetReason();  // the line of the failed check goes
  // The poll step for a mouse last found held: open it, or show it held again.
  PollOutcome OpenHeldMouseAgain();

  AppCore& core_;
  ImageFlows& images_;
  Transport& transport_;
  CommandSet& commands_;
  AppUi& ui_;
  Clock& clock_;
  bool held_shown_ = false;  // the no-device look names another program holding the mouse
  const MachineFacts* facts_ = nullptr;
  bool restarting_ = false;    // the mouse is off the bus for a restart
  bool reason_shown_ = false;  // the no-device look names a failed check
};

}  // namespace korvex48
