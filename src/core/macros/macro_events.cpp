#include "core/macros/macro_events.h"

namespace korvex48 {

std::size_t EventLengthOf(std::uint8_t first) {
  switch (first) {
    case macro_event::kEnd:
    case macro_event::kRepeatStop:
      return 1;
    case macro_event::kKeyPress:
    case macro_event::kKeyRelease:
    case macro_event::kModifierPress:
    case macro_event::kModifierRelease:
    case macro_event::kRepeatStart:
      return 2;
    case macro_event::kDelay:
      return 3;
    case macro_event::kMove:
      return 4;
    case 0xA1:
    case 0xA2:
    case 0xA4:
    case 0xA8:
    case 0xB0:  // mouse button press
    case 0x21:
    case 0x22:
    case 0x24:
    case 0x28:
    case 0x30:  // mouse button release
      return 1;
    default:
      return 0;
  }
}

namespace {

// Start of the first run of three zero bytes plus one; bytes past the end of
// `events` count as zero, and the result never exceeds events.size().
std::size_t ThreeZeroLength(ByteView events) {
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (ByteAt(events, i, 0) == 0 && ByteAt(events, i + 1, 0) == 0 && ByteAt(events, i + 2, 0) == 0)
      return i + 1;
  }
  return events.size();
}

}  // namespace

std::size_t MacroEventLength(ByteView events) {
  std::size_t pos = 0;
  while (pos < events.size()) {
    const std::uint8_t first = events[pos];
    if (first == macro_event::kEnd) return pos + 1;
    const std::size_t len = EventLengthOf(first);
    pos += len == 0 ? 1 : len;
  }
  return ThreeZeroLength(events);
}

bool MacroHasEndByte(ByteView events) {
  std::size_t pos = 0;
  while (pos < events.size()) {
    const std::uint8_t first = events[pos];
    if (first == macro_event::kEnd) return true;
    const std::size_t len = EventLengthOf(first);
    pos += len == 0 ? 1 : len;
  }
  return false;
}

}  // namespace korvex48
