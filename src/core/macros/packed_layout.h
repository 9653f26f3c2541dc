#pragma once
// The packed macro layout: a 512-byte area (two 256-byte device pages) holding
// up to 15 macros back to back, each a 16-byte name, its events and an end
// byte. A name whose first two bytes are both 0x00, or either 0xFF, ends the
// used area. A macro's device address is that of its first event byte.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/common/bytes.h"
#include "core/macros/macro_events.h"
#include "core/macros/macro_names.h"

namespace korvex48 {

inline constexpr std::size_t kPackedAreaSize = 512;
inline constexpr std::size_t kPackedMacroCount = 15;
inline constexpr std::size_t kPackedPageBoundary = 255;  // last byte of the first page

// Device address of the area (0x0200 when `primary` is "I2C", else 0x4000,
// the "Flash" + "I2C" area) and of macro 0's first event byte (+ 0x10).
std::uint16_t PackedAreaAddress(std::string_view primary);
std::uint16_t PackedFirstMacroAddress(std::string_view primary);

struct PackedMacroTable {
  std::array<std::uint8_t, kPackedAreaSize> area{};  // the device area as read or packed
  std::array<MacroName, kPackedMacroCount> names{};
  // Events and end byte of macro i, zero behind them.
  std::array<std::array<std::uint8_t, kMacroBufferSize>, kPackedMacroCount> events{};
  // 16 + event bytes + 1, or 0 for no macro.
  std::array<std::uint16_t, kPackedMacroCount> lengths{};
  // addresses[0] is the first macro address of the layout; others 0 when unused.
  std::array<std::uint16_t, kPackedMacroCount + 1> addresses{};
  std::uint16_t total = 0;  // sum of the lengths
};

enum class PackedStatus {
  kOk,
  // Parsing: a macro whose events run to the end of the area (or past the 255
  // bytes a macro buffer holds) without an end byte; it and everything after
  // it were dropped.
  kUnterminated,
  // Packing: the macros (with the filler the page boundary may need) do not
  // fit in 512 bytes, or a length is outside 17..272. Nothing was changed.
  kOverflow,
};

// Parses `t.area` into names, event buffers, lengths and addresses (the first
// address is kept from t.addresses[0]), then packs the area again
// (RefreshMacroT417). A macro's end is found by walking its events, so a
// stored macro reads, packs and reads back unchanged. Never reads outside the
// area. When the repacking overflows, the area is left as read and kOverflow
// is returned with the parsed table.
PackedStatus ReadAndRefreshMacroT417(PackedMacroTable& t);
// The same after copying `area` (at most 512 bytes; the rest zero) into t.area.
PackedStatus ReadAndRefreshMacroT417(PackedMacroTable& t, ByteView area);

// Whether an event that starts with `first` must not start at the last byte
// of the first page (area offset 255): packing moves it behind a 0xFC filler.
bool MovesOffPageEnd(std::uint8_t first);

// Packs names and event buffers into the area and recomputes lengths,
// addresses and the total. An event among 0x01, 0x02, 0x81, 0x82, 0xFE that
// would start at area offset 255 moves to 256 behind a 0xFC filler, which
// becomes a repeat-stop event of that macro (its length grows by one; event
// buffers and lengths stay consistent with the area). Refuses with kOverflow, changing nothing,
// when the result would not fit in the area.
PackedStatus RefreshMacroT417(PackedMacroTable& t);

// Where each macro that `area` lists begins (the offset of its name) as the
// area holds it, then the offset where the list ends (an end name, a macro
// without an end byte, or the area's end). A parse packs the area again, and
// an area another program wrote may hold an event across the page boundary
// with no filler: these are the places the mouse itself plays from.
std::vector<std::size_t> PackedMacroStarts(ByteView area);

// total := sum of the 15 lengths; returns it.
std::uint16_t CheckMacroLenT417(PackedMacroTable& t);

// Number of macros present (lengths not 0).
std::size_t PackedMacroCountOf(const PackedMacroTable& t);

enum class AddMacroResult {
  kAdded,
  kFull,        // 15 macros already; nothing changed, nothing to show
  kOutOfRange,  // no room in the area ("Macro bin length out of range"); nothing changed
  kBadName,     // a name the area would read as its end (first unit 0, or a 0xFF byte in it)
};

// Adds a macro behind the present ones (Add to Mouse): name and 256-byte event
// buffer (events, end byte, zeros; missing bytes read as zero), then packs and
// parses again. On refusal the table is exactly as before.
AddMacroResult AddPackedMacro(PackedMacroTable& t, const MacroName& name, ByteView events);

// Deletes macro `index`; the later macros close up and take new indices and
// addresses. False (nothing changed) for an index with no macro, and when the
// remaining macros cannot be packed: closing the gap would put a page-boundary
// filler into a macro that already holds 255 event bytes.
bool DeletePackedMacro(PackedMacroTable& t, std::size_t index);

}  // namespace korvex48
