// Values typed on the korvex48ctl command line are outside bytes: numbers,
// colours "R,G,B", key combinations "Ctrl+Shift+A" and the global and device
// options. Each is taken or refused with a usage error; a key combination
// that is taken reads back to the same code.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/buttons/key_combination.h"

using namespace korvex48;

namespace {

template <typename F>
void Refusable(F&& f) {
  try {
    f();
  } catch (const cli::Failure& failure) {
    if (failure.code != cli::kExitUsage || failure.message.empty()) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);

  Refusable([&] {
    const int v = cli::ParseInt(text, -5, 4094, "value");
    if (v < -5 || v > 4094) __builtin_trap();
  });
  Refusable([&] {
    for (int c : cli::ParseRgb(text, "colour"))
      if (c < 0 || c > 255) __builtin_trap();
  });

  std::string error;
  if (auto combo = ParseKeyCombination(text, &error)) {
    if (combo->code.size() != 8 || combo->code.rfind("02", 0) != 0) __builtin_trap();
    std::string again_error;
    auto again = ParseKeyCombination(combo->text, &again_error);
    if (!again || again->code != combo->code || again->text != combo->text) __builtin_trap();
  } else if (error.empty()) {
    __builtin_trap();
  }

  std::vector<std::string> args;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find('\n', start);
    args.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  Refusable([&] {
    std::vector<std::string> rest = args;
    cli::ParseGlobalOptions(rest);
    if (rest.size() > args.size()) __builtin_trap();
  });
  std::vector<std::string> rest = args;
  DeviceOptions options;
  error.clear();
  const auto no_env = [](const char*) -> const char* { return nullptr; };
  if (!ParseDeviceOptions(rest, &options, &error, no_env) && error.empty()) __builtin_trap();
  return 0;
}
