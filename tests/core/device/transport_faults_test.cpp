// How the transport takes failures: only a device that left the bus kills a
// handle; every report tried, taken or not, reaches the trace; problems reach
// the issue sink, not stderr.
#include <gtest/gtest.h>

#include <cstdio>

#include "core/device/command_set.h"
#include "core/device/protocol_trace.h"
#include "core/device/simulated_mouse.h"
#include "core/device/transport.h"
#include "core/image/default_image.h"

namespace korvex48 {
namespace {

// One interface that fails its reports with `error` while `failing` is set.
class FailingBackend final : public HidBackend {
 public:
  HidError error = HidError::kNone;
  int sets = 0;
  std::vector<std::string> ListInterfaces() override { return {"n"}; }
  DeviceHandle Open(const std::string&, HidError* e) override {
    *e = HidError::kNone;
    return 3;
  }
  void Close(DeviceHandle) override {}
  bool QueryInfo(DeviceHandle, HidInterfaceInfo* info) override {
    *info = {0x1111, 0x2222, 1, 8};
    return true;
  }
  bool SetFeature(DeviceHandle, std::span<const std::uint8_t>, HidError* e) override {
    ++sets;
    if (e) *e = error;
    return error == HidError::kNone;
  }
  bool GetFeature(DeviceHandle, std::span<std::uint8_t>, HidError* e) override {
    if (e) *e = error;
    return error == HidError::kNone;
  }
};

struct Issues final : TransportIssueSink {
  std::vector<TransportIssue> seen;
  void Report(const TransportIssue& issue) override { seen.push_back(issue); }
};

TEST(TransportFaults, OnlyADeviceThatLeftTheBusKillsTheHandle) {
  struct Case {
    HidError error;
    bool gone;
  };
  for (const Case& c : {Case{HidError::kFailed, false}, Case{HidError::kRefused, false},
                        Case{HidError::kOther, false}, Case{HidError::kGone, true}}) {
    SCOPED_TRACE(HidErrorText(c.error));
    FailingBackend backend;
    FakeClock clock;
    Transport transport(backend, clock);
    Issues issues;
    transport.SetIssueSink(&issues);
    ASSERT_TRUE(transport.OpenDevice(0x1111, 0x2222));
    backend.error = c.error;
    EXPECT_FALSE(transport.SendCommand(5, 0, 33, 1, 0));
    EXPECT_FALSE(transport.SendCommand(5, 0, 33, 1, 0));
    EXPECT_EQ(transport.LastError(), c.error);
    EXPECT_EQ(transport.DeviceGone(), c.gone);
    // A dead handle is not asked again; a live one is.
    EXPECT_EQ(backend.sets, 1 + (c.gone ? 1 : 2));
    ASSERT_EQ(issues.seen.size(), c.gone ? 1u : 0u);
    if (c.gone) {
      EXPECT_EQ(issues.seen[0].kind, TransportIssue::Kind::kDeviceGone);
    }
    backend.error = HidError::kNone;
    EXPECT_EQ(transport.SendCommand(5, 0, 33, 1, 0), !c.gone);
    // Opening again starts afresh.
    ASSERT_TRUE(transport.OpenDevice(0x1111, 0x2222));
    EXPECT_FALSE(transport.DeviceGone());
  }
}

TEST(TransportFaults, TheTraceHasFailedReportsAndWhereAWriteWasCutOff) {
  FakeClock clock;
  SimulatedMouse mouse(SimulatedStorage::kI2C, clock);
  Transport transport(mouse, clock);
  ASSERT_TRUE(transport.OpenDevice(mouse.VendorId(), mouse.ProductId()));
  VectorTrace trace;
  transport.SetTrace(&trace);
  CommandSet commands(transport);

  mouse.Faults().fail_reply_after = 0;
  std::uint8_t byte = 0;
  ASSERT_TRUE(commands.ReadSection(0, 6, std::span(&byte, 1), false));
  EXPECT_FALSE(commands.LastReadComplete());
  EXPECT_EQ(commands.LastReadFailures(), 1);
  mouse.Faults().refuse_report_after = 2;  // the command and one data report get through
  const std::vector<std::uint8_t> data(256, 0x33);
  EXPECT_FALSE(commands.WriteMemory(0x0300, data));
  EXPECT_EQ(commands.LastWriteTaken(), 2);
  EXPECT_EQ(commands.LastWriteReports(), 38);
  transport.SetTrace(nullptr);

  std::vector<std::string> lines;
  for (const TraceEntry& e : trace.entries) lines.push_back(FormatTraceLine(0, e));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "0 > 40 06 00 06 00 01 00 00",
                       "0 < 41 00 00 00 00 00 00 00 FAILED: the transfer failed",
                       "0 > 40 07 03 00 01 00 00 00",
                       "0 > 41 33 33 33 33 33 33 33",
                       "0 > 41 33 33 33 33 33 33 33 FAILED: the device refused the report",
                       "0 # memory write at 0300 cut off after 2 of 38 reports: the device "
                       "refused the report",
                   }));
  // Nothing was sent after the refused report.
  EXPECT_EQ(mouse.Memory()[0x0300 + 7], 0x00);
}

TEST(TransportFaults, ATraceFileThatCannotBeWrittenWarnsOnce) {
  std::FILE* full = std::fopen("/dev/full", "w");
  if (!full) GTEST_SKIP() << "no /dev/full here";
  std::vector<std::string> warnings;
  {
    FileTrace trace(full, 0, [&](const std::string& m) { warnings.push_back(m); });
    TraceEntry entry;
    for (int i = 0; i < 3; ++i) trace.Record(entry);
  }
  std::fclose(full);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("cannot be written"), std::string::npos) << warnings[0];
}

}  // namespace
}  // namespace korvex48
