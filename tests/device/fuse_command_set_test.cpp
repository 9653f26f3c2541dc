// The shared command-set cases again, through the real hidraw backend against
// the FUSE test device; and what only the hidraw path has (open errors).
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <thread>

#include "backends/hidraw/hidraw_backend.h"
#include "core/app/app_core.h"
#include "core/device/transport.h"
#include "core/editing/engine.h"
#include "core/image/default_image.h"
#include "fuse_mount.h"
#include "mouse_rig.h"
#include "recording_app_ui.h"

#ifndef KORVEX48_FUSE_DAEMON
#define KORVEX48_FUSE_DAEMON ""
#endif

namespace korvex48::testing {
namespace {

class FuseRig final : public MouseRig {
 public:
  explicit FuseRig(std::unique_ptr<FuseMount> mount)
      : mount_(std::move(mount)), backend_(mount_->Dir()) {}
  // The mouse in the other process is strict too: what it refused fails the test.
  ~FuseRig() override {
    EXPECT_EQ(mount_->RefusedShapes(), "") << "the FUSE test mouse refused these shapes";
  }
  HidBackend& Backend() override { return backend_; }
  SimulatedMouse Snapshot() override {
    SimulatedMouse mouse;
    auto state = mount_->ReadState();
    EXPECT_TRUE(state && mouse.LoadState(*state));
    return mouse;
  }
  void Restore(const SimulatedMouse& mouse) override {
    ASSERT_TRUE(mount_->WriteState(mouse.SerializeState()));
  }
  void Control(const std::string& command) override { ASSERT_TRUE(mount_->Control(command)); }
  void PassTime(std::uint64_t us) override {
    std::this_thread::sleep_for(std::chrono::microseconds(us));
  }
  FuseMount& Mount() { return *mount_; }

 private:
  std::unique_ptr<FuseMount> mount_;
  HidrawBackend backend_;
};

std::unique_ptr<FuseRig> MakeFuseRig(SimulatedStorage storage, std::string* reason) {
  auto mount = FuseMount::Start(FuseDaemonPath(KORVEX48_FUSE_DAEMON), storage, 0, reason);
  if (!mount) return nullptr;
  return std::make_unique<FuseRig>(std::move(mount));
}

INSTANTIATE_TEST_SUITE_P(Fuse, CommandSetTest,
                         ::testing::Values(RigParam{
                             "fuse-hidraw", [](SimulatedStorage storage, std::string* reason) {
                               return std::unique_ptr<MouseRig>(MakeFuseRig(storage, reason));
                             }}));

DefaultIdentifiers Ids() {
  ImageHead head{};
  ReadDefaultHead(head);
  return DefaultIdentifiersOf(head);
}

TEST(HidrawBackendTest, ReadsIdentifiersAndFeatureLengthsFromTheNodes) {
  std::string reason;
  auto rig = MakeFuseRig(SimulatedStorage::kI2C, &reason);
  if (!rig) GTEST_SKIP() << reason;
  ASSERT_TRUE(rig->Mount().Control("others 1"));
  HidrawBackend& backend = static_cast<HidrawBackend&>(rig->Backend());
  const auto paths = backend.ListInterfaces();
  ASSERT_EQ(paths.size(), 4u);
  const int expected_lengths[] = {0, 0, 64, 8};  // keyboard, boot mouse, consumer, configuration
  for (std::size_t i = 0; i < paths.size(); ++i) {
    SCOPED_TRACE(paths[i]);
    EXPECT_EQ(paths[i], rig->Mount().Dir() + "/hidraw" + std::to_string(i));
    HidError error;
    DeviceHandle h = backend.Open(paths[i], &error);
    ASSERT_NE(h, kInvalidHandle);
    HidInterfaceInfo info;
    ASSERT_TRUE(backend.QueryInfo(h, &info));
    EXPECT_EQ(info.feature_report_length, expected_lengths[i]);
    EXPECT_EQ(info.vendor_id == Ids().vendor_id, i > 0);
    EXPECT_FALSE(backend.PeekIdentifiers(paths[i]));  // a regular file has no sysfs entry
    backend.Close(h);
  }
}

TEST(HidrawBackendTest, NodesThatCannotBeOpenedAreNamedWithTheFix) {
  std::string reason;
  auto rig = MakeFuseRig(SimulatedStorage::kI2C, &reason);
  if (!rig) GTEST_SKIP() << reason;
  FakeClock clock;
  Transport transport(rig->Backend(), clock);
  struct Case {
    int err;
    HidError error;
    const char* says;
  };
  for (const Case& c :
       {Case{EACCES, HidError::kPermission, "udev"}, Case{EBUSY, HidError::kBusy, "in use"}}) {
    ASSERT_TRUE(rig->Mount().Control("open-error " + std::to_string(c.err)));
    EXPECT_FALSE(transport.OpenDevice(Ids().vendor_id, Ids().product_id));
    EXPECT_EQ(transport.CountHidDevices(), 0);
    const auto& problems = transport.LastOpenProblems();
    ASSERT_EQ(problems.size(), 3u);  // every node of the mouse
    EXPECT_EQ(problems[2].path, rig->Mount().Dir() + "/hidraw2");
    EXPECT_EQ(problems[2].error, c.error);
    EXPECT_NE(problems[2].message.find(problems[2].path), std::string::npos);
    EXPECT_NE(problems[2].message.find(c.says), std::string::npos);
  }
  ASSERT_TRUE(rig->Mount().Control("open-error 0"));
  EXPECT_TRUE(transport.OpenDevice(Ids().vendor_id, Ids().product_id));
  EXPECT_TRUE(transport.LastOpenProblems().empty());
}

// The mouse pulled out through the kernel (ENODEV from the node) in the middle
// of a whole-image read and of a whole-image write: both flows run to their
// end with the pages unlocked and polling on, and nothing is tried on the dead
// node after the first failure.
TEST(HidrawBackendTest, WholeImageFlowsSurviveTheMousePulledMidway) {
  std::string reason;
  auto rig = MakeFuseRig(SimulatedStorage::kI2C, &reason);
  if (!rig) GTEST_SKIP() << reason;
  FakeClock clock;
  Transport transport(rig->Backend(), clock);
  DeviceSession& session = transport.Session();
  VectorTrace trace;
  transport.SetTrace(&trace);
  RecordingAppUi ui;
  Engine engine(transport, ui, clock, {});
  AppCore& core = engine.Core();
  CommandSet& commands = engine.Commands();

  struct Case {
    const char* flow;
    int reports_before;  // reports that still reach the mouse
  };
  for (const Case& c : {Case{"read", 1 + 15 + 1 + 10}, Case{"reset", 35 + 37 + 1 + 20}}) {
    SCOPED_TRACE(c.flow);
    rig->Control("plug");
    ASSERT_TRUE(transport.OpenDevice(Ids().vendor_id, Ids().product_id));
    ASSERT_EQ(engine.MouseConnection().IdentifyMouse().outcome, DevInfoOutcome::kAccepted);
    rig->Control("vanish-after " + std::to_string(c.reports_before));
    trace.Clear();
    ui.Clear();
    const std::string flow = c.flow;
    if (flow == "read") {
      // Nothing of an incomplete read is taken: the images keep the whole
      // read before, and nothing may be written until the mouse is read whole.
      const ConfigImage before = core.Working();
      EXPECT_FALSE(engine.Images().ReadConfiguration());
      EXPECT_EQ(core.Working().profiles, before.profiles);
      EXPECT_EQ(core.Working().parameters, before.parameters);
      EXPECT_FALSE(core.ImageRead());
      EXPECT_TRUE(session.Loading);
    } else {
      EXPECT_FALSE(engine.Images().ResetMouse());
      EXPECT_FALSE(session.Loading);
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].literal,
              flow == "read" ? "The mouse was unplugged while its configuration was read."
                             : "The mouse's configuration is incomplete: load a profile or reset.");
    const std::vector<TraceEntry> reports = trace.Reports();
    ASSERT_EQ(reports.size(), static_cast<std::size_t>(c.reports_before) + 1);
    EXPECT_FALSE(reports.back().ok());
    EXPECT_EQ(ui.Count("UnlockPages"), 1);
    EXPECT_EQ(ui.Count("StartPolling"), 1);
    EXPECT_FALSE(commands.WriteParameterBytes(33, 1, 0, 0, 1));
    EXPECT_EQ(transport.CountHidDevices(), 0);
  }
}

TEST(HidrawBackendTest, OnlyADeviceThatLeftTheBusIsGone) {
  struct Case {
    int err;
    HidError error;
  };
  for (const Case& c : {Case{ENODEV, HidError::kGone}, Case{ENXIO, HidError::kGone},
                        Case{ESHUTDOWN, HidError::kGone}, Case{EIO, HidError::kFailed},
                        Case{ETIMEDOUT, HidError::kFailed}, Case{EPROTO, HidError::kFailed},
                        Case{EPIPE, HidError::kRefused}, Case{EINVAL, HidError::kRefused},
                        Case{EACCES, HidError::kPermission}, Case{EBUSY, HidError::kBusy}})
    EXPECT_EQ(HidErrorFromErrno(c.err), c.error) << c.err;
}

// Through the kernel: a reply that fails (EIO), one cut short, and a refused
// command cost that transfer only; a mouse that leaves the bus is gone.
TEST(HidrawBackendTest, FailedTransfersKeepTheHandleAndAVanishedMouseIsGone) {
  std::string reason;
  auto rig = MakeFuseRig(SimulatedStorage::kI2C, &reason);
  if (!rig) GTEST_SKIP() << reason;
  FakeClock clock;
  Transport transport(rig->Backend(), clock);
  ASSERT_TRUE(transport.OpenDevice(Ids().vendor_id, Ids().product_id));
  CommandSet commands(transport);
  std::array<std::uint8_t, kParameterSectionSize> dest{};
  for (const char* fault : {"fail-reply-after 1", "short-reply-after 0", "refuse-report-after 0"}) {
    SCOPED_TRACE(fault);
    rig->Control(fault);
    (void)commands.ReadSection(0, 0, dest, false);
    EXPECT_FALSE(commands.LastReadComplete());
    EXPECT_FALSE(transport.DeviceGone());
    EXPECT_TRUE(commands.ReadSection(0, 0, dest, false));
    EXPECT_TRUE(commands.LastReadComplete());
    EXPECT_EQ(dest[2], 0x3A);  // the vendor identifier's high byte
  }
  rig->Control("unplug");
  EXPECT_FALSE(commands.ReadSection(0, 0, dest, false));
  EXPECT_TRUE(transport.DeviceGone());
  EXPECT_EQ(transport.LastError(), HidError::kGone);
}

// The mouse behind the kernel is strict too: a shape no flow sends is refused
// and listed for the test, which then fails.
TEST(HidrawBackendTest, TheStrictMouseRefusesAndListsAnotherShape) {
  std::string reason;
  auto rig = MakeFuseRig(SimulatedStorage::kI2C, &reason);
  if (!rig) GTEST_SKIP() << reason;
  FakeClock clock;
  Transport transport(rig->Backend(), clock);
  ASSERT_TRUE(transport.OpenDevice(Ids().vendor_id, Ids().product_id));
  CommandSet commands(transport);
  const std::uint8_t two[] = {0x00, 0x00};
  EXPECT_FALSE(commands.WriteMemory(0x0200, two));
  EXPECT_EQ(transport.LastError(), HidError::kRefused);
  EXPECT_EQ(rig->Mount().RefusedShapes(), "memory write of 2 bytes at 0x0200\n");
  const std::array<std::uint8_t, 256> block{};
  EXPECT_TRUE(commands.WriteMemory(0x0200, block));
  rig->Control("clear-refused-shapes");
}

}  // namespace
}  // namespace korvex48::testing
