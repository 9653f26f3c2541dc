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
  // Every offer to finish or undo a change that did not finish.
  std::vector<CutReport> recoveries;
  std::function<void()> on_process_events;
  // Runs with every line as it is recorded (the call being made).
  std::function<void(const std::string& line)> on_line;
  bool record_busy = true;            // log Show/Hide (there is one per chunk)
  bool record_process_events = true;  // log ProcessEvents

  // Lines of `log` equal to `line`.
  int Count(std::string_view line) const;
  void Clear() {
    log.clear();
    messages.clear();
    recoveries.clear();
  }

  void Show() override;
  void Hide() override;
  void ProcessEvents() override;
  void ShowMessage(const AppMessage& message) override;
  void LockPages() override { Note("LockPages"); }
  void UnlockPages() override { Note("UnlockPages"); }
  void StopPolling() override { Note("StopPolling"); }
  void StartPolling() override { Note("StartPolling"); }
  void RefreshUI() override { Note("RefreshUI"); }
  void RefreshKeyLabels(const ButtonTexts&) override { Note("RefreshKeyLabels"); }
  void RefreshDeviceMacroLists() override { Note("RefreshDeviceMacroLists"); }
  void ClearMacroEditor() override { Note("ClearMacroEditor"); }
  void RefreshPcMacroList() override { Note("RefreshPcMacroList"); }
  void ReadOsMouseParameters() override { Note("ReadOsMouseParameters"); }
  void ShowNoDevicePages() override { Note("ShowNoDevicePages"); }
  void ShowMouseHeld(const std::string& line) override { Note("MouseHeld " + line); }
  void ShowNoDeviceReason(const std::string& line) override { Note("NoDeviceReason " + line); }
  void RefreshStoragePages(StorageLayout layout) override;
  void CloseMenus() override { Note("CloseMenus"); }
  void SetMainMenuHeight(int pixels) override;
  void ShowNoDeviceOverlay() override { Note("ShowNoDeviceOverlay"); }
  void StopLabelRun() override { Note("StopLabelRun"); }
  void ClearDeviceState() override { Note("ClearDeviceState"); }
  void OfferRecovery(const CutReport& cut) override {
    recoveries.push_back(cut);
    Note("OfferRecovery " + cut.change);
  }

 private:
  void Note(std::string line) {
    log.push_back(line);
    if (on_line) on_line(line);
  }
};

}  // namespace korvex48
