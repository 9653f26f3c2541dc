#include "core/macros/macro_edit.h"

#include <gtest/gtest.h>

#include "core/macros/macro_events.h"

namespace korvex48 {
namespace {

// Ctrl+C with a delay in the middle: events 0..4.
const MacroLines kCopy = {"10",   "1 Ctrl CODE:8101", "1 C CODE:8206",
                          "0 30", "2 C CODE:0206",    "2 Ctrl CODE:0101"};

TEST(MacroEdit, DeleteTakesPressAndReleaseTogether) {
  struct Case {
    const char* what;
    MacroLines lines;
    std::size_t event;
    MacroLines after;
    int selection;
  } cases[] = {
      {"press with its later release",
       kCopy,
       1,
       {"10", "1 Ctrl CODE:8101", "0 30", "2 Ctrl CODE:0101"},
       0},
      {"release with its earlier press, selection two up",
       kCopy,
       3,
       {"10", "1 Ctrl CODE:8101", "0 30", "2 Ctrl CODE:0101"},
       1},
      {"outer pair", kCopy, 4, {"10", "1 C CODE:8206", "0 30", "2 C CODE:0206"}, 2},
      {"delay alone",
       kCopy,
       2,
       {"10", "1 Ctrl CODE:8101", "1 C CODE:8206", "2 C CODE:0206", "2 Ctrl CODE:0101"},
       1},
      {"press whose release is missing: the search stops at the end",
       {"00", "1 A CODE:8204", "0 5"},
       0,
       {"00", "0 5"},
       0},
      {"release whose press is missing: the search stops at the start",
       {"00", "0 5", "2 A CODE:0204"},
       1,
       {"00", "0 5"},
       0},
      {"a press does not pair with a later press of the same key",
       {"00", "1 A CODE:8204", "1 A CODE:8204"},
       0,
       {"00", "1 A CODE:8204"},
       0},
      {"buttons pair like keys",
       {"00", "1 LeftKey CODE:00A1", "2 LeftKey CODE:0021", "8 FC"},
       0,
       {"00", "8 FC"},
       0},
      {"last event gone: nothing left to select", {"00", "7 FD0A"}, 0, {"00"}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MacroLines lines = c.lines;
    const DeleteResult r = DeleteMacroEvent(lines, c.event);
    EXPECT_TRUE(r.deleted);
    EXPECT_EQ(lines, c.after);
    EXPECT_EQ(r.selection, c.selection);
  }
  MacroLines lines = kCopy;
  EXPECT_FALSE(DeleteMacroEvent(lines, 5).deleted);
  EXPECT_EQ(lines, kCopy);
}

TEST(MacroEdit, InsertChoicesBeforeAndAfterWithTheirBytes) {
  const MacroLines base = {"00", "1 A CODE:8204", "2 A CODE:0204"};
  const InsertValues values{.delay_ms = 300, .x = -5, .y = 7, .repeat = 10};
  struct Case {
    InsertChoice choice;
    std::size_t event;
    std::size_t new_event;
    Bytes bytes;
  } cases[] = {
      {InsertChoice::kDelayFront, 0, 0, {0xFE, 0x01, 0x2C, 0x82, 0x04, 0x02, 0x04, 0x00}},
      {InsertChoice::kDelayBack, 0, 1, {0x82, 0x04, 0xFE, 0x01, 0x2C, 0x02, 0x04, 0x00}},
      {InsertChoice::kXFront, 1, 1, {0x82, 0x04, 0x04, 0xFB, 0x00, 0x21, 0x02, 0x04, 0x00}},
      {InsertChoice::kXBack, 1, 2, {0x82, 0x04, 0x02, 0x04, 0x04, 0xFB, 0x00, 0x21, 0x00}},
      {InsertChoice::kYFront, 0, 0, {0x04, 0x00, 0x07, 0x21, 0x82, 0x04, 0x02, 0x04, 0x00}},
      {InsertChoice::kYBack, 0, 1, {0x82, 0x04, 0x04, 0x00, 0x07, 0x21, 0x02, 0x04, 0x00}},
      {InsertChoice::kRepeatStart, 0, 0, {0xFD, 0x0A, 0x82, 0x04, 0x02, 0x04, 0x00}},
      {InsertChoice::kRepeatStop, 1, 2, {0x82, 0x04, 0x02, 0x04, 0xFC, 0x00}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.choice));
    MacroLines lines = base;
    const InsertResult r = InsertMacroEvent(lines, c.event, c.choice, values);
    ASSERT_EQ(r.status, InsertStatus::kInserted);
    EXPECT_EQ(r.event, c.new_event);
    EXPECT_EQ(EncodeMacroLines(lines), c.bytes);
    // The inserted line reads back the same from the bytes.
    const MacroLines decoded = DecodeMacroLines(c.bytes);
    EXPECT_EQ(decoded[c.new_event + 1], lines[c.new_event + 1]);
  }

  MacroLines lines = base;
  EXPECT_EQ(InsertMacroEvent(lines, 2, InsertChoice::kDelayFront, values).status,
            InsertStatus::kNoSelection);
  EXPECT_EQ(InsertMacroEvent(lines, 0, InsertChoice::kKeyBack, values).status,
            InsertStatus::kKeyChoice);
  EXPECT_EQ(InsertMacroEvent(lines, 0, InsertChoice::kXFront, {.x = 0}).status,
            InsertStatus::kZeroMove);
  EXPECT_EQ(lines, base);
  EXPECT_EQ(InsertLineFor(InsertChoice::kXBack, {.x = 5}), "3 04050021");
  EXPECT_EQ(InsertLineFor(InsertChoice::kYBack, {.y = -127}), "6 04008121");
}

TEST(MacroEdit, AnInsertThatWouldPassTheBufferIsRefused) {
  // 84 delays (252 bytes) and the end byte: 253 bytes; one more delay would
  // make 256, a move 257.
  MacroLines lines = {"10"};
  for (int i = 0; i < 84; ++i) lines.push_back("0 " + std::to_string(i + 1));
  ASSERT_EQ(EncodedMacroSize(lines), 253u);
  MacroLines full = lines;
  ASSERT_EQ(InsertMacroEvent(full, 0, InsertChoice::kDelayBack, {}).status,
            InsertStatus::kInserted);
  EXPECT_EQ(EncodedMacroSize(full), 256u);
  const MacroLines before = full;
  EXPECT_EQ(InsertMacroEvent(full, 3, InsertChoice::kRepeatStop, {}).status,
            InsertStatus::kTooLong);
  EXPECT_EQ(InsertMacroEvent(lines, 3, InsertChoice::kXBack, {}).status, InsertStatus::kTooLong);
  EXPECT_EQ(full, before);
}

TEST(MacroEdit, FieldValuesAreClamped) {
  struct Case {
    MacroField field;
    const char* text;
    int kept;
  } cases[] = {
      {MacroField::kRepeat, "300", 255},    {MacroField::kRepeat, "0", 1},
      {MacroField::kRepeat, "-4", 1},       {MacroField::kAxis, "-300", -127},
      {MacroField::kAxis, "128", 127},      {MacroField::kAxis, "-5", -5},
      {MacroField::kAxis, "", 0},           {MacroField::kAxis, "-", 0},
      {MacroField::kDelay, "99999", 65535}, {MacroField::kDelay, "", 1},
      {MacroField::kDelay, "12a", 1},       {MacroField::kDelay, "99999999999999999999", 65535},
  };
  for (const Case& c : cases) EXPECT_EQ(ClampFieldValue(c.field, c.text), c.kept) << c.text;
}

TEST(MacroEdit, EventLineNames) {
  EXPECT_EQ(EventLineName("1 Left Windows CODE:8108"), "Left Windows");
  EXPECT_EQ(EventLineName("2 LeftKey CODE:0021"), "LeftKey");
  EXPECT_EQ(EventLineName("0 30"), "");
  EXPECT_EQ(EventLineName("1 CODE:82"), "");
}

TEST(MacroEvents, MacroHasEndByteWalksTheEvents) {
  EXPECT_TRUE(MacroHasEndByte(Bytes{0x82, 0x04, 0x00}));
  EXPECT_TRUE(MacroHasEndByte(Bytes{0xFE, 0x01, 0x00, 0x00}));  // a 256 ms delay is not the end
  EXPECT_FALSE(MacroHasEndByte(Bytes{0xFE, 0x01, 0x00}));
  EXPECT_FALSE(MacroHasEndByte(Bytes(256, 0xA1)));
  EXPECT_FALSE(MacroHasEndByte(Bytes{}));
}

}  // namespace
}  // namespace korvex48
