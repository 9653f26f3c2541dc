#pragma once
// The golden mice: for each, tests/golden/<case>/ keeps what every view of
// it must show, byte for byte:
//   mouse.bin    the image, as Save Profile writes it (the mouse's input too)
//   config.json  its text form (korvex48ctl --json dump; Save Profile as .json)
//   dump.txt     korvex48ctl dump
// A test puts mouse.bin into a simulated mouse of the case's kind and checks
// each view against its file. `make` is how the mouse was first built; the
// files are written from it only when KORVEX48_WRITE_GOLDEN is set (then
// read them before committing them: they are what the views must show).
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/common/bytes.h"
#include "core/device/simulated_mouse.h"
#include "core/image/config_image.h"
#include "core/macros/macro_names.h"
#include "core/macros/packed_layout.h"
#include "core/macros/slot_layout.h"

namespace korvex48::testing {

struct GoldenCase {
  std::string name;
  SimulatedStorage storage;
  std::function<void(SimulatedMouse&)> make;
};

inline std::string GoldenPath(const GoldenCase& c, const std::string& file) {
  return std::string(KORVEX48_SOURCE_DIR) + "/tests/golden/" + c.name + "/" + file;
}

inline std::string GoldenDefaultImage(const GoldenCase& c) {
  return c.storage == SimulatedStorage::kFlashFlash
             ? std::string(KORVEX48_SOURCE_DIR) + "/resources/image/KORVEX48DATA-flash-flash"
             : std::string();
}

inline std::string ReadGolden(const GoldenCase& c, const std::string& file) {
  std::ifstream in(GoldenPath(c, file), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The macro storage's place in the mouse's memory.
inline std::size_t PackedAreaAt(const SimulatedMouse& mouse) {
  return mouse.Storage() == SimulatedStorage::kI2C ? 0x0200 : 0x4000;
}

// Both sections and the macro storage of `image` (a profile file's bytes)
// into the mouse; its identifiers and customer identifier stay its own.
inline void PutImage(SimulatedMouse& mouse, const std::string& image) {
  auto byte = [&image](std::size_t at) { return static_cast<std::uint8_t>(image.at(at)); };
  for (std::size_t i = 0; i < kParameterSectionSize; ++i)
    mouse.Parameters()[i] = byte(kImageParameterOffset + i);
  for (std::size_t i = 0; i < kProfileSectionSize; ++i)
    mouse.Profiles()[i] = byte(kImageProfileOffset + i);
  auto memory = mouse.Memory();
  if (mouse.Storage() == SimulatedStorage::kFlashFlash) {
    for (std::size_t i = 0; i < kSlotNamesTableSize; ++i)
      memory[kSlotNamesAddress + i] = byte(kImageMacroOffset + i);
    for (std::size_t slot = 0; slot < kSlotCount; ++slot)
      for (std::size_t i = 0; i < kMacroPageSize; ++i)
        memory[SlotAddress(slot) + i] = byte(kImagePagesOffset + kMacroPageSize * slot + i);
    return;
  }
  for (std::size_t i = 0; i < kPackedAreaSize; ++i)
    memory[PackedAreaAt(mouse) + i] = byte(kImageMacroOffset + i);
}

// Macros as Add to Mouse stores them, named as given, and the codes of the
// buttons that play them: {profile, button, macro index}.
struct GoldenMacro {
  std::string name;
  Bytes events;
};
struct MacroButton {
  int profile;
  int button;
  std::size_t macro;
};
inline void PutGoldenMacros(SimulatedMouse& mouse, const std::vector<GoldenMacro>& macros,
                            const std::vector<MacroButton>& buttons) {
  std::vector<std::uint16_t> addresses;
  auto memory = mouse.Memory();
  auto with_end = [](const GoldenMacro& m) {
    Bytes b = m.events;
    b.push_back(0x00);
    return b;
  };
  if (mouse.Storage() == SimulatedStorage::kFlashFlash) {
    SlotMacroTable t;
    for (const GoldenMacro& m : macros) {
      AddSlotMacro(t, MacroNameFromText(m.name), with_end(m));
      addresses.push_back(SlotAddress(addresses.size()));
    }
    std::copy(t.names.begin(), t.names.end(), memory.begin() + kSlotNamesAddress);
    for (std::size_t i = 0; i < macros.size(); ++i)
      std::copy(t.pages[i].begin(), t.pages[i].end(), memory.begin() + SlotAddress(i));
  } else {
    PackedMacroTable t;
    t.addresses[0] =
        PackedFirstMacroAddress(mouse.Storage() == SimulatedStorage::kI2C ? "I2C" : "Flash");
    for (const GoldenMacro& m : macros) AddPackedMacro(t, MacroNameFromText(m.name), with_end(m));
    std::copy(t.area.begin(), t.area.end(),
              memory.begin() + static_cast<std::ptrdiff_t>(PackedAreaAt(mouse)));
    addresses.assign(t.addresses.begin(), t.addresses.begin() + macros.size());
  }
  for (const MacroButton& b : buttons) {
    const std::uint16_t a = addresses.at(b.macro);
    SetKeyCodeAt(mouse.Profiles(), b.profile, b.button,
                 {0x10, static_cast<std::uint8_t>(a >> 8), static_cast<std::uint8_t>(a & 0xFF), 0});
  }
}

inline std::vector<GoldenCase> GoldenCases() {
  // Ctrl+C with delays, a repeated right click, moves both ways and a delay
  // of 256 ms (a value byte 0x00).
  const std::vector<GoldenMacro> crafted = {
      {"Copy", {0x81, 0x01, 0xFE, 0x00, 0x14, 0x82, 0x06, 0x02, 0x06, 0x01, 0x01}},
      {"Rapid", {0xFD, 0x05, 0xA2, 0x22, 0xFC}},
      {"Wiggle", {0x04, 0x05, 0x00, 0x21, 0x04, 0x00, 0xFB, 0x21, 0xFE, 0x01, 0x00}},
  };
  const std::vector<MacroButton> on_buttons = {{1, 4, 0}, {1, 6, 2}, {2, 6, 1}};
  return {
      {"default-i2c", SimulatedStorage::kI2C, {}},
      {"crafted-macros", SimulatedStorage::kI2C,
       [crafted, on_buttons](SimulatedMouse& m) { PutGoldenMacros(m, crafted, on_buttons); }},
      // The packed area at 0x4000; a code of no known function, an AIM index
      // past the list, a fire delay past 4094, a DPI nibble of 13 and a level
      // with none, a lighting colour byte past 15.
      {"flash-i2c", SimulatedStorage::kFlashI2C,
       [crafted](SimulatedMouse& m) {
         PutGoldenMacros(m, {crafted[0]}, {{1, 9, 0}});
         const std::uint8_t odd_codes[] = {0x0A, 0x01, 0x02, 0x03, 0x05, 0x0D, 0x00, 0x00,
                                           0x06, 0x12, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00};
         std::copy(std::begin(odd_codes), std::end(odd_codes), m.Profiles().begin() + 48 + 8);
         m.Parameters()[40] = 0xD4;
         m.Parameters()[42] = 0xF9;
         m.Parameters()[54] = 0xC8;
       }},
      {"flash-flash-macros", SimulatedStorage::kFlashFlash,
       [crafted, on_buttons](SimulatedMouse& m) { PutGoldenMacros(m, crafted, on_buttons); }},
      // Sync LEDs, LED2: no colours on the pages, modes Off, LED1 and LED2.
      {"sync-lighting", SimulatedStorage::kI2C,
       [](SimulatedMouse& m) { m.Parameters()[37] = 0x42; }},
      // Step-time bytes no step gives, and two that differ.
      {"odd-fall-time", SimulatedStorage::kI2C,
       [](SimulatedMouse& m) {
         m.Parameters()[52] = 0x3C;
         m.Parameters()[53] = 0x17;
       }},
      // Macro 3's key press would start at the last byte of the area's first
      // page (offset 255): it is stored behind a 0xFC filler.
      {"page-filler", SimulatedStorage::kI2C,
       [](SimulatedMouse& m) {
         Bytes clicks;  // 51 left clicks, one byte each: 102 bytes
         for (int i = 0; i < 51; ++i) clicks.insert(clicks.end(), {0xA1, 0x21});
         Bytes waits = {0xFE, 0x00, 0x0A};  // a delay and 49 right clicks: 101 bytes
         for (int i = 0; i < 49; ++i) waits.insert(waits.end(), {0xA2, 0x22});
         // Names at 0 and 119, events from 16 and 135; macro 3's name at 237,
         // its events from 253: two clicks, then the key press at 255.
         PutGoldenMacros(
             m, {{"AAAA", clicks}, {"BBBB", waits}, {"DDDD", {0xA4, 0x24, 0x82, 0x07, 0x02, 0x07}}},
             {{1, 4, 2}});
       }},
  };
}

}  // namespace korvex48::testing
