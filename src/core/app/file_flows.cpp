// Profile files and the device macro export.
#include "core/app/app_core.h"

namespace korvex48 {
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

}  // namespace korvex48
