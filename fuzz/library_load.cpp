// Feeds arbitrary bytes as a Macro.bin: the occupied slots come out
// contiguous, every slot decodes, and the saved file reloads identically. A
// file the library check takes has every macro ending within its buffer.
#include <cstddef>
#include <cstdint>

#include "core/library/library_files.h"
#include "core/library/pc_macro_library.h"
#include "core/macros/macro_events.h"
#include "core/macros/macro_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvex48;
  PcMacroLibrary lib;
  lib.Load(ByteView(data, size));
  const std::size_t count = lib.Count();
  for (std::size_t i = 0; i < kLibrarySlots; ++i) {
    if (lib.IsOccupied(i) != (i < count)) __builtin_trap();
    const std::size_t length = lib.EventLength(i);
    if (length < 1 || length > kMacroBufferSize) __builtin_trap();
    DecodeMacroLines(ByteView(lib.Slot(i).events).first(length));
    lib.MacroText(i);
  }
  if (LibraryFileProblem(ByteView(data, size), true).empty()) {
    for (std::size_t i = 0; i < count; ++i)
      if (!MacroHasEndByte(lib.Slot(i).events)) __builtin_trap();
  }
  MacroRecordProblem(ByteView(data, size));
  const Bytes saved = lib.ToBytes();
  if (saved.size() != kLibraryFileSize) __builtin_trap();
  PcMacroLibrary again;
  again.Load(saved);
  if (again.ToBytes() != saved) __builtin_trap();
  return 0;
}
