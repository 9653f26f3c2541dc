#include "cli/cli.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/app/transfer_reports.h"
#include "core/backups/backup_store.h"
#include "core/common/file_io.h"
#include "core/common/unicode_text.h"
#include "core/device/simulated_mouse.h"
#include "core/image/default_image.h"
#include "core/ui/language.h"
#include "core/ui/settings_table.h"

namespace korvex48::cli {
namespace {

std::string Hex4(int v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04x", v & 0xFFFF);
  return buf;
}

}  // namespace

void Fail(int code, std::string message) { throw Failure{code, std::move(message)}; }
void UsageError(std::string message) { Fail(kExitUsage, std::move(message)); }

GlobalOptions ParseGlobalOptions(std::vector<std::string>& args) {
  GlobalOptions options;
  std::string error;
  if (!ParseDeviceOptions(args, &options.device, &error)) UsageError(error);
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--json") {
      options.json = true;
    } else if (a == "--dry-run") {
      options.dry_run = true;
    } else if (a == "--finish") {
      options.finish = true;
    } else if (a == "--help" || a == "-h") {
      options.help = true;
    } else if (a == "--library") {
      if (i + 1 >= args.size()) UsageError("--library needs a PATH");
      options.library_path = args[++i];
    } else if (a.rfind("--library=", 0) == 0) {
      options.library_path = a.substr(10);
      if (options.library_path.empty()) UsageError("--library needs a PATH");
    } else if (a == "--report") {
      if (i + 1 >= args.size()) UsageError("--report needs a FILE");
      options.report_path = args[++i];
    } else if (a.rfind("--report=", 0) == 0) {
      options.report_path = a.substr(9);
      if (options.report_path.empty()) UsageError("--report needs a FILE");
    } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
      UsageError("unknown option " + a);
    } else {
      rest.push_back(a);
    }
  }
  args = std::move(rest);
  return options;
}

int ParseInt(const std::string& text, int low, int high, const std::string& what) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) {
    UsageError(what + " must be a number from " + std::to_string(low) + " to " +
               std::to_string(high) + ", not \"" + text + "\"");
  }
  return value;
}

std::array<int, 3> ParseRgb(const std::string& text, const std::string& what) {
  std::array<int, 3> rgb{};
  std::size_t start = 0;
  for (std::size_t c = 0; c < 3; ++c) {
    const std::size_t comma = text.find(',', start);
    const bool last = c == 2;
    if ((comma == std::string::npos) != last)
      UsageError(what + " must be R,G,B with three components 0..255, not \"" + text + "\"");
    const std::string part = text.substr(start, last ? std::string::npos : comma - start);
    rgb[c] = ParseInt(part, 0, 255, what + " component");
    start = comma + 1;
  }
  return rgb;
}

std::string RecoveryLine(const CutReport& cut) {
  std::string line = cut.LostLine() +
                     "; 'korvex48ctl restore 1' puts back what the mouse held before " + cut.change;
  if (cut.can_finish) line += ", 'korvex48ctl restore --finish' finishes the change";
  return line;
}

std::string WithRecovery(const AppCore& core, std::string line) {
  if (const auto& cut = core.LastCut()) line += "; " + RecoveryLine(*cut);
  return line;
}

void FailWithoutBackup(const AppCore& core) {
  const std::string& problem = core.BackupProblem();
  Fail(kExitFile,
       (problem.empty() ? "no backup could be made" : problem) + "; nothing was changed");
}

const TextLookup& LanguageOne() {
  static const TextLookup lookup = [] {
    std::string error;
    auto table = LanguageTable::LoadShipped(1, &error);
    if (!table) Fail(kExitFile, "the language table cannot be read: " + error);
    return table->Lookup();
  }();
  return lookup;
}

std::string MessageLine(const AppMessage& message) {
  std::string text = message.Text(LanguageOne());
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  if (!message.detail.empty()) text += " (" + message.detail + ")";
  return text;
}

Connection::Connection(const GlobalOptions& options) {
  // The simulated mouse lives on virtual time: its waits (live-write pauses,
  // the restart after a rate change) pass at once.
  if (options.device.simulate) {
    own_clock_ = std::make_unique<FakeClock>();
    clock_ = own_clock_.get();
    // It takes only the report shapes a real mouse is known to take: one it
    // refuses is named (the command then fails on the refusal).
    SimulatedMouse::SetRefusedShapeHook([](std::string_view shape) {
      std::fprintf(stderr, "korvex48ctl: warning: the simulated mouse refused a %s\n",
                   EscapeForTerminal(shape).c_str());
    });
  } else {
    clock_ = &DefaultClock();
  }
  std::string error;
  link_ = MakeDeviceLink(options.device, *clock_, &error, nullptr, &ui_);
  if (!link_.transport) Fail(kExitFile, error);
  text_ = LanguageOne();
  EngineOptions engine;
  engine.text = text_;
  engine.backup_folder = DefaultBackupFolder();
  if (!options.device.default_image_file.empty()) {
    FileError file_error;
    auto image = ReadWholeFile(options.device.default_image_file, &file_error, 1u << 20);
    if (!image) Fail(kExitFile, file_error.path + ": " + file_error.message);
    if (image->size() < 768)
      Fail(kExitFile,
           options.device.default_image_file + ": a default image has 768 bytes or more");
    engine.default_image = std::move(*image);
  }
  if (auto settings = LoadShippedSettings(&error)) {
    engine.reserve_manu_id = settings->rev_manu_id;
    engine.reserve_pro_id = settings->rev_pro_id;
  } else {
    Fail(kExitFile, "the settings table cannot be read: " + error);
  }
  engine_ = std::make_unique<Engine>(*link_.transport, ui_, *clock_, engine);
}

Connection::~Connection() = default;

bool Connection::Open() {
  for (const DeviceIdEntry& entry : engine_->Core().DeviceIdTable()) {
    if (entry.vendor_id == 0 || entry.product_id == 0) continue;
    if (link_.transport->OpenDevice(entry.vendor_id, entry.product_id, &version_)) return true;
  }
  return false;
}

void Connection::Connect(bool require_accepted) {
  // Another program's command is short: wait for it a little before giving up.
  constexpr int kHeldWaitSteps = 30;
  bool opened = Open();
  for (int step = 0; !opened && link_.transport->HeldProblem() && step < kHeldWaitSteps; ++step) {
    clock_->SleepMilliseconds(100);
    ui_.ForgetOpenProblems();
    opened = Open();
  }
  if (const OpenProblem* held = link_.transport->HeldProblem(); !opened && held)
    Fail(kExitInUse, held->message);
  const DefaultIdentifiers& ids = engine_->Core().Defaults();
  const std::string which = "Korvex48 mouse " + Hex4(ids.vendor_id) + ":" + Hex4(ids.product_id);
  if (!opened) {
    for (const OpenProblem& p : link_.transport->LastOpenProblems()) {
      if (p.error == HidError::kPermission) {
        Fail(kExitNoMouse, "no permission to open " + p.path + " (" + which +
                               "): install the rule from 'korvex48ctl udev-rules' as "
                               "/etc/udev/rules.d/70-korvex48.rules and reload: "
                               "udevadm control --reload-rules && udevadm trigger");
      }
      Fail(kExitNoMouse, p.message);
    }
    Fail(kExitNoMouse, "no " + which + " found (" + link_.description + ")");
  }
  // Found after all: the nodes that could not be opened are worth a word.
  ui_.PrintOpenProblems();
  // The layout is known only after the device information; the bar needs a
  // rough size, and the slot layout is the long one.
  ui_.BeginProgress("Reading the mouse", WholeImageReadReports(StorageLayout::kSlot));
  const DevInfoResult info = engine_->MouseConnection().IdentifyMouse();
  ui_.EndProgress();
  if (!require_accepted) return;
  switch (info.outcome) {
    case DevInfoOutcome::kAccepted:
      // A change an earlier run began and the mouse shows cut.
      if (const auto& cut = engine_->Core().LastCut())
        std::fprintf(stderr, "korvex48ctl: warning: %s did not finish: %s\n",
                     EscapeForTerminal(cut->change).c_str(),
                     EscapeForTerminal(RecoveryLine(*cut)).c_str());
      return;
    case DevInfoOutcome::kReadIncomplete:
      Fail(kExitNoMouse, engine_->Core().LastTransferProblem());
    case DevInfoOutcome::kNotSent:
      Fail(kExitNoMouse, "the " + which + " does not answer the device information request");
    case DevInfoOutcome::kUnknownPrimary:
      Fail(kExitNoMouse, "the " + which + " reports an unknown storage kind");
    case DevInfoOutcome::kNoSecondary:
      Fail(kExitNoMouse, "the " + which + " reports no secondary storage");
    case DevInfoOutcome::kStorageMismatch:
    case DevInfoOutcome::kRefused:
      Fail(kExitNoMouse,
           "the mouse was refused: " +
               MessageLine(ui_.messages.empty() ? AppMessage{} : ui_.messages.back()));
  }
}

}  // namespace korvex48::cli
