#include "core/config/configuration.h"

namespace korvex48 {

std::string StorageLayoutName(StorageLayout layout) {
  switch (layout) {
    case StorageLayout::kPacked:
      return "packed";
    case StorageLayout::kSlot:
      return "slot";
    case StorageLayout::kNone:
      break;
  }
  return "none";
}

LedKind LedKindOfBits(std::uint8_t bits) {
  switch (bits) {
    case 0:
      return LedKind::kRgb;
    case 1:
      return LedKind::kSync;
    default:
      return LedKind::kNt;
  }
}

}  // namespace korvex48
