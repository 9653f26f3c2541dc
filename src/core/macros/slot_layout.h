#pragma once
// The slot macro layout: a names table of 32 16-byte entries and 32 event
// pages of 256 bytes; slot i's events start at offset 0 of page i, and its
// device address is 0x4000 + 0x100 * i whether used or not. Used slots run
// from slot 0 without gaps.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/common/bytes.h"
#include "core/macros/macro_events.h"
#include "core/macros/macro_names.h"

namespace korvex48 {

inline constexpr std::size_t kSlotCount = 32;
inline constexpr std::size_t kSlotNamesTableSize = kSlotCount * kMacroNameBytes;  // 512
inline constexpr std::uint16_t kSlotNamesAddress = 0x3000;
inline constexpr std::uint16_t kSlotPagesAddress = 0x4000;

// 0x4000 + 0x100 * slot.
constexpr std::uint16_t SlotAddress(std::size_t slot) {
  return static_cast<std::uint16_t>(kSlotPagesAddress + 0x100 * slot);
}

struct SlotMacroTable {
  std::array<std::uint8_t, kSlotNamesTableSize> names{};  // entry i at 16 * i
  std::array<std::array<std::uint8_t, kMacroBufferSize>, kSlotCount> pages{};
  std::array<std::uint16_t, kSlotCount> lengths{};    // event length of page i (with end byte)
  std::array<std::uint16_t, kSlotCount> addresses{};  // 0x4000 + 0x100 * i
};

// An entry whose first two bytes are both 0x00 or both 0xFF names no macro.
bool IsSlotNameEmpty(ByteView entry);

// Event length of a page (events plus end byte), by MacroEventLength: at most
// 256, also for a page without an end byte or a run of three zero bytes.
std::uint16_t SlotEventLength(ByteView page);

// Fills the table from bytes read from the device or an image: `names` the
// 512-byte names table, `pages` 32 pages of 256 bytes back to back. Missing
// bytes read as zero. Then RefreshSlotTable.
void LoadSlotTable(SlotMacroTable& t, ByteView names, ByteView pages);

// Recomputes the 32 lengths and sets the 32 addresses.
void RefreshSlotTable(SlotMacroTable& t);

// The 16-byte name entry of a slot (a view into t.names).
ByteView SlotNameEntry(const SlotMacroTable& t, std::size_t slot);

// Number of used slots counted from slot 0 up to the first empty entry.
std::size_t SlotMacroCountOf(const SlotMacroTable& t);

// Add to Mouse: puts name and events (256 bytes, missing ones zero) into the
// slot after the last used one. False (nothing changed) when 32 are used or
// `name` reads as an empty entry.
bool AddSlotMacro(SlotMacroTable& t, const MacroName& name, ByteView events);

// Deletes slot `index`: later names and pages move down by one, slot 31 is
// cleared; addresses stay. False (nothing changed) for an index >= 32.
bool DeleteSlotMacro(SlotMacroTable& t, std::size_t index);

}  // namespace korvex48
