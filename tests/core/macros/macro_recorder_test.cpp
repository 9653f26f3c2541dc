#include "core/macros/macro_recorder.h"

#include <gtest/gtest.h>

#include "core/macros/macro_events.h"

namespace korvex48 {
namespace {

constexpr int kA = 0x41;
constexpr int kC = 0x43;
constexpr int kCtrl = 17;
constexpr int kLeftShift = 0xA0;

// One input: a key (virtual key) or a button, down or up, at a time.
struct Input {
  int key;  // -1: the button below
  bool down;
  std::uint32_t t;
  MouseButton button = MouseButton::kLeft;
  bool over_record_button = false;
};

MacroLines Record(const RecorderSettings& settings, std::initializer_list<Input> inputs) {
  MacroRecorder r;
  r.StartWhole(settings);
  for (const Input& in : inputs) {
    if (in.key >= 0)
      r.Key(in.key, in.down, in.t);
    else
      r.Button(in.button, in.down, in.t, in.over_record_button);
  }
  r.Stop();
  return r.Lines();
}

TEST(MacroRecorder, TurnsEventsIntoLines) {
  const RecorderSettings recorded{DelayMode::kRecorded, 50};
  const RecorderSettings fixed{DelayMode::kFixed, 50};
  const RecorderSettings none{DelayMode::kNone, 50};
  struct Case {
    const char* what;
    MacroLines lines;
    MacroLines expected;
  } cases[] = {
      {"first event without delay, 120 ms gap recorded",
       Record(recorded, {{kA, true, 1000}, {kA, false, 1120}}),
       {"10", "1 A CODE:8204", "0 120", "2 A CODE:0204"}},
      {"fixed delay instead of the gap",
       Record(fixed, {{kA, true, 1000}, {kA, false, 1120}}),
       {"0150", "1 A CODE:8204", "0 50", "2 A CODE:0204"}},
      {"no delays",
       Record(none, {{kA, true, 1000}, {kA, false, 1120}}),
       {"00", "1 A CODE:8204", "2 A CODE:0204"}},
      {"gaps above 65535 ms are capped, the clock may wrap",
       Record(recorded, {{kA, true, 0xFFFFFF00u}, {kA, false, 70000}}),
       {"10", "1 A CODE:8204", "0 65535", "2 A CODE:0204"}},
      {"events at the same time still get a delay of 1 ms",
       Record(recorded, {{kA, true, 5}, {kA, false, 5}}),
       {"10", "1 A CODE:8204", "0 1", "2 A CODE:0204"}},
      {"Ctrl+C: the second key down while Ctrl is held",
       Record(none, {{kCtrl, true, 0}, {kC, true, 10}, {kC, false, 20}, {kCtrl, false, 30}}),
       {"00", "1 Ctrl CODE:8101", "1 C CODE:8206", "2 C CODE:0206", "2 Ctrl CODE:0101"}},
      {"left and right modifier keys are the plain ones",
       Record(none, {{kLeftShift, true, 0},
                     {kLeftShift, false, 1},
                     {0xA5, true, 2},
                     {0xA5, false, 3},
                     {92, true, 4},
                     {92, false, 5}}),
       {"00", "1 Shift CODE:8102", "2 Shift CODE:0102", "1 Alt CODE:8104", "2 Alt CODE:0104",
        "1 Right Windows CODE:8180", "2 Right Windows CODE:0180"}},
      {"auto-repeat of a held key adds nothing",
       Record(none, {{kA, true, 0}, {kA, true, 500}, {kA, true, 530}, {kA, false, 600}}),
       {"00", "1 A CODE:8204", "2 A CODE:0204"}},
      {"a release whose press came before the start adds nothing",
       Record(none, {{kA, false, 0}, {kC, true, 10}, {kC, false, 20}}),
       {"00", "1 C CODE:8206", "2 C CODE:0206"}},
      {"mouse buttons; the click on the record button is left out",
       Record(recorded, {{-1, true, 0, MouseButton::kRight},
                         {-1, false, 30, MouseButton::kRight},
                         {-1, true, 40, MouseButton::kForward},
                         {-1, false, 50, MouseButton::kForward},
                         {-1, true, 60, MouseButton::kLeft, true},
                         {-1, false, 70, MouseButton::kLeft, true}}),
       {"10", "1 RightKey CODE:00A2", "0 30", "2 RightKey CODE:0022", "0 10", "1 Forward CODE:00A8",
        "0 10", "2 Forward CODE:0028"}},
      {"keys still held when the recording stops are let go",
       Record(none, {{kCtrl, true, 0}, {-1, true, 5, MouseButton::kMiddle}}),
       {"00", "1 Ctrl CODE:8101", "1 MiddleKey CODE:00A4", "2 Ctrl CODE:0101",
        "2 MiddleKey CODE:0024"}},
      {"keys without a usage are ignored", Record(none, {{0xFF, true, 0}, {0xFF, false, 1}}), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.lines, c.expected);
  }
}

void PressAndRelease(MacroRecorder& r, int key, std::uint32_t& t) {
  r.Key(key, true, t++);
  r.Key(key, false, t++);
}

// Lines whose events take `bytes` bytes: repeat stops (1 byte each).
MacroLines LinesOfBytes(std::size_t bytes) {
  MacroLines lines = {"00"};
  for (std::size_t i = 0; i < bytes; ++i) lines.push_back("8 FC");
  return lines;
}

TEST(MacroRecorder, ByteLimitsRefuseThePressThatWouldNotFit) {
  struct Case {
    DelayMode mode;
    std::size_t last_accepted;  // the count at which a press is still taken
  } cases[] = {{DelayMode::kNone, 245}, {DelayMode::kRecorded, 238}, {DelayMode::kFixed, 238}};
  for (const Case& c : cases) {
    for (const std::size_t start : {c.last_accepted, c.last_accepted + 1}) {
      SCOPED_TRACE(std::to_string(static_cast<int>(c.mode)) + " at " + std::to_string(start));
      MacroRecorder r;
      r.StartInsert(LinesOfBytes(start), start - 1, false, {c.mode, 50});
      ASSERT_EQ(r.ByteCount(), start);
      r.Key(kA, false, 1);  // a release whose press was never seen adds nothing
      const RecordStep press = r.Key(kC, true, 2);
      if (start == c.last_accepted) {
        EXPECT_FALSE(press.stopped);
        const RecordStep release = r.Key(kC, false, 3);
        EXPECT_TRUE(release.stopped);  // the count passed the limit
        EXPECT_GT(r.ByteCount(), r.Limit());
        EXPECT_EQ(r.Lines().back(), "2 C CODE:0206");
      } else {
        EXPECT_TRUE(press.stopped);
        EXPECT_EQ(r.Lines(), LinesOfBytes(start));
      }
      EXPECT_FALSE(r.Recording());
      EXPECT_LE(EncodeMacroLines(r.Lines()).size(), kMacroBufferSize);
    }
  }
  // A whole recording of key pairs ends at the limit as well.
  MacroRecorder r;
  r.StartWhole({DelayMode::kNone, 50});
  std::uint32_t t = 1;
  for (int i = 0; i < 100 && r.Recording(); ++i) PressAndRelease(r, kA, t);
  EXPECT_FALSE(r.Recording());
  EXPECT_EQ(r.ByteCount(), 248u);  // 62 pairs; the 63rd press found 248 >= 246
}

TEST(MacroRecorder, HeldKeysKeepRoomForTheirReleases) {
  // Many keys held at once near the limit: every recorded press still gets
  // its release and the macro fits its buffer.
  for (const DelayMode mode : {DelayMode::kNone, DelayMode::kRecorded}) {
    MacroRecorder r;
    r.StartWhole({mode, 50});
    std::uint32_t t = 1;
    while (r.ByteCount() < 200) PressAndRelease(r, kA, t);
    for (int key = 0x41; key <= 0x5A && r.Recording(); ++key) r.Key(key, true, t++);
    EXPECT_FALSE(r.Recording());
    const MacroLines lines = r.Lines();
    int presses = 0;
    int releases = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
      presses += lines[i][0] == '1';
      releases += lines[i][0] == '2';
    }
    EXPECT_EQ(presses, releases);
    EXPECT_LE(EncodeMacroLines(lines).size(), kMacroBufferSize);
  }
}

TEST(MacroRecorder, InsertRecordingGoesBeforeOrAfterTheSelectedEvent) {
  const MacroLines base = {"00", "1 A CODE:8204", "2 A CODE:0204"};
  for (const bool front : {true, false}) {
    MacroRecorder r;
    r.StartInsert(base, 0, front, {DelayMode::kFixed, 20});
    EXPECT_EQ(r.ByteCount(), 4u);
    const RecordStep first = r.Key(kC, true, 1);
    EXPECT_EQ(first.first_line, front ? 1u : 2u);
    EXPECT_EQ(first.added, 1u);
    const RecordStep second = r.Key(kC, false, 2);
    EXPECT_EQ(second.added, 2u);
    r.Stop();
    const MacroLines expected =
        front
            ? MacroLines{"00",           "1 C CODE:8206", "0 20", "2 C CODE:0206", "1 A CODE:8204",
                         "2 A CODE:0204"}
            : MacroLines{"00",   "1 A CODE:8204", "1 C CODE:8206",
                         "0 20", "2 C CODE:0206", "2 A CODE:0204"};
    EXPECT_EQ(r.Lines(), expected);
  }

  // A macro already near its end has no room for a press.
  MacroLines full = {"00"};
  for (int i = 0; i < 82; ++i) full.push_back("0 1");
  MacroRecorder r;
  r.StartInsert(full, 3, true, {DelayMode::kNone, 50});
  EXPECT_TRUE(r.Key(kA, true, 1).stopped);
  EXPECT_EQ(r.Lines(), full);
}

}  // namespace
}  // namespace korvex48

namespace korvex48 {
namespace {

// The key or click that stops a recording is not part of it: Space (0x20)
// on the record button, or a click on another control.
TEST(MacroRecorder, StopTakesBackThePressThatStopsIt) {
  constexpr int kSpace = 0x20;
  constexpr int kB = 0x42;
  const RecorderSettings recorded{DelayMode::kRecorded, 50};
  struct Case {
    const char* what;
    std::vector<Input> inputs;
    MacroLines expected;
    std::size_t removed;
  } cases[] = {
      {"typed ab, then Space stops",
       {{kA, true, 1000},
        {kA, false, 1100},
        {kB, true, 1200},
        {kB, false, 1300},
        {kSpace, true, 7614}},
       {"10", "1 A CODE:8204", "0 100", "2 A CODE:0204", "0 100", "1 B CODE:8205", "0 100",
        "2 B CODE:0205"},
       2},
      {"the stopping key alone leaves nothing, not even the header", {{kSpace, true, 1000}}, {}, 2},
      {"a click on another control stops it",
       {{kA, true, 1000}, {kA, false, 1100}, {-1, true, 1500}},
       {"10", "1 A CODE:8204", "0 100", "2 A CODE:0204"},
       2},
      {"the click on the record button was never recorded: a key held stays",
       {{kA, true, 1000}, {-1, true, 1500, MouseButton::kLeft, true}},
       {"10", "1 A CODE:8204", "2 A CODE:0204"},
       0},
      {"a release last: nothing to take back",
       {{kA, true, 1000}, {kA, false, 1100}},
       {"10", "1 A CODE:8204", "0 100", "2 A CODE:0204"},
       0},
  };
  for (const Case& c : cases) {
    MacroRecorder r;
    r.StartWhole(recorded);
    for (const Input& in : c.inputs) {
      if (in.key >= 0)
        r.Key(in.key, in.down, in.t);
      else
        r.Button(in.button, in.down, in.t, in.over_record_button);
    }
    const RecordStep step = r.StopByLastPress();
    EXPECT_EQ(r.Lines(), c.expected) << c.what;
    EXPECT_EQ(step.removed, c.removed) << c.what;
    EXPECT_FALSE(r.Recording()) << c.what;
  }
}

// In an insert recording the lines taken back are those inserted last; the
// macro around them stays.
TEST(MacroRecorder, InsertStopTakesBackOnlyItsOwnPress) {
  constexpr int kSpace = 0x20;
  MacroRecorder r;
  r.StartInsert({"00", "1 A CODE:8204", "2 A CODE:0204"}, 1, false, {DelayMode::kNone, 50});
  r.Key(kC, true, 10);
  r.Key(kC, false, 20);
  r.Key(kSpace, true, 30);
  const RecordStep step = r.StopByLastPress();
  EXPECT_EQ(r.Lines(),
            (MacroLines{"00", "1 A CODE:8204", "2 A CODE:0204", "1 C CODE:8206", "2 C CODE:0206"}));
  EXPECT_EQ(step.removed, 1u);
  EXPECT_EQ(step.removed_first, 5u);
  EXPECT_EQ(step.added, 0u);
}

}  // namespace
}  // namespace korvex48
