#pragma once
// An AppUi that records every call as one line ("Show", "LockPages",
// "Message Str107", "MenuHeight 146", ...), for tests of the core and of the
// device backends. `on_process_events` runs inside every ProcessEvents.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/app_ui.h"

namespace korvex48 {

class RecordingAppUi final : public AppUi {
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
  void StopPolling() override { log.push_back("StopPolling"); }
  void StartPolling() override { log.push_back("StartPolling"); }
  void RefreshUI() override { log.push_back("RefreshUI"); }
  void RefreshKeyLabels(const ButtonTexts&) override { log.push_back("RefreshKeyLabels"); }
  void RefreshDeviceMacroLists() override { log.push_back("RefreshDeviceMacroLists"); }
  void ClearMacroEditor() override { log.push_back("ClearMacroEditor"); }
  void RefreshPcMacroList() override { log.push_back("RefreshPcMacroList"); }
  void ReadOsMouseParameters() override { log.push_back("ReadOsMouseParameters"); }
  void ShowNoDevicePages() override { log.push_back("ShowNoDevicePages"); }
  void ShowMouseHeld(const std::string& line) override { log.push_back("MouseHeld " + line); }
  void RefreshStoragePages(StorageLayout layout) override;
  void CloseMenus() override { log.push_back("CloseMenus"); }
  void SetMainMenuHeight(int pixels) override;
  void ShowNoDeviceOverlay() override { log.push_back("ShowNoDeviceOverlay"); }
  void StopLabelRun() override { log.push_back("StopLabelRun"); }
  void ClearDeviceState() override { log.push_back("ClearDeviceState"); }
};

}  // namespace korvex48
