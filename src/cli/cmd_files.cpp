// save-profile, load-profile, reset, export-macros, firmware, udev-rules.
#include <cstdio>

#include "cli/commands.h"
#include "core/app/transfer_reports.h"
#include "core/files/firmware_patch.h"
#include "core/files/profile_file.h"
#include "core/image/default_image.h"

namespace korvex48::cli {
namespace {

// The one line for a whole-image write the mouse stopped taking.
std::string IncompleteLine(Connection& c) {
  const std::string& why = c.Core().LastTransferProblem();
  return WithRecovery(
      c.Core(), c.Core().StoppedWriteText() + (why.empty() ? std::string() : " (" + why + ")"));
}

std::string FileProblem(const FileError& e, const std::string& path) {
  return (e.path.empty() ? path : e.path) + ": " + (e.message.empty() ? "file error" : e.message);
}

}  // namespace

int RunSaveProfile(const GlobalOptions& options, const Args& args) {
  ExpectArgs(args, 1, 1, "save-profile FILE");
  Connection c(options);
  c.Connect();
  if (!c.Core().ImageRead()) Fail(kExitNoMouse, "the mouse's configuration was not read whole");
  // The file gets exactly the name given: a script saves and loads the same
  // path.
  const FileCommandResult r = c.Editor().SaveProfile(args[0]);
  switch (r.status) {
    case FileCommandStatus::kDone:
      return kExitOk;
    case FileCommandStatus::kFileError:
      Fail(kExitFile, "cannot write " + FileProblem(r.error, args[0]));
    case FileCommandStatus::kNoDevice:
      Fail(kExitNoMouse, MessageLine({{"Str022"}, {}, MessageBoxKind::kOkBox, {}}));
    case FileCommandStatus::kUnread:
    case FileCommandStatus::kRefused:
    case FileCommandStatus::kWriteFailed:
    case FileCommandStatus::kNoBackup:
      Fail(kExitNoMouse, "the mouse's configuration was not read whole");
  }
  return kExitOk;
}

int RunLoadProfile(const GlobalOptions& options, const Args& args) {
  ExpectArgs(args, 1, 1, "load-profile FILE");
  Connection c(options);
  c.Connect();
  c.Ui().messages.clear();
  c.Ui().BeginProgress("Writing the mouse", WholeImageWriteReports(c.Core().Layout()));
  const FileCommandResult r = c.Files().LoadProfile(args[0]);
  c.Ui().EndProgress();
  switch (r.status) {
    case FileCommandStatus::kDone:
      return kExitOk;
    case FileCommandStatus::kRefused:
      Fail(kExitFile, args[0] + ": " + kLoadBinErrorText + " (" + r.error.message + ")");
    case FileCommandStatus::kFileError:
      Fail(kExitFile, "cannot read " + FileProblem(r.error, args[0]));
    case FileCommandStatus::kNoDevice:
      Fail(kExitNoMouse, MessageLine({{"Str022"}, {}, MessageBoxKind::kOkBox, {}}));
    case FileCommandStatus::kWriteFailed:
    case FileCommandStatus::kUnread:
      Fail(kExitNoMouse, IncompleteLine(c));
    case FileCommandStatus::kNoBackup:
      FailWithoutBackup(c.Core());
  }
  return kExitOk;
}

int RunReset(const GlobalOptions& options, const Args& args) {
  ExpectArgs(args, 0, 0, "reset");
  Connection c(options);
  c.Connect();
  c.Ui().BeginProgress("Writing the defaults", WholeImageWriteReports(c.Core().Layout()));
  const bool usable = c.Core().DeviceUsable();
  const bool done = c.Images().ResetMouse();
  c.Ui().EndProgress();
  if (!usable) Fail(kExitNoMouse, MessageLine({{"Str022"}, {}, MessageBoxKind::kOkBox, {}}));
  if (!done && !c.Core().BackupProblem().empty()) FailWithoutBackup(c.Core());
  if (!done) Fail(kExitNoMouse, IncompleteLine(c));
  return kExitOk;
}

int RunExportMacros(const GlobalOptions& options, const Args& args) {
  ExpectArgs(args, 1, 1, "export-macros FILE");
  Connection c(options);
  c.Connect();
  const StorageLayout layout = c.Core().Layout();
  if (layout == StorageLayout::kNone) Fail(kExitRefused, "this mouse has no macro storage");
  FileError error;
  if (!WriteDeviceMacroExport(args[0], c.Core().Working(), layout, &error))
    Fail(kExitFile, "cannot write " + FileProblem(error, args[0]));
  return kExitOk;
}

int RunFirmware(const GlobalOptions& options, const Args& args) {
  ExpectArgs(args, 1, 1, "firmware FILE");
  // The file is read before the mouse is touched.
  FirmwarePatch patch;
  FileError error;
  switch (patch.LoadFile(args[0], &error)) {
    case FirmwarePatch::LoadStatus::kLoaded:
      break;
    case FirmwarePatch::LoadStatus::kNoPatch:
      Fail(kExitFile, args[0] +
                          ": the file does not hold the whole patch code at offset 0x8000 (a "
                          "firmware file has at least 33792 bytes)");
    case FirmwarePatch::LoadStatus::kUnreadable:
      Fail(kExitFile, "cannot read " + FileProblem(error, args[0]));
  }
  Connection c(options);
  c.Connect();
  c.Ui().BeginProgress("Programming", FirmwareReports());
  const FirmwareResult r = c.Firmware().ProgramFirmware(patch);
  c.Ui().EndProgress();
  switch (r) {
    case FirmwareResult::kProgrammed:
      break;
    case FirmwareResult::kNothing:
      Fail(kExitNoMouse, "the mouse cannot be programmed now");
    case FirmwareResult::kNoBackup:
      FailWithoutBackup(c.Core());
    case FirmwareResult::kNotFlash:
      Fail(kExitRefused, "only a mouse with Flash + Flash storage takes a firmware patch");
    case FirmwareResult::kWriteFailed:
      Fail(kExitNoMouse, "the patch was not programmed: " + c.Core().LastTransferProblem());
    case FirmwareResult::kRestartRefused:
      Fail(kExitNoMouse,
           "the patch is on the mouse, but the restart did not happen: the mouse refused the "
           "restart command");
  }
  if (!c.Core().DeviceUsable())
    Fail(kExitNoMouse, "the patch was sent, but the mouse did not come back after its restart");
  return kExitOk;
}

int RunUdevRules(const GlobalOptions& options, const Args& args) {
  (void)options;
  ExpectArgs(args, 0, 0, "udev-rules");
  ImageHead head{};
  ReadDefaultHead(head);
  const DefaultIdentifiers ids = DefaultIdentifiersOf(head);
  std::printf(
      "# Lets the user at the seat open the Korvex48 mouse's hidraw nodes.\n"
      "# Save as /etc/udev/rules.d/70-korvex48.rules, then run:\n"
      "#   udevadm control --reload-rules && udevadm trigger\n"
      "%s\n",
      UdevRuleText(ids.vendor_id, ids.product_id).c_str());
  return kExitOk;
}

}  // namespace korvex48::cli
