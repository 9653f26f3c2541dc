// macro list / show / delete / add: the macros stored on the mouse.
#include <cstdio>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "core/app/transfer_reports.h"
#include "core/library/library_files.h"
#include "core/macros/macro_names.h"

namespace korvex48::cli {
namespace {

ButtonView ShownButtons(Connection& c) {
  const EditorState& st = c.Editor().State();
  const int profile = st.settings.active_profile;
  return ButtonView{st.labels, profile >= 1 && profile <= 3 ? profile : 1};
}

void PrintMacro(const MacroView& m, std::size_t row, bool json) {
  if (json) {
    JsonWriter j;
    j.BeginObject();
    j.Int("index", static_cast<long long>(row));
    j.String("name", m.name);
    j.Int("address", m.address);
    j.Int("length", m.length);
    j.BeginArray("lines");
    for (const std::string& line : m.lines) j.StringItem(line);
    j.EndArray();
    j.EndObject();
    std::fputs(j.Text().c_str(), stdout);
    return;
  }
  std::printf("macro %zu: %s, address %04X, length %d\n", row,
              EscapeControlCharacters(m.name).c_str(), m.address, m.length);
  for (const std::string& line : m.lines) std::printf("  %s\n", line.c_str());
}

std::string AddRefusal(Connection& c, MacroCommandResult r) {
  switch (r) {
    case MacroCommandResult::kNoEndByte:
      return "the library macro has no end byte within its 256 bytes";
    case MacroCommandResult::kWriteFailed:
      // What the mouse holds now (it was read again), then why it stopped.
      return WithRecovery(c.Core(), c.MacroFlows().LastMacroChangeCut() + " (" +
                                        c.Core().LastTransferProblem() + ")");
    case MacroCommandResult::kNoBackup:
      return c.Core().BackupProblem() + "; nothing was changed";
    case MacroCommandResult::kFull:
      return "the mouse holds as many macros as it can";
    case MacroCommandResult::kOutOfRange:
      return MessageLine({{"Str103"}, {}, MessageBoxKind::kPlain, {}});
    case MacroCommandResult::kBadName:
      return "the macro's name cannot be stored on the mouse";
    case MacroCommandResult::kNoLayout:
      return "this mouse has no macro storage";
    case MacroCommandResult::kNoSelection:
      return "there is no such macro";
    case MacroCommandResult::kNoDevice:
      return MessageLine({{"Str022"}, {}, MessageBoxKind::kOkBox, {}});
    case MacroCommandResult::kDone:
      break;
  }
  return {};
}

int ExitOf(MacroCommandResult r) {
  if (r == MacroCommandResult::kWriteFailed) return kExitNoMouse;
  return r == MacroCommandResult::kNoBackup ? kExitFile : kExitRefused;
}

}  // namespace

int RunMacro(const GlobalOptions& options, const Args& args) {
  const std::string usage = "macro list | show N | delete N | add LIBRARY-ROW";
  if (args.empty()) UsageError("usage: korvex48ctl " + usage);
  const std::string& what = args[0];
  const Args a(args.begin() + 1, args.end());
  if (what == "list") {
    ExpectArgs(a, 0, 0, "macro list");
    Connection c(options);
    c.Connect();
    const std::vector<MacroView> macros = DeviceMacroViews(c.Core());
    if (options.json) {
      JsonWriter j;
      j.BeginArray();
      for (std::size_t m = 0; m < macros.size(); ++m) {
        j.BeginObject();
        WriteMacroFields(j, m, macros[m]);
        j.EndObject();
      }
      j.EndArray();
      std::fputs(j.Text().c_str(), stdout);
    } else {
      for (std::size_t m = 0; m < macros.size(); ++m)
        std::printf("%2zu  %-8s  %04X  %d\n", m + 1,
                    EscapeControlCharacters(macros[m].name).c_str(), macros[m].address,
                    macros[m].length);
    }
    return kExitOk;
  }
  if (what == "show" || what == "delete") {
    ExpectArgs(a, 1, 1, "macro " + what + " N");
    const int n = ParseInt(a[0], 1, 32, "macro number");
    Connection c(options);
    c.Connect();
    const std::vector<MacroView> macros = DeviceMacroViews(c.Core());
    if (static_cast<std::size_t>(n) > macros.size())
      UsageError("the mouse has " + std::to_string(macros.size()) + " macros, not " +
                 std::to_string(n));
    if (what == "show") {
      PrintMacro(macros[static_cast<std::size_t>(n - 1)], static_cast<std::size_t>(n),
                 options.json);
      return kExitOk;
    }
    c.Ui().BeginProgress("Saving macros", MacroSaveReports(c.Core().Layout()));
    const MacroCommandResult r =
        c.MacroFlows().DeleteDeviceMacro(static_cast<std::size_t>(n - 1), ShownButtons(c));
    c.Ui().EndProgress();
    if (r != MacroCommandResult::kDone) Fail(ExitOf(r), AddRefusal(c, r));
    return kExitOk;
  }
  if (what == "add") {
    ExpectArgs(a, 1, 1, "macro add LIBRARY-ROW");
    const int row = ParseInt(a[0], 1, 100, "library row");
    PcMacroLibrary library;
    LoadCommandLineLibrary(options, library);
    if (static_cast<std::size_t>(row) > library.Count())
      UsageError("the library has " + std::to_string(library.Count()) + " macros, not " +
                 std::to_string(row));
    Connection c(options);
    c.Connect();
    c.Ui().messages.clear();
    c.Ui().BeginProgress("Saving macros", MacroSaveReports(c.Core().Layout()));
    const MacroCommandResult r =
        c.MacroFlows().AddMacroToMouse(library, static_cast<std::size_t>(row - 1), ShownButtons(c));
    c.Ui().EndProgress();
    if (r != MacroCommandResult::kDone) Fail(ExitOf(r), AddRefusal(c, r));
    return kExitOk;
  }
  UsageError("usage: korvex48ctl " + usage);
}

}  // namespace korvex48::cli
