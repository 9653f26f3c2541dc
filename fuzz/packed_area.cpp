// Feeds arbitrary bytes as a packed macro area, then adds and deletes macros.
// The parser stays inside the area, lengths stay in range, the macros' places
// as the area holds them agree with the parse, and an area the program packed
// reads back unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/macros/packed_layout.h"

namespace {

using namespace korvex48;

void CheckTable(const PackedMacroTable& t) {
  std::uint32_t sum = 0;
  for (std::size_t k = 0; k < kPackedMacroCount; ++k) {
    const std::uint16_t len = t.lengths[k];
    if (len != 0 && (len < 17 || len > 272)) __builtin_trap();
    sum += len;
  }
  if (sum > kPackedAreaSize) __builtin_trap();
}

void CheckRepacksUnchanged(const PackedMacroTable& t) {
  PackedMacroTable again;
  again.addresses[0] = t.addresses[0];
  if (ReadAndRefreshMacroT417(again, t.area) != PackedStatus::kOk) __builtin_trap();
  if (again.area != t.area || again.lengths != t.lengths || again.addresses != t.addresses)
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ByteView bytes(data, size);
  const ByteView area = bytes.first(std::min<std::size_t>(size, 512));
  PackedMacroTable t;
  t.addresses[0] = 0x0210;
  const PackedStatus status = ReadAndRefreshMacroT417(t, area);
  if (PackedMacroCountOf(t) > kPackedMacroCount) __builtin_trap();
  // The places of the macros as any area holds them: rising, and an end
  // inside the area.
  const std::vector<std::size_t> starts = PackedMacroStarts(area);
  if (starts.back() > area.size() || !std::is_sorted(starts.begin(), starts.end()))
    __builtin_trap();
  if (status == PackedStatus::kOverflow) return 0;  // the area stays as read
  // In an area as this program packs it: one place per parsed macro.
  if (PackedMacroStarts(ByteView(t.area)).size() != PackedMacroCountOf(t) + 1) __builtin_trap();
  CheckTable(t);
  CheckRepacksUnchanged(t);

  if (size > 512) {
    const ByteView rest = bytes.subspan(512);
    MacroName name{};
    for (std::size_t i = 0; i < name.size() && i < rest.size(); ++i) name[i] = rest[i];
    const PackedMacroTable before = t;
    const AddMacroResult added =
        AddPackedMacro(t, name, rest.size() > 16 ? rest.subspan(16) : ByteView{});
    if (added != AddMacroResult::kAdded && (t.area != before.area || t.lengths != before.lengths))
      __builtin_trap();
    CheckTable(t);
    CheckRepacksUnchanged(t);
  }
  const std::size_t count = PackedMacroCountOf(t);
  if (count > 0) {
    const PackedMacroTable before = t;
    if (!DeletePackedMacro(t, size % count)) {
      if (t.area != before.area || t.lengths != before.lengths) __builtin_trap();
      return 0;
    }
    if (PackedMacroCountOf(t) != count - 1) __builtin_trap();
    CheckTable(t);
    CheckRepacksUnchanged(t);
  }
  return 0;
}
