// Feeds arbitrary bytes as a slot-layout names table and 32 pages: lengths
// stay within a page and every page decodes; add and delete keep the table
// sound.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/macros/macro_lines.h"
#include "core/macros/slot_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvex48;
  const ByteView bytes(data, size);
  const ByteView names = bytes.first(std::min<std::size_t>(size, kSlotNamesTableSize));
  const ByteView pages =
      size > kSlotNamesTableSize ? bytes.subspan(kSlotNamesTableSize) : ByteView{};
  SlotMacroTable t;
  LoadSlotTable(t, names, pages);
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    if (t.lengths[i] < 1 || t.lengths[i] > 256) __builtin_trap();
    if (t.addresses[i] != SlotAddress(i)) __builtin_trap();
    DecodeMacroLines(ByteView(t.pages[i]).first(t.lengths[i]));
    MacroNameText(SlotNameEntry(t, i));
  }
  const std::size_t count = SlotMacroCountOf(t);
  if (AddSlotMacro(t, MacroNameFromText("Fuzz"), pages)) {
    if (SlotMacroCountOf(t) <= count) __builtin_trap();  // more when it filled a gap
  } else if (count != kSlotCount) {
    __builtin_trap();
  }
  DeleteSlotMacro(t, size % kSlotCount);
  return 0;
}
