#pragma once
// The commands of korvex48ctl. Each takes the global options and its own
// arguments (after the command words), checks every value before it talks to
// the mouse, and returns the exit status or throws a Failure.
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/config/configuration.h"
#include "core/library/pc_macro_library.h"
#include "core/macros/macro_lines.h"

namespace korvex48::cli {

class JsonWriter;

using Args = std::vector<std::string>;

int RunInfo(const GlobalOptions& options, const Args& args);
int RunDump(const GlobalOptions& options, const Args& args);
int RunSet(const GlobalOptions& options, const Args& args);
int RunSaveProfile(const GlobalOptions& options, const Args& args);
int RunLoadProfile(const GlobalOptions& options, const Args& args);
int RunReset(const GlobalOptions& options, const Args& args);
int RunExportMacros(const GlobalOptions& options, const Args& args);
int RunFirmware(const GlobalOptions& options, const Args& args);
int RunMacro(const GlobalOptions& options, const Args& args);
int RunLibrary(const GlobalOptions& options, const Args& args);
int RunUdevRules(const GlobalOptions& options, const Args& args);
int RunApply(const GlobalOptions& options, const Args& args);
int RunDiff(const GlobalOptions& options, const Args& args);
int RunDoctor(const GlobalOptions& options, const Args& args);
int RunBackups(const GlobalOptions& options, const Args& args);
int RunRestore(const GlobalOptions& options, const Args& args);

// The end of an apply (or a restore) of `source`: its differences on stdout,
// or the failure of its status.
int EndOfApply(Connection& c, const ConfigApplyResult& r, int refused_before,
               const std::string& source);
// Ends the command unless the mouse's configuration was read whole.
void RequireWholeRead(Connection& c);

// The text form of a configuration on stdout (dump --json).
void PrintConfigurationText(const Configuration& config);

// A device macro as the lists show it: name, address of its first event byte,
// length of its events with the end byte, and its lines.
struct MacroView {
  std::string name;
  int address = 0;
  int length = 0;
  MacroLines lines;
};
std::vector<MacroView> DeviceMacroViews(const AppCore& core);
// The fields every JSON listing gives a device macro, inside the caller's
// object: "index" (`index` + 1, as the commands number macros), "name",
// "address", "length".
void WriteMacroFields(JsonWriter& j, std::size_t index, const MacroView& macro);

// Loads the library a command works on: the file named by --library, which
// must exist and be a library (it is never created, replaced or moved aside),
// or the per-user Macro.bin (made from the default library at first use; one
// that is no library is kept as Macro.bin.broken, with a warning). A library
// that cannot be loaded ends the command (kExitFile), so it is never written.
void LoadCommandLineLibrary(const GlobalOptions& options, PcMacroLibrary& library);

// Throws a usage error unless `args` has between `low` and `high` entries.
void ExpectArgs(const Args& args, std::size_t low, std::size_t high, const std::string& usage);

}  // namespace korvex48::cli
