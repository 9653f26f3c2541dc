#pragma once
// What the connection logic and the image flows need from the main window.
// The GUI implements it with its windows, timers and event loop; the CLI and
// the tests use the silent default or RecordingAppUi. Every method has a
// do-nothing default so an implementation overrides only what it shows.
//
// The busy pop-up part (Show, Hide, ProcessEvents) is the BusyUi the command
// set shows per chunk, so one object serves both.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/text.h"
#include "core/device/busy_ui.h"
#include "core/image/config_image.h"

namespace korvex48 {

// How a message is boxed.
enum class MessageBoxKind {
  kPlain,  // a plain message box; its caption is the application title
  kOkBox,  // a message box with an empty caption and one OK button
};

// A message for the user. Its text is the language texts of `keys` joined by
// "\r" (one line each), or `literal` when there are no keys (the fixed
// "Loading .bin is error!"). `detail` is extra platform information the GUI
// may add below the text (for example why the mouse could not be opened);
// empty for most messages.
struct AppMessage {
  std::vector<std::string> keys;
  std::string literal;
  MessageBoxKind kind = MessageBoxKind::kPlain;
  std::string detail;

  // The text in the language of `text` (keys joined by "\r"), or `literal`.
  std::string Text(const TextLookup& text) const;
  // "Str100+Str101", or the literal: a short form for logs and tests.
  std::string Describe() const;

  friend bool operator==(const AppMessage&, const AppMessage&) = default;
};

class AppUi : public BusyUi {
 public:
  // BusyUi: Show() / Hide() the busy pop-up, ProcessEvents() lets pending
  // window events run (called inside every wait and transfer loop).

  // Shows a message and returns when the user closed it.
  virtual void ShowMessage(const AppMessage& message) { (void)message; }

  // The page blockers Disable_All_1..5 (every whole-image transfer).
  virtual void LockPages() {}
  virtual void UnlockPages() {}

  // The device polling timer DevTimer (3500 ms). Starting a running timer
  // restarts it.
  virtual void StopDevTimer() {}
  virtual void StartDevTimer() {}

  // The pages show the page copy and the code table again (RefreshUI): every
  // page, including the profile named by parameter byte 33.
  virtual void RefreshUI() {}
  // The button labels show the selected profile's codes again (after a
  // device macro was deleted and codes fell back).
  virtual void RefreshKeyLabels() {}
  // The device macro lists LB_MacroName and LB_Name show the device macro
  // table again (empty when there is none); the last row is scrolled into
  // view.
  virtual void RefreshDeviceMacroLists() {}
  // The macro editor shows nothing (mmo_macro, LB_macro, mmo_wrscript) and
  // the macro command panels are hidden.
  virtual void ClearMacroEditor() {}
  // The PC library list shows the library again.
  virtual void RefreshPcMacroList() {}
  // The operating system's mouse settings are read again.
  virtual void ReadOsMouseParameters() {}

  // The no-device appearance (the core has set NoDevicePage).
  virtual void RefreshErrorAP() {}
  // Update buttons shown for the slot layout only; page group 1 shown; the
  // page of the active profile opened; events processed. The core has
  // cleared NoDevicePage.
  virtual void RefreshStoragePages(StorageLayout layout) { (void)layout; }
  // Closes every open pop-up menu.
  virtual void HideAllMenu() {}
  // Height of Pnl_Main: 146 for chip variant 1 (the Macro row cut off), 170
  // for variants 4, 16, 17, 22.
  virtual void SetMainMenuHeight(int pixels) { (void)pixels; }

  // The window's own part of the device-lost path, called by DeviceLost in
  // this order: ShowNoDeviceOverlay (the Disable label), HideAllMenu,
  // StopLabelRun, ProcessEvents, RefreshErrorAP, ClearDeviceState (empties
  // LB_MacroName, LB_Name, LB_macro, the lighting-type text, the report rate
  // taken in and the reconnect-pending flag), then the Str100/Str101 message.
  virtual void ShowNoDeviceOverlay() {}
  virtual void StopLabelRun() {}
  virtual void ClearDeviceState() {}
};

// An AppUi that records every call as one line ("Show", "LockPages",
// "Message Str107", "MenuHeight 146", ...), for tests and the CLI's verbose
// mode. `on_process_events` runs inside every ProcessEvents.
class RecordingAppUi : public AppUi {
 public:
  std::vector<std::string> log;
  std::vector<AppMessage> messages;
  std::function<void()> on_process_events;
  bool record_busy = true;            // log Show/Hide (there is one per chunk)
  bool record_process_events = true;  // log ProcessEvents

  // Lines of `log` equal to `line`.
  int Count(std::string_view line) const;
  void Clear() {
    log.clear();
    messages.clear();
  }

  void Show() override;
  void Hide() override;
  void ProcessEvents() override;
  void ShowMessage(const AppMessage& message) override;
  void LockPages() override { log.push_back("LockPages"); }
  void UnlockPages() override { log.push_back("UnlockPages"); }
  void StopDevTimer() override { log.push_back("StopDevTimer"); }
  void StartDevTimer() override { log.push_back("StartDevTimer"); }
  void RefreshUI() override { log.push_back("RefreshUI"); }
  void RefreshKeyLabels() override { log.push_back("RefreshKeyLabels"); }
  void RefreshDeviceMacroLists() override { log.push_back("RefreshDeviceMacroLists"); }
  void ClearMacroEditor() override { log.push_back("ClearMacroEditor"); }
  void RefreshPcMacroList() override { log.push_back("RefreshPcMacroList"); }
  void ReadOsMouseParameters() override { log.push_back("ReadOsMouseParameters"); }
  void RefreshErrorAP() override { log.push_back("RefreshErrorAP"); }
  void RefreshStoragePages(StorageLayout layout) override;
  void HideAllMenu() override { log.push_back("HideAllMenu"); }
  void SetMainMenuHeight(int pixels) override;
  void ShowNoDeviceOverlay() override { log.push_back("ShowNoDeviceOverlay"); }
  void StopLabelRun() override { log.push_back("StopLabelRun"); }
  void ClearDeviceState() override { log.push_back("ClearDeviceState"); }
};

}  // namespace korvex48
