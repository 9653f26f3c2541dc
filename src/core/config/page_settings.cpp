#include "core/config/page_settings.h"

#include <algorithm>

#include "core/config/image_codec.h"
#include "core/config/setting_values.h"
#include "core/image/parameter_fields.h"

namespace korvex48 {
namespace {

constexpr std::uint8_t kDpiValueCount = 12;

}  // namespace

bool LightingModeOffered(LedKind kind, int mode) {
  if (mode < 0 || mode > 5) return false;
  switch (kind) {
    case LedKind::kRgb:
      return true;
    case LedKind::kSync:
      return mode <= 2;
    case LedKind::kNt:
      return mode != 4;
  }
  return false;
}

bool LedKindHasColours(LedKind kind) { return kind != LedKind::kSync; }

std::string LedKindName(LedKind kind) {
  switch (kind) {
    case LedKind::kRgb:
      return "RGB";
    case LedKind::kSync:
      return "Sync";
    case LedKind::kNt:
      return "NT";
  }
  return {};
}

std::string LedKindText(const PageSettings& s) {
  return s.led_kind_known ? LedKindName(s.lighting.kind) : std::string();
}

bool LightingModeChosen(const PageSettings& s, int mode) {
  return s.lighting.mode == mode && LightingModeOffered(s.lighting.kind, mode);
}

int StepOfFallTime(std::uint8_t value) { return value <= 5 ? 1 : std::min((value + 4) / 5, 10); }

std::uint8_t DpiPairNibble(std::uint8_t value_index) {
  return value_index < kDpiValueCount ? value_index : kNoDpiValue;
}

PageSettings PageSettingsOf(const ParameterSection& p, const PageSettings& shown) {
  PageSettings s;
  s.active_profile = p[param::kActiveProfile] <= 2 ? p[param::kActiveProfile] + 1 : 0;
  s.dpi_level_count = std::min(param::DpiLevelCountOf(p), kDpiLevelSlots);
  const int active = param::CurrentDpiLevelOf(p);
  s.dpi_active_level = active <= kDpiLevelSlots ? active : 0;
  for (int level = 1; level <= kDpiLevelSlots; ++level) {
    const auto i = static_cast<std::size_t>(level - 1);
    const std::uint8_t index = param::DpiIndexOf(p, level);
    s.dpi_levels[i].value_index = index == kNoDpiValue ? shown.dpi_levels[i].value_index : index;
    for (int c = 0; c < 3; ++c)
      s.dpi_levels[i].colour[static_cast<std::size_t>(c)] = param::DpiColourOf(p, level, c);
  }
  s.report_rate_hz = ReportRateHz(param::ReportRateCodeOf(p) + 1);
  s.led_kind_known = true;
  s.lighting.kind = LedKindOfBits(param::LightingTypeBitsOf(p));
  s.lighting.mode = param::LightingModeOf(p);
  s.lighting.fall_time = FallTimeOfSection(p);
  for (int colour = 1; colour <= kLightColourCount; ++colour)
    for (int c = 0; c < 3; ++c)
      s.lighting.colours[static_cast<std::size_t>(colour - 1)][static_cast<std::size_t>(c)] =
          param::LightColourOf(p, colour, c);
  return s;
}

void EncodeSettingsForSave(const PageSettings& s, ParameterSection& p) {
  // What the mouse holds stays unless the pages show something else: a
  // count past 8 (shown as 8) is kept, as are bits the pages do not show.
  const PageSettings held = PageSettingsOf(p, s);
  if (s.dpi_active_level >= 1 && s.dpi_active_level <= kDpiLevelSlots &&
      (s.dpi_level_count != held.dpi_level_count || s.dpi_active_level != held.dpi_active_level))
    param::SetDpiLevels(p, std::clamp(s.dpi_level_count, 1, kDpiLevelSlots), s.dpi_active_level);
  for (int level = 1; level <= kDpiLevelSlots; ++level) {
    const DpiLevel& l = s.dpi_levels[static_cast<std::size_t>(level - 1)];
    // A nibble outside the list stays as the section holds it, and so does a
    // level the mouse holds no value for: the value it shows is the one it
    // showed before, which the mouse does not hold.
    if ((l.value_index < kDpiValueCount || l.value_index == kNoDpiValue) &&
        param::DpiIndexOf(p, level) != kNoDpiValue)
      param::SetDpiIndex(p, level, l.value_index);
    for (int c = 0; c < 3; ++c)
      param::SetDpiColour(p, level, c, l.colour[static_cast<std::size_t>(c)] & 0x0F);
  }
  if (const auto choice = ReportRateChoiceOfHz(s.report_rate_hz))
    param::SetReportRateCode(p, static_cast<std::uint8_t>(*choice - 1));
  const int mode = s.lighting.mode;
  if (s.led_kind_known && LightingModeChosen(s, mode) && mode != held.lighting.mode) {
    std::uint8_t& byte = p[param::kLighting];
    switch (s.lighting.kind) {
      case LedKind::kRgb:
        byte = static_cast<std::uint8_t>(mode);
        break;
      case LedKind::kSync:
        byte = static_cast<std::uint8_t>(0x40 + mode);
        break;
      case LedKind::kNt:
        byte = static_cast<std::uint8_t>((byte & 0xF0) | mode);
        break;
    }
  }
  EncodeFallTime(s.lighting.fall_time, p);
  for (int colour = 1; colour <= kLightColourCount; ++colour)
    for (int c = 0; c < 3; ++c)
      param::SetLightColour(
          p, colour, c,
          s.lighting.colours[static_cast<std::size_t>(colour - 1)][static_cast<std::size_t>(c)]);
  if (s.active_profile >= 1 && s.active_profile <= 3)
    p[param::kActiveProfile] = static_cast<std::uint8_t>(s.active_profile - 1);
}

}  // namespace korvex48
