// Profile files, the device macro export and firmware programming.
#include "core/app/app_core.h"

namespace korvex48 {
namespace {

constexpr int kRestartWaitSteps = 51;  // 5.1 s for the patched mouse to come back

}  // namespace

bool AppCore::RequireOpenDevice() {
  if (DeviceUsable()) return true;
  ui_.ShowMessage({{"Str022"}, {}, MessageBoxKind::kOkBox, {}});
  return false;
}

FileCommandResult AppCore::Btn_Save_0Click(const std::string& chosen, const PageState& page) {
  FileCommandResult result;
  // Saving talks only to the file, so a refused mouse (Loading) may be saved.
  if (!Session().HandlesValid()) {
    ui_.ShowMessage({{"Str022"}, {}, MessageBoxKind::kOkBox, {}});
    result.status = FileCommandStatus::kNoDevice;
    return result;
  }
  DataBufToMemo_OnClick(page);
  result.path = ProfileFileTarget(chosen);
  if (!WriteProfileFile(result.path, working_, Layout(), &result.error))
    result.status = FileCommandStatus::kFileError;
  return result;
}

FileCommandResult AppCore::Btn_Load_0Click(const std::string& path) {
  FileCommandResult result;
  result.path = path;
  if (!RequireOpenDevice()) {
    result.status = FileCommandStatus::kNoDevice;
    return result;
  }
  // The file goes into a copy first: a refused file changes nothing at all.
  ConfigImage candidate = working_;
  const ProfileLoadResult loaded = LoadProfileFile(path, Layout(), candidate);
  switch (loaded.status) {
    case ProfileLoadStatus::kLoaded:
      break;
    case ProfileLoadStatus::kRefused:
      ui_.ShowMessage({{}, kLoadBinErrorText, MessageBoxKind::kPlain, {}});
      result.status = FileCommandStatus::kRefused;
      return result;
    case ProfileLoadStatus::kUnreadable:
      result.status = FileCommandStatus::kFileError;
      result.error = {path, loaded.message};
      return result;
  }
  working_ = candidate;
  MemoToDataBuf_OnClick();
  return result;
}

FileCommandResult AppCore::Btn_DevExportClick(const std::string& chosen) {
  FileCommandResult result;
  result.path = ProfileFileTarget(chosen);
  if (!WriteDeviceMacroExport(result.path, working_, Layout(), &result.error))
    result.status = FileCommandStatus::kFileError;
  return result;
}

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
