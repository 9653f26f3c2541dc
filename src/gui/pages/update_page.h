#pragma once
// The Update page: the firmware file path (lbl_BINPath, lbl_LoadBIN), Load
// File (Btn_LoadBIN) and Update (Btn_Program). The page holds the patch code
// taken from the chosen file; programming it is the bound core's flow.
#include <QProgressBar>

#include "core/files/firmware_patch.h"
#include "gui/pages/page.h"

namespace korvex48 {
class FirmwareFlow;
}

namespace korvex48::gui {

class UpdatePage : public Page {
  Q_OBJECT

 public:
  UpdatePage(EditorContext& context, QWidget* parent);

  // The progress bar lies under the path field the layout table places.
  void ApplyLayout() override;

  // The flow that programs the patch; nullptr: Update does nothing.
  void Bind(FirmwareFlow* firmware) { firmware_ = firmware; }

  // The Update page was opened: the shown path is emptied
  // and the patch must be loaded again; the patch bytes stay.
  void PageOpened();
  // A click on Btn_LoadBIN: the open dialog, the path on show, the patch code
  // read. No mouse is needed. A refused file is named in a message and
  // leaves the field empty and no patch loaded.
  void LoadFile();
  // ProgramFirmware; without a loaded patch or a usable mouse a message
  // says why nothing was sent.
  // While the patch and its descriptor are written the progress bar
  // (pb_Program) shows the bytes sent.
  void Program();
  // Progress of a memory write; shown only while Program() runs.
  void ShowProgress(std::size_t done, std::size_t total);

  const FirmwarePatch& Patch() const { return patch_; }

 private:
  FirmwarePatch patch_;
  QLabel* path_;
  QProgressBar* progress_;
  FirmwareFlow* firmware_ = nullptr;
  bool programming_ = false;
  std::size_t written_before_ = 0;  // bytes of the writes finished earlier
  std::size_t last_done_ = 0;
  std::size_t last_total_ = 0;
};

}  // namespace korvex48::gui
