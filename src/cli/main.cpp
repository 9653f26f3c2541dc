// korvex48ctl: the configuration of a Korvex48 mouse from the command line.
#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "core/common/unicode_text.h"

namespace korvex48::cli {
namespace {

constexpr const char* kUsage =
    "usage: korvex48ctl [OPTIONS] COMMAND [ARGS...]\n"
    "\n"
    "Commands:\n"
    "  info                       identifiers, storage, customer id, accepted or why not\n"
    "  dump                       the whole configuration (--json: the text form of\n"
    "                             korvex48-config(5), which apply and diff read)\n"
    "  apply FILE [--dry-run]     make the mouse hold FILE's configuration (text form\n"
    "                             or profile file), sending only what differs\n"
    "  diff FILE [FILE2]          the differences between the mouse and FILE, or\n"
    "                             between two files; exit 0 equal, 1 different\n"
    "  set SETTING VALUE...       change one setting (korvex48ctl set --help)\n"
    "  save-profile FILE          save the configuration to a profile file\n"
    "  load-profile FILE          write a profile file into the mouse\n"
    "  reset                      write the default configuration into the mouse\n"
    "  export-macros FILE         save the mouse's macro storage to a file\n"
    "  firmware FILE              program the firmware patch of FILE\n"
    "  backups                    the backups kept before every larger change, newest\n"
    "                             first (--json too)\n"
    "  restore [N|FILE] [--dry-run]\n"
    "                             make the mouse hold backup N (default 1, the newest)\n"
    "                             or FILE again, sending only what differs\n"
    "  restore --finish           finish the change the newest backup's journal says\n"
    "                             did not finish\n"
    "  macro list|show N|delete N|add LIBRARY-ROW\n"
    "  library list|show N|new NAME|rename N NAME|delete N|import FILE|\n"
    "          import-all FILE|export N FILE|export-all FILE\n"
    "  udev-rules                 print the udev rule that gives users the mouse\n"
    "  doctor [--report FILE]     check, reading only, why the mouse does not show up:\n"
    "                             its hidraw node, access, udev rule, holder, device\n"
    "                             information, customer identifier, checksums, macro\n"
    "                             storage; exit 0 when usable, 1 otherwise; --report\n"
    "                             also writes them with a protocol trace to FILE\n"
    "\n"
    "Options:\n"
    "  --library PATH             the macro library (default: the per-user Macro.bin)\n"
    "  --json                     print data as JSON (info, dump, macro, library, doctor)\n"
    "  --help                     this text; after a command, that command's help\n"
    "  --version                  the version of korvex48ctl\n"
    "\n"
    "One program at a time has the mouse. A command claims it from its first\n"
    "report to its end, through the restart a higher report rate or a firmware\n"
    "patch makes (a lock file in $XDG_RUNTIME_DIR/korvex48); a command that finds\n"
    "it claimed waits up to 3 seconds, then ends with status 5 naming the holder.\n"
    "\n"
    "Before every change of more than one report (load-profile, apply, reset,\n"
    "macro add and delete, firmware, restore) the mouse's configuration is kept in\n"
    "$XDG_STATE_HOME/korvex48/backups (~/.local/state/korvex48/backups): its\n"
    "profile file, its text form and the configuration the change means to reach.\n"
    "The newest 50 are kept. Without a backup nothing is sent (exit 3). A change\n"
    "the mouse stopped taking part way names what the mouse lost and the command\n"
    "that restores the backup or finishes the change.\n";

constexpr const char* kSetUsage =
    "usage: korvex48ctl set SETTING VALUE...\n"
    "  active-profile 1|2|3\n"
    "  dpi-count 1..8\n"
    "  dpi-active 1..8\n"
    "  dpi-value LEVEL VALUE      VALUE one of 200 400 600 800 1000 1200 1600 2000\n"
    "                             2400 3200 4800 6400\n"
    "  dpi-color LEVEL R,G,B      components 0..255\n"
    "  report-rate 125|250|500|1000\n"
    "  led-mode off|1..5\n"
    "  led-step 1..10\n"
    "  led-color 1..7 R,G,B\n"
    "  button PROFILE BUTTON FUNCTION\n"
    "                             FUNCTION: a menu name (\"Right Key\", \"Play/Pause\",\n"
    "                             \"Fire Key2\"), a key combination (\"Ctrl+Shift+A\")\n"
    "                             or macro:NAME\n"
    "  fire 1..3 [count=1..15] [delay=0..4094] [continuous=on|off]\n"
    "  aim-dpi VALUE\n";

struct Command {
  int (*run)(const GlobalOptions&, const Args&);
  const char* help;
};

const std::map<std::string, Command>& Commands() {
  static const std::map<std::string, Command> commands = {
      {"info", {RunInfo, "usage: korvex48ctl [--json] info\n"}},
      {"dump", {RunDump, "usage: korvex48ctl [--json] dump\n"}},
      {"set", {RunSet, kSetUsage}},
      {"save-profile", {RunSaveProfile, "usage: korvex48ctl save-profile FILE\n"}},
      {"load-profile", {RunLoadProfile, "usage: korvex48ctl load-profile FILE\n"}},
      {"reset", {RunReset, "usage: korvex48ctl reset\n"}},
      {"export-macros", {RunExportMacros, "usage: korvex48ctl export-macros FILE\n"}},
      {"firmware", {RunFirmware, "usage: korvex48ctl firmware FILE\n"}},
      {"macro",
       {RunMacro,
        "usage: korvex48ctl [--json] macro list | show N | delete N | add LIBRARY-ROW\n"}},
      {"library",
       {RunLibrary,
        "usage: korvex48ctl [--library PATH] [--json] library list | show N | new NAME |\n"
        "       rename N NAME | delete N | import FILE | import-all FILE |\n"
        "       export N FILE | export-all FILE\n"}},
      {"udev-rules", {RunUdevRules, "usage: korvex48ctl udev-rules\n"}},
      {"apply", {RunApply, "usage: korvex48ctl apply FILE [--dry-run]\n"}},
      {"diff", {RunDiff, "usage: korvex48ctl diff FILE [FILE2]\n"}},
      {"doctor",
       {RunDoctor,
        "usage: korvex48ctl [--json] doctor [--report FILE]\n"
        "  One line a check, ok or problem with its fix: the hidraw nodes and which is\n"
        "  the mouse's configuration interface (and why the others were passed over),\n"
        "  whether this user may open it, the udev rule and where it is installed,\n"
        "  who holds the mouse, the device information, the customer identifier, both\n"
        "  sections' checksums, whether the macro storage reads whole, the version.\n"
        "  Only reads: nothing is written to the mouse. Exit 0 when the mouse is\n"
        "  usable, 1 otherwise. --report FILE writes the same and a protocol trace of\n"
        "  the reads into FILE, for a bug report.\n"}},
      {"backups", {RunBackups, "usage: korvex48ctl [--json] backups\n"}},
      {"restore",
       {RunRestore,
        "usage: korvex48ctl restore [N|FILE] [--dry-run]\n"
        "       korvex48ctl restore --finish\n"
        "  N: a backup as 'korvex48ctl backups' numbers them (default 1, the newest);\n"
        "  FILE: a backup's folder, a profile file or a text form. The mouse is\n"
        "  backed up first, then sent only what differs, as apply does. --finish\n"
        "  makes the mouse hold what the newest backup's change meant to reach.\n"}},
  };
  return commands;
}

int Main(std::vector<std::string> args) {
  if (args.size() == 1 && args[0] == "--version") {
    std::printf("korvex48ctl %s\n", KORVEX48_VERSION);
    return kExitOk;
  }
  GlobalOptions options = ParseGlobalOptions(args);
  if (args.empty()) {
    if (options.help) {
      std::fputs(kUsage, stdout);
      std::fputs(DeviceOptionsHelp().c_str(), stdout);
      return kExitOk;
    }
    UsageError("no command given (korvex48ctl --help lists them)");
  }
  const auto it = Commands().find(args[0]);
  if (it == Commands().end()) UsageError("unknown command \"" + args[0] + "\"");
  if (options.help) {
    std::fputs(it->second.help, stdout);
    return kExitOk;
  }
  return it->second.run(options, Args(args.begin() + 1, args.end()));
}

}  // namespace
}  // namespace korvex48::cli

int main(int argc, char** argv) {
  using namespace korvex48::cli;
  try {
    return Main(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const Failure& f) {
    std::fflush(stdout);
    // Paths and names in the line come from outside: nothing in it may act
    // on the terminal.
    std::fprintf(stderr, "korvex48ctl: %s\n", korvex48::EscapeForTerminal(f.message).c_str());
    return f.code;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "korvex48ctl: %s\n", korvex48::EscapeForTerminal(e.what()).c_str());
    return kExitFile;
  }
}
