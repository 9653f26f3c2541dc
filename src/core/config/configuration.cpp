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

}  // namespace korvex48
