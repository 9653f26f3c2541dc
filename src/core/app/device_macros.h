#pragma once
// The device macro table of the connected mouse (or of the default image when
// there is none), in the layout its storage kinds choose. The working image's
// macro storage holds the same bytes: TakeUp parses it, StoreTo writes the
// table back, and the flows call them so both never drift apart.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/buttons/key_codes.h"
#include "core/image/config_image.h"
#include "core/macros/packed_layout.h"
#include "core/macros/slot_layout.h"

namespace korvex48 {

class DeviceMacros {
 public:
  // Chooses the layout; `primary` ("I2C" or "Flash") places the packed area
  // (macro 0 at 0x0210 or 0x4010). Empties the table.
  void SetStorage(StorageLayout layout, std::string_view primary);
  StorageLayout Layout() const { return layout_; }
  // Device address of the packed area (0x0200 or 0x4000).
  std::uint16_t PackedAreaBase() const { return packed_base_; }

  // Parses the macro storage of `image` into the table (packed: the 512-byte
  // area; slot: the names table and the 32 pages), then writes the table back
  // into `image` (the packed area is packed again, as the mouse will get it).
  // kNone empties the table and leaves `image` alone.
  PackedStatus TakeUp(ConfigImage& image);
  // Writes the table into the macro storage of `image` (nothing for kNone).
  void StoreTo(ConfigImage& image) const;

  // Number of device macros: the rows of LB_MacroName.
  std::size_t Count() const;
  // The names of the rows, in list order (row i is macro i).
  std::vector<std::string> Names() const;
  // The table as key function codes name it: the present packed macros with
  // their addresses, or the 32 slots (unused ones with an empty name).
  std::vector<DeviceMacroRef> Refs() const;
  // Device address of macro `index`; nullopt when there is no such macro.
  std::optional<std::uint16_t> Address(std::size_t index) const;
  // Where macro `index`'s 16-byte name begins: its offset in the packed area
  // or in the slot names table. Count() gives where the next macro added
  // goes. nullopt past that, for kNone, and for a full table.
  std::optional<std::size_t> NameOffset(std::size_t index) const;
  // Both tables list the same names with the same event bytes, in order.
  bool SameMacros(const DeviceMacros& other) const;
  // The event bytes of macro `index` as the mouse stores them, the end byte
  // included, at most kMacroBufferSize; empty when there is no such macro.
  // The view lives as long as the table is not changed.
  ByteView EventBytes(std::size_t index) const;

  const PackedMacroTable& Packed() const { return packed_; }
  const SlotMacroTable& Slot() const { return slot_; }
  PackedMacroTable& MutablePacked() { return packed_; }
  SlotMacroTable& MutableSlot() { return slot_; }

 private:
  StorageLayout layout_ = StorageLayout::kNone;
  std::uint16_t packed_base_ = 0x4000;
  PackedMacroTable packed_;
  SlotMacroTable slot_;
};

}  // namespace korvex48
