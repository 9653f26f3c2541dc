// The whole-image flows report by report: every byte that crosses to the mouse
// and the number of replies read, rebuilt here from the protocol rules rather
// than from the code under test; and the same flows with the mouse pulled out
// in the middle.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app_rig.h"

namespace korvex48::test {
namespace {

using Wire = std::vector<std::string>;

std::string Line(char direction, const Report& r) {
  std::string s(1, direction);
  if (direction == '<') return s;  // reply contents are the mouse's business
  char hex[4];
  for (std::uint8_t b : r) {
    std::snprintf(hex, sizeof hex, " %02X", b);
    s += hex;
  }
  return s;
}

Wire WireOf(const VectorTrace& trace) {
  Wire out;
  for (const TraceEntry& e : trace.Reports())
    out.push_back(Line(e.kind == TraceEntry::Kind::kSent ? '>' : '<', e.bytes));
  return out;
}

std::uint8_t B(std::size_t v) { return static_cast<std::uint8_t>(v & 0xFF); }

void Command(Wire& w, std::uint8_t c1, std::uint8_t c2, std::uint8_t c3, std::uint8_t c4,
             std::uint8_t c5) {
  w.push_back(Line('>', {0x40, c1, c2, c3, c4, c5, 0x00, 0x00}));
}

void Replies(Wire& w, std::size_t length) {
  for (std::size_t i = 0; i < (length + 6) / 7; ++i) w.push_back("<");
}

void ReadSectionWire(Wire& w, std::uint8_t block, std::size_t length) {
  Command(w, 0x06, block, 0x00, 0x00, B(length));
  Replies(w, length);
}

void ReadMemoryWire(Wire& w, std::uint16_t address, std::size_t length) {
  Command(w, 0x09, B(address >> 8), B(address), B(length >> 8), B(length));
  Replies(w, length);
}

// Pad bytes of partial chunks are 0xFF.
void WriteSectionWire(Wire& w, std::uint8_t block, std::span<const std::uint8_t> bytes) {
  const std::size_t chunk = block == 0 ? 3 : 4;
  for (std::size_t at = 0; at < bytes.size(); at += chunk) {
    Report r{0x40, 0x05, block, B(at), 0xFF, 0xFF, 0xFF, 0xFF};
    for (std::size_t i = 0; i < chunk && at + i < bytes.size(); ++i) r[4 + i] = bytes[at + i];
    if (block == 0) r[7] = 0x03;
    w.push_back(Line('>', r));
  }
}

void WriteMemoryWire(Wire& w, std::uint16_t address, std::span<const std::uint8_t> bytes) {
  Command(w, 0x07, B(address >> 8), B(address), B(bytes.size() >> 8), B(bytes.size()));
  for (std::size_t at = 0; at < bytes.size(); at += 7) {
    Report r{0x41, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    for (std::size_t i = 0; i < 7 && at + i < bytes.size(); ++i) r[1 + i] = bytes[at + i];
    w.push_back(Line('>', r));
  }
}

struct LayoutCase {
  SimulatedStorage storage;
  std::uint16_t area;  // packed area base; 0 for the slot layout
  std::uint16_t customer_at;
};

const LayoutCase kLayouts[] = {
    {SimulatedStorage::kI2C, 0x0200, 249},
    {SimulatedStorage::kFlashI2C, 0x4000, 0x6000},
    {SimulatedStorage::kFlashFlash, 0, 0x6000},
};

TEST(Wire, WholeImageReadPerLayout) {
  for (const LayoutCase& c : kLayouts) {
    SCOPED_TRACE(static_cast<int>(c.storage));
    AppRig rig(c.storage);
    ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
    rig.ClearLogs();
    const std::uint64_t start = rig.clock.NowMicroseconds();
    rig.images.ReadConfiguration();

    Wire expected;
    ReadSectionWire(expected, 0, 104);  // 15 replies
    ReadSectionWire(expected, 1, 145);  // 21 replies
    if (c.area != 0) {
      ReadMemoryWire(expected, c.area, 256);
      ReadMemoryWire(expected, static_cast<std::uint16_t>(c.area + 0x100), 256);
    } else {
      for (int i = 0; i < 32; ++i)
        ReadMemoryWire(expected, static_cast<std::uint16_t>(0x4000 + 0x100 * i), 256);
      ReadMemoryWire(expected, 0x3000, 512);  // 74 replies
    }
    EXPECT_EQ(WireOf(rig.trace), expected);
    // 500 microseconds after every reply and no other wait.
    std::size_t replies = 0;
    for (const std::string& line : expected) replies += line == "<";
    EXPECT_EQ(rig.clock.NowMicroseconds() - start, replies * 500);
    EXPECT_EQ(rig.core.Working().parameters, rig.mouse.Parameters());
    EXPECT_EQ(rig.core.Working().profiles, rig.mouse.Profiles());
  }
}

// Reset: sections, then the macro storage, then the customer identifier; no
// waits between reports; the busy pop-up shown per chunk and hidden once.
TEST(Wire, WholeImageWritePerLayout) {
  for (const LayoutCase& c : kLayouts) {
    SCOPED_TRACE(static_cast<int>(c.storage));
    AppRig rig(c.storage);
    ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
    rig.ClearLogs();
    rig.ui.record_busy = true;
    const std::uint64_t start = rig.clock.NowMicroseconds();
    ASSERT_TRUE(rig.images.ResetMouse());

    const ConfigImage& w = rig.core.Working();
    Wire expected;
    WriteSectionWire(expected, 0, w.parameters);  // 35 reports
    WriteSectionWire(expected, 1, w.profiles);    // 37 reports
    const std::span<const std::uint8_t> area(w.macro_area);
    if (c.area != 0) {
      WriteMemoryWire(expected, c.area, area.first(256));
      WriteMemoryWire(expected, static_cast<std::uint16_t>(c.area + 0x100), area.last(256));
    } else {
      WriteMemoryWire(expected, 0x3000, area.first(256));
      WriteMemoryWire(expected, 0x3100, area.last(256));
      for (int i = 0; i < 32; ++i)
        WriteMemoryWire(expected, static_cast<std::uint16_t>(0x4000 + 0x100 * i),
                        w.macro_pages[static_cast<std::size_t>(i)]);
    }
    WriteMemoryWire(expected, c.customer_at, w.customer_id);
    EXPECT_EQ(WireOf(rig.trace), expected);
    EXPECT_EQ(rig.clock.NowMicroseconds(), start);
    EXPECT_EQ(w.customer_id, (CustomerId{0xFF, 0xFF}));
    EXPECT_EQ(rig.ui.Count("Hide"), 1);
    const auto first = std::find(rig.ui.log.begin(), rig.ui.log.end(), "LockPages");
    const auto hide = std::find(rig.ui.log.begin(), rig.ui.log.end(), "Hide");
    EXPECT_LT(first, hide);
    EXPECT_EQ(rig.ui.log.back(), "StartPolling");
    EXPECT_EQ(*(rig.ui.log.end() - 2), "UnlockPages");
  }
}

TEST(Wire, DeviceInformationStepPerStorage) {
  for (const LayoutCase& c : kLayouts) {
    SCOPED_TRACE(static_cast<int>(c.storage));
    AppRig rig(c.storage);
    ASSERT_TRUE(rig.transport.OpenDevice(rig.mouse.VendorId(), rig.mouse.ProductId()));
    // The open probes both directions: one device-information command, one read.
    EXPECT_EQ(WireOf(rig.trace), (Wire{"> 40 0D 00 00 00 00 00 00", "<"}));
    rig.ClearLogs();
    rig.connection.IdentifyMouse();
    const Wire got = WireOf(rig.trace);
    ASSERT_GE(got.size(), 4u);
    // Command 13 and its reply; for "Flash" parameter byte 6 alone; then the
    // two-byte customer identifier.
    Wire head(got.begin(), got.begin() + 2);
    EXPECT_EQ(head, (Wire{"> 40 0D 00 00 00 00 00 00", "<"}));
    std::size_t at = 2;
    if (c.storage != SimulatedStorage::kI2C) {
      EXPECT_EQ(got[at], "> 40 06 00 06 00 01 00 00");
      EXPECT_EQ(got[at + 1], "<");
      at += 2;
    }
    Wire id;
    ReadMemoryWire(id, c.customer_at, 2);
    EXPECT_EQ(Wire(got.begin() + static_cast<std::ptrdiff_t>(at),
                   got.begin() + static_cast<std::ptrdiff_t>(at + 2)),
              id);
    // The whole-image read follows at once.
    EXPECT_EQ(got[at + 2], "> 40 06 00 00 00 68 00 00");
  }
}

// ---- The mouse pulled out in the middle of a transfer --------------------------

TEST(Vanish, WholeImageReadEndsCleanlyAndTakesNothing) {
  for (const LayoutCase& c : kLayouts) {
    SCOPED_TRACE(static_cast<int>(c.storage));
    AppRig rig(c.storage);
    ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
    const ConfigImage before = rig.core.Working();
    rig.ClearLogs();
    // The parameter section (1 + 15) and 10 profile replies get through.
    rig.mouse.Faults().vanish_after_reports = 1 + 15 + 1 + 10;
    EXPECT_FALSE(rig.images.ReadConfiguration());

    // Nothing of the incomplete read is taken.
    EXPECT_EQ(rig.core.Working().parameters, before.parameters);
    EXPECT_EQ(rig.core.Working().profiles, before.profiles);
    EXPECT_EQ(rig.core.Working().macro_area, before.macro_area);
    EXPECT_EQ(rig.core.Working().macro_pages, before.macro_pages);
    // One failed report, then nothing is even tried on the dead handle.
    std::size_t failed = 0;
    for (const TraceEntry& e : rig.trace.Reports()) failed += !e.ok();
    EXPECT_EQ(failed, 1u);
    EXPECT_EQ(rig.trace.Reports().size(), 1u + 15 + 1 + 10 + 1);
    // The flow still ends as it must: pop-up down, timer on, pages unlocked,
    // and no write may reach the mouse.
    EXPECT_TRUE(rig.session.Loading);
    EXPECT_EQ(rig.ui.Count("StartPolling"), 1);
    EXPECT_EQ(rig.ui.Count("UnlockPages"), 1);
    // The next poll sees the mouse gone and forgets it.
    rig.session.LastHidCount = 3;
    EXPECT_EQ(rig.connection.Poll(), PollOutcome::kLost);
    EXPECT_FALSE(rig.session.HandlesValid());
    EXPECT_FALSE(rig.images.ResetMouse());
  }
}

TEST(Vanish, WholeImageWriteEndsCleanlyAndLiveWritesFail) {
  for (const LayoutCase& c : kLayouts) {
    SCOPED_TRACE(static_cast<int>(c.storage));
    AppRig rig(c.storage);
    ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
    rig.ClearLogs();
    // Both sections and part of the first macro page get through.
    rig.mouse.Faults().vanish_after_reports = 35 + 37 + 1 + 20;
    ASSERT_FALSE(rig.images.ResetMouse());

    std::size_t failed = 0;
    for (const TraceEntry& e : rig.trace.Reports()) failed += !e.ok();
    EXPECT_EQ(failed, 1u);
    EXPECT_EQ(rig.trace.Reports().size(), 35u + 37 + 1 + 20 + 1);
    EXPECT_EQ(rig.ui.Count("UnlockPages"), 1);
    ASSERT_GE(rig.ui.log.size(), 2u);
    EXPECT_EQ(rig.ui.log[rig.ui.log.size() - 2], "StartPolling");
    EXPECT_EQ(rig.ui.log.back(),
              "Message The mouse's configuration is incomplete: load a profile or reset.");
    EXPECT_FALSE(rig.commands.WriteParameterBytes(33, 1, 0, 0, 1));
    MacroArea area{};
    EXPECT_FALSE(rig.commands.ReadMemory(0x200, area, true));
    EXPECT_EQ(rig.transport.CountHidDevices(), 0);
  }
}

}  // namespace
}  // namespace korvex48::test
