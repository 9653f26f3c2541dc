#pragma once
// Shared pieces of korvex48ctl: exit codes, the failure every command throws,
// global options and the connection to the mouse.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "backends/device_factory.h"
#include "cli/cli_ui.h"
#include "core/app/app_core.h"
#include "core/common/clock.h"
#include "core/device/command_set.h"
#include "core/device/device_options.h"
#include "core/editing/engine.h"

namespace korvex48::cli {

enum ExitCode {
  kExitOk = 0,
  kExitNoMouse = 1,  // no mouse found, or the mouse was refused
  kExitUsage = 2,
  kExitFile = 3,
  kExitRefused = 4,  // a rule of the system forbids the change
  kExitInUse = 5,    // another program held the mouse for longer than the command waits
};

// What a command throws to end the program: one line for stderr and the exit
// status.
struct Failure {
  int code;
  std::string message;
};
[[noreturn]] void Fail(int code, std::string message);
[[noreturn]] void UsageError(std::string message);

struct GlobalOptions {
  DeviceOptions device;
  std::string library_path;  // empty: the per-user Macro.bin
  bool json = false;
  bool dry_run = false;     // apply, restore: say what would change, send nothing
  bool finish = false;      // restore: finish the change the newest journal names
  std::string report_path;  // doctor: the report file to write; empty: none
  bool help = false;
};

// Takes the global options out of `args` (anywhere on the line), leaving the
// command and its arguments in order.
GlobalOptions ParseGlobalOptions(std::vector<std::string>& args);

// Numbers and lists on the command line; each throws a usage error naming
// `what` when the text is not a whole number in [low, high].
int ParseInt(const std::string& text, int low, int high, const std::string& what);
// "R,G,B", each 0..255.
std::array<int, 3> ParseRgb(const std::string& text, const std::string& what);

// The mouse as the start-up flow finds and accepts it, without the arrival
// wait, with the page editor on top.
class Connection {
 public:
  explicit Connection(const GlobalOptions& options);
  ~Connection();

  // Opens and identifies the mouse; an accepted mouse is read whole. The
  // mouse stays claimed for this command until it ends; while another program
  // holds it the command waits up to 3 s, then throws kExitInUse naming the
  // holder. Throws kExitNoMouse when none answers; with `require_accepted`
  // also when it is refused (Str102, Str107).
  void Connect(bool require_accepted = true);

  AppCore& Core() { return engine_->Core(); }
  FirmwareFlow& Firmware() { return engine_->Firmware(); }
  ImageFlows& Images() { return engine_->Images(); }
  ProfileFiles& Files() { return engine_->Files(); }
  DeviceMacroFlows& MacroFlows() { return engine_->MacroFlows(); }
  ::korvex48::Connection& MouseConnection() { return engine_->MouseConnection(); }
  PageEditor& Editor() { return engine_->Editor(); }
  CliUi& Ui() { return ui_; }
  const TextLookup& Text() const { return text_; }
  Transport& GetTransport() { return *link_.transport; }
  int Version() const { return version_; }
  bool Simulated() const { return link_.simulated != nullptr; }

 private:
  bool Open();  // the first entry of the identifier table that opens

  std::unique_ptr<Clock> own_clock_;
  Clock* clock_;
  // Before the link: the transport reports its problems to it until it closes.
  CliUi ui_;
  DeviceLink link_;
  TextLookup text_;
  std::unique_ptr<Engine> engine_;
  int version_ = 0;
};

// What a change that did not finish lost and which command finishes or
// undoes it, in one line (lower case, no full stop).
std::string RecoveryLine(const CutReport& cut);
// `line`, with RecoveryLine of the change cut last when there is one.
std::string WithRecovery(const AppCore& core, std::string line);
// Ends the command (kExitFile): a change stopped for want of a backup.
[[noreturn]] void FailWithoutBackup(const AppCore& core);

// The language-1 texts the tool names things with.
const TextLookup& LanguageOne();
// A message's text on one line.
std::string MessageLine(const AppMessage& message);

}  // namespace korvex48::cli
