#include "core/buttons/button_assignment.h"

#include <algorithm>

namespace korvex48 {
namespace {

bool Matches(std::string_view text, std::string_view ruleName) {
  return !ruleName.empty() && text == ruleName;
}

bool AnyMatches(const ButtonTexts& texts, std::string_view ruleName) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](const std::string& t) { return Matches(t, ruleName); });
}

bool ButtonInRange(int button) { return button >= 1 && button <= kKeyButtons; }

std::size_t Index(int value) { return static_cast<std::size_t>(value - 1); }

// Menu tag of each button's fallback function, buttons 1..12.
constexpr int kFallbackTags[kKeyButtons] = {900,  903,  1007, 1400, 901,  904,
                                            1008, 1103, 902,  1003, 1009, 1009};

AssignmentResult Refused(const ButtonTexts& labels) { return AssignmentResult{false, labels, {}}; }

}  // namespace

ButtonRuleNames ButtonRuleNames::FromLanguage(const TextLookup& text) {
  if (!text) return {};
  return {text(kLeftKeyNameKey), text(kSwitchKeyNameKey), text(kResetKeyNameKey)};
}

std::array<bool, kKeyButtons> ClickableButtons(int profile, const ButtonTexts& codeNames,
                                               const ButtonRuleNames& names) {
  std::array<bool, kKeyButtons> clickable{};
  if (profile != 1 && profile != 2) return clickable;
  for (std::size_t i = 0; i < clickable.size(); ++i) {
    clickable[i] = !Matches(codeNames[i], names.resetKey) &&
                   !(profile == 2 && Matches(codeNames[i], names.switchKey));
  }
  return clickable;
}

bool IsLastLeftKey(const ButtonTexts& labels, int button, const ButtonRuleNames& names) {
  if (!ButtonInRange(button) || !Matches(labels[Index(button)], names.leftKey)) return false;
  return std::count(labels.begin(), labels.end(), names.leftKey) == 1;
}

AssignmentResult AssignMenuFunction(KeyCodes& codes, int selectedProfile, int button,
                                    const ButtonTexts& labels, std::string_view name,
                                    std::string_view code, const ButtonRuleNames& names) {
  if ((selectedProfile != 1 && selectedProfile != 2) || !ButtonInRange(button) ||
      !KeyCodeFromText(code)) {
    return Refused(labels);
  }
  // A profile without any Left Key can still be edited; only taking away the
  // last one is refused.
  if (IsLastLeftKey(labels, button, names) && !Matches(name, names.leftKey)) {
    return Refused(labels);
  }
  AssignmentResult result{true, labels, {}};
  const std::string old = labels[Index(button)];
  result.labels[Index(button)] = std::string(name);
  result.writes.push_back(*codes.Set(selectedProfile, button, code));
  if (selectedProfile == 1 && (Matches(name, names.switchKey) || Matches(old, names.switchKey))) {
    // The switch key sits on the same button in every profile.
    result.writes.push_back(*codes.Set(2, button, code));
    result.writes.push_back(*codes.Set(3, button, code));
  }
  return result;
}

AssignmentResult AssignDirectFunction(KeyCodes& codes, int selectedProfile, int button,
                                      const ButtonTexts& labels, std::string_view name,
                                      std::string_view code, const ButtonRuleNames& names) {
  if ((selectedProfile != 1 && selectedProfile != 2) || !ButtonInRange(button) ||
      !KeyCodeFromText(code) || IsLastLeftKey(labels, button, names)) {
    return Refused(labels);
  }
  AssignmentResult result{true, labels, {}};
  result.labels[Index(button)] = std::string(name);
  result.writes.push_back(*codes.Set(selectedProfile, button, code));
  return result;
}

ProfileSelection SelectProfile(int profile, bool deviceOpen, bool noDevicePage,
                               const KeyCodes& codes, const KeyNameSources& sources,
                               const ButtonRuleNames& names) {
  ProfileSelection s;
  if (!deviceOpen) {
    s.messageKey = "Str022";
    return s;
  }
  if (noDevicePage) return s;
  switch (profile) {
    case 1:
      s.switchEntryAllowed = true;
      break;
    case 2:
      if (!AnyMatches(ProfileKeyNames(codes, 1, sources), names.switchKey)) {
        s.messageKey = "Str020";
        return s;
      }
      s.switchEntryAllowed = false;
      break;
    case 3:
      if (!AnyMatches(ProfileKeyNames(codes, 2, sources), names.resetKey)) {
        s.messageKey = "Str021";
        return s;
      }
      s.overlayShown = true;
      break;
    default:
      return s;
  }
  s.selected = true;
  s.activeProfileByte = static_cast<std::uint8_t>(profile - 1);
  return s;
}

std::vector<MacroCodeMark> MarkMacroCodes(const KeyCodes& codes, const KeyNameSources& before) {
  std::vector<MacroCodeMark> marks;
  for (int n = 1; n <= kKeyButtons; ++n) {
    for (int p = 1; p <= kKeyProfiles; ++p) {
      const std::optional<KeyCodeBytes> bytes = codes.Bytes(p, n);
      if (!bytes || (*bytes)[0] != static_cast<std::uint8_t>(KeyFunctionType::kMacro)) continue;
      std::string name = KeyCodeName(codes.Code(p, n), before);
      if (!name.empty()) marks.push_back({p, n, std::move(name)});
    }
  }
  return marks;
}

MacroCodeRelinkResult RelinkMarkedMacroCodes(KeyCodes& codes, std::span<const MacroCodeMark> marks,
                                             std::span<const DeviceMacroRef> after) {
  std::vector<MacroCodeMark> ordered(marks.begin(), marks.end());
  std::stable_sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) {
    return a.button != b.button ? a.button < b.button : a.profile < b.profile;
  });
  MacroCodeRelinkResult result;
  for (const MacroCodeMark& mark : ordered) {
    if (mark.profile < 1 || mark.profile > kKeyProfiles || !ButtonInRange(mark.button)) continue;
    std::string code;
    for (auto it = after.rbegin(); it != after.rend(); ++it) {
      if (it->name == mark.macroName) {
        code = KeyCodeToText({static_cast<std::uint8_t>(KeyFunctionType::kMacro),
                              static_cast<std::uint8_t>(it->address >> 8),
                              static_cast<std::uint8_t>(it->address & 0xFF), 0});
        break;
      }
    }
    if (code.empty()) {
      code = FallbackCode(mark.button);
      result.fellBack.emplace_back(mark.profile, mark.button);
    }
    result.writes.push_back(*codes.Set(mark.profile, mark.button, code));
  }
  return result;
}

std::string FallbackCode(int button) {
  if (!ButtonInRange(button)) return {};
  return KeyCodeForItem(kFallbackTags[Index(button)]);
}

std::string FallbackName(int button, const TextLookup& text) {
  if (!ButtonInRange(button)) return {};
  if (button == 8) return "Win+D";
  const KeyMenuItem* item = FindKeyMenuItem(kFallbackTags[Index(button)]);
  return text ? text(item->nameKey) : std::string();
}

}  // namespace korvex48
