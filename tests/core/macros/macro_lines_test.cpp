#include "core/macros/macro_lines.h"

#include <gtest/gtest.h>

#include "core/macros/macro_events.h"

namespace korvex48 {
namespace {

struct DecodeCase {
  const char* what;
  Bytes data;  // events and end byte
  MacroLines lines;
};

TEST(MacroLines, DecodesEventsAndReencodesThem) {
  const DecodeCase cases[] = {
      {"right click with a recorded delay",
       {0xA2, 0xFE, 0x00, 0x1E, 0x22, 0x00},
       {"10", "1 RightKey CODE:00A2", "0 30", "2 RightKey CODE:0022"}},
      {"Ctrl+C",
       {0x81, 0x01, 0x82, 0x06, 0x02, 0x06, 0x01, 0x01, 0x00},
       {"00", "1 Ctrl CODE:8101", "1 C CODE:8206", "2 C CODE:0206", "2 Ctrl CODE:0101"}},
      {"four equal delays give the fixed mode",
       {0xFE, 0x00, 0x32, 0xA1, 0xFE, 0x00, 0x32, 0x21, 0xFE, 0x00, 0x32, 0xFE, 0x00, 0x32, 0x00},
       {"0150", "0 50", "1 LeftKey CODE:00A1", "0 50", "2 LeftKey CODE:0021", "0 50", "0 50"}},
      {"three equal delays leave a missing fourth as 0",
       {0xFE, 0x00, 0x32, 0xFE, 0x00, 0x32, 0xFE, 0x00, 0x32, 0x00},
       {"10", "0 50", "0 50", "0 50"}},
      {"moves, repeat and the other buttons",
       {0xFD, 0x0A, 0x04, 0x05, 0x00, 0x21, 0x04, 0xFB, 0x00, 0x21, 0x04, 0x00, 0x7F,
        0x21, 0x04, 0x00, 0x81, 0x21, 0xA4, 0x24, 0xA8, 0x28, 0xB0, 0x30, 0xFC, 0x00},
       {"00", "7 FD0A", "3 04050021", "4 04FB0021", "5 04007F21", "6 04008121",
        "1 MiddleKey CODE:00A4", "2 MiddleKey CODE:0024", "1 Forward CODE:00A8",
        "2 Forward CODE:0028", "1 Backward CODE:00B0", "2 Backward CODE:0030", "8 FC"}},
      {"the Windows keys, Shift and Alt",
       {0x81, 0x08, 0x81, 0x80, 0x81, 0x02, 0x81, 0x04, 0x01, 0x04, 0x00},
       {"00", "1 Left Windows CODE:8108", "1 Right Windows CODE:8180", "1 Shift CODE:8102",
        "1 Alt CODE:8104", "2 Alt CODE:0104"}},
      {"a delay of 256 ms is a delay, not the end",
       {0xFE, 0x01, 0x00, 0xA1, 0x00},
       {"10", "0 256", "1 LeftKey CODE:00A1"}},
      {"ambiguous moves keep their bytes in an X line",
       {0x04, 0x00, 0x00, 0x21, 0x04, 0x03, 0xFD, 0x21, 0x04, 0x80, 0x02, 0x21, 0x00},
       {"00", "3 04000021", "3 0403FD21", "4 04800221"}},
      {"a combined modifier mask keeps its bytes",
       {0x81, 0x03, 0x01, 0x03, 0x81, 0x10, 0x00},
       {"00", "1 Ctrl+Shift CODE:8103", "2 Ctrl+Shift CODE:0103", "1 Right Ctrl CODE:8110"}},
      {"an unnamed usage gives an empty key name",
       {0x82, 0xDF, 0x02, 0xDF, 0x00},
       {"00", "1  CODE:82DF", "2  CODE:02DF"}},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DecodeMacroLines(c.data), c.lines);
    EXPECT_EQ(EncodeMacroLines(c.lines), c.data);
  }
}

TEST(MacroLines, DecoderStepsOverWhatItCannotRead) {
  struct Case {
    const char* what;
    Bytes data;
    MacroLines lines;
  } cases[] = {
      {"unknown event bytes are skipped one at a time",
       {0x77, 0xA3, 0xA1, 0x40, 0x21, 0x00},
       {"00", "1 LeftKey CODE:00A1", "2 LeftKey CODE:0021"}},
      {"an end byte inside the data ends the macro",
       {0xA1, 0x00, 0x21, 0x00},
       {"00", "1 LeftKey CODE:00A1"}},
      {"an event cut off by the end of the data is dropped",
       {0xA1, 0xFE, 0x00},
       {"00", "1 LeftKey CODE:00A1"}},
      {"empty data", {}, {"00"}},
      {"only the end byte", {0x00}, {"00"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(DecodeMacroLines(c.data), c.lines);
  }
}

TEST(MacroLines, EncoderFollowsTheLineForms) {
  struct Case {
    const char* what;
    MacroLines lines;
    Bytes bytes;
  } cases[] = {
      {"the header is not encoded", {"01 50"}, {0x00}},
      {"an X move of -5 from the insert panel",
       {"00", "4 04FB0021"},
       {0x04, 0xFB, 0x00, 0x21, 0x00}},
      {"a delay that is not a number is 0", {"00", "0 abc", "0 "}, {0xFE, 0, 0, 0xFE, 0, 0, 0x00}},
      {"a delay above 65535 stays 65535",
       {"00", "0 70000", "0 99999999999"},
       {0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0x00}},
      {"a negative delay is not a delay value", {"00", "0 -5"}, {0xFE, 0, 0, 0x00}},
      {"lines of unknown kind, too short or not hex are skipped",
       {"00", "", "X junk", "9 FFFF", "1", "3 04", "1 Odd CODE:82ZZ", "7 FD0A"},
       {0xFD, 0x0A, 0x00}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(EncodeMacroLines(c.lines), c.bytes);
  }
}

TEST(MacroLines, EncodingIntoABufferRefusesWhatDoesNotFit) {
  MacroLines lines{"00"};
  for (int i = 0; i < 85; ++i) lines.push_back("0 10");  // 255 bytes + end byte
  std::array<std::uint8_t, 256> buffer;
  buffer.fill(0xEE);
  ASSERT_TRUE(EncodeMacroLinesInto(lines, buffer));
  EXPECT_EQ(buffer[254], 0x0A);
  EXPECT_EQ(buffer[255], 0x00);

  lines.push_back("8 FC");  // 257 bytes
  buffer.fill(0xEE);
  EXPECT_FALSE(EncodeMacroLinesInto(lines, buffer));
  EXPECT_EQ(buffer[0], 0xEE);  // untouched

  lines = {"00", "1 LeftKey CODE:00A1"};
  buffer.fill(0xEE);
  ASSERT_TRUE(EncodeMacroLinesInto(lines, buffer));
  EXPECT_EQ(buffer[0], 0xA1);
  EXPECT_EQ(buffer[1], 0x00);
  EXPECT_EQ(buffer[255], 0x00);  // zero-filled behind the data
}

TEST(MacroLines, DelayHeaders) {
  struct Case {
    const char* line;
    DelayMode mode;
    std::uint32_t ms;
  } cases[] = {{"00", DelayMode::kNone, 0},     {"0150", DelayMode::kFixed, 50},
               {"10", DelayMode::kRecorded, 0}, {"", DelayMode::kNone, 0},
               {"01", DelayMode::kFixed, 0},    {"0199999", DelayMode::kFixed, 65535}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const DelayHeader h = ParseDelayHeader(c.line);
    EXPECT_EQ(h.mode, c.mode);
    EXPECT_EQ(h.fixed_ms, c.ms);
  }
  EXPECT_EQ(DelayHeaderLine({DelayMode::kFixed, 50}), "0150");
}

TEST(MacroLines, HexDump) {
  EXPECT_EQ(BytesToHex(Bytes{0xA2, 0xFE, 0x00, 0x1E}), "A2FE001E");
  EXPECT_EQ(BytesToHex(Bytes{}), "");
}

}  // namespace
}  // namespace korvex48
