// Feeds arbitrary bytes to the macro decoder and arbitrary text to the
// encoder. Decoded lines must encode to bytes that decode to the same lines.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/macros/macro_events.h"
#include "core/macros/macro_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvex48;
  const ByteView bytes(data, size);

  if (MacroEventLength(bytes) > size) __builtin_trap();
  const MacroLines lines = DecodeMacroLines(bytes);
  if (lines.empty()) __builtin_trap();
  const Bytes encoded = EncodeMacroLines(lines);
  if (encoded.empty() || encoded.back() != 0x00) __builtin_trap();
  if (MacroEventLength(encoded) != encoded.size()) __builtin_trap();
  if (DecodeMacroLines(encoded) != lines) __builtin_trap();

  // The same bytes as text lines for the encoder.
  MacroLines text{"00"};
  std::string line;
  for (std::uint8_t b : bytes) {
    if (b == '\n') {
      text.push_back(line);
      line.clear();
    } else {
      line += static_cast<char>(b);
    }
  }
  text.push_back(line);
  const Bytes from_text = EncodeMacroLines(text);
  if (from_text.empty() || from_text.back() != 0x00) __builtin_trap();
  std::array<std::uint8_t, 256> buffer{};
  if (EncodeMacroLinesInto(text, buffer) != (from_text.size() <= buffer.size())) __builtin_trap();
  ParseDelayHeader(line);
  return 0;
}
