#include "core/macros/packed_layout.h"

#include <algorithm>
#include <optional>

namespace korvex48 {

namespace {

constexpr std::size_t kMinLength = kMacroNameBytes + 1;                 // name + end byte
constexpr std::size_t kMaxLength = kMacroNameBytes + kMacroBufferSize;  // 272
constexpr std::size_t kMaxEventBytes = kMacroBufferSize - 1;            // 255
constexpr std::uint8_t kBoundaryFiller = macro_event::kRepeatStop;

// A name that the parser would read as the end of the used area.
bool IsAreaEnd(std::uint8_t b0, std::uint8_t b1) {
  return (b0 == 0x00 && b1 == 0x00) || b0 == 0xFF || b1 == 0xFF;
}

std::size_t StepOf(std::uint8_t first) {
  const std::size_t len = EventLengthOf(first);
  return len == 0 ? 1 : len;
}

void SetAddresses(PackedMacroTable& t) {
  const std::uint16_t first = t.addresses[0];
  t.addresses.fill(0);
  t.addresses[0] = first;
  std::uint32_t sum = 0;
  for (std::size_t k = 0; k < kPackedMacroCount; ++k) {
    if (k > 0 && t.lengths[k] != 0) t.addresses[k] = static_cast<std::uint16_t>(first + sum);
    sum += t.lengths[k];
  }
}

// The number of event bytes of the macro whose events begin at `e`, found by
// walking the events by their lengths up to the end byte; nullopt when no end
// byte comes within the area and the 255 bytes a macro holds.
std::optional<std::size_t> EventBytesAt(ByteView area, std::size_t e) {
  std::size_t pos = e;
  while (pos < area.size() && area[pos] != macro_event::kEnd && pos - e <= kMaxEventBytes)
    pos += StepOf(area[pos]);
  if (pos >= area.size() || pos - e > kMaxEventBytes) return std::nullopt;
  return pos - e;
}

// Parses t.area into the table; the area itself is not changed.
PackedStatus Parse(PackedMacroTable& t) {
  const ByteView area(t.area);
  t.names = {};
  t.events = {};
  t.lengths.fill(0);
  PackedStatus status = PackedStatus::kOk;
  std::size_t p = 0;
  for (std::size_t k = 0; k < kPackedMacroCount; ++k) {
    if (IsAreaEnd(ByteAt(area, p), ByteAt(area, p + 1))) break;
    const std::size_t e = p + kMacroNameBytes;
    const std::optional<std::size_t> events = EventBytesAt(area, e);
    if (!events) {
      status = PackedStatus::kUnterminated;
      break;
    }
    const std::size_t n = *events;
    std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(p), kMacroNameBytes, t.names[k].begin());
    std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(e), n, t.events[k].begin());
    t.lengths[k] = static_cast<std::uint16_t>(n + kMinLength);
    p += t.lengths[k];
  }
  SetAddresses(t);
  CheckMacroLenT417(t);
  return status;
}

}  // namespace

bool MovesOffPageEnd(std::uint8_t first) {
  return first == 0x01 || first == 0x02 || first == 0x81 || first == 0x82 || first == 0xFE;
}

std::uint16_t PackedAreaAddress(std::string_view primary) {
  return primary == "I2C" ? 0x0200 : 0x4000;
}

std::uint16_t PackedFirstMacroAddress(std::string_view primary) {
  return static_cast<std::uint16_t>(PackedAreaAddress(primary) + kMacroNameBytes);
}

std::vector<std::size_t> PackedMacroStarts(ByteView area) {
  std::vector<std::size_t> starts;
  std::size_t p = 0;
  while (starts.size() < kPackedMacroCount && !IsAreaEnd(ByteAt(area, p), ByteAt(area, p + 1))) {
    const std::optional<std::size_t> events = EventBytesAt(area, p + kMacroNameBytes);
    if (!events) break;
    starts.push_back(p);
    p += kMinLength + *events;
  }
  starts.push_back(std::min(p, area.size()));
  return starts;
}

std::uint16_t CheckMacroLenT417(PackedMacroTable& t) {
  std::uint32_t sum = 0;
  for (std::uint16_t len : t.lengths) sum += len;
  t.total = static_cast<std::uint16_t>(std::min<std::uint32_t>(sum, 0xFFFF));
  return t.total;
}

std::size_t PackedMacroCountOf(const PackedMacroTable& t) {
  return static_cast<std::size_t>(
      std::count_if(t.lengths.begin(), t.lengths.end(), [](std::uint16_t l) { return l != 0; }));
}

PackedStatus RefreshMacroT417(PackedMacroTable& t) {
  PackedMacroTable out = t;
  out.area.fill(0);
  std::size_t p = 0;
  // Writes one byte, refusing to go past the area.
  auto put = [&](std::uint8_t b) {
    if (p >= out.area.size()) return false;
    out.area[p++] = b;
    return true;
  };
  for (std::size_t k = 0; k < kPackedMacroCount; ++k) {
    const std::size_t len = t.lengths[k];
    if (len == 0) continue;
    if (len < kMinLength || len > kMaxLength) return PackedStatus::kOverflow;
    for (std::uint8_t b : t.names[k])
      if (!put(b)) return PackedStatus::kOverflow;
    const auto& ev = t.events[k];
    auto& out_ev = out.events[k];
    out_ev.fill(0);
    std::size_t out_j = 0;
    const std::size_t n = len - kMinLength;
    for (std::size_t j = 0; j < n;) {
      const std::size_t step = StepOf(ev[j]);
      // Only an event start moves: a value byte at offset 255 stays in its
      // event. The filler becomes an event of the macro, which grows by one.
      if (p == kPackedPageBoundary && MovesOffPageEnd(ev[j])) {
        if (out_j >= kMaxEventBytes || !put(kBoundaryFiller)) return PackedStatus::kOverflow;
        out_ev[out_j++] = kBoundaryFiller;
      }
      for (std::size_t b = 0; b < step && j + b < n; ++b) {
        if (out_j >= kMaxEventBytes || !put(ev[j + b])) return PackedStatus::kOverflow;
        out_ev[out_j++] = ev[j + b];
      }
      j += step;
    }
    if (!put(macro_event::kEnd)) return PackedStatus::kOverflow;
    out.lengths[k] = static_cast<std::uint16_t>(out_j + kMinLength);
  }
  SetAddresses(out);
  CheckMacroLenT417(out);
  t = out;
  return PackedStatus::kOk;
}

PackedStatus ReadAndRefreshMacroT417(PackedMacroTable& t) {
  const PackedStatus parsed = Parse(t);
  const PackedStatus packed = RefreshMacroT417(t);
  return packed != PackedStatus::kOk ? packed : parsed;
}

PackedStatus ReadAndRefreshMacroT417(PackedMacroTable& t, ByteView area) {
  t.area.fill(0);
  std::copy_n(area.begin(), std::min(area.size(), t.area.size()), t.area.begin());
  return ReadAndRefreshMacroT417(t);
}

AddMacroResult AddPackedMacro(PackedMacroTable& t, const MacroName& name, ByteView events) {
  const std::size_t n = PackedMacroCountOf(t);
  if (n >= kPackedMacroCount) return AddMacroResult::kFull;
  if (IsAreaEnd(name[0], name[1])) return AddMacroResult::kBadName;
  const PackedMacroTable saved = t;
  auto& buffer = t.events[n];
  buffer.fill(0);
  std::copy_n(events.begin(), std::min(events.size(), buffer.size()), buffer.begin());
  const std::size_t data = MacroEventLength(buffer);  // events + end byte
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(data - 1), buffer.end(), 0);
  t.names[n] = name;
  t.lengths[n] = static_cast<std::uint16_t>(kMacroNameBytes + data);
  if (CheckMacroLenT417(t) > kPackedAreaSize || RefreshMacroT417(t) != PackedStatus::kOk) {
    t = saved;
    return AddMacroResult::kOutOfRange;
  }
  ReadAndRefreshMacroT417(t);
  return AddMacroResult::kAdded;
}

bool DeletePackedMacro(PackedMacroTable& t, std::size_t index) {
  if (index >= kPackedMacroCount || t.lengths[index] == 0) return false;
  PackedMacroTable out = t;
  out.names[index] = {};
  out.events[index] = {};
  out.lengths[index] = 0;
  if (index != 0) out.addresses[index] = 0;
  // Closing the gap can bring an event of a later macro onto the page
  // boundary; a macro already holding 255 event bytes has no room for the
  // filler, and the delete is refused.
  if (RefreshMacroT417(out) != PackedStatus::kOk) return false;
  ReadAndRefreshMacroT417(out);
  t = out;
  return true;
}

}  // namespace korvex48
