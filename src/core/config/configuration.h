#pragma once
// The mouse's configuration as one typed value: what each button of the three
// profiles does, the DPI levels, the report rate, the lighting, the active
// profile and the device macros. The image codecs (image_codec.h) turn it into
// the image bytes and back; the text form (config_text.h) is its readable
// twin. Bytes the system keeps without interpreting them (identifiers, the
// text, the low bits of byte 6, checksums) are not part of it: encoding lays
// the typed fields over an image that holds them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/buttons/key_codes.h"
#include "core/common/bytes.h"
#include "core/image/config_image.h"

namespace korvex48 {

enum class FunctionKind {
  kNone,            // code 00000000: the button does nothing
  kMenuEntry,       // a fixed code of the button menus (mouse buttons, special,
                    // media, WWW and PC functions): `menu_tag`
  kKeyCombination,  // type 02: `modifiers`, `keys`
  kFireKey,         // type 06: `fire_key` 1..3 as the identity counts name it, `fire`
  kAimKey,          // type 05: `aim_index`, the DPI value index 0..11
  kDeviceMacro,     // type 10: `macro`, an index into Configuration::macros
  kCode,            // any other code, kept as its four bytes
};

struct ButtonFunction {
  FunctionKind kind = FunctionKind::kNone;
  int menu_tag = 0;
  std::uint8_t modifiers = 0;          // bit 0 Ctrl, 1 Shift, 2 Alt, 3 Win
  std::array<std::uint8_t, 2> keys{};  // HID usages, 0 = none
  int fire_key = 0;
  FireKeySettings fire;  // repeat 1..15, delay 0..4094
  int aim_index = 0;
  std::size_t macro = 0;
  KeyCodeBytes code{};

  friend bool operator==(const ButtonFunction&, const ButtonFunction&) = default;
};

inline constexpr int kDpiLevelSlots = 8;
inline constexpr int kLightColourCount = 7;

struct DpiLevel {
  // Value index 0..11 in the DPI value list (200 .. 6400); 15 = no value.
  std::uint8_t value_index = 0;
  std::array<std::uint8_t, 3> colour{};  // red, green, blue, 0..15 each

  friend bool operator==(const DpiLevel&, const DpiLevel&) = default;
};

enum class LedKind { kRgb, kSync, kNt };

// The kind of bits 7-6 of parameter byte 37: 0 RGB, 1 Sync, 2 and 3 NT.
LedKind LedKindOfBits(std::uint8_t bits);

struct Lighting {
  LedKind kind = LedKind::kNt;
  std::uint8_t mode = 0;       // 0 Off, 1..5 LED1..LED5 (0..15 as stored)
  std::uint8_t fall_time = 0;  // the step time byte (the pages' steps write 5..50)
  // Colour 1..7 as stored, one byte per component.
  std::array<std::array<std::uint8_t, 3>, kLightColourCount> colours{};

  friend bool operator==(const Lighting&, const Lighting&) = default;
};

struct DeviceMacro {
  std::string name;  // UTF-8, 1..8 UTF-16 code units
  Bytes events;      // the event bytes, without the end byte

  friend bool operator==(const DeviceMacro&, const DeviceMacro&) = default;
};

using ProfileButtons = std::array<ButtonFunction, kButtonsPerProfile>;

struct Configuration {
  StorageLayout storage = StorageLayout::kPacked;
  int active_profile = 1;  // 1..3
  std::array<ProfileButtons, kProfileCount> profiles{};
  // The repeat counts (1..16) that tell Fire Key1 and Fire Key2 apart: a
  // fire code with Fire Key1's count is Fire Key1, else with Fire Key2's
  // Fire Key2, else Fire Key3.
  std::array<int, 2> fire_identity_counts{1, 1};
  int dpi_level_count = 1;   // 1..8
  int dpi_active_level = 1;  // 1..8
  std::array<DpiLevel, kDpiLevelSlots> dpi_levels{};
  int report_rate_hz = 1000;  // 125, 250, 500, 1000
  Lighting lighting;
  std::vector<DeviceMacro> macros;

  friend bool operator==(const Configuration&, const Configuration&) = default;
};

// "packed", "slot" or "none": the storage kinds as the text form names them.
std::string StorageLayoutName(StorageLayout layout);

}  // namespace korvex48
