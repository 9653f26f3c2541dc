#pragma once
// Command-line options of the editor: the device options shared with the
// command-line tool (--simulate, --device-dir, --trace) and the editor's own.
#include <optional>
#include <string>
#include <vector>

#include "core/device/device_options.h"

namespace korvex48::gui {

struct GuiOptions {
  DeviceOptions device;
  std::string library_path;  // Macro.bin to use instead of the default place
  std::string ui_log_file;   // one line per page change, language, message, poll
  bool bench = false;        // time page changes and language switches, then exit
  bool help = false;
  bool version = false;
};

struct OptionsResult {
  std::optional<GuiOptions> options;  // nullopt on a usage error
  std::string error;                  // the reason, for stderr
};

// Parses the arguments after the program name ("--opt value" and
// "--opt=value"). Unknown options and stray arguments are usage errors.
// `env` is passed to ParseDeviceOptions (std::getenv when empty).
OptionsResult ParseGuiOptions(std::vector<std::string> args, const EnvLookup& env = {});

// The --help text.
std::string GuiUsage();

}  // namespace korvex48::gui
