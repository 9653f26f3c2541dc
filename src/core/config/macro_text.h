#pragma once
// Macro events as readable lines, one event each, for the text form of the
// configuration:
//   key-down A            key-up Left Arrow      (HID usage name, or 0x2A)
//   modifier-down Ctrl    modifier-up Right Windows (or a mask: 0x11)
//   button-down left      button-up backward     (left right middle forward backward)
//   move-x -5             move-y 12              (-127 .. 127)
//   delay 30              (milliseconds, 1 .. 65535)
//   repeat 10             repeat-end             (repeat start with its count, and stop)
//   bytes 04 01 02 21     (event bytes the other forms do not give back)
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/bytes.h"

namespace korvex48 {

// One line per event. Every line reads back (MacroEventsFromLines) to the
// same bytes: an event the named forms would not give back exactly, an
// unknown event byte or an event cut off at the end is written as "bytes".
std::vector<std::string> MacroEventLines(ByteView events);

// The bytes of one line; nullopt with `error` set ("unknown event
// \"key-dwn\"", "delay must be 1..65535", ...) when the line is none.
std::optional<Bytes> MacroEventFromLine(std::string_view line, std::string* error);

}  // namespace korvex48
