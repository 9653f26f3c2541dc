#pragma once
// The rules of giving buttons functions across the three profiles, as pure
// operations on the code table and the label texts. Nothing here talks to the
// mouse: each operation returns the profile-section writes (in sending order)
// and parameter writes for the caller to store in the page copy and, while
// live, send.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/buttons/key_code_table.h"

namespace korvex48 {

// The names the rules compare labels and code names with, in the active
// language. An empty name (missing text) never matches anything.
struct ButtonRuleNames {
  std::string leftKey;    // Str210 "Left Key"
  std::string switchKey;  // Str242 "KB Switch Key"
  std::string resetKey;   // Str245 "KB Reset Key"
  static ButtonRuleNames FromLanguage(const TextLookup& text);
};

// Which of the twelve labels of `profile` can be clicked, from the names of
// the profile's codes: profile 1 all but the reset keys, profile 2 all but the
// switch and reset keys, profile 3 none.
std::array<bool, kKeyButtons> ClickableButtons(int profile, const ButtonTexts& codeNames,
                                               const ButtonRuleNames& names);

// True when button 1..12 is the only label showing the left-key name: such a
// button keeps its function (the last Left Key of a profile stays).
bool IsLastLeftKey(const ButtonTexts& labels, int button, const ButtonRuleNames& names);

struct AssignmentResult {
  bool accepted = false;
  ButtonTexts labels;                    // the labels after the operation
  std::vector<ProfileByteWrite> writes;  // store and live-write, in this order
};

// A function chosen from the menu for `button` of the selected profile.
// `labels` are the texts shown before the choice; `name` is the entry's name.
// Refused (labels and table unchanged) when the button holds the last Left
// Key, or in profile 3, which is never edited. In profile 1, when the switch
// key is given or taken away, the code is copied to the button in profiles 2
// and 3 as well (writes for profiles 1, 2, 3).
AssignmentResult AssignMenuFunction(KeyCodes& codes, int selectedProfile, int button,
                                    const ButtonTexts& labels, std::string_view name,
                                    std::string_view code, const ButtonRuleNames& names);

// A key combination from the dialog or a device macro from the list, for
// `button` of profile 1 or 2: refused when the button holds the last Left
// Key; nothing is copied to other profiles.
AssignmentResult AssignDirectFunction(KeyCodes& codes, int selectedProfile, int button,
                                      const ButtonTexts& labels, std::string_view name,
                                      std::string_view code, const ButtonRuleNames& names);

// ---- Profile selection --------------------------------------------------------

inline constexpr std::size_t kActiveProfileParameterOffset = 33;

struct ProfileSelection {
  bool selected = false;
  std::string_view messageKey;         // shown when refused: Str022, Str020 or Str021; "" for none
  std::uint8_t activeProfileByte = 0;  // parameter byte 33: store and live-write when selected
  bool overlayShown = false;           // the overlay over the buttons (profile 3)
  // The KB Switch Key menu entry: allowed by profile 1, disallowed by profile
  // 2, unchanged otherwise.
  std::optional<bool> switchEntryAllowed;
};

// The page commands Main Control (1), Alternate Key (2) and Reset Control (3).
// Nothing happens while the page waits for the mouse to be read again
// (`noDevicePage`); without an open device Str022 is shown. Profile 2 needs a
// switch key in profile 1, profile 3 a reset key in profile 2.
ProfileSelection SelectProfile(int profile, bool deviceOpen, bool noDevicePage,
                               const KeyCodes& codes, const KeyNameSources& sources,
                               const ButtonRuleNames& names);

// ---- Macro codes across a device-macro deletion -------------------------------

// A button of profile 1, 2 or 3 whose code names a device macro, with that name.
struct MacroCodeMark {
  int profile = 1;
  int button = 1;
  std::string macroName;
};

// Before a device macro is deleted: every button of the three profiles whose
// code names one of the present macros (names from `before`, the macro table
// as it is now). Unlike marks taken from the label texts, this also keeps the
// codes of the profiles that are not shown, of buttons whose label shows
// something else, and of profile 3 (which the user cannot edit, but the mouse
// still plays) from pointing at a moved or deleted macro, or into a name.
std::vector<MacroCodeMark> MarkMacroCodes(const KeyCodes& codes, const KeyNameSources& before);

struct MacroCodeRelinkResult {
  std::vector<ProfileByteWrite> writes;       // in button order, profile 1, 2, 3
  std::vector<std::pair<int, int>> fellBack;  // (profile, button) given the fallback
};

// After the macro area was parsed again: each marked code points at the macro
// of the same name in `after` (the last of equal names), or, when that macro
// is gone, the button gets its fallback function. The caller shows the
// selected profile again to update the labels.
MacroCodeRelinkResult RelinkMarkedMacroCodes(KeyCodes& codes, std::span<const MacroCodeMark> marks,
                                             std::span<const DeviceMacroRef> after);

// Fallback function of button 1..12 when its macro is deleted: the code, and
// the name it shows ("Win+D" for button 8, otherwise the menu entry's name).
std::string FallbackCode(int button);
std::string FallbackName(int button, const TextLookup& text);

}  // namespace korvex48
