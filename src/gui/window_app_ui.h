#pragma once
// The main window as the connection logic and the image flows see it (AppUi):
// messages through the dialog seam, the busy pop-up, the page blockers, the
// DevTimer, and the page looks of the no-device and storage states.
#include "core/app/app_ui.h"

namespace korvex48::gui {

class MainWindow;

class WindowAppUi final : public AppUi {
 public:
  explicit WindowAppUi(MainWindow& window) : window_(window) {}

  void Show() override;
  void Hide() override;
  void ProcessEvents() override;
  void ShowMessage(const AppMessage& message) override;
  void LockPages() override;
  void UnlockPages() override;
  void StopDevTimer() override;
  void StartDevTimer() override;
  void RefreshUI() override;
  void RefreshErrorAP() override;
  void RefreshStoragePages(StorageLayout layout) override;
  void HideAllMenu() override;
  void SetMainMenuHeight(int pixels) override;
  void ShowNoDeviceOverlay() override;
  void StopLabelRun() override;

 private:
  MainWindow& window_;
};

}  // namespace korvex48::gui
