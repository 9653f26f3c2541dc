// Whole-image read and write of each storage layout against the simulated
// mouse, in-process (no transport latency) and through the FUSE hidraw test
// device, on the real clock. The protocol mandates 500 us after every reply;
// "above_waits_pct" is the time spent beyond those waits, in percent of them
// (targets: 2 % in-process, 5 % through FUSE). Writes are not paced at all, so
// for them "us_per_report" is the figure.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <optional>

#include "../tests/device/fuse_mount.h"
#include "backends/hidraw/hidraw_backend.h"
#include "core/device/command_set.h"
#include "core/device/simulated_mouse.h"
#include "core/device/transport.h"
#include "core/image/default_image.h"

namespace korvex48 {
namespace {

struct Plan {
  std::vector<std::pair<std::uint16_t, std::size_t>> memory;  // address, length
};

// The memory transfers of a whole image, as the read and write flows make them.
Plan ReadPlan(SimulatedStorage storage) {
  switch (storage) {
    case SimulatedStorage::kI2C:
      return {{{0x0200, 256}, {0x0300, 256}}};
    case SimulatedStorage::kFlashI2C:
      return {{{0x4000, 256}, {0x4100, 256}}};
    case SimulatedStorage::kFlashFlash: {
      Plan p;
      for (int i = 0; i < 32; ++i) p.memory.push_back({0x4000 + 0x100 * i, 256});
      p.memory.push_back({0x3000, 512});
      return p;
    }
  }
  return {};
}

Plan WritePlan(SimulatedStorage storage) {
  switch (storage) {
    case SimulatedStorage::kI2C:
      return {{{0x0200, 256}, {0x0300, 256}, {249, 2}}};
    case SimulatedStorage::kFlashI2C:
      return {{{0x4000, 256}, {0x4100, 256}, {0x6000, 2}}};
    case SimulatedStorage::kFlashFlash: {
      Plan p{{{0x3000, 256}, {0x3100, 256}}};
      for (int i = 0; i < 32; ++i) p.memory.push_back({0x4000 + 0x100 * i, 256});
      p.memory.push_back({0x6000, 2});
      return p;
    }
  }
  return {};
}

std::size_t Chunks(std::size_t n) { return (n + 6) / 7; }

// Returns the number of replies read; nothing when a transfer failed (a
// failed transfer's time says nothing about a whole image).
std::optional<std::size_t> ReadImage(CommandSet& commands, SimulatedStorage storage) {
  std::uint8_t params[104], profiles[145];
  std::vector<std::uint8_t> buffer(512);
  if (!commands.ReadSection(0, 0, params, true) || !commands.ReadSection(1, 0, profiles, true))
    return std::nullopt;
  std::size_t replies = Chunks(104) + Chunks(145);
  for (auto [address, length] : ReadPlan(storage).memory) {
    if (!commands.ReadMemory(address, std::span(buffer).first(length), true)) return std::nullopt;
    replies += Chunks(length);
  }
  return replies;
}

// Returns the number of reports sent; nothing when a transfer failed.
std::optional<std::size_t> WriteImage(CommandSet& commands, SimulatedStorage storage) {
  std::vector<std::uint8_t> buffer(512, 0x5A);
  if (!commands.WriteSection(0, 0, std::span(buffer).first(104)) ||
      !commands.WriteSection(1, 0, std::span(buffer).first(145)))
    return std::nullopt;
  std::size_t reports = 35 + 37;
  for (auto [address, length] : WritePlan(storage).memory) {
    if (!commands.WriteMemory(address, std::span(buffer).first(length))) return std::nullopt;
    reports += 1 + Chunks(length);
  }
  return reports;
}

enum class Path { kInProcess, kFuse };
enum class Direction { kRead, kWrite };

void BM_Image(benchmark::State& state, Path path, Direction direction, SimulatedStorage storage) {
  SystemClock clock;
  std::unique_ptr<testing::FuseMount> mount;
  std::unique_ptr<HidBackend> backend;
  if (path == Path::kFuse) {
    std::string reason;
    mount = testing::FuseMount::Start(testing::FuseDaemonPath(""), storage, 0, &reason);
    if (!mount) {
      state.SkipWithError(reason.c_str());
      return;
    }
    backend = std::make_unique<HidrawBackend>(mount->Dir());
  } else {
    backend = std::make_unique<SimulatedMouse>(storage, clock);
  }
  Transport transport(*backend, clock);
  DeviceSession& session = transport.Session();
  ImageHead head{};
  ReadDefaultHead(head);
  const DefaultIdentifiers ids = DefaultIdentifiersOf(head);
  if (!transport.OpenDevice(ids.vendor_id, ids.product_id) || !session.HandlesValid()) {
    state.SkipWithError("the simulated mouse was not found");
    return;
  }
  CommandSet commands(transport);
  std::size_t units = 0;
  double seconds = 0;
  bool failed = false;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const std::optional<std::size_t> done = direction == Direction::kRead
                                                ? ReadImage(commands, storage)
                                                : WriteImage(commands, storage);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!done) {
      state.SkipWithError("a transfer failed");
      failed = true;
      break;
    }
    units += *done;
  }
  if (failed) return;
  if (direction == Direction::kRead) {
    const double waits = units * kReplyPacingMicroseconds * 1e-6;
    state.counters["replies"] = static_cast<double>(units) / state.iterations();
    state.counters["above_waits_pct"] = (seconds - waits) / waits * 100.0;
  } else {
    state.counters["reports"] = static_cast<double>(units) / state.iterations();
    state.counters["us_per_report"] = seconds * 1e6 / static_cast<double>(units);
  }
}

#define IMAGE_BENCH(name, path, direction, storage, iterations) \
  BENCHMARK_CAPTURE(BM_Image, name, path, direction, storage)   \
      ->Iterations(iterations)                                  \
      ->Unit(benchmark::kMillisecond)                           \
      ->UseRealTime()

IMAGE_BENCH(read_i2c_inprocess, Path::kInProcess, Direction::kRead, SimulatedStorage::kI2C, 20);
IMAGE_BENCH(read_flash_i2c_inprocess, Path::kInProcess, Direction::kRead,
            SimulatedStorage::kFlashI2C, 20);
IMAGE_BENCH(read_flash_flash_inprocess, Path::kInProcess, Direction::kRead,
            SimulatedStorage::kFlashFlash, 3);
IMAGE_BENCH(write_i2c_inprocess, Path::kInProcess, Direction::kWrite, SimulatedStorage::kI2C, 200);
IMAGE_BENCH(write_flash_i2c_inprocess, Path::kInProcess, Direction::kWrite,
            SimulatedStorage::kFlashI2C, 200);
IMAGE_BENCH(write_flash_flash_inprocess, Path::kInProcess, Direction::kWrite,
            SimulatedStorage::kFlashFlash, 50);
IMAGE_BENCH(read_i2c_fuse, Path::kFuse, Direction::kRead, SimulatedStorage::kI2C, 20);
IMAGE_BENCH(read_flash_i2c_fuse, Path::kFuse, Direction::kRead, SimulatedStorage::kFlashI2C, 20);
IMAGE_BENCH(read_flash_flash_fuse, Path::kFuse, Direction::kRead, SimulatedStorage::kFlashFlash, 3);
IMAGE_BENCH(write_i2c_fuse, Path::kFuse, Direction::kWrite, SimulatedStorage::kI2C, 20);
IMAGE_BENCH(write_flash_i2c_fuse, Path::kFuse, Direction::kWrite, SimulatedStorage::kFlashI2C, 20);
IMAGE_BENCH(write_flash_flash_fuse, Path::kFuse, Direction::kWrite, SimulatedStorage::kFlashFlash,
            5);

}  // namespace
}  // namespace korvex48
