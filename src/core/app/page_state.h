#pragma once
// The page state that a profile save packs back into the parameter section.
// The GUI keeps this record in step with its controls (choices, value labels,
// hidden colour fields); the CLI fills it from the image it edits. Packing it
// is the only way the DPI, report-rate, lighting and profile choices of the
// pages reach the working image; live writes only reach the mouse.
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace korvex48 {

// The twelve DPI value texts, index 0..11 (language keys Str300..Str311).
using DpiValueTexts = std::array<std::string, 12>;

// "200", "400", ... "6400": the texts of the tables that ship.
const DpiValueTexts& DefaultDpiValueTexts();

struct PageState {
  // Number of enabled DPI levels, 1..8 (out-of-range values are clamped).
  int dpi_level_count = 8;
  // The checked choice rb_DPI1..rb_DPI8 as 1..8; 0 = none checked.
  int checked_dpi_level = 0;
  // lbl_DPI1Value..lbl_DPI8Value; empty = level unused.
  std::array<std::string, 8> dpi_value_texts;
  // edt_DPInColR/G/B for level n = index n-1, components [0]=R [1]=G [2]=B,
  // decimal text 0..15.
  std::array<std::array<std::string, 3>, 8> dpi_colour_texts;
  // rb_Rep1..rb_Rep4 as 1..4; 0 = none checked.
  int report_rate_choice = 0;
  // rb_Off = 0, rb_LED1..rb_LED5 = 1..5; -1 = none checked.
  int lighting_choice = -1;
  // Edt_ColkR/G/B for colour k = index k-1, [0]=R [1]=G [2]=B, decimal text.
  std::array<std::array<std::string, 3>, 7> lighting_colour_texts;
  // rb_1..rb_3 as 1..3; 0 = none checked.
  int active_profile = 1;
  // "RGB", "Sync", "NT", or empty when no image told the kind.
  std::string lighting_type;
  // Fall-time step 1..10; 0 = no step chosen.
  int fall_time_choice = 0;
};

// Packs `page` into the parameter section of the page copy. Only bytes 6
// (bits 5-4), 33, 37, 38..42, 52..86 can change; every other byte keeps its
// value. Contract for texts that hold no number, or a number out of range:
// - a DPI value text not among `dpi_texts` keeps its nibble; empty gives 0xF;
// - a DPI colour component is taken modulo 16 so it cannot spill into the
//   neighbouring level's nibble; a component with no number keeps its nibble;
// - a lighting colour component is taken modulo 256; no number keeps the byte;
// - no checked choice (DPI level, report rate, lighting mode, profile, fall
//   time) keeps the byte or bits it would set.
void PackPageState(const PageState& page, std::span<std::uint8_t, 104> parameter_section,
                   const DpiValueTexts& dpi_texts = DefaultDpiValueTexts());

// The reverse view, for callers without pages (the CLI, tests): the page
// state that showing `parameter_section` would leave, so that packing it
// again changes no byte that the pages would not change.
PageState PageStateFromParameters(std::span<const std::uint8_t, 104> parameter_section,
                                  const DpiValueTexts& dpi_texts = DefaultDpiValueTexts());

}  // namespace korvex48
