#pragma once
// The settings of the parameter section as the pages show them: the DPI
// levels, the report rate, the lighting and the active profile, typed. The
// page editor keeps one such value; the pages render it and change it only
// through the editor's operations.
//
// It is not a plain decode of the bytes (that is Configuration): taking an
// image in follows the pages' rules (a level whose value nibble is 15 keeps
// the value it showed, the step time is shown as one of ten steps, a mode the
// LED kind does not offer chooses nothing), and a profile save writes what
// the pages show back into the parameter section with the rules of
// EncodeSettingsForSave. The step time is the mouse's byte, as in
// Configuration: the page shows it as a step (StepOfFallTime) and a save
// keeps the byte unless a step was chosen.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/config/configuration.h"
#include "core/image/config_image.h"

namespace korvex48 {

// DpiLevel::value_index of a level that shows no value.
inline constexpr std::uint8_t kNoDpiValue = 0x0F;

struct PageSettings {
  int active_profile = 1;    // 1..3; 0 when byte 33 names none
  int dpi_level_count = 8;   // 1..8
  int dpi_active_level = 0;  // 1..8; 0 when byte 38 names none
  // Per level the value the page shows, which is also what the level gives
  // its pair's byte when either level of the pair is written: 0..11 a value
  // of the list, kNoDpiValue none, 12..14 a nibble outside the list (shown
  // without a value). Colours are the nibbles 0..15.
  std::array<DpiLevel, kDpiLevelSlots> dpi_levels = [] {
    std::array<DpiLevel, kDpiLevelSlots> levels{};
    for (DpiLevel& l : levels) l.value_index = kNoDpiValue;
    return levels;
  }();
  int report_rate_hz = 0;  // 125, 250, 500 or 1000; 0 when none is chosen
  // The LED kind is known from an image taken in; not after the mouse left.
  bool led_kind_known = false;
  // kind; mode 0..15 as chosen (the page chooses it only when the kind offers
  // it); fall_time the step time byte as taken in (FallTimeOfSection), or
  // 5 x the step chosen (5..50); the seven colours as stored.
  Lighting lighting;

  friend bool operator==(const PageSettings&, const PageSettings&) = default;
};

// Whether LED mode 0..5 is offered for the kind: RGB all six, Sync Off, LED1
// and LED2, NT all but LED4.
bool LightingModeOffered(LedKind kind, int mode);
// Whether the LED kind takes colours (DPI level and light colours): RGB and
// NT do, Sync does not.
bool LedKindHasColours(LedKind kind);
// "RGB", "Sync", "NT".
std::string LedKindName(LedKind kind);
// The shown LED kind's name; empty while the kind is not known.
std::string LedKindText(const PageSettings& settings);
// Whether `mode` is the chosen one: the mode taken in or clicked, when the
// kind offers it (the choice stays while the mouse is away).
bool LightingModeChosen(const PageSettings& settings, int mode);

// Step 1..10 a step-time byte is shown as: 1 up to 5, then one step per 5,
// 10 above 45.
int StepOfFallTime(std::uint8_t value);

// The nibble a level gives its pair's byte in a live write: its value index,
// 0xF for a level with no value of the list.
std::uint8_t DpiPairNibble(std::uint8_t value_index);

// The settings showing `parameters` leaves, after `shown` was shown: a DPI
// level whose nibble is 15 keeps the value `shown` gave it.
PageSettings PageSettingsOf(const ParameterSection& parameters, const PageSettings& shown);

// Writes `settings` into the parameter section as a profile save does. Only
// bytes 6 (bits 5-4), 33, 37, 38..42, 52..86 can change:
// What the section holds stays wherever the settings show what it holds, so
// that the save of an untouched mouse is the mouse's bytes:
// - 38 from the level count (clamped to 1..8) and the active level; kept
//   when no level is active or both are those the section gives;
// - 39..42: a level's value index 0..11, 0xF for no value; the nibble the
//   section holds for 12..14, and 0xF where the section holds 0xF (the value
//   such a level shows is the one it showed before, not the mouse's);
// - 75..86: the colour nibbles (taken modulo 16);
// - 6, bits 5-4: the report rate; kept when none is chosen;
// - 37 by LED kind when it is known, offers the mode and the mode is not the
//   section's: RGB the mode alone, Sync 0x40 + mode, NT the high nibble
//   kept; kept otherwise;
// - 52, 53: as EncodeFallTime: kept while byte 53 holds the step time shown
//   (an untouched mouse's bytes, also 60 or two that differ, stay), else
//   both the step time;
// - 54..74: the light colours;
// - 33: the active profile - 1 for 1..3, kept otherwise.
void EncodeSettingsForSave(const PageSettings& settings, ParameterSection& parameters);

}  // namespace korvex48
