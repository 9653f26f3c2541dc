#pragma once
// The device options of the editor and the command-line tool:
//   --simulate[=KIND[:STATEFILE]]  a simulated mouse instead of real hardware;
//                                  KIND i2c (default), flash-i2c or flash-flash;
//                                  STATEFILE keeps it between runs
//   --device-dir DIR               where hidraw* nodes are listed (default /dev;
//                                  environment KORVEX48_DEVICE_DIR)
//   --trace FILE                   protocol trace (environment KORVEX48_TRACE)
//   --default-image FILE           the default device image of another build of
//                                  the mouse (768 or more bytes) instead of the
//                                  built-in one: its identifiers, storage kind
//                                  and defaults decide which mice are accepted
// Command-line values win over the environment.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/device/simulated_mouse.h"

namespace korvex48 {

struct DeviceOptions {
  std::optional<SimulatedStorage> simulate;
  std::string simulate_state_file;  // empty: the simulated mouse lives for one run
  std::string device_dir = "/dev";
  std::string trace_file;          // empty: no trace
  std::string default_image_file;  // empty: the built-in default image
};

using EnvLookup = std::function<const char*(const char* name)>;

// Takes the device options out of `args` (both "--opt VALUE" and "--opt=VALUE"
// forms), leaving every other argument in order; environment values come
// through `env` (std::getenv when empty). False with `error` for a missing or
// bad value.
bool ParseDeviceOptions(std::vector<std::string>& args, DeviceOptions* options, std::string* error,
                        const EnvLookup& env = {});

// One line per option, for --help texts.
std::string DeviceOptionsHelp();

}  // namespace korvex48
