#include "core/device/transport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "core/device/command_set.h"
#include "core/device/protocol_trace.h"
#include "core/device/simulated_mouse.h"
#include "core/image/default_image.h"

namespace korvex48 {
namespace {

// Interfaces described by a table; every open gets a fresh handle.
class ScriptedBackend final : public HidBackend {
 public:
  struct Node {
    std::string path;
    HidError open_error = HidError::kNone;
    HidInterfaceInfo info{0x1111, 0x2222, 7, 8};
    bool command_ok = true;
    bool reply_ok = true;
    std::optional<std::pair<std::uint16_t, std::uint16_t>> peek;
  };
  std::vector<Node> nodes;
  static Node N(std::string path, HidError open_error = HidError::kNone,
                HidInterfaceInfo info = {0x1111, 0x2222, 7, 8}, bool command_ok = true,
                std::optional<std::pair<std::uint16_t, std::uint16_t>> peek = std::nullopt) {
    return Node{std::move(path), open_error, info, command_ok, true, peek};
  }
  std::map<DeviceHandle, std::size_t> open;  // handle -> node index
  DeviceHandle next = 10;

  std::vector<std::string> ListInterfaces() override {
    std::vector<std::string> out;
    for (const Node& n : nodes) out.push_back(n.path);
    return out;
  }
  DeviceHandle Open(const std::string& path, HidError* error) override {
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      if (nodes[i].path != path) continue;
      *error = nodes[i].open_error;
      if (*error != HidError::kNone) return kInvalidHandle;
      open[next] = i;
      return next++;
    }
    *error = HidError::kGone;
    return kInvalidHandle;
  }
  void Close(DeviceHandle handle) override { EXPECT_EQ(open.erase(handle), 1u) << handle; }
  bool QueryInfo(DeviceHandle handle, HidInterfaceInfo* info) override {
    *info = nodes[open.at(handle)].info;
    return true;
  }
  bool SetFeature(DeviceHandle handle, std::span<const std::uint8_t>, HidError*) override {
    return nodes[open.at(handle)].command_ok;
  }
  bool GetFeature(DeviceHandle handle, std::span<std::uint8_t> report, HidError*) override {
    if (!nodes[open.at(handle)].reply_ok) return false;
    for (std::size_t i = 1; i < report.size(); ++i) report[i] = static_cast<std::uint8_t>(i);
    return true;
  }
  std::optional<std::pair<std::uint16_t, std::uint16_t>> PeekIdentifiers(
      const std::string& path) override {
    for (const Node& n : nodes)
      if (n.path == path) return n.peek;
    return std::nullopt;
  }
};

TEST(TransportTest, TheLastMatchingInterfaceWithWorkingProbesHoldsTheHandles) {
  ScriptedBackend backend;
  backend.nodes = {
      backend.N("a"),                                               // matches
      backend.N("wide", HidError::kNone, {0x1111, 0x2222, 7, 64}),  // same mouse, 64-byte reports
      backend.N("other", HidError::kNone, {0x1234, 0x2222, 7, 8}),  // another device
      backend.N("b"),                                               // matches: wins
      backend.N("c", HidError::kNone, {0x1111, 0x2222, 9, 8}, false),  // only its reply probe
  };
  FakeClock clock;
  {
    Transport transport(backend, clock);
    DeviceSession& session = transport.Session();
    EXPECT_EQ(transport.CountHidDevices(), 5);
    EXPECT_TRUE(backend.open.empty());
    int version = 0;
    ASSERT_TRUE(transport.OpenDevice(0x1111, 0x2222, &version));
    EXPECT_EQ(version, 9);
    // Commands go to "b", replies to "c"; nothing else stays open.
    ASSERT_EQ(backend.open.size(), 2u);
    EXPECT_EQ(backend.nodes[backend.open.at(session.CommandHandle)].path, "b");
    EXPECT_EQ(backend.nodes[backend.open.at(session.ReplyHandle)].path, "c");

    // Opening again first lets go of what was held.
    ASSERT_TRUE(transport.OpenDevice(0x1111, 0x2222));
    EXPECT_EQ(backend.open.size(), 2u);
  }
  EXPECT_TRUE(backend.open.empty());  // the transport closes its handles when it goes
}

TEST(TransportTest, OnlyNodesThatMayBeTheMouseAreReportedAsUnopenable) {
  ScriptedBackend backend;
  backend.nodes = {
      backend.N("/dev/hidraw0", HidError::kPermission, {}, true, std::make_pair(0x1234, 0x5678)),
      backend.N("/dev/hidraw1", HidError::kPermission, {}, true, std::make_pair(0x1111, 0x2222)),
      backend.N("/dev/hidraw2", HidError::kBusy),  // identity unknown: may be the mouse
      backend.N("/dev/hidraw3", HidError::kGone),
  };
  Transport transport(backend);
  EXPECT_FALSE(transport.OpenDevice(0x1111, 0x2222));
  const auto& problems = transport.LastOpenProblems();
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].path, "/dev/hidraw1");
  EXPECT_NE(problems[0].message.find(UdevRuleText(0x1111, 0x2222)), std::string::npos);
  EXPECT_EQ(problems[1].error, HidError::kBusy);
  EXPECT_NE(problems[1].message.find("/dev/hidraw2"), std::string::npos);
}

TEST(TransportTest, AFailedReplyReadsAsSeven0xFFWithoutAWait) {
  ScriptedBackend backend;
  backend.nodes = {backend.N("a")};
  FakeClock clock;
  Transport transport(backend, clock);
  ASSERT_TRUE(transport.OpenDevice(0x1111, 0x2222));
  const std::uint64_t before = clock.SleptMicroseconds();
  EXPECT_TRUE(transport.ReadReply());
  EXPECT_EQ(transport.Reply(), (ReplyBytes{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(clock.SleptMicroseconds() - before, 500u);
  backend.nodes[0].reply_ok = false;
  EXPECT_FALSE(transport.ReadReply());
  EXPECT_EQ(transport.Reply(), (ReplyBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(clock.SleptMicroseconds() - before, 500u);
}

TEST(TransportTest, DelayMicrosecondsWaitsAtLeastThatLongOnTheRealClock) {
  ScriptedBackend backend;
  SystemClock clock;
  Transport transport(backend, clock);
  for (int us : {1, 500, 1200}) {
    const std::uint64_t start = clock.NowMicroseconds();
    transport.DelayMicroseconds(us);
    EXPECT_GE(clock.NowMicroseconds() - start, static_cast<std::uint64_t>(us));
  }
}

TEST(TransportTest, TraceHasOneLinePerReportWithTimeDirectionAndBytes) {
  FakeClock clock;
  SimulatedMouse mouse(SimulatedStorage::kI2C, clock);
  Transport transport(mouse, clock);
  ImageHead head{};
  ReadDefaultHead(head);
  ASSERT_TRUE(transport.OpenDevice(DefaultIdentifiersOf(head).vendor_id,
                                   DefaultIdentifiersOf(head).product_id));
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  clock.Advance(5'000);  // times count from the start of the trace
  {
    FileTrace trace(out, clock.NowMicroseconds());
    transport.SetTrace(&trace);
    CommandSet commands(transport);
    clock.Advance(1'500);
    std::uint8_t byte = 0;
    ASSERT_TRUE(commands.ReadSection(0, 6, std::span(&byte, 1), false));
    transport.SetTrace(nullptr);
  }
  std::rewind(out);
  char buf[256] = {};
  const std::size_t n = std::fread(buf, 1, sizeof buf - 1, out);
  std::fclose(out);
  EXPECT_EQ(std::string(buf, n),
            "1 > 40 06 00 06 00 01 00 00\n"
            "1 < 41 BF 00 00 00 00 00 00\n");
}

}  // namespace
}  // namespace korvex48
