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
  return {o, {}};
}

std::string GuiUsage() {
  return "Usage: korvex48 [OPTION]...\n"
         "Configuration editor for Korvex48 gaming mice.\n\n" +
         DeviceOptionsHelp() +
         "  --library PATH                 use PATH as the PC macro library (Macro.bin)\n"
         "  --help                         show this help and exit\n"
         "  --version                      show the version and exit\n";
}

}  // namespace korvex48::gui
