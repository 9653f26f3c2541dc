// One poll step (ten counts of the openable HID interfaces) over 20 hidraw
// nodes served by the FUSE test device: the CPU time the editor spends every
// 3.5 s while it waits for the mouse.
#include <benchmark/benchmark.h>

#include "../tests/device/fuse_mount.h"
#include "backends/hidraw/hidraw_backend.h"
#include "core/device/transport.h"

namespace korvex48 {
namespace {

void BM_PollStep20Nodes(benchmark::State& state) {
  std::string reason;
  auto mount =
      testing::FuseMount::Start(testing::FuseDaemonPath(""), SimulatedStorage::kI2C, 17, &reason);
  if (!mount) {
    state.SkipWithError(reason.c_str());
    return;
  }
  HidrawBackend backend(mount->Dir());
  Transport transport(backend);
  int count = 0;
  for (auto _ : state) {
    for (int i = 0; i < 10; ++i) count = transport.CountHidDevices();
  }
  if (count != 20) state.SkipWithError("the test device did not show 20 nodes");
  state.counters["nodes"] = count;
}
BENCHMARK(BM_PollStep20Nodes)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace korvex48
