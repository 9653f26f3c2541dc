#pragma once
// A simulated mouse behind some HidBackend, for the command-set tests that run
// once in-process and once through the FUSE hidraw device. The transport under
// test always runs on a FakeClock; only the rig knows how to reach the mouse.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/common/bytes.h"
#include "core/common/clock.h"
#include "core/device/hid_backend.h"
#include "core/device/simulated_mouse.h"
#include "forwarding_backend.h"

namespace korvex48::testing {

class MouseRig {
 public:
  virtual ~MouseRig() = default;
  virtual HidBackend& Backend() = 0;
  // The mouse as it is now (a copy when it lives in another process).
  virtual SimulatedMouse Snapshot() = 0;
  // Replaces the mouse's sections and memory.
  virtual void Restore(const SimulatedMouse& mouse) = 0;
  // SimulatedMouse::Control; fails the test when refused.
  virtual void Control(const std::string& command) = 0;
  // Lets `us` microseconds pass for the mouse (its restart timer).
  virtual void PassTime(std::uint64_t us) = 0;
};

// Makes a rig with a fresh mouse of `storage`; nullptr with `skip_reason` set
// when the rig cannot exist here.
using RigFactory =
    std::function<std::unique_ptr<MouseRig>(SimulatedStorage storage, std::string* skip_reason)>;

struct RigParam {
  std::string name;
  RigFactory make;
  friend void PrintTo(const RigParam& p, std::ostream* os) { *os << p.name; }
};

// Counts the handles opened and closed on the backend below; the reports
// that cross are kept by a VectorTrace on the transport.
class HandleCounter final : public ForwardingBackend {
 public:
  using ForwardingBackend::ForwardingBackend;
  int opens = 0;
  int closes = 0;

  DeviceHandle Open(const std::string& path, HidError* error) override {
    const DeviceHandle h = ForwardingBackend::Open(path, error);
    opens += h != kInvalidHandle;
    return h;
  }
  void Close(DeviceHandle handle) override {
    ++closes;
    ForwardingBackend::Close(handle);
  }
};

// The fixture of the shared command-set cases; each test program instantiates
// it with its rig factory.
class CommandSetTest : public ::testing::TestWithParam<RigParam> {};

}  // namespace korvex48::testing
