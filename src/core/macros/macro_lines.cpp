#include "core/macros/macro_lines.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "core/macros/key_names.h"
#include "core/macros/macro_events.h"

namespace korvex48 {

namespace {

constexpr char kHexUpper[] = "0123456789ABCDEF";

std::string Hex2(std::uint8_t b) { return std::string{kHexUpper[b >> 4], kHexUpper[b & 0x0F]}; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Appends the bytes of an even-length hex text; false (nothing appended) when
// a digit is not hex.
bool AppendHex(std::string_view hex, Bytes& out) {
  if (hex.size() % 2 != 0) return false;
  for (char c : hex)
    if (HexValue(c) < 0) return false;
  for (std::size_t i = 0; i < hex.size(); i += 2)
    out.push_back(static_cast<std::uint8_t>(HexValue(hex[i]) * 16 + HexValue(hex[i + 1])));
  return true;
}

std::string_view MouseButtonName(std::uint8_t bit) {
  switch (bit) {
    case 0x01:
      return "LeftKey";
    case 0x02:
      return "RightKey";
    case 0x04:
      return "MiddleKey";
    case 0x08:
      return "Forward";
    default:
      return "Backward";  // 0x10
  }
}

std::string MoveLine(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
  const bool x_set = b1 != 0;
  const bool y_set = b2 != 0;
  char kind;
  if (y_set && !x_set) {
    kind = (b2 & 0x80) ? '6' : '5';
  } else {
    // A pure X move, and also the ambiguous all-zero and both-axes moves:
    // their bytes stay in the line, drawn by the X byte.
    kind = (b1 & 0x80) ? '4' : '3';
  }
  return std::string{kind, ' '} + Hex2(macro_event::kMove) + Hex2(b1) + Hex2(b2) + Hex2(b3);
}

}  // namespace

MacroLines DecodeMacroLines(ByteView data) {
  MacroLines lines{"00"};
  std::array<std::uint32_t, 4> delays{};
  std::size_t delay_count = 0;
  const std::size_t size = data.size();
  std::size_t pos = 0;
  while (size > 0 && pos < size - 1) {
    const std::uint8_t first = data[pos];
    if (first == macro_event::kEnd) break;
    const std::size_t len = EventLengthOf(first);
    if (len == 0) {  // unknown event byte: step over it
      ++pos;
      continue;
    }
    if (pos + len > size) break;  // cut off by the end of the data
    const std::uint8_t b1 = ByteAt(data, pos + 1);
    const std::uint8_t b2 = ByteAt(data, pos + 2);
    const std::uint8_t b3 = ByteAt(data, pos + 3);
    switch (first) {
      case macro_event::kKeyPress:
        lines.push_back("1 " + MacroKeyName(b1) + " CODE:82" + Hex2(b1));
        break;
      case macro_event::kKeyRelease:
        lines.push_back("2 " + MacroKeyName(b1) + " CODE:02" + Hex2(b1));
        break;
      case macro_event::kModifierPress:
        lines.push_back("1 " + MacroModifierName(b1) + " CODE:81" + Hex2(b1));
        break;
      case macro_event::kModifierRelease:
        lines.push_back("2 " + MacroModifierName(b1) + " CODE:01" + Hex2(b1));
        break;
      case macro_event::kMove:
        lines.push_back(MoveLine(b1, b2, b3));
        break;
      case macro_event::kRepeatStart:
        lines.push_back("7 FD" + Hex2(b1));
        break;
      case macro_event::kRepeatStop:
        lines.push_back("8 FC");
        break;
      case macro_event::kDelay: {
        const std::uint32_t ms = (static_cast<std::uint32_t>(b1) << 8) | b2;
        if (delay_count < delays.size()) delays[delay_count++] = ms;
        lines.push_back("0 " + std::to_string(ms));
        break;
      }
      default: {  // one-byte mouse button event
        const bool press = (first & 0x80) != 0;
        lines.push_back(std::string(press ? "1 " : "2 ") +
                        std::string(MouseButtonName(first & 0x1F)) + " CODE:00" + Hex2(first));
        break;
      }
    }
    pos += len;
  }
  DelayHeader header;
  if (delays[0] == 0 && delays[1] == 0 && delays[2] == 0 && delays[3] == 0) {
    header.mode = DelayMode::kNone;
  } else if (delays[0] == delays[1] && delays[1] == delays[2] && delays[2] == delays[3]) {
    header = {DelayMode::kFixed, delays[0]};
  } else {
    header.mode = DelayMode::kRecorded;
  }
  lines[0] = DelayHeaderLine(header);
  return lines;
}

DelayHeader ParseDelayHeader(std::string_view header) {
  if (header.starts_with("10")) return {DelayMode::kRecorded, 0};
  if (header.starts_with("01")) {
    std::uint32_t value = 0;
    for (char c : header.substr(2)) {
      if (c < '0' || c > '9') break;
      value = value * 10 + static_cast<std::uint32_t>(c - '0');
      if (value > 65535) value = 65535;
    }
    return {DelayMode::kFixed, value};
  }
  return {DelayMode::kNone, 0};
}

std::string DelayHeaderLine(const DelayHeader& header) {
  switch (header.mode) {
    case DelayMode::kFixed:
      return "01" + std::to_string(header.fixed_ms);
    case DelayMode::kRecorded:
      return "10";
    default:
      return "00";
  }
}

namespace {

// The delay of a delay line: decimal digits only, else 0; at most 65535.
std::uint16_t DelayValue(std::string_view text) {
  if (text.empty()) return 0;
  std::uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
    if (value > 65535) value = 65535;
  }
  return static_cast<std::uint16_t>(value);
}

std::string_view Last(std::string_view s, std::size_t n) { return s.substr(s.size() - n); }

}  // namespace

Bytes EncodeMacroLines(const MacroLines& lines) {
  Bytes out;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line.empty()) continue;
    switch (line[0]) {
      case '1':
      case '2': {
        if (line.size() < 4) break;
        std::string_view tail = Last(line, 4);
        if (tail.starts_with("00")) tail = tail.substr(2);
        AppendHex(tail, out);
        break;
      }
      case '3':
      case '4':
      case '5':
      case '6':
        if (line.size() >= 8) AppendHex(Last(line, 8), out);
        break;
      case '7':
        if (line.size() >= 4) AppendHex(Last(line, 4), out);
        break;
      case '8':
        if (line.size() >= 2) AppendHex(Last(line, 2), out);
        break;
      case '0': {
        const std::uint16_t ms = DelayValue(line.size() > 2 ? line.substr(2) : std::string_view{});
        out.push_back(macro_event::kDelay);
        out.push_back(static_cast<std::uint8_t>(ms >> 8));
        out.push_back(static_cast<std::uint8_t>(ms & 0xFF));
        break;
      }
      default:
        break;
    }
  }
  out.push_back(macro_event::kEnd);
  return out;
}

bool EncodeMacroLinesInto(const MacroLines& lines, std::span<std::uint8_t, 256> buffer) {
  const Bytes bytes = EncodeMacroLines(lines);
  if (bytes.size() > buffer.size()) return false;
  std::fill(buffer.begin(), buffer.end(), 0);
  std::copy(bytes.begin(), bytes.end(), buffer.begin());
  return true;
}

std::string BytesToHex(ByteView bytes) {
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) hex += Hex2(b);
  return hex;
}

}  // namespace korvex48
