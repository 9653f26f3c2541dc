#include "core/macros/macro_recorder.h"

#include <algorithm>

#include "core/buttons/keyboard_keys.h"

namespace korvex48 {

namespace {

constexpr char kHexUpper[] = "0123456789ABCDEF";

std::string Hex2(std::uint8_t b) { return std::string{kHexUpper[b >> 4], kHexUpper[b & 0x0F]}; }

// The plain code of a left or right modifier key.
int PlainVirtualKey(int vk) {
  switch (vk) {
    case 0xA0:
    case 0xA1:
      return 16;
    case 0xA2:
    case 0xA3:
      return 17;
    case 0xA4:
    case 0xA5:
      return 18;
    default:
      return vk;
  }
}

// Modifier mask of the modifier keys; 0 for every other key.
std::uint8_t ModifierMask(int vk) {
  switch (vk) {
    case 17:
      return 0x01;
    case 16:
      return 0x02;
    case 18:
      return 0x04;
    case 91:
      return 0x08;
    case 92:
      return 0x80;
    default:
      return 0;
  }
}

struct ButtonCodes {
  const char* name;
  std::uint8_t bit;
};

ButtonCodes CodesOf(MouseButton button) {
  switch (button) {
    case MouseButton::kLeft:
      return {"LeftKey", 0x01};
    case MouseButton::kRight:
      return {"RightKey", 0x02};
    case MouseButton::kMiddle:
      return {"MiddleKey", 0x04};
    case MouseButton::kForward:
      return {"Forward", 0x08};
    case MouseButton::kBackward:
      return {"Backward", 0x10};
  }
  return {"LeftKey", 0x01};
}

}  // namespace

void MacroRecorder::StartWhole(const RecorderSettings& settings) {
  *this = MacroRecorder{};
  settings_ = settings;
  recording_ = true;
  limit_ = settings.mode == DelayMode::kNone ? kLimitNoDelay : kLimitWithDelay;
}

void MacroRecorder::StartInsert(MacroLines lines, std::size_t event, bool front,
                                const RecorderSettings& settings) {
  StartWhole(settings);
  insert_ = true;
  lines_ = std::move(lines);
  if (lines_.empty()) lines_.push_back(DelayHeaderLine({settings.mode, settings.fixed_ms}));
  insert_at_ = std::min(event + (front ? 1 : 2), lines_.size());
  count_ = EncodeMacroLines(lines_).size() - 1;
}

std::size_t MacroRecorder::Reserve() const {
  std::size_t bytes = 0;
  for (const Held& h : held_) bytes += h.release_bytes + DelayBytes();
  return bytes;
}

void MacroRecorder::Add(std::string line, RecordStep& step) {
  const std::size_t at = insert_ ? insert_at_++ : lines_.size();
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  if (step.added == 0) step.first_line = at;
  ++step.added;
}

RecordStep MacroRecorder::Key(int virtual_key, bool down, std::uint32_t time_ms) {
  last_press_.reset();
  const int vk = PlainVirtualKey(virtual_key);
  const std::uint8_t mask = ModifierMask(vk);
  std::string name(VirtualKeyName(vk));
  const std::uint8_t usage = VirtualKeyToUsage(vk);
  if (!recording_ || name == "None" || name == "255" || (mask == 0 && usage == 0)) return {};
  std::string press;
  std::string release;
  if (mask != 0) {
    press = "1 " + name + " CODE:81" + Hex2(mask);
    release = "2 " + name + " CODE:01" + Hex2(mask);
  } else {
    press = "1 " + name + " CODE:82" + Hex2(usage);
    release = "2 " + name + " CODE:02" + Hex2(usage);
  }
  return Event(vk, std::move(press), std::move(release), 2, down, time_ms);
}

RecordStep MacroRecorder::Button(MouseButton button, bool down, std::uint32_t time_ms,
                                 bool over_record_button) {
  last_press_.reset();
  if (!recording_ || (button == MouseButton::kLeft && over_record_button)) return {};
  const ButtonCodes c = CodesOf(button);
  const std::string name(c.name);
  return Event(1000 + static_cast<int>(button),
               "1 " + name + " CODE:00" + Hex2(static_cast<std::uint8_t>(0xA0 | c.bit)),
               "2 " + name + " CODE:00" + Hex2(static_cast<std::uint8_t>(0x20 | c.bit)), 1, down,
               time_ms);
}

RecordStep MacroRecorder::Event(int id, std::string press_line, std::string release_line,
                                std::size_t bytes, bool down, std::uint32_t time_ms) {
  RecordStep step;
  const auto held =
      std::find_if(held_.begin(), held_.end(), [id](const Held& h) { return h.id == id; });
  const bool was_down = std::find(down_.begin(), down_.end(), id) != down_.end();
  if (down) {
    if (was_down) return step;  // auto-repeat of a held key
    down_.push_back(id);
  } else {
    down_.erase(std::remove(down_.begin(), down_.end(), id), down_.end());
    if (held == held_.end()) return step;  // its press was not recorded
  }

  const bool first = last_time_ == std::nullopt;
  // A press needs room for itself and its delay on top of the releases still
  // owed; releases of recorded presses always fit.
  if (down && count_ + Reserve() + bytes + DelayBytes() >= limit_) {
    down_.pop_back();
    RecordStep tail = Stop();
    tail.stopped = true;
    return tail;
  }

  const std::size_t count_before = count_;
  const std::optional<std::uint32_t> time_before = last_time_;
  const bool header_added = lines_.empty();
  if (header_added) lines_.push_back(DelayHeaderLine({settings_.mode, settings_.fixed_ms}));
  if (!first && settings_.mode != DelayMode::kNone) {
    std::uint32_t ms = settings_.fixed_ms;
    if (settings_.mode == DelayMode::kRecorded) {
      const std::uint32_t elapsed = time_ms - *last_time_;  // wraps with the clock
      ms = std::clamp<std::uint32_t>(elapsed, 1, 65535);
    }
    Add("0 " + std::to_string(std::clamp<std::uint32_t>(ms, 1, 65535)), step);
    count_ += 3;
  }
  last_time_ = time_ms;
  if (down) {
    Add(std::move(press_line), step);
    held_.push_back({id, std::move(release_line), bytes});
    last_press_ =
        LastPress{id, step.first_line, step.added, header_added, count_before, time_before};
  } else {
    Add(held->release_line, step);
    held_.erase(held);
  }
  count_ += bytes;
  if (count_ > limit_) {
    const RecordStep tail = Stop();
    step.added += tail.added;
    step.stopped = true;
  }
  return step;
}

RecordStep MacroRecorder::StopByLastPress() {
  std::size_t removed_first = 0;
  std::size_t removed = 0;
  if (recording_ && last_press_ && !held_.empty() && held_.back().id == last_press_->id) {
    const LastPress& p = *last_press_;
    const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(p.first_line);
    lines_.erase(first, first + static_cast<std::ptrdiff_t>(p.lines));
    if (insert_) insert_at_ -= p.lines;
    removed_first = p.first_line;
    removed = p.lines;
    if (p.header_added && !lines_.empty()) {
      lines_.erase(lines_.begin());
      removed_first = 0;
      ++removed;
    }
    count_ = p.count_before;
    last_time_ = p.time_before;
    held_.pop_back();
  }
  last_press_.reset();
  RecordStep step = Stop();
  step.removed_first = removed_first;
  step.removed = removed;
  return step;
}

RecordStep MacroRecorder::Stop() {
  RecordStep step;
  step.first_line = insert_ ? insert_at_ : lines_.size();
  if (!recording_) return step;
  // Whatever is still held is let go at the end, so playback never leaves a
  // key or button down; the room for these was kept by Reserve().
  for (Held& h : held_) {
    if (lines_.empty()) lines_.push_back(DelayHeaderLine({settings_.mode, settings_.fixed_ms}));
    Add(std::move(h.release_line), step);
    count_ += h.release_bytes;
  }
  held_.clear();
  down_.clear();
  last_press_.reset();
  recording_ = false;
  last_time_.reset();
  return step;
}

}  // namespace korvex48
