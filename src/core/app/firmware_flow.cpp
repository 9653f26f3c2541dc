// Programming a firmware patch into the mouse.
#include "core/app/app_core.h"

namespace korvex48 {
namespace {

constexpr int kRestartWaitSteps = 51;  // 5.1 s for the patched mouse to come back

}  // namespace

FirmwareResult AppCore::Btn_ProgramClick(const FirmwarePatch& patch) {
  if (!DeviceUsable() || !patch.Loaded()) return FirmwareResult::kNothing;
  ui_.StopDevTimer();
  ui_.LockPages();
  ui_.Show();
  ui_.ProcessEvents();

  const PatchDescriptor descriptor = CheckPatchCodeSection(patch.Buffer());
  commands_.WriteMemory(kPatchDeviceAddress, patch.Buffer());
  commands_.WriteMemory(kPatchDescriptorAddress, descriptor);
  ui_.UnlockPages();
  clock_.SleepMilliseconds(100);
  commands_.Restart();

  // The mouse leaves the bus now: its handles are dead, and the busy pop-up
  // must not stay up if it never comes back.
  Session().VendorId = 0;
  Session().ProductId = 0;
  transport_.CloseDevice();
  ui_.Hide();
  DeviceLost();
  WaitWithEvents(kRestartWaitSteps);
  ReFindDev();
  ui_.StartDevTimer();
  return FirmwareResult::kProgrammed;
}

}  // namespace korvex48
