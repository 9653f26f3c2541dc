// The command-set cases against the simulated mouse in this process.
#include <gtest/gtest.h>

#include "mouse_rig.h"

namespace korvex48::testing {
namespace {

class InProcessRig final : public MouseRig {
 public:
  explicit InProcessRig(SimulatedStorage storage) : mouse_(storage, clock_) {}
  HidBackend& Backend() override { return mouse_; }
  SimulatedMouse Snapshot() override { return mouse_; }
  void Restore(const SimulatedMouse& mouse) override {
    ASSERT_TRUE(mouse_.LoadState(mouse.SerializeState()));
  }
  void Control(const std::string& command) override { ASSERT_TRUE(mouse_.Control(command)); }
  void PassTime(std::uint64_t us) override { clock_.Advance(us); }

 private:
  FakeClock clock_;
  SimulatedMouse mouse_;
};

INSTANTIATE_TEST_SUITE_P(InProcess, CommandSetTest,
                         ::testing::Values(RigParam{"in-process",
                                                    [](SimulatedStorage storage, std::string*) {
                                                      return std::unique_ptr<MouseRig>(
                                                          std::make_unique<InProcessRig>(storage));
                                                    }}));

}  // namespace
}  // namespace korvex48::testing
