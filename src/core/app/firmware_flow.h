#pragma once
// Programming a firmware patch into a "Flash" + "Flash" mouse.
#include "core/app/app_core.h"
#include "core/app/connection.h"
#include "core/files/firmware_patch.h"

namespace korvex48 {

class FirmwareFlow {
 public:
  // `core` and `connection` (which restarts the mouse) must outlive the flow.
  FirmwareFlow(AppCore& core, Connection& connection) : core_(core), connection_(connection) {}
  FirmwareFlow(const FirmwareFlow&) = delete;
  FirmwareFlow& operator=(const FirmwareFlow&) = delete;

  // Patch at 0xC000, descriptor at 0x1000, then RestartAndFindAgain. Only a
  // "Flash" + "Flash" mouse is programmed; the descriptor and the restart go
  // only after every patch report was taken. A write that stops is told to
  // the user with LastTransferProblem().
  FirmwareResult ProgramFirmware(const FirmwarePatch& patch);

 private:
  FirmwareResult Program(const FirmwarePatch& patch);

  AppCore& core_;
  Connection& connection_;
};

}  // namespace korvex48
