#include "core/buttons/fire_aim.h"

#include <algorithm>

namespace korvex48 {
namespace {

std::string Text(const TextLookup& text, std::string_view key) {
  return text ? text(key) : std::string();
}

// Value of a digits-only field, saturated so long inputs cannot overflow;
// nullopt for an empty field.
std::optional<int> FieldValue(std::string_view text) {
  if (text.empty()) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = std::min(value * 10 + (c - '0'), 1000000);
  }
  return value;
}

}  // namespace

void LoadFireSettings(const KeyCodeNaming& naming, FireKeyTable& fire) {
  if (!naming.fire || naming.fire->fireKey < 1 || naming.fire->fireKey > 3) return;
  fire[static_cast<std::size_t>(naming.fire->fireKey - 1)] = naming.fire->settings;
}

FireKeyTable RefreshFireKey(const KeyCodes& codes, int activeProfile, const KeyNameSources& sources,
                            FireKeyTable current) {
  for (int p = 1; p <= kKeyProfiles; ++p) {
    for (const KeyCodeNaming& naming : DescribeProfile(codes, p, sources)) {
      LoadFireSettings(naming, current);
    }
  }
  for (const KeyCodeNaming& naming : DescribeProfile(codes, activeProfile, sources)) {
    LoadFireSettings(naming, current);
  }
  return current;
}

std::uint8_t FireCountsParameterByte(const FireKeyTable& fire) {
  const int first = std::clamp(fire[0].repeatCount, 1, 15) - 1;
  const int second = std::clamp(fire[1].repeatCount, 1, 15) - 1;
  return static_cast<std::uint8_t>(second * 16 + first);
}

FireKeyUpdate SettingFireKey(KeyCodes& codes, int activeProfile, const ButtonTexts& labels,
                             const FireKeyTable& fire, const TextLookup& text) {
  FireKeyUpdate update;
  if (activeProfile != 1 && activeProfile != 2) return update;
  if (activeProfile == 1) update.parameterByte1 = FireCountsParameterByte(fire);
  std::array<std::string, 3> fireNames;
  for (std::size_t f = 0; f < 3; ++f) fireNames[f] = Text(text, kFireKeyNameKeys[f]);
  for (int n = 1; n <= kKeyButtons; ++n) {
    const std::string& label = labels[static_cast<std::size_t>(n - 1)];
    for (std::size_t f = 0; f < 3; ++f) {
      if (fireNames[f].empty() || label != fireNames[f]) continue;
      update.writes.push_back(*codes.Set(activeProfile, n, KeyCodeToText(FireKeyCode(fire[f]))));
      break;
    }
  }
  return update;
}

std::string NormalizeRepeatField(std::string_view text) {
  const std::optional<int> value = FieldValue(text);
  if (text.empty() || (value && *value == 0)) return "1";
  if (value && *value > 15) return "15";
  return std::string(text);
}

std::string NormalizeDelayFieldOnLeave(std::string_view text) {
  const std::optional<int> value = FieldValue(text);
  if (text.empty()) return "0";
  if (value && *value > 4094) return "4094";
  return std::string(text);
}

int RefreshAimStep(const KeyCodes& codes, int activeProfile, const KeyNameSources& sources,
                   int currentStep) {
  const std::string aimName = Text(sources.text, kAimKeyNameKey);
  const ButtonTexts names = ProfileKeyNames(codes, activeProfile, sources);
  bool found = false;
  int step = currentStep;
  for (int n = 1; n <= kKeyButtons; ++n) {
    if (aimName.empty() || names[static_cast<std::size_t>(n - 1)] != aimName) continue;
    found = true;
    const std::uint8_t index = (*codes.Bytes(activeProfile, n))[1];
    // Indexes past the DPI value list have no value to show.
    if (index <= 11) step = index + 1;
  }
  return found ? step : 1;
}

AimKeyUpdate SettingAimKey(KeyCodes& codes, int activeProfile, const ButtonTexts& labels,
                           int aimStep, const TextLookup& text) {
  AimKeyUpdate update;
  update.aimStep = std::clamp(aimStep, 1, 12);
  const std::string aimName = Text(text, kAimKeyNameKey);
  if ((activeProfile == 1 || activeProfile == 2) && !aimName.empty()) {
    const std::string code = KeyCodeToText(AimKeyCode(update.aimStep));
    for (int n = 1; n <= kKeyButtons; ++n) {
      if (labels[static_cast<std::size_t>(n - 1)] == aimName) {
        update.writes.push_back(*codes.Set(activeProfile, n, code));
      }
    }
  }
  if (update.writes.empty()) {
    update.aimStep = 1;
    if (activeProfile == 1 || activeProfile == 2) {
      update.message = Text(text, "Str105") + Text(text, activeProfile == 1 ? "Str004" : "Str005");
    }
  }
  return update;
}

}  // namespace korvex48
