#pragma once
// The whole-image flows: the read of the opened mouse, the write of the
// working image, and the reset to the default image. Each locks the pages,
// shows the busy pop-up and stops polling while it runs, and changes the
// shared state (AppCore) before the front end hears of it.
#include "core/app/app_core.h"

namespace korvex48 {

class ImageFlows {
 public:
  // `core` (the state these flows change) must outlive them.
  explicit ImageFlows(AppCore& core);
  ImageFlows(const ImageFlows&) = delete;
  ImageFlows& operator=(const ImageFlows&) = delete;

  // Whole-image read of the opened mouse (both sections and the macro storage
  // of its layout). True when every reply came; otherwise nothing of it is
  // taken (images and pages keep what they had, the pages show the no-device
  // look, `Loading` stays set), the user is told how many reports the mouse
  // did not answer, and the next PollTimer tick reads again.
  bool ReadConfiguration();
  // Whole-image write of the working image (after a profile file was taken
  // in). False when the mouse stopped taking it part way: the user is told
  // that the mouse's configuration is incomplete (LastTransferProblem()).
  bool WriteConfiguration();
  // The Reset buttons: Str022 without a usable mouse, else WriteDefaults.
  bool ResetMouse();
  // Default image -> working image -> pages -> mouse, after a backup of
  // what the mouse held (nothing sent without one: BackupProblem()); false
  // as WriteConfiguration.
  bool WriteDefaults();

 private:
  // The working image with the default configuration in it, as a reset
  // writes it.
  ConfigImage DefaultsImage() const;
  bool WriteWholeImage();
  bool WriteCustomerId();
  // The end of a whole-image write that went as far as `ok` says: busy
  // pop-up hidden, pages unlocked, polling resumed, and the user told when
  // the mouse stopped taking it. Returns `ok`.
  bool EndWholeImageWrite(bool ok);

  AppCore& core_;
  Transport& transport_;
  CommandSet& commands_;
  AppUi& ui_;
};

}  // namespace korvex48
