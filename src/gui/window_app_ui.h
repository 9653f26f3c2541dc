#pragma once
// The main window as the connection logic and the image flows see it (AppUi):
// messages through the dialog seam, the busy pop-up, the page blockers, the
// PollTimer, and the page looks of the no-device and storage states.
//
// The macro side of the window (device macro lists, macro editor, PC library
// list, the operating system's mouse settings) plugs in through Hooks, so the
// pages that own those controls need no change here.
#include <functional>

#include "core/app/app_ui.h"

class QLabel;

namespace korvex48::gui {

class MainWindow;

class WindowAppUi final : public AppUi {
 public:
  struct Hooks {
    std::function<void()> refresh_device_macro_lists;
    std::function<void()> clear_macro_editor;
    std::function<void()> refresh_pc_macro_list;
    std::function<void()> read_os_mouse_parameters;
    // The macro page forgets the mouse's macros (before the lists are emptied).
    std::function<void()> clear_device_lists;
    // Every message shown, before its box opens (logs).
    std::function<void(const AppMessage&)> message_shown;
    // A memory write's progress: `done` of `total` bytes sent.
    std::function<void(std::size_t done, std::size_t total)> write_progress;
    // A change that did not finish: the window offers to finish or undo it
    // (runs once the flow that reported it returned).
    std::function<void(const CutReport&)> offer_recovery;
  };

  explicit WindowAppUi(MainWindow& window) : window_(window) {}

  Hooks& GetHooks() { return hooks_; }

  void Show() override;
  void Hide() override;
  void ProcessEvents() override;
  void Progress(std::size_t done, std::size_t total) override;
  // Plain messages carry the application title as caption, OK boxes none.
  void ShowMessage(const AppMessage& message) override;
  void LockPages() override;
  void UnlockPages() override;
  void StopPolling() override;
  void StartPolling() override;
  void RefreshUI() override;
  // The button page shows the labels the page editor now holds.
  void RefreshKeyLabels(const ButtonTexts& labels) override;
  void RefreshDeviceMacroLists() override;
  void ClearMacroEditor() override;
  void RefreshPcMacroList() override;
  void ReadOsMouseParameters() override;
  void ShowNoDevicePages() override;
  // A line over the page content (`lbl_MouseHeld`), made at its first use.
  void ShowMouseHeld(const std::string& line) override;
  void ShowNoDeviceReason(const std::string& line) override;
  void RefreshStoragePages(StorageLayout layout) override;
  void CloseMenus() override;
  void SetMainMenuHeight(int pixels) override;
  void ShowNoDeviceOverlay() override;
  void StopLabelRun() override;
  // Empties LB_MacroName, LB_Name and LB_macro.
  void ClearDeviceState() override;
  // Hands the offer to the window's hook after the running flow returned.
  void OfferRecovery(const CutReport& cut) override;

 private:
  static void Call(const std::function<void()>& hook) {
    if (hook) hook();
  }

  MainWindow& window_;
  QLabel* held_line_ = nullptr;    // owned by the window
  QLabel* reason_line_ = nullptr;  // owned by the window
  Hooks hooks_;
};

}  // namespace korvex48::gui
