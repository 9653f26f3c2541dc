#pragma once
// Builds UTF-16 LE table bytes for the tests.
#include <string>

#include "core/common/bytes.h"

namespace korvex48::testing_utf16 {

// The UTF-16 LE encoding of `text` (BMP only), with the mark FF FE when `mark`.
inline Bytes Utf16(const std::u16string& text, bool mark = true) {
  Bytes out;
  if (mark) out = {0xFF, 0xFE};
  for (char16_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

}  // namespace korvex48::testing_utf16
