// Fuzzes the readers of outside bytes in buttons: code texts and profile sections.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/buttons/button_assignment.h"
#include "core/buttons/fire_aim.h"
#include "core/buttons/key_codes.h"
#include "core/buttons/keyboard_keys.h"

using namespace korvex48;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto lookup = [](std::string_view key) { return std::string(key); };
  const std::vector<DeviceMacroRef> macros = {{0x0100, "A"}, {0x0120, "B"}};
  KeyNameSources sources{lookup, FireIdentityCounts::FromParameterByte(size ? data[0] : 0), macros};
  DescribeKeyCode(text, sources);
  if (size >= 1) {
    VirtualKeyName(data[0]);
    UsageName(VirtualKeyToUsage(data[0]));
  }
  KeyCodes codes;
  if (codes.LoadFromProfileSection(ByteView(data, size))) {
    for (int p = 1; p <= 3; ++p) ProfileKeyNames(codes, p, sources);
    RefreshFireKey(codes, 1 + size % 3, sources, {});
    RefreshAimStep(codes, 1 + size % 3, sources, 1);
    auto marks = MarkMacroCodes(codes, sources);
    RelinkMarkedMacroCodes(codes, marks, std::span<const DeviceMacroRef>(macros).first(1));
    std::vector<std::uint8_t> out(145);
    codes.StoreToProfileSection(out);
  }
  NormalizeRepeatField(text);
  NormalizeDelayFieldOnLeave(text);
  return 0;
}
