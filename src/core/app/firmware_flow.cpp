// Programming a firmware patch into the mouse.
#include "core/app/firmware_flow.h"

namespace korvex48 {

FirmwareResult FirmwareFlow::ProgramFirmware(const FirmwarePatch& patch) {
  if (!core_.DeviceUsable() || !patch.Loaded()) return FirmwareResult::kNothing;
  // Only a mouse with "Flash" + "Flash" storage takes patch code at 0xC000;
  // on the others those addresses are configuration memory.
  if (core_.Layout() != StorageLayout::kSlot) return FirmwareResult::kNotFlash;
  // The patch leaves the configuration as it is: a backup, no journal.
  if (!core_.BeginChange({"firmware", ""}, nullptr)) return FirmwareResult::kNoBackup;
  const FirmwareResult result = Program(patch);
  core_.EndChange(result == FirmwareResult::kProgrammed);
  return result;
}

FirmwareResult FirmwareFlow::Program(const FirmwarePatch& patch) {
  AppUi& ui = core_.ui_;
  CommandSet& commands = core_.commands_;
  ui.StopPolling();
  ui.LockPages();
  ui.Show();
  ui.ProcessEvents();

  const PatchDescriptor descriptor = CheckPatchCodeSection(patch.Buffer());
  core_.BeginWrites();
  // The descriptor makes the mouse run the patch after its restart: it goes
  // only when the whole patch was taken.
  if (!core_.Wrote(commands.WriteMemory(kPatchDeviceAddress, patch.Buffer())) ||
      !core_.Wrote(commands.WriteMemory(kPatchDescriptorAddress, descriptor))) {
    ui.Hide();
    ui.ProcessEvents();
    ui.UnlockPages();
    ui.StartPolling();
    ui.ShowMessage({{},
                    "The firmware patch was not programmed: the mouse stopped taking it.",
                    MessageBoxKind::kPlain,
                    core_.transfer_problem_});
    return FirmwareResult::kWriteFailed;
  }
  ui.UnlockPages();
  if (connection_.RestartAndFindAgain(
          "The firmware patch is on the mouse, but the restart did not happen: the "
          "mouse refused the restart command.") == RestartResult::kRefused)
    return FirmwareResult::kRestartRefused;
  return FirmwareResult::kProgrammed;
}

}  // namespace korvex48
