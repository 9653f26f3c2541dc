#include "core/macros/macro_edit.h"

#include <algorithm>

#include "core/macros/macro_events.h"

namespace korvex48 {

namespace {

constexpr char kHexUpper[] = "0123456789ABCDEF";

std::string Hex2(int value) {
  const auto b = static_cast<std::uint8_t>(value & 0xFF);
  return std::string{kHexUpper[b >> 4], kHexUpper[b & 0x0F]};
}

// " CODE:" and four hex digits end every press and release line.
constexpr std::size_t kCodeTail = 10;

int Kind(std::string_view line) {
  return !line.empty() && line[0] >= '0' && line[0] <= '8' ? line[0] - '0' : 0;
}

}  // namespace

int ClampFieldValue(MacroField field, std::string_view text) {
  // Sign and digits only; anything else reads as 0. Long inputs saturate.
  long long value = 0;
  bool negative = false;
  bool ok = !text.empty();
  for (std::size_t i = 0; ok && i < text.size(); ++i) {
    const char c = text[i];
    if (i == 0 && c == '-' && text.size() > 1) {
      negative = true;
    } else if (c >= '0' && c <= '9') {
      value = std::min<long long>(value * 10 + (c - '0'), 1'000'000);
    } else {
      ok = false;
    }
  }
  if (!ok) value = 0;
  if (negative) value = -value;
  switch (field) {
    case MacroField::kDelay:
      return static_cast<int>(std::clamp<long long>(value, 1, 65535));
    case MacroField::kAxis:
      return static_cast<int>(std::clamp<long long>(value, -127, 127));
    case MacroField::kRepeat:
      return static_cast<int>(std::clamp<long long>(value, 1, 255));
  }
  return 0;
}

bool InsertsBefore(InsertChoice choice) {
  switch (choice) {
    case InsertChoice::kDelayFront:
    case InsertChoice::kKeyFront:
    case InsertChoice::kXFront:
    case InsertChoice::kYFront:
    case InsertChoice::kRepeatStart:
      return true;
    default:
      return false;
  }
}

bool IsKeyChoice(InsertChoice choice) {
  return choice == InsertChoice::kKeyFront || choice == InsertChoice::kKeyBack;
}

std::optional<std::string> InsertLineFor(InsertChoice choice, const InsertValues& values) {
  switch (choice) {
    case InsertChoice::kDelayFront:
    case InsertChoice::kDelayBack:
      return "0 " + std::to_string(std::clamp(values.delay_ms, 1, 65535));
    case InsertChoice::kXFront:
    case InsertChoice::kXBack: {
      const int v = std::clamp(values.x, -127, 127);
      if (v == 0) return std::nullopt;
      return std::string(v > 0 ? "3 04" : "4 04") + Hex2(v) + "0021";
    }
    case InsertChoice::kYFront:
    case InsertChoice::kYBack: {
      const int v = std::clamp(values.y, -127, 127);
      if (v == 0) return std::nullopt;
      return std::string(v > 0 ? "5 0400" : "6 0400") + Hex2(v) + "21";
    }
    case InsertChoice::kRepeatStart:
      return "7 FD" + Hex2(std::clamp(values.repeat, 1, 255));
    case InsertChoice::kRepeatStop:
      return std::string("8 FC");
    case InsertChoice::kKeyFront:
    case InsertChoice::kKeyBack:
      break;
  }
  return std::nullopt;
}

std::string_view EventLineName(std::string_view line) {
  const int kind = Kind(line);
  if ((kind != 1 && kind != 2) || line.size() < 2 + kCodeTail) return {};
  return line.substr(2, line.size() - 2 - kCodeTail);
}

std::size_t EncodedMacroSize(const MacroLines& lines) { return EncodeMacroLines(lines).size(); }

DeleteResult DeleteMacroEvent(MacroLines& lines, std::size_t event) {
  DeleteResult result;
  const std::size_t line = event + 1;
  if (line >= lines.size()) return result;
  const int kind = Kind(lines[line]);
  const std::string name(EventLineName(lines[line]));

  // The partner of a press is the first later release of the same name; that
  // of a release the nearest earlier press. The search stays inside the list.
  std::optional<std::size_t> partner;
  if (!name.empty() && kind == 1) {
    for (std::size_t i = line + 1; i < lines.size() && !partner; ++i)
      if (Kind(lines[i]) == 2 && EventLineName(lines[i]) == name) partner = i;
  } else if (!name.empty() && kind == 2) {
    for (std::size_t i = line - 1; i >= 1 && !partner; --i)
      if (Kind(lines[i]) == 1 && EventLineName(lines[i]) == name) partner = i;
  }
  if (partner) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(std::max(line, *partner)));
  lines.erase(lines.begin() +
              static_cast<std::ptrdiff_t>(partner ? std::min(line, *partner) : line));
  result.deleted = true;

  // The event before the deleted one stays selected: one further up when an
  // earlier press went with a release.
  const std::size_t events = lines.size() - 1;
  if (events == 0) return result;
  long long select = static_cast<long long>(event) - 1;
  if (partner && *partner < line) --select;
  result.selection =
      static_cast<int>(std::clamp<long long>(select, 0, static_cast<long long>(events) - 1));
  return result;
}

InsertResult InsertMacroEvent(MacroLines& lines, std::size_t event, InsertChoice choice,
                              const InsertValues& values) {
  InsertResult result;
  if (IsKeyChoice(choice)) {
    result.status = InsertStatus::kKeyChoice;
    return result;
  }
  if (event + 1 >= lines.size()) return result;
  const std::optional<std::string> line = InsertLineFor(choice, values);
  if (!line) {
    result.status = InsertStatus::kZeroMove;
    return result;
  }
  const std::size_t at = InsertsBefore(choice) ? event + 1 : event + 2;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), *line);
  if (EncodedMacroSize(lines) > kMacroBufferSize) {
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
    result.status = InsertStatus::kTooLong;
    return result;
  }
  result.status = InsertStatus::kInserted;
  result.event = at - 1;
  return result;
}

}  // namespace korvex48
