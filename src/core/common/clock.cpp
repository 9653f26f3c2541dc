#include "core/common/clock.h"

#include <chrono>
#include <thread>

namespace korvex48 {

std::uint64_t SystemClock::NowMicroseconds() {
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(
          std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

void SystemClock::SleepMicroseconds(std::uint64_t us) {
  std::this_thread::sleep_for(std::chrono::microseconds(us));
}

namespace {
SystemClock g_system_clock;
Clock* g_clock = nullptr;
}  // namespace

Clock& DefaultClock() { return g_clock ? *g_clock : g_system_clock; }
void SetDefaultClock(Clock* clock) { g_clock = clock; }

}  // namespace korvex48
