#pragma once
// The recorder: turns key and mouse-button events, each with the time it
// happened, into macro lines (macro_lines.h). It knows nothing of where the
// events come from; the editor feeds it from the desktop's input and shows
// the lines it adds.
//
// Rules kept here:
// - the first event of a recording finds the lines empty and adds the delay
//   header ("10" recorded, "01" + ms fixed, "00" none);
// - every event but the first of a recording is preceded by a delay line: the
//   time since the previous event (1..65535 ms), or the fixed delay;
// - a key already held that is pressed again (auto-repeat) adds nothing, and a
//   release whose press was not recorded (a key held before the recording
//   started, a refused press) adds nothing;
// - the left clicks made while the pointer is over the record button (the
//   click that stops the recording) are not recorded, and a recording stopped
//   by a key or a click elsewhere (StopByLastPress) takes that press back;
// - byte limits: 248 bytes without delays, 244 with. A press is refused once
//   the count has reached 246 (239 with delays), less the room the releases
//   of the keys still held need; a refused press stops the recording, as does
//   a count above the limit. Stopping adds the releases of the keys and
//   buttons still held, so a recorded macro never leaves a key down, and the
//   encoded macro always fits its 256-byte buffer.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/macros/macro_lines.h"

namespace korvex48 {

enum class MouseButton { kLeft, kRight, kMiddle, kForward, kBackward };

struct RecorderSettings {
  DelayMode mode = DelayMode::kRecorded;
  std::uint32_t fixed_ms = 50;  // kFixed: the delay put between events
};

// What one event did to the lines: `added` lines were inserted from line
// `first_line` on (a delay and the event, or the event alone).
struct RecordStep {
  std::size_t first_line = 0;
  std::size_t added = 0;
  bool stopped = false;  // the recording stopped after this event
  // Lines taken back before the added ones, from line `removed_first` on
  // (StopByLastPress).
  std::size_t removed_first = 0;
  std::size_t removed = 0;
};

class MacroRecorder {
 public:
  static constexpr std::size_t kLimitNoDelay = 248;
  static constexpr std::size_t kLimitWithDelay = 244;

  // Whole recording: the lines start empty (the macro's events are replaced).
  void StartWhole(const RecorderSettings& settings);
  // Insert recording into `lines` before (front) or after (back) event
  // `event`. The byte count starts at the bytes the macro already has, so
  // nothing recorded can push it past its buffer.
  void StartInsert(MacroLines lines, std::size_t event, bool front,
                   const RecorderSettings& settings);
  // Ends the recording; returns the release lines added for what was still
  // held (from line first_line on).
  RecordStep Stop();
  // Ends the recording because of the input just given (Space or Return on
  // the record button, a click on another control): when the last input
  // recorded is a press still held, it is taken back with the delay before
  // it (and the header it brought), so the key or click that stops a
  // recording is never part of it; then as Stop(). An ignored input since
  // (a left click on the record button) takes nothing back.
  RecordStep StopByLastPress();

  bool Recording() const { return recording_; }
  bool InsertRecording() const { return insert_; }
  const MacroLines& Lines() const { return lines_; }
  MacroLines TakeLines() { return std::move(lines_); }
  // Event bytes of the lines (without the end byte) as the limits count them.
  std::size_t ByteCount() const { return count_; }
  std::size_t Limit() const { return limit_; }

  // A key by its Windows virtual-key code (modifier keys as 16 Shift, 17
  // Ctrl, 18 Alt, 91/92 the Windows keys; the left and right variants
  // 0xA0..0xA5 are taken as the plain ones). Keys without a HID usage are
  // ignored. `time_ms` is a millisecond clock that may wrap around.
  RecordStep Key(int virtual_key, bool down, std::uint32_t time_ms);
  // A mouse button; `over_record_button` tells that the pointer is over the
  // record button (left clicks there are not recorded).
  RecordStep Button(MouseButton button, bool down, std::uint32_t time_ms,
                    bool over_record_button = false);

 private:
  struct Held {
    int id;  // virtual key, or 1000 + button
    std::string release_line;
    std::size_t release_bytes;
  };
  RecordStep Event(int id, std::string press_line, std::string release_line, std::size_t bytes,
                   bool down, std::uint32_t time_ms);
  std::size_t DelayBytes() const { return settings_.mode == DelayMode::kNone ? 0 : 3; }
  std::size_t Reserve() const;
  void Add(std::string line, RecordStep& step);

  // The last input, when it was a recorded press: where its lines went and
  // what the recorder held before it.
  struct LastPress {
    int id;
    std::size_t first_line;
    std::size_t lines;
    bool header_added;
    std::size_t count_before;
    std::optional<std::uint32_t> time_before;
  };

  RecorderSettings settings_;
  std::optional<LastPress> last_press_;
  bool recording_ = false;
  bool insert_ = false;
  MacroLines lines_;
  std::size_t insert_at_ = 0;  // next insert line (insert recording)
  std::size_t count_ = 0;
  std::size_t limit_ = kLimitWithDelay;
  std::optional<std::uint32_t> last_time_;
  std::vector<int> down_;   // everything pressed, recorded or not
  std::vector<Held> held_;  // recorded presses waiting for their release
};

}  // namespace korvex48
