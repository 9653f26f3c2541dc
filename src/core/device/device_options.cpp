#include "core/device/device_options.h"

#include <cstdlib>

namespace korvex48 {

namespace {

// Takes the value of `--name VALUE` or `--name=VALUE` at args[i]; erases what
// it used. nullopt when args[i] is not this option.
std::optional<std::string> TakeOption(std::vector<std::string>& args, std::size_t i,
                                      const std::string& name, bool* missing) {
  const std::string& a = args[i];
  if (a == name) {
    if (i + 1 >= args.size()) {
      *missing = true;
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
      return std::string();
    }
    std::string value = args[i + 1];
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
               args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    return value;
  }
  if (a.starts_with(name + "=")) {
    std::string value = a.substr(name.size() + 1);
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
    return value;
  }
  return std::nullopt;
}

}  // namespace

bool ParseDeviceOptions(std::vector<std::string>& args, DeviceOptions* options, std::string* error,
                        const EnvLookup& env) {
  auto getenv = [&env](const char* name) -> const char* {
    return env ? env(name) : std::getenv(name);
  };
  if (const char* dir = getenv("KORVEX48_DEVICE_DIR"); dir && *dir) options->device_dir = dir;
  if (const char* trace = getenv("KORVEX48_TRACE"); trace && *trace) options->trace_file = trace;

  auto fail = [error](std::string message) {
    if (error) *error = std::move(message);
    return false;
  };
  for (std::size_t i = 0; i < args.size();) {
    bool missing = false;
    if (args[i] == "--simulate") {
      options->simulate = SimulatedStorage::kI2C;
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    if (args[i].starts_with("--simulate=")) {
      std::string value = args[i].substr(11);
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
      std::string kind = value;
      std::string file;
      if (auto colon = value.find(':'); colon != std::string::npos) {
        kind = value.substr(0, colon);
        file = value.substr(colon + 1);
        if (file.empty()) return fail("--simulate: the state file name is empty");
      }
      auto storage = ParseSimulatedStorage(kind);
      if (!storage)
        return fail("--simulate: unknown kind '" + kind + "' (use i2c, flash-i2c or flash-flash)");
      options->simulate = *storage;
      options->simulate_state_file = file;
      continue;
    }
    if (auto dir = TakeOption(args, i, "--device-dir", &missing)) {
      if (missing || dir->empty()) return fail("--device-dir needs a folder");
      options->device_dir = *dir;
      continue;
    }
    if (auto trace = TakeOption(args, i, "--trace", &missing)) {
      if (missing || trace->empty()) return fail("--trace needs a file name");
      options->trace_file = *trace;
      continue;
    }
    if (auto image = TakeOption(args, i, "--default-image", &missing)) {
      if (missing || image->empty()) return fail("--default-image needs a file name");
      options->default_image_file = *image;
      continue;
    }
    ++i;
  }
  return true;
}

std::string DeviceOptionsHelp() {
  return "  --simulate[=KIND[:STATEFILE]]  use a simulated mouse; KIND i2c (default), flash-i2c\n"
         "                                 or flash-flash; STATEFILE keeps it between runs\n"
         "  --device-dir DIR               folder of the hidraw nodes (default /dev;\n"
         "                                 environment KORVEX48_DEVICE_DIR)\n"
         "  --trace FILE                   write a protocol trace (environment KORVEX48_TRACE)\n"
         "  --default-image FILE           use another build's default device image\n";
}

}  // namespace korvex48
