#include "gui/options.h"

namespace korvex48::gui {

OptionsResult ParseGuiOptions(std::vector<std::string> args, const EnvLookup& env) {
  GuiOptions o;
  std::string error;
  if (!ParseDeviceOptions(args, &o.device, &error, env)) return {std::nullopt, error};
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--library" || arg.rfind("--library=", 0) == 0) {
      if (arg.size() > 10) {
        o.library_path = arg.substr(10);
      } else if (i + 1 < args.size()) {
        o.library_path = args[++i];
      }
      if (o.library_path.empty()) return {std::nullopt, "--library needs a file"};
    } else if (arg == "--ui-log" || arg.rfind("--ui-log=", 0) == 0) {
      if (arg.size() > 9) {
        o.ui_log_file = arg.substr(9);
      } else if (i + 1 < args.size()) {
        o.ui_log_file = args[++i];
      }
      if (o.ui_log_file.empty()) return {std::nullopt, "--ui-log needs a file"};
    } else if (arg == "--bench") {
      o.bench = true;
    } else if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--version") {
      o.version = true;
    } else if (arg.rfind("-", 0) == 0) {
      // Qt's own options (-platform, -style, ...) were taken by QApplication.
      return {std::nullopt, "unknown option " + arg};
    } else {
      return {std::nullopt, "unexpected argument " + arg};
    }
  }
  if (o.bench && !o.device.simulate) return {std::nullopt, "--bench needs --simulate"};
  return {o, {}};
}

std::string GuiUsage() {
  return "Usage: korvex48 [OPTION]...\n"
         "Configuration editor for Korvex48 gaming mice.\n\n" +
         DeviceOptionsHelp() +
         "  --library PATH                 use PATH as the PC macro library (Macro.bin)\n"
         "  --ui-log FILE                  write one line per page change, language switch,\n"
         "                                 message and device event to FILE (for scripts)\n"
         "  --bench                        with --simulate: wait for the mouse, time page\n"
         "                                 changes and language switches up to a synchronous\n"
         "                                 repaint, print page_change_ms and\n"
         "                                 language_switch_ms (median, worst) and exit\n"
         "  --help                         show this help and exit\n"
         "  --version                      show the version and exit\n";
}

}  // namespace korvex48::gui
