#pragma once
// Fire keys and the AIM key: how their settings are read back from the codes
// of a profile and how a change of settings rewrites the codes of the active
// profile. Pure operations on the code table; the caller stores and sends the
// returned writes.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/buttons/key_code_table.h"

namespace korvex48 {

using FireKeyTable = std::array<FireKeySettings, 3>;  // Fire Key1..3

inline constexpr std::size_t kFireCountsParameterOffset = 1;

// Loads a fire code's settings into its fire key, as naming it does.
void LoadFireSettings(const KeyCodeNaming& naming, FireKeyTable& fire);

// The fire settings shown after an image is taken in: all 36 codes are named
// (profile 1, 2, 3) and then the active profile's fire codes again, in button
// order, so each fire key shows its last decoded code.
FireKeyTable RefreshFireKey(const KeyCodes& codes, int activeProfile, const KeyNameSources& sources,
                            FireKeyTable current);

// Parameter byte 1: (Fire Key2's count - 1) * 16 + (Fire Key1's count - 1),
// counts clamped to 1..15.
std::uint8_t FireCountsParameterByte(const FireKeyTable& fire);

struct FireKeyUpdate {
  // Profile 1 only: the new parameter byte 1. The caller stores it in the page
  // copy as well as sending it, and names fire codes with the counts it holds,
  // so that a saved image names its fire codes the way the mouse was told.
  std::optional<std::uint8_t> parameterByte1;
  std::vector<ProfileByteWrite> writes;  // buttons in order
};

// Rewrites the code of every button of the active profile (1 or 2) whose
// label shows a fire-key name from that fire key's settings. Profile 3: nothing.
FireKeyUpdate SettingFireKey(KeyCodes& codes, int activeProfile, const ButtonTexts& labels,
                             const FireKeyTable& fire, const TextLookup& text);

// Field rules. Repeat field on change: empty or 0 becomes "1", above 15 "15";
// otherwise the text is kept. Delay field on leaving: empty becomes "0", above
// 4094 "4094". Fields hold only digits.
std::string NormalizeRepeatField(std::string_view text);
std::string NormalizeDelayFieldOnLeave(std::string_view text);

// The AIM step (1..12) shown for the active profile: from byte 1 of the last
// AIM code among its buttons when that byte is 0..11; other values leave
// `currentStep` unchanged; no AIM key at all gives step 1.
int RefreshAimStep(const KeyCodes& codes, int activeProfile, const KeyNameSources& sources,
                   int currentStep);

struct AimKeyUpdate {
  int aimStep = 1;                       // the step to show
  std::vector<ProfileByteWrite> writes;  // buttons in order
  std::string message;                   // shown when not empty
};

// A step of the AIM DPI control chosen: every button of the active profile
// (1 or 2) whose label shows the AIM name gets the AIM code of `aimStep`. With
// no such button the display returns to step 1 and, in profiles 1 and 2, the
// message is Str105 followed directly by the profile's page name.
AimKeyUpdate SettingAimKey(KeyCodes& codes, int activeProfile, const ButtonTexts& labels,
                           int aimStep, const TextLookup& text);

}  // namespace korvex48
