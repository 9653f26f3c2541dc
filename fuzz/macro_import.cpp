// Feeds arbitrary bytes to Import One and Import All on the default library:
// refusals change nothing, a name taken keeps the name rule, and the
// occupied slots stay contiguous. The same bytes as text: the name rule
// takes anything, and escaped they hold no control byte.
#include <cstddef>
#include <cstdint>

#include "core/common/unicode_text.h"
#include "core/library/library_files.h"
#include "core/library/pc_macro_library.h"

namespace {

using namespace korvex48;

void CheckContiguous(const PcMacroLibrary& lib) {
  const std::size_t count = lib.Count();
  for (std::size_t i = 0; i < kLibrarySlots; ++i)
    if (lib.IsOccupied(i) != (i < count)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ByteView bytes(data, size);
  PcMacroLibrary lib;
  lib.Load(DefaultLibraryBytes());

  const Bytes before = lib.ToBytes();
  const std::size_t count = lib.Count();
  const ImportOneResult one = lib.ImportOne(bytes);
  if (one == ImportOneResult::kImported) {
    if (lib.Count() != count + 1) __builtin_trap();
    if (CheckStoredMacroName(lib.Slot(count).name) != MacroNameProblem::kNone) __builtin_trap();
    const Bytes record = lib.ExportOne(count);
    for (std::size_t i = 0; i < record.size(); ++i)
      if (record[i] != (i < size ? bytes[i] : 0)) __builtin_trap();
  } else if (lib.ToBytes() != before) {
    __builtin_trap();
  }
  CheckContiguous(lib);

  lib.ImportAll(bytes);
  CheckContiguous(lib);
  if (lib.ToBytes().size() != kLibraryFileSize) __builtin_trap();

  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckMacroName(text);
  for (const char c : EscapeForTerminal(text)) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F) __builtin_trap();
  }
  return 0;
}
