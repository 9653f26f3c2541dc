#pragma once
// What the connection logic and the image flows need from the main window.
// The GUI implements every method with its windows, timers and event loop (a
// new method that the window does not implement does not compile); the
// command-line tool starts from NullAppUi, which shows nothing.
//
// The busy pop-up part (Show, Hide, ProcessEvents) is the BusyUi the command
// set shows per chunk, so one object serves both.
#include <string>
#include <string_view>
#include <vector>

#include "core/app/change_guard.h"
#include "core/buttons/key_code_table.h"
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
  virtual void ShowMessage(const AppMessage& message) = 0;

  // The page blockers Disable_All_1..5 (every whole-image transfer).
  virtual void LockPages() = 0;
  virtual void UnlockPages() = 0;

  // The device polling timer PollTimer (3500 ms). Starting a running timer
  // restarts it.
  virtual void StopPolling() = 0;
  virtual void StartPolling() = 0;

  // The pages show the page copy and the code table again (RefreshUI): every
  // page, including the profile named by parameter byte 33.
  virtual void RefreshUI() = 0;
  // The button labels of the selected profile become `labels` (after a
  // device macro was deleted and the codes that named it fell back).
  virtual void RefreshKeyLabels(const ButtonTexts& labels) = 0;
  // The device macro lists LB_MacroName and LB_Name show the device macro
  // table again (empty when there is none); the last row is scrolled into
  // view.
  virtual void RefreshDeviceMacroLists() = 0;
  // The macro editor shows nothing (mmo_macro, LB_macro, mmo_wrscript) and
  // the macro command panels are hidden.
  virtual void ClearMacroEditor() = 0;
  // The PC library list shows the library again.
  virtual void RefreshPcMacroList() = 0;
  // The operating system's mouse settings are read again.
  virtual void ReadOsMouseParameters() = 0;

  // The no-device appearance (the core has set NoDevicePage).
  virtual void ShowNoDevicePages() = 0;
  // One line in the no-device appearance saying which program holds the
  // mouse ("the mouse is in use by korvex48ctl (pid 4242)"); empty: none.
  virtual void ShowMouseHeld(const std::string& line) = 0;
  // One line in the no-device appearance naming the first problem the access
  // checks found and pointing to korvex48ctl doctor; empty: none. Front ends
  // without a no-device look ignore it.
  virtual void ShowNoDeviceReason(const std::string& line) { (void)line; }
  // Update buttons shown for the slot layout only; page group 1 shown; the
  // page of the active profile opened; events processed. The core has
  // cleared NoDevicePage.
  virtual void RefreshStoragePages(StorageLayout layout) = 0;
  // Closes every open pop-up menu.
  virtual void CloseMenus() = 0;
  // Height of Pnl_Main: 146 for chip variant 1 (the Macro row cut off), 170
  // for variants 4, 16, 17, 22.
  virtual void SetMainMenuHeight(int pixels) = 0;

  // The window's own part of the device-lost path, called by DeviceLost in
  // this order: ShowNoDeviceOverlay (the Disable label), CloseMenus,
  // StopLabelRun, ProcessEvents, ShowNoDevicePages, ClearDeviceState (empties
  // LB_MacroName, LB_Name, LB_macro, the lighting-type text, the report rate
  // taken in and the reconnect-pending flag), then the Str100/Str101 message.
  virtual void ShowNoDeviceOverlay() = 0;
  virtual void StopLabelRun() = 0;
  virtual void ClearDeviceState() = 0;

  // A larger change did not finish (it was cut now, or a read found the
  // mouse as a cut left it): the window offers to finish the change or to
  // restore the backup. Called after the flow's own message; the offer must
  // not run a flow before the flow that called it returned.
  virtual void OfferRecovery(const CutReport& cut) = 0;
};

// An AppUi that shows nothing: for the command-line tool, which overrides
// what it reports, and for programs that only drive the core.
class NullAppUi : public AppUi {
 public:
  void ShowMessage(const AppMessage&) override {}
  void LockPages() override {}
  void UnlockPages() override {}
  void StopPolling() override {}
  void StartPolling() override {}
  void RefreshUI() override {}
  void RefreshKeyLabels(const ButtonTexts&) override {}
  void RefreshDeviceMacroLists() override {}
  void ClearMacroEditor() override {}
  void RefreshPcMacroList() override {}
  void ReadOsMouseParameters() override {}
  void ShowNoDevicePages() override {}
  void ShowMouseHeld(const std::string&) override {}
  void RefreshStoragePages(StorageLayout) override {}
  void CloseMenus() override {}
  void SetMainMenuHeight(int) override {}
  void ShowNoDeviceOverlay() override {}
  void StopLabelRun() override {}
  void ClearDeviceState() override {}
  void OfferRecovery(const CutReport&) override {}
};

}  // namespace korvex48
