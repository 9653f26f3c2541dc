#include "core/config/macro_text.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "core/common/text.h"
#include "core/macros/key_names.h"
#include "core/macros/macro_events.h"

namespace korvex48 {
namespace {

struct NamedByte {
  std::string_view name;
  std::uint8_t bit;
};

// Mouse-button events: press = 0xA0 | bit, release = 0x20 | bit.
constexpr std::array<NamedByte, 5> kButtons = {
    {{"left", 0x01}, {"right", 0x02}, {"middle", 0x04}, {"forward", 0x08}, {"backward", 0x10}}};

std::string HexByte(std::uint8_t b) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02X", b);
  return buf;
}

std::optional<long> Number(std::string_view text) {
  long value = 0;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (!text.empty() && *begin == '+') ++begin;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

// "0x2A" or "2A" as one byte.
std::optional<std::uint8_t> HexValue(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text.remove_prefix(2);
  if (text.empty() || text.size() > 2) return std::nullopt;
  unsigned value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return static_cast<std::uint8_t>(value);
}

std::optional<std::uint8_t> KeyUsageNamed(std::string_view name) {
  for (int usage = 1; usage < 256; ++usage) {
    const std::string n = MacroKeyName(static_cast<std::uint8_t>(usage));
    if (!n.empty() && EqualIgnoringAsciiCase(n, name)) return static_cast<std::uint8_t>(usage);
  }
  return HexValue(name);
}

std::optional<std::uint8_t> ModifierMaskNamed(std::string_view name) {
  for (int bit = 0; bit < 8; ++bit) {
    const auto mask = static_cast<std::uint8_t>(1u << bit);
    if (EqualIgnoringAsciiCase(MacroModifierName(mask), name)) return mask;
  }
  return HexValue(name);
}

// The named line of one whole event.
std::string NamedLine(ByteView e) {
  const std::uint8_t first = e[0];
  // A name two usages share ("Win") names only the first of them.
  auto key = [](std::uint8_t usage) {
    const std::string name = MacroKeyName(usage);
    return !name.empty() && KeyUsageNamed(name) == usage ? name : "0x" + HexByte(usage);
  };
  auto modifier = [](std::uint8_t mask) {
    for (int bit = 0; bit < 8; ++bit)
      if (mask == (1u << bit)) return MacroModifierName(mask);
    return "0x" + HexByte(mask);
  };
  switch (first) {
    case macro_event::kKeyPress:
      return "key-down " + key(e[1]);
    case macro_event::kKeyRelease:
      return "key-up " + key(e[1]);
    case macro_event::kModifierPress:
      return "modifier-down " + modifier(e[1]);
    case macro_event::kModifierRelease:
      return "modifier-up " + modifier(e[1]);
    case macro_event::kMove:
      if (e[3] == macro_event::kMoveTail && e[2] == 0 && e[1] != 0)
        return "move-x " + std::to_string(static_cast<std::int8_t>(e[1]));
      if (e[3] == macro_event::kMoveTail && e[1] == 0 && e[2] != 0)
        return "move-y " + std::to_string(static_cast<std::int8_t>(e[2]));
      return {};
    case macro_event::kRepeatStart:
      return "repeat " + std::to_string(e[1]);
    case macro_event::kRepeatStop:
      return "repeat-end";
    case macro_event::kDelay:
      return "delay " + std::to_string((e[1] << 8) | e[2]);
    default:
      break;
  }
  for (const NamedByte& b : kButtons) {
    if (first == (0xA0 | b.bit)) return "button-down " + std::string(b.name);
    if (first == (0x20 | b.bit)) return "button-up " + std::string(b.name);
  }
  return {};
}

std::string BytesLine(ByteView e) {
  std::string line = "bytes";
  for (std::uint8_t b : e) line += " " + HexByte(b);
  return line;
}

}  // namespace

std::vector<std::string> MacroEventLines(ByteView events) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < events.size()) {
    const std::size_t length = std::max<std::size_t>(1, EventLengthOf(events[at]));
    const ByteView e = events.subspan(at, std::min(length, events.size() - at));
    std::string line = e.size() == length ? NamedLine(e) : std::string();
    // Only a line that reads back to the same bytes is written by name.
    std::string error;
    const std::optional<Bytes> again =
        line.empty() ? std::nullopt : MacroEventFromLine(line, &error);
    if (!again || !std::equal(again->begin(), again->end(), e.begin(), e.end()))
      line = BytesLine(e);
    lines.push_back(std::move(line));
    at += e.size();
  }
  return lines;
}

std::optional<Bytes> MacroEventFromLine(std::string_view line, std::string* error) {
  const std::size_t space = line.find(' ');
  const std::string_view verb = line.substr(0, space);
  std::string_view arg =
      space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
  while (!arg.empty() && arg.front() == ' ') arg.remove_prefix(1);
  while (!arg.empty() && arg.back() == ' ') arg.remove_suffix(1);
  auto fail = [&](std::string why) -> std::optional<Bytes> {
    *error = std::move(why);
    return std::nullopt;
  };
  auto number = [&](long low, long high) -> std::optional<long> {
    const std::optional<long> v = Number(arg);
    if (!v || *v < low || *v > high) return std::nullopt;
    return v;
  };

  if (verb == "key-down" || verb == "key-up") {
    const std::optional<std::uint8_t> usage = KeyUsageNamed(arg);
    if (!usage || *usage == 0) return fail("unknown key \"" + std::string(arg) + "\"");
    return Bytes{verb == "key-down" ? macro_event::kKeyPress : macro_event::kKeyRelease, *usage};
  }
  if (verb == "modifier-down" || verb == "modifier-up") {
    const std::optional<std::uint8_t> mask = ModifierMaskNamed(arg);
    if (!mask || *mask == 0) return fail("unknown modifier \"" + std::string(arg) + "\"");
    return Bytes{
        verb == "modifier-down" ? macro_event::kModifierPress : macro_event::kModifierRelease,
        *mask};
  }
  if (verb == "button-down" || verb == "button-up") {
    for (const NamedByte& b : kButtons) {
      if (EqualIgnoringAsciiCase(b.name, arg))
        return Bytes{static_cast<std::uint8_t>((verb == "button-down" ? 0xA0 : 0x20) | b.bit)};
    }
    return fail("unknown mouse button \"" + std::string(arg) +
                "\" (left, right, middle, forward, backward)");
  }
  if (verb == "move-x" || verb == "move-y") {
    const std::optional<long> v = number(-127, 127);
    if (!v || *v == 0) return fail(std::string(verb) + " takes -127..127 but not 0");
    const auto b = static_cast<std::uint8_t>(static_cast<std::int8_t>(*v));
    if (verb == "move-x") return Bytes{macro_event::kMove, b, 0x00, macro_event::kMoveTail};
    return Bytes{macro_event::kMove, 0x00, b, macro_event::kMoveTail};
  }
  if (verb == "delay") {
    const std::optional<long> v = number(1, 65535);
    if (!v) return fail("delay takes 1..65535 milliseconds");
    return Bytes{macro_event::kDelay, static_cast<std::uint8_t>(*v >> 8),
                 static_cast<std::uint8_t>(*v & 0xFF)};
  }
  if (verb == "repeat") {
    const std::optional<long> v = number(1, 255);
    if (!v) return fail("repeat takes a count of 1..255");
    return Bytes{macro_event::kRepeatStart, static_cast<std::uint8_t>(*v)};
  }
  if (verb == "repeat-end" && arg.empty()) return Bytes{macro_event::kRepeatStop};
  if (verb == "bytes") {
    Bytes bytes;
    while (!arg.empty()) {
      const std::size_t end = std::min(arg.find(' '), arg.size());
      const std::optional<std::uint8_t> b = HexValue(arg.substr(0, end));
      if (!b)
        return fail("bytes takes hexadecimal bytes, not \"" + std::string(arg.substr(0, end)) +
                    "\"");
      bytes.push_back(*b);
      arg.remove_prefix(end);
      while (!arg.empty() && arg.front() == ' ') arg.remove_prefix(1);
    }
    if (bytes.empty()) return fail("bytes needs at least one byte");
    return bytes;
  }
  return fail("unknown event \"" + std::string(line) +
              "\" (key-down, key-up, modifier-down, modifier-up, button-down, button-up, move-x, "
              "move-y, delay, repeat, repeat-end, bytes)");
}

}  // namespace korvex48
