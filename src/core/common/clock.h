#pragma once
// Every wait of the protocol and of the start-up goes through a Clock, so the
// product keeps the real waits while tests run on a clock that only counts.
#include <cstdint>

namespace korvex48 {

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic time in microseconds since an arbitrary start.
  virtual std::uint64_t NowMicroseconds() = 0;
  // Blocks (or pretends to) for `us` microseconds.
  virtual void SleepMicroseconds(std::uint64_t us) = 0;
  void SleepMilliseconds(std::uint64_t ms) { SleepMicroseconds(ms * 1000); }
};

// The real monotonic clock; sleeps for real.
class SystemClock final : public Clock {
 public:
  std::uint64_t NowMicroseconds() override;
  void SleepMicroseconds(std::uint64_t us) override;
};

// A clock for tests: sleeping only advances the time it reports, and the
// total slept is kept so tests can check the waits a flow asked for.
class FakeClock final : public Clock {
 public:
  std::uint64_t NowMicroseconds() override { return now_; }
  void SleepMicroseconds(std::uint64_t us) override {
    now_ += us;
    slept_ += us;
  }
  void Advance(std::uint64_t us) { now_ += us; }
  std::uint64_t SleptMicroseconds() const { return slept_; }

 private:
  std::uint64_t now_ = 0;
  std::uint64_t slept_ = 0;
};

// The process-wide clock used where none is passed in: a SystemClock unless a
// test installs another. The caller keeps ownership of what it installs.
Clock& DefaultClock();
void SetDefaultClock(Clock* clock);  // nullptr restores the system clock

}  // namespace korvex48
