#pragma once
// A fake clock that also plays the user: actions scheduled at given times run
// inside the sleep that reaches them, as window events run inside the waits of
// a transfer, or at their time when nothing waits (RunAll). Sleeping only
// moves the time it reports.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/common/clock.h"

namespace korvex48::testing {

class ScriptedClock final : public Clock {
 public:
  using Action = std::function<void()>;

  // Runs `action` once the clock reaches `at_us`. Actions of the same time
  // run in the order they were scheduled.
  void At(std::uint64_t at_us, Action action) {
    actions_.push_back({at_us, next_++, std::move(action)});
  }

  std::uint64_t NowMicroseconds() override { return now_; }

  void SleepMicroseconds(std::uint64_t us) override {
    slept_ += us;
    const std::uint64_t until = now_ + us;
    // An action may sleep itself and carry the time past `until`.
    while (now_ < until) {
      auto due = Earliest();
      if (due == actions_.end() || due->at > until) {
        now_ = until;
        return;
      }
      now_ = std::max(now_, due->at);
      RunAndErase(due);
    }
  }

  // Runs every action left in time order; the time between them passes with
  // nothing waiting.
  void RunAll() {
    for (auto due = Earliest(); due != actions_.end(); due = Earliest()) {
      now_ = std::max(now_, due->at);
      RunAndErase(due);
    }
  }

  void Advance(std::uint64_t us) { now_ += us; }
  std::uint64_t SleptMicroseconds() const { return slept_; }

 private:
  struct Scheduled {
    std::uint64_t at;
    std::uint64_t order;
    Action action;
  };

  std::vector<Scheduled>::iterator Earliest() {
    return std::min_element(actions_.begin(), actions_.end(),
                            [](const Scheduled& a, const Scheduled& b) {
                              return a.at != b.at ? a.at < b.at : a.order < b.order;
                            });
  }

  void RunAndErase(std::vector<Scheduled>::iterator due) {
    Action action = std::move(due->action);
    actions_.erase(due);
    action();
  }

  std::vector<Scheduled> actions_;
  std::uint64_t next_ = 0;
  std::uint64_t now_ = 0;
  std::uint64_t slept_ = 0;
};

}  // namespace korvex48::testing
