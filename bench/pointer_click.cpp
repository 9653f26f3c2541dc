// A click on a pointer-bar segment up to the value being in GNOME's settings:
// the speed applied to the desktop that holds it, GSettings synced to its
// key-file backend (what `gsettings get` then reads). At most 50 ms.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "backends/desktop/gsettings_pointer.h"
#include "core/pointer/pointer_settings.h"

namespace korvex48 {
namespace {

// A private configuration folder for the whole run, set before GIO starts
// (GIO keeps the first one it sees), removed at exit.
struct PrivateConfig {
  PrivateConfig() {
    char name[] = "/tmp/korvex48-bench-XXXXXX";
    if (!mkdtemp(name)) return;
    dir = name;
    setenv("XDG_CONFIG_HOME", name, 1);
    setenv("GSETTINGS_BACKEND", "keyfile", 1);
  }
  ~PrivateConfig() {
    std::error_code ec;
    if (!dir.empty()) std::filesystem::remove_all(dir, ec);
  }
  std::string dir;
};

void BM_PointerClickToGSettings(benchmark::State& state) {
  static PrivateConfig config;
  if (config.dir.empty()) {
    state.SkipWithError("no temporary folder");
    return;
  }
  static GSettingsPointer gnome("org.gnome.desktop.peripherals.mouse", "GNOME settings");
  PointerSettings settings(config.dir + "/korvex48/pointer.conf", {&gnome});
  settings.Refresh();
  int position = 1;
  for (auto _ : state) {
    settings.ChooseStep(PointerSetting::kSpeed, position);
    position = position % kPointerPositions + 1;
  }
  const PointerRoute& route = settings.Route(PointerSetting::kSpeed);
  if (!route.failed.empty()) state.SkipWithError(route.failed.front().second.c_str());
}
BENCHMARK(BM_PointerClickToGSettings)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korvex48
