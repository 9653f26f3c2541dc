#pragma once
// The busy pop-up as the transfer operations see it. The GUI implements it with
// its pop-up window and event loop; everything else uses the silent default.
#include <cstddef>

namespace korvex48 {

class BusyUi {
 public:
  virtual ~BusyUi() = default;
  virtual void Show() {}
  virtual void Hide() {}
  // Lets pending window events run (the transfer loops call it per chunk).
  virtual void ProcessEvents() {}
  // A memory write has sent `done` of its `total` bytes (after each report).
  virtual void Progress(std::size_t /*done*/, std::size_t /*total*/) {}
};

// A BusyUi that does nothing, for the command-line tool and tests.
inline BusyUi& NoBusyUi() {
  static BusyUi none;
  return none;
}

}  // namespace korvex48
