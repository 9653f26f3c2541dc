#pragma once
// Device macros put straight into a simulated mouse's memory before the
// editor reads it, in the mouse's own layout: "Macro 1" .. "Macro <count>",
// each pressing and releasing the right button 30 ms apart.
#include <QString>
#include <algorithm>

#include "core/common/bytes.h"
#include "core/device/simulated_mouse.h"
#include "core/macros/macro_names.h"
#include "core/macros/slot_layout.h"

namespace korvex48::gui::test {

inline void StoreMacros(SimulatedMouse& mouse, int count) {
  const Bytes events = {0xA2, 0xFE, 0x00, 0x1E, 0x22, 0x00};
  auto put = [&mouse](std::size_t at, ByteView bytes) {
    std::copy(bytes.begin(), bytes.end(), mouse.Memory().begin() + static_cast<long>(at));
  };
  if (mouse.Storage() == SimulatedStorage::kFlashFlash) {
    std::fill_n(mouse.Memory().begin() + kSlotNamesAddress, kSlotNamesTableSize, 0);
    for (std::size_t slot = 0; slot < kSlotCount; ++slot)
      std::fill_n(mouse.Memory().begin() + SlotAddress(slot), 256, 0);
    for (int i = 0; i < count; ++i) {
      const auto slot = static_cast<std::size_t>(i);
      put(kSlotNamesAddress + slot * kMacroNameBytes,
          MacroNameFromText(QStringLiteral("Macro %1").arg(i + 1).toStdString()));
      put(SlotAddress(slot), events);
    }
    return;
  }
  // The packed area: name and events of one macro after the other.
  std::size_t at = mouse.Storage() == SimulatedStorage::kI2C ? 0x0200 : 0x4000;
  std::fill_n(mouse.Memory().begin() + static_cast<long>(at), 512, 0);
  for (int i = 0; i < count; ++i) {
    put(at, MacroNameFromText(QStringLiteral("Macro %1").arg(i + 1).toStdString()));
    put(at + kMacroNameBytes, events);
    at += kMacroNameBytes + events.size();
  }
}

}  // namespace korvex48::gui::test
