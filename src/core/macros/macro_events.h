#pragma once
// The byte encoding of macro events, shared by the mouse's macro storage and the
// PC library. The first byte of an event gives its kind and its length; every
// multi-byte value is big-endian. A macro is its events followed by one 0x00.
#include <cstddef>
#include <cstdint>

#include "core/common/bytes.h"

namespace korvex48 {

// Most event bytes a macro can hold: a 256-byte buffer less its end byte.
inline constexpr std::size_t kMacroBufferSize = 256;

namespace macro_event {
inline constexpr std::uint8_t kEnd = 0x00;
inline constexpr std::uint8_t kKeyPress = 0x82;
inline constexpr std::uint8_t kKeyRelease = 0x02;
inline constexpr std::uint8_t kModifierPress = 0x81;
inline constexpr std::uint8_t kModifierRelease = 0x01;
inline constexpr std::uint8_t kMove = 0x04;
inline constexpr std::uint8_t kMoveTail = 0x21;
inline constexpr std::uint8_t kRepeatStart = 0xFD;
inline constexpr std::uint8_t kRepeatStop = 0xFC;
inline constexpr std::uint8_t kDelay = 0xFE;
}  // namespace macro_event

// Length of the event that starts with `first`, or 0 when `first` starts no
// known event. The end byte 0x00 has length 1.
std::size_t EventLengthOf(std::uint8_t first);

// Length of a macro's data (its event bytes plus the end byte) in `events`.
// The events are walked by their lengths from offset 0 up to the first end
// byte, so a value byte of 0x00 (a delay of 256 ms, a usage 0) is never taken
// for the end. An unknown event byte counts as a one-byte event. When the walk
// runs off `events` without an end byte, the length falls back to the start of
// the first run of three zero bytes plus one (bytes past the end counting as
// zero), never more than events.size(). 0 only for an empty span.
std::size_t MacroEventLength(ByteView events);

// Whether the walk of MacroEventLength meets an end byte within `events`.
bool MacroHasEndByte(ByteView events);

}  // namespace korvex48
