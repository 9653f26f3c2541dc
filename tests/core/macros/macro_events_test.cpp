#include "core/macros/macro_events.h"

#include <gtest/gtest.h>

namespace korvex48 {
namespace {

TEST(MacroEventLength, WalksEventsToTheEndByte) {
  struct Case {
    const char* what;
    Bytes events;
    std::size_t length;
  } cases[] = {
      {"empty macro", Bytes(256, 0), 1},
      {"Ctrl+C", {0x81, 0x01, 0x82, 0x06, 0x02, 0x06, 0x01, 0x01, 0x00, 0, 0, 0}, 9},
      {"a trailing delay of 256 ms keeps its end byte", {0xA1, 0xFE, 0x01, 0x00, 0x00, 0, 0, 0}, 5},
      {"a key of usage 0 is not the end", {0x82, 0x00, 0x02, 0x00, 0x00, 0, 0}, 5},
      {"unknown bytes count as one-byte events", {0x77, 0x00, 0, 0}, 2},
      {"no end byte: the three-zero rule, bounded", Bytes(256, 0xA1), 256},
      {"walk runs off the end; zeros before it", {0xA1, 0xFE, 0x00, 0x00}, 3},
      {"nothing", {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MacroEventLength(c.events), c.length);
  }
}

}  // namespace
}  // namespace korvex48
