#include "core/macros/slot_layout.h"

#include <algorithm>

namespace korvex48 {

bool IsSlotNameEmpty(ByteView entry) {
  const std::uint8_t b0 = ByteAt(entry, 0);
  const std::uint8_t b1 = ByteAt(entry, 1);
  return (b0 == 0x00 && b1 == 0x00) || (b0 == 0xFF && b1 == 0xFF);
}

std::uint16_t SlotEventLength(ByteView page) {
  return static_cast<std::uint16_t>(
      MacroEventLength(page.first(std::min(page.size(), kMacroBufferSize))));
}

void LoadSlotTable(SlotMacroTable& t, ByteView names, ByteView pages) {
  t.names.fill(0);
  std::copy_n(names.begin(), std::min(names.size(), t.names.size()), t.names.begin());
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    auto& page = t.pages[i];
    page.fill(0);
    const std::size_t start = i * kMacroBufferSize;
    if (start < pages.size()) {
      const std::size_t n = std::min(kMacroBufferSize, pages.size() - start);
      std::copy_n(pages.begin() + static_cast<std::ptrdiff_t>(start), n, page.begin());
    }
  }
  RefreshSlotTable(t);
}

void RefreshSlotTable(SlotMacroTable& t) {
  for (std::size_t i = 0; i < kSlotCount; ++i) {
    t.lengths[i] = SlotEventLength(t.pages[i]);
    t.addresses[i] = SlotAddress(i);
  }
}

ByteView SlotNameEntry(const SlotMacroTable& t, std::size_t slot) {
  return ByteView(t.names).subspan(std::min(slot, kSlotCount - 1) * kMacroNameBytes,
                                   kMacroNameBytes);
}

std::size_t SlotMacroCountOf(const SlotMacroTable& t) {
  std::size_t n = 0;
  while (n < kSlotCount && !IsSlotNameEmpty(SlotNameEntry(t, n))) ++n;
  return n;
}

bool AddSlotMacro(SlotMacroTable& t, const MacroName& name, ByteView events) {
  const std::size_t n = SlotMacroCountOf(t);
  if (n >= kSlotCount || IsSlotNameEmpty(name)) return false;
  std::copy(name.begin(), name.end(),
            t.names.begin() + static_cast<std::ptrdiff_t>(n * kMacroNameBytes));
  auto& page = t.pages[n];
  page.fill(0);
  std::copy_n(events.begin(), std::min(events.size(), page.size()), page.begin());
  RefreshSlotTable(t);
  return true;
}

bool DeleteSlotMacro(SlotMacroTable& t, std::size_t index) {
  if (index >= kSlotCount) return false;
  for (std::size_t i = index; i + 1 < kSlotCount; ++i) {
    std::copy_n(t.names.begin() + static_cast<std::ptrdiff_t>((i + 1) * kMacroNameBytes),
                kMacroNameBytes,
                t.names.begin() + static_cast<std::ptrdiff_t>(i * kMacroNameBytes));
    t.pages[i] = t.pages[i + 1];
  }
  std::fill(t.names.end() - static_cast<std::ptrdiff_t>(kMacroNameBytes), t.names.end(), 0);
  t.pages[kSlotCount - 1].fill(0);
  RefreshSlotTable(t);
  return true;
}

}  // namespace korvex48
