// The command-set cases shared by the in-process and the FUSE test programs.
#include <gtest/gtest.h>

#include <numeric>

#include "core/device/command_set.h"
#include "core/device/protocol_trace.h"
#include "core/device/transport.h"
#include "core/image/default_image.h"
#include "mouse_rig.h"

namespace korvex48::testing {
namespace {

struct CountingBusy final : BusyUi {
  int shown = 0, hidden = 0, events = 0;
  void Show() override { ++shown; }
  void Hide() override { ++hidden; }
  void ProcessEvents() override { ++events; }
};

DefaultIdentifiers Ids() {
  ImageHead head{};
  ReadDefaultHead(head);
  return DefaultIdentifiersOf(head);
}

Bytes R(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
  return out;
}

// One report as it crosses: 8 bytes.
Report Rep(std::initializer_list<int> bytes) {
  Report out{};
  std::size_t i = 0;
  for (int b : bytes) out.at(i++) = static_cast<std::uint8_t>(b);
  return out;
}

Bytes Pattern(std::size_t n, int seed) {
  Bytes out(n);
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<std::uint8_t>(seed + 7 * i);
  return out;
}

// A transport over the rig's backend, on a FakeClock, with its trace.
struct Link {
  std::unique_ptr<MouseRig> rig;
  std::unique_ptr<HandleCounter> counter;
  VectorTrace trace;
  FakeClock clock;
  CountingBusy busy;
  std::unique_ptr<Transport> transport;
  std::unique_ptr<CommandSet> commands;

  bool Open() { return transport->OpenDevice(Ids().vendor_id, Ids().product_id); }
  void Forget() {
    trace.Clear();
    busy = CountingBusy{};
  }
};

std::unique_ptr<Link> Connect(const RigParam& factory, SimulatedStorage storage, std::string* skip,
                              bool open = true) {
  auto link = std::make_unique<Link>();
  link->rig = factory.make(storage, skip);
  if (!link->rig) return nullptr;
  link->counter = std::make_unique<HandleCounter>(link->rig->Backend());
  link->transport = std::make_unique<Transport>(*link->counter, link->clock);
  link->transport->SetTrace(&link->trace);
  link->commands = std::make_unique<CommandSet>(*link->transport, link->busy);
  if (open) {
    EXPECT_TRUE(link->Open());
    link->Forget();
  }
  return link;
}

#define CONNECT(name, storage, ...)                                                  \
  std::string skip_reason;                                                           \
  auto name = Connect(GetParam(), storage, &skip_reason __VA_OPT__(, ) __VA_ARGS__); \
  if (!name) GTEST_SKIP() << skip_reason;

TEST_P(CommandSetTest, OpenFindsTheConfigurationInterfaceAndProbesIt) {
  CONNECT(link, SimulatedStorage::kI2C, false);
  EXPECT_EQ(link->transport->CountHidDevices(), 3);
  link->rig->Control("others 2");
  EXPECT_EQ(link->transport->CountHidDevices(), 5);
  link->trace.Clear();

  int version = 0;
  ASSERT_TRUE(link->transport->OpenDevice(Ids().vendor_id, Ids().product_id, &version));
  const DeviceSession& s = link->transport->Session();
  EXPECT_EQ(s.VendorId, Ids().vendor_id);
  EXPECT_EQ(s.ProductId, Ids().product_id);
  EXPECT_EQ(s.FeatureLength, 8);
  ASSERT_TRUE(s.HandlesValid());
  EXPECT_EQ(s.CommandHandle, s.ReplyHandle);
  HidInterfaceInfo info;
  ASSERT_TRUE(link->rig->Backend().QueryInfo(s.CommandHandle, &info));
  EXPECT_EQ(info.feature_report_length, 8);  // not the 64-byte interface of the same mouse
  // The probes: a device-information command, then its reply read and dropped.
  ASSERT_EQ(link->trace.Reports().size(), 2u);
  EXPECT_EQ(link->trace.Reports()[0].bytes, Rep({0x40, 0x0D, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(link->trace.Reports()[1].bytes, Rep({0x41, 0, 0, 0xC0, 4, 0, 0, 0}));

  link->transport->CloseDevice();
  EXPECT_FALSE(s.HandlesValid());
  EXPECT_EQ(link->counter->opens, link->counter->closes);
}

TEST_P(CommandSetTest, ReadSectionStoresWhatTheRepliesCarry) {
  CONNECT(link, SimulatedStorage::kI2C);
  struct Case {
    std::uint8_t block, offset;
    std::size_t length;
    int replies;
  };
  const SimulatedMouse mouse = link->rig->Snapshot();
  // The lengths the flows read, and two no flow reads (a multiple of 7, a
  // part of a section), which the command set chunks the same: the mouse is
  // told to take them.
  for (const Case& c : {Case{0, 6, 1, 1}, Case{0, 0, 104, 15}, Case{1, 0, 145, 21},
                        Case{0, 0, 14, 2}, Case{1, 140, 5, 1}}) {
    SCOPED_TRACE(c.length);
    if (c.length == 14) link->rig->Control("strict 0");
    link->Forget();
    const std::uint64_t slept = link->clock.SleptMicroseconds();
    Bytes dest(c.length + 1, 0xAB);  // one guard byte past the destination
    ASSERT_TRUE(
        link->commands->ReadSection(c.block, c.offset, std::span(dest).first(c.length), true));
    ASSERT_EQ(link->trace.SentReports(),
              std::vector<Report>{Rep({0x40, 0x06, c.block, c.offset, 0, int(c.length), 0, 0})});
    EXPECT_EQ(link->trace.Reads(), c.replies);
    EXPECT_EQ(link->busy.shown, c.replies);
    EXPECT_EQ(link->clock.SleptMicroseconds() - slept, 500u * c.replies);
    SimulatedMouse copy = mouse;
    const std::uint8_t* src =
        (c.block == 0 ? copy.Parameters().data() : copy.Profiles().data()) + c.offset;
    EXPECT_EQ(Bytes(dest.begin(), dest.begin() + c.length), Bytes(src, src + c.length));
    EXPECT_EQ(dest.back(), 0xAB);
  }
}

TEST_P(CommandSetTest, WriteSectionSendsChunksWithOffsetsAndPads) {
  CONNECT(link, SimulatedStorage::kI2C);
  const Bytes params = Pattern(104, 3);
  ASSERT_TRUE(link->commands->WriteSection(kParameterBlock, 0, params));
  auto sent = link->trace.SentReports();
  ASSERT_EQ(sent.size(), 35u);
  EXPECT_EQ(sent[1], Rep({0x40, 0x05, 0x00, 3, params[3], params[4], params[5], 3}));
  EXPECT_EQ(sent[34], Rep({0x40, 0x05, 0x00, 102, params[102], params[103], 0xFF, 3}));
  EXPECT_EQ(link->busy.shown, 35);
  EXPECT_EQ(link->busy.hidden, 0);  // the caller hides it after the whole transfer

  link->Forget();
  const Bytes profiles = Pattern(145, 9);
  ASSERT_TRUE(link->commands->WriteSection(kProfileBlock, 0, profiles));
  sent = link->trace.SentReports();
  ASSERT_EQ(sent.size(), 37u);
  EXPECT_EQ(sent[36], Rep({0x40, 0x05, 0x01, 144, profiles[144], 0xFF, 0xFF, 0xFF}));

  link->Forget();
  EXPECT_TRUE(link->commands->WriteSection(2, 0, profiles));  // no such block: nothing sent
  EXPECT_TRUE(link->trace.Reports().empty());

  SimulatedMouse mouse = link->rig->Snapshot();
  EXPECT_EQ(Bytes(mouse.Parameters().begin(), mouse.Parameters().end()), params);
  EXPECT_EQ(Bytes(mouse.Profiles().begin(), mouse.Profiles().end()), profiles);
  EXPECT_EQ(link->clock.SleptMicroseconds(), 0u);  // writes are not paced
}

TEST_P(CommandSetTest, MemoryWritesTakeTheAnnouncedLengthAndReadBack) {
  CONNECT(link, SimulatedStorage::kFlashFlash);
  struct Case {
    std::uint16_t address;
    std::size_t length;
    int reports;
  };
  // The flows' shapes (the customer identifier, a page), then two no flow
  // sends (the names table in one write, a write across the end of the
  // memory), which the command set chunks the same: the mouse is told to take
  // them.
  for (const Case& c :
       {Case{0x6000, 2, 1}, Case{0x4100, 256, 37}, Case{0x3000, 512, 74}, Case{0xFFFC, 7, 1}}) {
    SCOPED_TRACE(c.address);
    if (c.address == 0x3000) link->rig->Control("strict 0");
    link->Forget();
    const std::uint8_t after = link->rig->Snapshot().Memory()[(c.address + c.length) & 0xFFFF];
    const Bytes data = Pattern(c.length, c.address);
    ASSERT_TRUE(link->commands->WriteMemory(c.address, data));
    auto sent = link->trace.SentReports();
    ASSERT_EQ(sent.size(), 1u + c.reports);
    EXPECT_EQ(sent[0], Rep({0x40, 0x07, c.address >> 8, c.address & 0xFF, int(c.length >> 8),
                            int(c.length & 0xFF), 0, 0}));
    if (c.length == 2) {
      EXPECT_EQ(sent[1], Rep({0x41, data[0], data[1], 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    }
    EXPECT_EQ(link->busy.shown, c.reports);

    SimulatedMouse mouse = link->rig->Snapshot();
    for (std::size_t i = 0; i < c.length; ++i) {
      ASSERT_EQ(mouse.Memory()[(c.address + i) & 0xFFFF], data[i]) << i;
    }
    // The pad bytes of the last report went nowhere.
    EXPECT_EQ(mouse.Memory()[(c.address + c.length) & 0xFFFF], after);

    link->Forget();
    Bytes back(c.length);
    ASSERT_TRUE(link->commands->ReadMemory(c.address, back, false));
    EXPECT_EQ(back, data);
    EXPECT_EQ(link->trace.Reads(), c.reports);
  }
}

TEST_P(CommandSetTest, LiveWritesSettleAndReport) {
  CONNECT(link, SimulatedStorage::kI2C);
  ASSERT_TRUE(link->commands->WriteParameterBytes(40, 0x55, 0x66, 0x77, 1));
  EXPECT_EQ(link->trace.SentReports(),
            std::vector<Report>{Rep({0x40, 0x05, 0, 40, 0x55, 0x66, 0x77, 1})});
  EXPECT_EQ(link->clock.SleptMicroseconds(), 100'000u);
  EXPECT_EQ(link->busy.shown, 1);
  EXPECT_EQ(link->busy.hidden, 1);
  ASSERT_TRUE(link->commands->WriteParameterBytes(75, 1, 2, 3, 3));
  ASSERT_TRUE(link->commands->WriteProfileBytes(48, 0x10, 0x02, 0x10, 0x00));
  EXPECT_FALSE(link->commands->WriteParameterBytes(40, 0, 0, 0, 4));  // count out of range

  SimulatedMouse mouse = link->rig->Snapshot();
  EXPECT_EQ(mouse.Parameters()[40], 0x55);
  EXPECT_EQ(mouse.Parameters()[41], 0xA9);  // only the announced count is written
  EXPECT_EQ(R({mouse.Parameters()[75], mouse.Parameters()[76], mouse.Parameters()[77]}),
            R({1, 2, 3}));
  EXPECT_EQ(
      R({mouse.Profiles()[48], mouse.Profiles()[49], mouse.Profiles()[50], mouse.Profiles()[51]}),
      R({0x10, 0x02, 0x10, 0x00}));
}

TEST_P(CommandSetTest, AClosedHandleSendsNothing) {
  CONNECT(link, SimulatedStorage::kI2C);
  link->transport->CloseDevice();
  Bytes dest(14, 0x00);
  ReplyBytes info{};
  EXPECT_FALSE(link->commands->WriteParameterBytes(33, 1, 0, 0, 1));
  EXPECT_FALSE(link->commands->WriteProfileBytes(0, 1, 2, 3, 4));
  EXPECT_FALSE(link->commands->ReadSection(0, 0, dest, true));
  EXPECT_FALSE(link->commands->WriteSection(0, 0, dest));
  EXPECT_FALSE(link->commands->ReadMemory(0x200, dest, true));
  EXPECT_FALSE(link->commands->WriteMemory(0x200, dest));
  EXPECT_FALSE(link->commands->ReadDeviceInformation(&info));
  EXPECT_FALSE(link->commands->Restart());
  EXPECT_TRUE(link->trace.Reports().empty());
  EXPECT_EQ(link->busy.shown, 0);
  EXPECT_EQ(link->clock.SleptMicroseconds(), 0u);
}

TEST_P(CommandSetTest, DeviceInformationAndCustomerIdentifierPerStorage) {
  struct Case {
    SimulatedStorage storage;
    std::uint8_t primary;
    int secondary_bits;  // parameter byte 6 bits 7-6; -1: not consulted
    std::uint16_t customer_address;
  };
  for (const Case& c : {Case{SimulatedStorage::kI2C, 0xC0, -1, 249},
                        Case{SimulatedStorage::kFlashI2C, 0x80, 0b10, 0x6000},
                        Case{SimulatedStorage::kFlashFlash, 0x80, 0b11, 0x6000}}) {
    SCOPED_TRACE(SimulatedStorageName(c.storage));
    CONNECT(link, c.storage);
    ReplyBytes info{};
    ASSERT_TRUE(link->commands->ReadDeviceInformation(&info));
    EXPECT_EQ(info[kInfoPrimaryStorage], c.primary);
    EXPECT_EQ(info[kInfoVariant], 4);
    std::uint8_t byte6 = 0;
    ASSERT_TRUE(link->commands->ReadSection(0, 6, std::span(&byte6, 1), false));
    if (c.secondary_bits >= 0) {
      EXPECT_EQ(byte6 >> 6, c.secondary_bits);
    }
    Bytes customer(2);
    ASSERT_TRUE(link->commands->ReadMemory(c.customer_address, customer, false));
    EXPECT_EQ(customer, R({0xFF, 0xFF}));
  }
}

TEST_P(CommandSetTest, FailedRepliesLeave0xFFAndRefusedCommandsFail) {
  CONNECT(link, SimulatedStorage::kI2C);
  SimulatedMouse mouse = link->rig->Snapshot();
  link->rig->Control("fail-replies 1");
  Bytes dest(kParameterSectionSize);
  ASSERT_TRUE(link->commands->ReadSection(0, 0, dest, false));
  EXPECT_EQ(Bytes(dest.begin(), dest.begin() + 7), Bytes(7, 0xFF));
  EXPECT_EQ(Bytes(dest.begin() + 7, dest.end()),
            Bytes(mouse.Parameters().begin() + 7, mouse.Parameters().end()));
  // No wait after the failed reply.
  EXPECT_EQ(link->clock.SleptMicroseconds(), 500u * 14);
  EXPECT_FALSE(link->commands->LastReadComplete());
  ASSERT_TRUE(link->commands->ReadSection(0, 0, dest, false));
  EXPECT_TRUE(link->commands->LastReadComplete());

  link->rig->Control("refuse-command 9");
  link->Forget();
  Bytes memory(256, 0x00);
  EXPECT_FALSE(link->commands->ReadMemory(0x200, memory, false));
  EXPECT_EQ(memory, Bytes(256, 0xFF));  // the quiet read filled it before sending
  EXPECT_FALSE(link->commands->LastReadComplete());
  EXPECT_EQ(link->trace.Reads(), 0);
}

TEST_P(CommandSetTest, OnlyTheReplyProbeSucceeds) {
  CONNECT(link, SimulatedStorage::kI2C, false);
  link->rig->Control("refuse-commands 1");
  EXPECT_TRUE(link->Open());
  EXPECT_EQ(link->transport->Session().CommandHandle, kInvalidHandle);
  EXPECT_NE(link->transport->Session().ReplyHandle, kInvalidHandle);
  link->Forget();
  EXPECT_FALSE(link->commands->WriteProfileBytes(0, 1, 2, 3, 4));
  EXPECT_TRUE(link->trace.Reports().empty());
}

TEST_P(CommandSetTest, AMouseVanishingMidTransferGivesFalseResultsNotAHang) {
  CONNECT(link, SimulatedStorage::kI2C);
  link->rig->Control("vanish-after 3");  // the command and two replies get through
  Bytes memory(256, 0x00);
  ASSERT_TRUE(link->commands->ReadMemory(0x200, memory, false));
  EXPECT_EQ(Bytes(memory.begin() + 14, memory.end()), Bytes(242, 0xFF));
  EXPECT_EQ(link->trace.Reads(), 3);  // once gone, the rest are not even tried
  EXPECT_FALSE(link->commands->WriteParameterBytes(33, 1, 0, 0, 1));
  EXPECT_EQ(link->transport->CountHidDevices(), 0);
  EXPECT_FALSE(link->Open());
}

TEST_P(CommandSetTest, RestartLeavesTheBusAndComesBack) {
  CONNECT(link, SimulatedStorage::kI2C);
  ASSERT_TRUE(link->commands->Restart());
  EXPECT_EQ(link->trace.SentReports(), std::vector<Report>{Rep({0x40, 0x0E, 0, 0, 0, 0, 0, 0})});
  EXPECT_EQ(link->transport->CountHidDevices(), 0);
  EXPECT_FALSE(link->transport->SendCommand(0x0D, 0, 0, 0, 0));  // the old handle is dead
  link->rig->PassTime(1'100'000);
  EXPECT_EQ(link->transport->CountHidDevices(), 3);
  EXPECT_TRUE(link->Open());
  EXPECT_TRUE(link->transport->Session().HandlesValid());
}

TEST_P(CommandSetTest, UnpluggedThereIsNothingToOpen) {
  CONNECT(link, SimulatedStorage::kI2C, false);
  link->rig->Control("unplug");
  EXPECT_EQ(link->transport->CountHidDevices(), 0);
  EXPECT_FALSE(link->Open());
  link->rig->Control("others 1");
  EXPECT_EQ(link->transport->CountHidDevices(), 1);
  link->rig->Control("plug");
  EXPECT_EQ(link->transport->CountHidDevices(), 4);
  EXPECT_TRUE(link->Open());
}

}  // namespace
}  // namespace korvex48::testing
