#include "core/macros/packed_layout.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace korvex48 {
namespace {

constexpr std::uint16_t kI2CFirst = 0x0210;

struct Macro {
  std::string name;
  Bytes events;  // without the end byte
};

// An area laid out by hand: name, events, end byte, macro after macro.
Bytes Area(const std::vector<Macro>& macros) {
  Bytes area;
  for (const Macro& m : macros) {
    const MacroName n = MacroNameFromText(m.name);
    area.insert(area.end(), n.begin(), n.end());
    area.insert(area.end(), m.events.begin(), m.events.end());
    area.push_back(0x00);
  }
  area.resize(kPackedAreaSize, 0x00);
  return area;
}

// `n` bytes of alternating left press and release.
Bytes Clicks(std::size_t n) {
  Bytes b;
  for (std::size_t i = 0; i < n; ++i) b.push_back(i % 2 == 0 ? 0xA1 : 0x21);
  return b;
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

PackedMacroTable Read(const Bytes& area, PackedStatus expected = PackedStatus::kOk) {
  PackedMacroTable t;
  t.addresses[0] = kI2CFirst;
  EXPECT_EQ(ReadAndRefreshMacroT417(t, area), expected);
  return t;
}

Bytes EventsOf(const PackedMacroTable& t, std::size_t k) {
  return Bytes(t.events[k].begin(), t.events[k].begin() + (t.lengths[k] - 17));
}

TEST(PackedLayout, AreaAddresses) {
  EXPECT_EQ(PackedAreaAddress("I2C"), 0x0200);
  EXPECT_EQ(PackedFirstMacroAddress("I2C"), 0x0210);
  EXPECT_EQ(PackedAreaAddress("Flash"), 0x4000);
  EXPECT_EQ(PackedFirstMacroAddress("Flash"), 0x4010);
}

TEST(PackedLayout, EmptyAreasHoldNoMacros) {
  const Bytes starts[] = {{0x00, 0x00}, {0xFF, 0xFF}, {0x00, 0xFF}, {0xFF, 0x41}};
  for (const Bytes& start : starts) {
    Bytes area(kPackedAreaSize, 0x41);
    area[0] = start[0];
    area[1] = start[1];
    const PackedMacroTable t = Read(area);
    EXPECT_EQ(PackedMacroCountOf(t), 0u);
    EXPECT_EQ(t.total, 0);
    EXPECT_EQ(t.area, (std::array<std::uint8_t, kPackedAreaSize>{}));  // packed again: all zero
  }
}

TEST(PackedLayout, ParsesMacrosWithTheirAddresses) {
  const Bytes ctrl_c{0x81, 0x01, 0x82, 0x06, 0x02, 0x06, 0x01, 0x01};
  const Bytes right{0xA2, 0xFE, 0x00, 0x1E, 0x22};
  const Bytes area = Area({{"Copy", ctrl_c}, {"Empty", {}}, {"Right", right}});
  const PackedMacroTable t = Read(area);
  ASSERT_EQ(PackedMacroCountOf(t), 3u);
  EXPECT_EQ(MacroNameText(t.names[0]), "Copy");
  EXPECT_EQ(MacroNameText(t.names[1]), "Empty");
  EXPECT_EQ(EventsOf(t, 0), ctrl_c);
  EXPECT_EQ(EventsOf(t, 2), right);
  EXPECT_EQ(t.lengths[0], 16 + 8 + 1);
  EXPECT_EQ(t.lengths[1], 17);  // no events: name and end byte
  EXPECT_EQ(t.lengths[2], 16 + 5 + 1);
  EXPECT_EQ(t.addresses[0], 0x0210);  // key code 10 02 10 00 names the first macro
  EXPECT_EQ(t.addresses[1], 0x0210 + 25);
  EXPECT_EQ(t.addresses[2], 0x0210 + 25 + 17);
  EXPECT_EQ(t.addresses[3], 0);
  EXPECT_EQ(t.total, 25 + 17 + 22);
  EXPECT_EQ(Bytes(t.area.begin(), t.area.end()), area);
}

// Macros the old end scan cut short; each must read, pack and read unchanged.
TEST(PackedLayout, StoredMacrosSurviveReadPackRead) {
  const std::vector<Macro> cases[] = {
      {{"Wait256", {0xA1, 0xFE, 0x01, 0x00, 0xA1, 0x21}}, {"After", {0xA2, 0x22}}},
      {{"Wait512", {0xFE, 0x02, 0x00, 0x82, 0x06}}},
      {{"Zero", {0x82, 0x00, 0x02, 0x00, 0x04, 0x00, 0x00, 0x21, 0xFD, 0x00, 0xFC}}},
      {{"Full", Clicks(255)}},
  };
  for (const auto& macros : cases) {
    SCOPED_TRACE(macros[0].name);
    const Bytes area = Area(macros);
    PackedMacroTable t = Read(area);
    ASSERT_EQ(PackedMacroCountOf(t), macros.size());
    for (std::size_t k = 0; k < macros.size(); ++k) EXPECT_EQ(EventsOf(t, k), macros[k].events);
    EXPECT_EQ(Bytes(t.area.begin(), t.area.end()), area);
    const PackedMacroTable again = Read(Bytes(t.area.begin(), t.area.end()));
    EXPECT_EQ(again.area, t.area);
    EXPECT_EQ(again.lengths, t.lengths);
  }
}

TEST(PackedLayout, PageBoundaryMovesTwoAndThreeByteEvents) {
  // Macro 0's events start at offset 16; event 239 lands at offset 255.
  const Bytes firsts[] = {
      {0x82, 0x06}, {0x02, 0x06}, {0x81, 0x01}, {0x01, 0x01}, {0xFE, 0x00, 0x1E}};
  for (const Bytes& event : firsts) {
    SCOPED_TRACE(static_cast<int>(event[0]));
    PackedMacroTable t = Read(Area({{"Long", Concat(Clicks(239), event)}, {"Next", {0xA1}}}));
    EXPECT_EQ(t.area[255], 0xFC);
    EXPECT_EQ(t.area[256], event[0]);
    EXPECT_EQ(t.lengths[0], 16 + 239 + 1 + event.size() + 1);  // grew by one
    EXPECT_EQ(t.addresses[1], kI2CFirst + t.lengths[0]);
    // The filler reads back as a repeat stop in its place, and stays put.
    const Bytes events = EventsOf(t, 0);
    EXPECT_EQ(events[239], 0xFC);
    const PackedMacroTable again = Read(Bytes(t.area.begin(), t.area.end()));
    EXPECT_EQ(again.area, t.area);
    EXPECT_EQ(again.lengths, t.lengths);
  }
}

TEST(PackedLayout, PageBoundaryLeavesOtherEventsAlone) {
  struct Case {
    const char* what;
    Bytes events;
  } cases[] = {
      {"a modifier mask at offset 255 stays in its event", Concat(Clicks(238), {0x81, 0x01})},
      {"a delay's high byte at offset 255 stays in its event",
       Concat(Clicks(238), {0xFE, 0x01, 0x02})},
      {"a move is not moved", Concat(Clicks(239), {0x04, 0x05, 0x00, 0x21})},
      {"a repeat start is not moved", Concat(Clicks(239), {0xFD, 0x03})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes area = Area({{"Long", c.events}});
    const PackedMacroTable t = Read(area);
    EXPECT_EQ(EventsOf(t, 0), c.events);
    EXPECT_EQ(Bytes(t.area.begin(), t.area.end()), area);
  }
}

TEST(PackedLayout, PackingRefusesWhatDoesNotFit) {
  // 260 + 252 = 512 bytes before the filler; the filler would need byte 513.
  PackedMacroTable t;
  t.addresses[0] = kI2CFirst;
  const Bytes first = Concat(Clicks(239), {0x82, 0x06, 0x02, 0x06});
  ASSERT_EQ(AddPackedMacro(t, MacroNameFromText("One"), Concat(first, {0x00})),
            AddMacroResult::kAdded);
  const PackedMacroTable before = t;
  EXPECT_EQ(AddPackedMacro(t, MacroNameFromText("Two"), Concat(Clicks(235), {0x00})),
            AddMacroResult::kOutOfRange);
  EXPECT_EQ(t.area, before.area);
  EXPECT_EQ(t.lengths, before.lengths);

  // The same table set up directly: RefreshMacroT417 refuses and changes nothing.
  PackedMacroTable direct;
  direct.names[0] = MacroNameFromText("One");
  std::copy(first.begin(), first.end(), direct.events[0].begin());
  direct.lengths[0] = static_cast<std::uint16_t>(first.size() + 17);
  direct.names[1] = MacroNameFromText("Two");
  const Bytes second = Clicks(235);
  std::copy(second.begin(), second.end(), direct.events[1].begin());
  direct.lengths[1] = 252;
  const PackedMacroTable copy = direct;
  EXPECT_EQ(RefreshMacroT417(direct), PackedStatus::kOverflow);
  EXPECT_EQ(direct.area, copy.area);
  EXPECT_EQ(direct.lengths, copy.lengths);

  // A macro of 255 event bytes cannot take the filler either.
  PackedMacroTable full;
  full.names[0] = MacroNameFromText("A");
  const Bytes edge = Concat(Clicks(239), Concat({0x82, 0x06}, Clicks(14)));
  std::copy(edge.begin(), edge.end(), full.events[0].begin());
  full.lengths[0] = 272;
  EXPECT_EQ(RefreshMacroT417(full), PackedStatus::kOverflow);

  PackedMacroTable bad;
  bad.lengths[0] = 16;  // shorter than a name and its end byte
  EXPECT_EQ(RefreshMacroT417(bad), PackedStatus::kOverflow);
}

TEST(PackedLayout, AddChecksTheTotalAgainst512) {
  // 17 + 257 + (17 + m): m = 221 makes exactly 512, m = 222 makes 513.
  for (const auto& [m, expected] :
       {std::pair{221u, AddMacroResult::kAdded}, std::pair{222u, AddMacroResult::kOutOfRange}}) {
    SCOPED_TRACE(m);
    PackedMacroTable t;
    t.addresses[0] = kI2CFirst;
    ASSERT_EQ(AddPackedMacro(t, MacroNameFromText("Empty"), Bytes{0x00}), AddMacroResult::kAdded);
    ASSERT_EQ(AddPackedMacro(t, MacroNameFromText("A"), Concat(Clicks(240), {0x00})),
              AddMacroResult::kAdded);
    const PackedMacroTable before = t;
    EXPECT_EQ(AddPackedMacro(t, MacroNameFromText("B"), Concat(Clicks(m), {0x00})), expected);
    if (expected == AddMacroResult::kAdded) {
      EXPECT_EQ(PackedMacroCountOf(t), 3u);
      EXPECT_EQ(t.total, 512);
      EXPECT_EQ(t.area[511], 0x00);
    } else {
      EXPECT_EQ(t.area, before.area);
      EXPECT_EQ(t.lengths, before.lengths);
      EXPECT_EQ(t.names, before.names);
    }
  }
}

TEST(PackedLayout, AddStopsAtFifteenAndRefusesEndNames) {
  PackedMacroTable t;
  t.addresses[0] = kI2CFirst;
  for (int i = 0; i < 15; ++i)
    ASSERT_EQ(
        AddPackedMacro(t, MacroNameFromText("M" + std::to_string(i)), Bytes{0xA1, 0x21, 0x00}),
        AddMacroResult::kAdded);
  EXPECT_EQ(t.addresses[14], kI2CFirst + 14 * 19);
  EXPECT_EQ(AddPackedMacro(t, MacroNameFromText("X"), Bytes{0x00}), AddMacroResult::kFull);

  PackedMacroTable u;
  EXPECT_EQ(AddPackedMacro(u, MacroNameFromText("\u00FFx"), Bytes{0x00}), AddMacroResult::kBadName);
  EXPECT_EQ(AddPackedMacro(u, MacroName{}, Bytes{0x00}), AddMacroResult::kBadName);
  EXPECT_EQ(PackedMacroCountOf(u), 0u);
}

TEST(PackedLayout, AddCopiesOnlyTheMacroItsEndByteCloses) {
  PackedMacroTable t;
  t.addresses[0] = kI2CFirst;
  // A delay of 256 ms before the end byte; junk behind it is not copied.
  ASSERT_EQ(AddPackedMacro(t, MacroNameFromText("W"), Bytes{0xFE, 0x01, 0x00, 0x00, 0x77, 0x77}),
            AddMacroResult::kAdded);
  EXPECT_EQ(t.lengths[0], 16 + 3 + 1);
  EXPECT_EQ(EventsOf(t, 0), (Bytes{0xFE, 0x01, 0x00}));
  EXPECT_EQ(t.area[20], 0x00);
  EXPECT_EQ(t.area[21], 0x00);
}

TEST(PackedLayout, DeleteClosesTheGap) {
  PackedMacroTable t = Read(Area({{"One", {0xA1}}, {"Two", {0xA2, 0x22}}, {"Three", {0xA4}}}));
  const std::uint16_t address_of_two = t.addresses[1];
  ASSERT_TRUE(DeletePackedMacro(t, 1));
  ASSERT_EQ(PackedMacroCountOf(t), 2u);
  EXPECT_EQ(MacroNameText(t.names[1]), "Three");
  EXPECT_EQ(t.addresses[1], address_of_two);
  EXPECT_EQ(t.addresses[2], 0);
  EXPECT_EQ(Bytes(t.area.begin(), t.area.end()), Area({{"One", {0xA1}}, {"Three", {0xA4}}}));
  EXPECT_FALSE(DeletePackedMacro(t, 2));
  EXPECT_FALSE(DeletePackedMacro(t, 99));
  ASSERT_TRUE(DeletePackedMacro(t, 0));
  EXPECT_EQ(MacroNameText(t.names[0]), "Three");
  EXPECT_EQ(t.addresses[0], kI2CFirst);
}

TEST(PackedLayout, DeleteIsRefusedWhenTheRestCannotBePacked) {
  // After the delete, event 239 of the full macro would start at offset 255
  // and need a filler its 255 event bytes have no room for.
  const Bytes full = Concat(Clicks(239), Concat({0x82, 0x06}, Clicks(14)));
  PackedMacroTable t = Read(Area({{"A", {}}, {"Full", full}}));
  ASSERT_EQ(PackedMacroCountOf(t), 2u);
  const PackedMacroTable before = t;
  EXPECT_FALSE(DeletePackedMacro(t, 0));
  EXPECT_EQ(t.area, before.area);
  EXPECT_EQ(t.names, before.names);
  EXPECT_EQ(t.lengths, before.lengths);
  EXPECT_TRUE(DeletePackedMacro(t, 1));
  EXPECT_EQ(PackedMacroCountOf(t), 1u);
}

TEST(PackedLayout, UnterminatedMacrosAreDroppedWithinTheArea) {
  struct Case {
    const char* what;
    Bytes area;
    std::size_t kept;
  } cases[] = {
      {"no end byte anywhere", Bytes(kPackedAreaSize, 0x41), 0},
      {"more than 255 event bytes", Area({{"A", {0xA1}}, {"Long", Clicks(300)}}), 1},
      {"an event running past the area",
       [] {
         Bytes a = Area({{"A", Clicks(240)}});  // 257 bytes
         const MacroName b = MacroNameFromText("B");
         std::copy(b.begin(), b.end(), a.begin() + 257);
         const Bytes clicks = Clicks(238);
         std::copy(clicks.begin(), clicks.end(), a.begin() + 273);
         a[511] = 0xFE;
         return a;
       }(),
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PackedMacroTable t = Read(c.area, PackedStatus::kUnterminated);
    EXPECT_EQ(PackedMacroCountOf(t), c.kept);
  }
  // A short span reads as zero-filled: a name "A" with no events.
  const PackedMacroTable t = Read(Bytes{0x00, 0x41});
  EXPECT_EQ(PackedMacroCountOf(t), 1u);
  EXPECT_EQ(t.lengths[0], 17);
}

}  // namespace
}  // namespace korvex48
