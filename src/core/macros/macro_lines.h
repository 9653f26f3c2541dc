#pragma once
// Macro lines: the text form of a macro that the editor and the recorder work
// on. Line 0 is the delay-mode header ("00", "01" + milliseconds, "10"); every
// further line is one event, led by a kind digit and a blank:
//   "1 Ctrl CODE:8101"  "2 C CODE:0206"  "1 LeftKey CODE:00A1"
//   "3 04050021" (X > 0)  "4 04FB0021" (X < 0)  "5 04000521"  "6 0400FB21"
//   "7 FD0A" (repeat start)  "8 FC" (repeat stop)  "0 30" (delay in ms)
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/bytes.h"

namespace korvex48 {

using MacroLines = std::vector<std::string>;

enum class DelayMode {
  kNone,      // "00": the macro has no delays
  kFixed,     // "01" + value: the first four delays are all `value`
  kRecorded,  // "10": anything else
};

struct DelayHeader {
  DelayMode mode = DelayMode::kNone;
  std::uint32_t fixed_ms = 0;  // kFixed only
};

// Decodes a macro's data (events plus end byte; the length MacroEventLength
// gives) into lines, header first. Decoding stops at an end byte and at an
// event cut off by the end of `data`. Unknown event bytes are stepped over one
// at a time and give no line. Modifier masks other than the five single keys
// keep their bytes in a line named by their bits; moves that are neither a
// pure X nor a pure Y move keep their four bytes in an X line (kind 3 for an X
// byte of 0 or more, 4 below 0).
MacroLines DecodeMacroLines(ByteView data);

// The header of lines[0]; a missing or unknown header reads as kNone.
DelayHeader ParseDelayHeader(std::string_view header);
// "00", "01" + value, or "10".
std::string DelayHeaderLine(const DelayHeader& header);

// Encodes lines 1..last into event bytes followed by the end byte. Lines with
// an unknown kind digit, too short for their kind or with non-hex digits are
// skipped. A delay line whose value is not a number encodes 0; values above
// 65535 encode 65535. The result may be longer than a macro buffer holds.
Bytes EncodeMacroLines(const MacroLines& lines);

// Encodes into a 256-byte macro buffer, zero-filled behind the data. Returns
// false, leaving `buffer` untouched, when the encoded macro (with its end
// byte) is longer than the buffer.
bool EncodeMacroLinesInto(const MacroLines& lines, std::span<std::uint8_t, 256> buffer);

// Bytes as upper-case hex digits, two per byte, no separators (the hex dump).
std::string BytesToHex(ByteView bytes);

}  // namespace korvex48
