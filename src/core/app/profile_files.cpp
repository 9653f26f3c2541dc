// Profile files and the device macro export.
#include "core/app/profile_files.h"

#include <algorithm>

#include "core/image/parameter_fields.h"

namespace korvex48 {
namespace {
constexpr const char* kUnreadImageText =
    "The mouse's configuration was not read whole: nothing was saved.";

// Parameter bytes 2-5 are the USB vendor and product identifiers the mouse
// answers with (big-endian): a file's bytes from another mouse would make this
// one appear under identifiers no program of the system looks for. The mouse
// keeps its own; a checksum that was right for the file's bytes is made right
// for these, one that was wrong stays wrong.
void KeepUsbIdentifiers(const ParameterSection& mouse, ParameterSection& loaded) {
  constexpr std::size_t kFirst = param::kVendorId, kEnd = param::kProductId + 2;
  if (std::equal(mouse.begin() + kFirst, mouse.begin() + kEnd, loaded.begin() + kFirst)) return;
  ParameterSection check = loaded;
  CalcParameterChecksum(check);
  const bool valid = check[kParameterChecksumOffset] == loaded[kParameterChecksumOffset];
  std::copy(mouse.begin() + kFirst, mouse.begin() + kEnd, loaded.begin() + kFirst);
  if (valid) CalcParameterChecksum(loaded);
}

}  // namespace

bool ProfileFiles::RequireOpenDevice() {
  if (core_.DeviceUsable()) return true;
  core_.ui_.ShowMessage({{"Str022"}, {}, MessageBoxKind::kOkBox, {}});
  return false;
}

FileCommandResult ProfileFiles::SaveProfileFile(const std::string& path,
                                                const ParameterSection& parameters) {
  FileCommandResult result;
  // Saving talks only to the file, so a refused mouse (Loading) may be saved.
  if (!core_.Session().HandlesValid()) {
    core_.ui_.ShowMessage({{"Str022"}, {}, MessageBoxKind::kOkBox, {}});
    result.status = FileCommandStatus::kNoDevice;
    return result;
  }
  // A file made from an image the mouse never sent whole would, loaded later,
  // write 0xFF bytes over the mouse's configuration.
  if (!core_.image_read_) {
    core_.ui_.ShowMessage({{}, kUnreadImageText, MessageBoxKind::kPlain, core_.transfer_problem_});
    result.status = FileCommandStatus::kUnread;
    return result;
  }
  core_.PrepareImageForSave(parameters);
  result.path = path;
  if (!WriteProfileFile(result.path, core_.working_, core_.Layout(), &result.error))
    result.status = FileCommandStatus::kFileError;
  return result;
}

FileCommandResult ProfileFiles::LoadProfile(const std::string& path) {
  FileCommandResult result;
  result.path = path;
  if (!RequireOpenDevice()) {
    result.status = FileCommandStatus::kNoDevice;
    return result;
  }
  // The file goes into a copy first: a refused file changes nothing at all.
  ConfigImage candidate = core_.working_;
  const ProfileLoadResult loaded = LoadProfileFile(path, core_.Layout(), candidate);
  switch (loaded.status) {
    case ProfileLoadStatus::kLoaded:
      break;
    case ProfileLoadStatus::kRefused:
      core_.ui_.ShowMessage({{}, kLoadBinErrorText, MessageBoxKind::kPlain, loaded.reason});
      result.status = FileCommandStatus::kRefused;
      result.error = {path, loaded.reason};
      return result;
    case ProfileLoadStatus::kUnreadable:
      result.status = FileCommandStatus::kFileError;
      result.error = {path, loaded.message};
      return result;
  }
  // The customer identifier decides whether the programs accept the mouse:
  // one taken from a file (another product's, or any bytes at all) would lock
  // them out of this mouse for good. The mouse keeps its own.
  candidate.customer_id = core_.Session().CustomerId;
  KeepUsbIdentifiers(core_.working_.parameters, candidate.parameters);
  if (!core_.BeginChange({"load-profile", path}, &candidate)) {
    result.status = FileCommandStatus::kNoBackup;
    return result;
  }
  core_.working_ = candidate;
  const bool ok = images_.WriteConfiguration();
  if (!ok) result.status = FileCommandStatus::kWriteFailed;
  core_.EndChange(ok);
  return result;
}

FileCommandResult ProfileFiles::ExportDeviceMacros(const std::string& chosen) {
  FileCommandResult result;
  if (core_.Session().HandlesValid() && !core_.image_read_) {
    core_.ui_.ShowMessage({{}, kUnreadImageText, MessageBoxKind::kPlain, core_.transfer_problem_});
    result.status = FileCommandStatus::kUnread;
    return result;
  }
  result.path = ProfileFileTarget(chosen);
  if (!WriteDeviceMacroExport(result.path, core_.working_, core_.Layout(), &result.error))
    result.status = FileCommandStatus::kFileError;
  return result;
}

}  // namespace korvex48
