// Programming a firmware patch into the mouse.
#include "core/app/app_core.h"

namespace korvex48 {

FirmwareResult AppCore::ProgramFirmware(const FirmwarePatch& patch) {
  if (!DeviceUsable() || !patch.Loaded()) return FirmwareResult::kNothing;
  // Only a mouse with "Flash" + "Flash" storage takes patch code at 0xC000;
  // on the others those addresses are configuration memory.
  if (Layout() != StorageLayout::kSlot) return FirmwareResult::kNotFlash;
  ui_.StopPolling();
  ui_.LockPages();
  ui_.Show();
  ui_.ProcessEvents();

  const PatchDescriptor descriptor = CheckPatchCodeSection(patch.Buffer());
  BeginWrites();
  // The descriptor makes the mouse run the patch after its restart: it goes
  // only when the whole patch was taken.
  if (!Wrote(commands_.WriteMemory(kPatchDeviceAddress, patch.Buffer())) ||
      !Wrote(commands_.WriteMemory(kPatchDescriptorAddress, descriptor))) {
    ui_.Hide();
    ui_.ProcessEvents();
    ui_.UnlockPages();
    ui_.StartPolling();
    ui_.ShowMessage({{},
                     "The firmware patch was not programmed: the mouse stopped taking it.",
                     MessageBoxKind::kPlain,
                     transfer_problem_});
    return FirmwareResult::kWriteFailed;
  }
  ui_.UnlockPages();
  if (RestartAndFindAgain("The firmware patch is on the mouse, but the restart did not happen: the "
                          "mouse refused the restart command.") == RestartResult::kRefused)
    return FirmwareResult::kRestartRefused;
  return FirmwareResult::kProgrammed;
}

}  // namespace korvex48
