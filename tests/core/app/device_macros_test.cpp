// The event bytes of a device macro, as both storage layouts keep them.
#include "core/app/device_macros.h"

#include <gtest/gtest.h>

#include <numeric>

#include "core/macros/macro_names.h"

namespace korvex48 {
namespace {

struct EventBytesCase {
  const char* what;
  StorageLayout layout;
  std::uint16_t stored_length;  // lengths[0] as the table holds it
  std::size_t index;
  std::size_t expected_size;
};

class EventBytes : public ::testing::TestWithParam<EventBytesCase> {};

TEST_P(EventBytes, AreTheStoredEventsWithTheirEndByte) {
  const EventBytesCase& c = GetParam();
  DeviceMacros macros;
  std::array<std::uint8_t, kMacroBufferSize> events{};
  std::iota(events.begin(), events.end(), std::uint8_t{1});
  const MacroName name = MacroNameFromText("Fire");
  if (c.layout == StorageLayout::kPacked) {
    macros.SetStorage(c.layout, "I2C");
    PackedMacroTable& t = macros.MutablePacked();
    t.names[0] = name;
    t.events[0] = events;
    t.lengths[0] = c.stored_length;
  } else {
    macros.SetStorage(c.layout, "Flash");
    SlotMacroTable& t = macros.MutableSlot();
    std::copy(name.begin(), name.end(), t.names.begin());
    t.pages[0] = events;
    t.lengths[0] = c.stored_length;
  }
  const ByteView bytes = macros.EventBytes(c.index);
  ASSERT_EQ(bytes.size(), c.expected_size) << c.what;
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), events.begin())) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, EventBytes,
    ::testing::Values(
        EventBytesCase{"packed: name, 6 events, end byte", StorageLayout::kPacked, 23, 0, 7},
        EventBytesCase{"packed: name and end byte only", StorageLayout::kPacked, 17, 0, 1},
        EventBytesCase{"packed: longer than a buffer", StorageLayout::kPacked, 400, 0, 256},
        EventBytesCase{"packed: shorter than its name", StorageLayout::kPacked, 5, 0, 0},
        EventBytesCase{"packed: no such macro", StorageLayout::kPacked, 23, 1, 0},
        EventBytesCase{"slot: 6 events, end byte", StorageLayout::kSlot, 7, 0, 7},
        EventBytesCase{"slot: longer than a page", StorageLayout::kSlot, 300, 0, 256},
        EventBytesCase{"slot: no such macro", StorageLayout::kSlot, 7, 1, 0}));

}  // namespace
}  // namespace korvex48
