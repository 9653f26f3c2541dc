#include "core/app/device_macros.h"

#include <algorithm>

#include "core/macros/macro_names.h"

namespace korvex48 {

void DeviceMacros::SetStorage(StorageLayout layout, std::string_view primary) {
  layout_ = layout;
  packed_base_ = PackedAreaAddress(primary);
  packed_ = PackedMacroTable{};
  packed_.addresses[0] = PackedFirstMacroAddress(primary);
  slot_ = SlotMacroTable{};
  RefreshSlotTable(slot_);
}

PackedStatus DeviceMacros::TakeUp(ConfigImage& image) {
  switch (layout_) {
    case StorageLayout::kPacked: {
      const PackedStatus status = ReadAndRefreshMacroT417(packed_, ByteView(image.macro_area));
      StoreTo(image);
      return status;
    }
    case StorageLayout::kSlot: {
      slot_.names = image.macro_area;
      for (std::size_t i = 0; i < kSlotCount; ++i) slot_.pages[i] = image.macro_pages[i];
      RefreshSlotTable(slot_);
      return PackedStatus::kOk;
    }
    case StorageLayout::kNone:
      break;
  }
  const std::uint16_t first = packed_.addresses[0];
  packed_ = PackedMacroTable{};
  packed_.addresses[0] = first;
  slot_ = SlotMacroTable{};
  RefreshSlotTable(slot_);
  return PackedStatus::kOk;
}

void DeviceMacros::StoreTo(ConfigImage& image) const {
  switch (layout_) {
    case StorageLayout::kPacked:
      image.macro_area = packed_.area;
      break;
    case StorageLayout::kSlot:
      image.macro_area = slot_.names;
      for (std::size_t i = 0; i < kSlotCount; ++i) image.macro_pages[i] = slot_.pages[i];
      image.page_addresses = slot_.addresses;
      break;
    case StorageLayout::kNone:
      break;
  }
}

std::size_t DeviceMacros::Count() const {
  switch (layout_) {
    case StorageLayout::kPacked:
      return PackedMacroCountOf(packed_);
    case StorageLayout::kSlot:
      return SlotMacroCountOf(slot_);
    case StorageLayout::kNone:
      break;
  }
  return 0;
}

std::vector<std::string> DeviceMacros::Names() const {
  std::vector<std::string> names;
  const std::size_t n = Count();
  for (std::size_t i = 0; i < n; ++i) {
    names.push_back(layout_ == StorageLayout::kPacked ? MacroNameText(packed_.names[i])
                                                      : MacroNameText(SlotNameEntry(slot_, i)));
  }
  return names;
}

std::vector<DeviceMacroRef> DeviceMacros::Refs() const {
  std::vector<DeviceMacroRef> refs;
  if (layout_ == StorageLayout::kPacked) {
    for (std::size_t i = 0; i < kPackedMacroCount; ++i) {
      if (packed_.lengths[i] == 0) continue;
      refs.push_back({packed_.addresses[i], MacroNameText(packed_.names[i])});
    }
  } else if (layout_ == StorageLayout::kSlot) {
    const std::size_t n = SlotMacroCountOf(slot_);
    for (std::size_t i = 0; i < kSlotCount; ++i) {
      refs.push_back({SlotAddress(i), i < n ? MacroNameText(SlotNameEntry(slot_, i)) : ""});
    }
  }
  return refs;
}

ByteView DeviceMacros::EventBytes(std::size_t index) const {
  if (index >= Count()) return {};
  if (layout_ == StorageLayout::kPacked) {
    // The stored length counts the name as well.
    const std::size_t length = packed_.lengths[index];
    if (length <= kMacroNameBytes) return {};
    return ByteView(packed_.events[index])
        .first(std::min(length - kMacroNameBytes, kMacroBufferSize));
  }
  return ByteView(slot_.pages[index])
      .first(std::min<std::size_t>(slot_.lengths[index], kMacroBufferSize));
}

std::optional<std::size_t> DeviceMacros::NameOffset(std::size_t index) const {
  const std::size_t n = Count();
  switch (layout_) {
    case StorageLayout::kPacked: {
      if (index > n || index >= kPackedMacroCount) return std::nullopt;
      std::size_t offset = 0;
      for (std::size_t k = 0; k < index; ++k) offset += packed_.lengths[k];
      return offset;
    }
    case StorageLayout::kSlot:
      if (index > n || index >= kSlotCount) return std::nullopt;
      return index * kMacroNameBytes;
    case StorageLayout::kNone:
      break;
  }
  return std::nullopt;
}

bool DeviceMacros::SameMacros(const DeviceMacros& other) const {
  const std::size_t n = Count();
  if (other.Count() != n || Names() != other.Names()) return false;
  for (std::size_t i = 0; i < n; ++i) {
    const ByteView a = EventBytes(i);
    const ByteView b = other.EventBytes(i);
    if (!std::equal(a.begin(), a.end(), b.begin(), b.end())) return false;
  }
  return true;
}

std::optional<std::uint16_t> DeviceMacros::Address(std::size_t index) const {
  if (index >= Count()) return std::nullopt;
  if (layout_ == StorageLayout::kPacked) return packed_.addresses[index];
  return SlotAddress(index);
}

}  // namespace korvex48
