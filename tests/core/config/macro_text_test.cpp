// Macro events as the lines of the text form: each line reads back to its
// bytes, and bytes the named forms cannot give back stay bytes.
#include "core/config/macro_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvex48 {
namespace {

TEST(MacroEventLines, EveryLineReadsBackToItsBytes) {
  struct Case {
    Bytes bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{0x81, 0x01, 0x82, 0x06, 0x02, 0x06, 0x01, 0x01},
       {"modifier-down Ctrl", "key-down C", "key-up C", "modifier-up Ctrl"}},
      {{0x81, 0x80, 0x01, 0x11}, {"modifier-down Right Windows", "modifier-up 0x11"}},
      {{0xA2, 0xFE, 0x00, 0x1E, 0x22}, {"button-down right", "delay 30", "button-up right"}},
      {{0xB0, 0x30, 0xA8, 0x28},
       {"button-down backward", "button-up backward", "button-down forward", "button-up forward"}},
      {{0x04, 0x05, 0x00, 0x21, 0x04, 0x00, 0xFB, 0x21}, {"move-x 5", "move-y -5"}},
      // A move on both axes, an unknown event byte, a delay of 256 ms.
      {{0x04, 0x01, 0x02, 0x21, 0x33, 0xFE, 0x01, 0x00},
       {"bytes 04 01 02 21", "bytes 33", "delay 256"}},
      {{0xFD, 0x0A, 0xA1, 0x21, 0xFC},
       {"repeat 10", "button-down left", "button-up left", "repeat-end"}},
      // Two usages share the name "Win": the second keeps its number; a
      // usage without a name too; an event cut off at the end stays bytes.
      {{0x82, 0xE3, 0x82, 0xE7, 0x82, 0x01, 0x82},
       {"key-down Win", "key-down 0xE7", "key-down 0x01", "bytes 82"}},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> lines = MacroEventLines(c.bytes);
    EXPECT_EQ(lines, c.lines);
    Bytes again;
    for (const std::string& line : lines) {
      std::string error;
      const std::optional<Bytes> b = MacroEventFromLine(line, &error);
      ASSERT_TRUE(b) << line << ": " << error;
      again.insert(again.end(), b->begin(), b->end());
    }
    EXPECT_EQ(again, c.bytes);
  }
}

TEST(MacroEventLines, HandWrittenLinesAreReadOrRefusedWithTheReason) {
  struct Case {
    const char* line;
    Bytes bytes;        // empty: refused
    const char* error;  // a part of the reason
  };
  const Case cases[] = {
      {"key-down left arrow", {0x82, 0x50}, ""},
      {"modifier-up shift", {0x01, 0x02}, ""},
      {"delay 65535", {0xFE, 0xFF, 0xFF}, ""},
      {"bytes fe 00 01", {0xFE, 0x00, 0x01}, ""},
      {"delay 0", {}, "1..65535"},
      {"delay 70000", {}, "1..65535"},
      {"move-x 0", {}, "not 0"},
      {"move-y -128", {}, "-127..127"},
      {"repeat 256", {}, "1..255"},
      {"key-down Nokey", {}, "unknown key \"Nokey\""},
      {"button-down side", {}, "unknown mouse button"},
      {"key-dwn A", {}, "unknown event"},
      {"bytes 1G", {}, "hexadecimal"},
  };
  for (const Case& c : cases) {
    std::string error;
    const std::optional<Bytes> b = MacroEventFromLine(c.line, &error);
    if (c.bytes.empty()) {
      EXPECT_FALSE(b) << c.line;
      EXPECT_NE(error.find(c.error), std::string::npos) << c.line << ": " << error;
    } else {
      ASSERT_TRUE(b) << c.line << ": " << error;
      EXPECT_EQ(*b, c.bytes) << c.line;
    }
  }
}

}  // namespace
}  // namespace korvex48
