#include "core/config/config_diff.h"

#include "core/config/config_text.h"
#include "core/config/macro_text.h"
#include "core/config/setting_values.h"
#include "core/macros/macro_names.h"

namespace korvex48 {
namespace {

std::string FunctionText(const ButtonFunction& f, const std::vector<DeviceMacro>& macros) {
  std::string text = EscapeControlCharacters(ButtonFunctionName(f, macros));
  if (f.kind == FunctionKind::kFireKey) {
    text += " (count " + std::to_string(f.fire.repeatCount) + ", delay " +
            std::to_string(f.fire.delay) + " ms" + (f.fire.continuous ? ", continuous)" : ")");
  } else if (f.kind == FunctionKind::kAimKey && f.aim_index < 12) {
    text += " (" + std::to_string(DpiValueOfIndex(f.aim_index)) + " dpi)";
  }
  return text;
}

std::string DpiText(std::uint8_t index) {
  if (index < 12) return std::to_string(DpiValueOfIndex(index));
  if (index == 0x0F) return "none";
  return "index " + std::to_string(index);
}

template <typename T>
std::string Rgb(const T& rgb) {
  return std::to_string(rgb[0]) + "," + std::to_string(rgb[1]) + "," + std::to_string(rgb[2]);
}

std::string KindText(LedKind k) {
  return k == LedKind::kRgb ? "RGB" : k == LedKind::kSync ? "Sync" : "NT";
}

std::string MacroText(const DeviceMacro& m) {
  return "\"" + EscapeControlCharacters(m.name) + "\"";
}

}  // namespace

std::vector<std::string> ConfigurationDifferences(const Configuration& a, const Configuration& b) {
  std::vector<std::string> out;
  auto line = [&](const std::string& what, const std::string& from, const std::string& to) {
    if (from != to) out.push_back(what + ": " + from + " -> " + to);
  };
  line("storage", StorageLayoutName(a.storage), StorageLayoutName(b.storage));
  line("active profile", std::to_string(a.active_profile), std::to_string(b.active_profile));
  for (std::size_t p = 0; p < a.profiles.size(); ++p) {
    for (std::size_t k = 0; k < a.profiles[p].size(); ++k) {
      line("profile " + std::to_string(p + 1) + " button " + std::to_string(k + 1),
           FunctionText(a.profiles[p][k], a.macros), FunctionText(b.profiles[p][k], b.macros));
    }
  }
  line(
      "fire key counts",
      std::to_string(a.fire_identity_counts[0]) + ", " + std::to_string(a.fire_identity_counts[1]),
      std::to_string(b.fire_identity_counts[0]) + ", " + std::to_string(b.fire_identity_counts[1]));
  line("dpi levels", std::to_string(a.dpi_level_count), std::to_string(b.dpi_level_count));
  line("dpi active level", std::to_string(a.dpi_active_level), std::to_string(b.dpi_active_level));
  for (std::size_t l = 0; l < a.dpi_levels.size(); ++l) {
    const std::string level = "dpi level " + std::to_string(l + 1);
    line(level, DpiText(a.dpi_levels[l].value_index), DpiText(b.dpi_levels[l].value_index));
    line(level + " colour", Rgb(a.dpi_levels[l].colour), Rgb(b.dpi_levels[l].colour));
  }
  line("report rate", std::to_string(a.report_rate_hz) + " Hz",
       std::to_string(b.report_rate_hz) + " Hz");
  line("lighting kind", KindText(a.lighting.kind), KindText(b.lighting.kind));
  line("lighting mode", std::to_string(a.lighting.mode), std::to_string(b.lighting.mode));
  line("lighting fall time", std::to_string(a.lighting.fall_time),
       std::to_string(b.lighting.fall_time));
  for (std::size_t i = 0; i < a.lighting.colours.size(); ++i) {
    line("lighting colour " + std::to_string(i + 1), Rgb(a.lighting.colours[i]),
         Rgb(b.lighting.colours[i]));
  }
  const std::size_t n = std::max(a.macros.size(), b.macros.size());
  for (std::size_t m = 0; m < n; ++m) {
    const std::string what = "macro " + std::to_string(m + 1);
    if (m >= a.macros.size()) {
      out.push_back(what + ": none -> " + MacroText(b.macros[m]));
    } else if (m >= b.macros.size()) {
      out.push_back(what + ": " + MacroText(a.macros[m]) + " -> none");
    } else {
      line(what, MacroText(a.macros[m]), MacroText(b.macros[m]));
      if (a.macros[m].events != b.macros[m].events) {
        out.push_back(what + " " + MacroText(b.macros[m]) + ": events " +
                      std::to_string(MacroEventLines(a.macros[m].events).size()) + " -> " +
                      std::to_string(MacroEventLines(b.macros[m].events).size()) +
                      " lines, changed");
      }
    }
  }
  return out;
}

}  // namespace korvex48
