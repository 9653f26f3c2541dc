#pragma once
// The key logic of the key-combination dialog (KeyCombinationDialog): up to two keys taken
// from the keyboard plus the modifiers ticked in its four boxes, shown as one
// text and handed back as a keyboard code (type 0x02). The dialog window only
// forwards key presses and box clicks here and shows FieldText().
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvex48 {

enum class AssemblyModifier { kCtrl = 0, kShift = 1, kAlt = 2, kWin = 3 };

// Box captions, in the fixed order of the modifier text: "Ctrl", "Shift",
// "Alt", "Win".
std::string_view AssemblyModifierName(AssemblyModifier m);

struct AssemblyResult {
  std::string text;  // what the field shows (possibly empty)
  std::string code;  // "02" + modifier byte + first usage + second usage
};

class AssemblyKeyModel {
 public:
  // A fresh dialog: empty field, no key, no box ticked.
  AssemblyKeyModel() = default;

  // A key pressed in the field (Windows virtual-key code; 0 or any code
  // outside the key table is taken as "None" with usage 0). With two keys
  // already taken the keys start over from the modifier text first. Then the
  // key is ignored when it is a Windows key, or when Shift, Alt or Ctrl is
  // held -- a Shift, Ctrl or Alt key itself counts as held.
  void KeyDown(int virtualKey, bool shiftHeld, bool altHeld, bool ctrlHeld);

  // A box clicked to `ticked`. Ticking shows modifier text + "+" + keys text;
  // unticking takes the modifier's name out of the field text.
  void SetModifier(AssemblyModifier m, bool ticked);
  bool Modifier(AssemblyModifier m) const { return ticked_[static_cast<std::size_t>(m)]; }

  // Clear: empty field, no key, no box ticked.
  void Clear();

  // Confirm: the field text and the code built from the boxes and the keys.
  AssemblyResult Confirm() const;

  const std::string& FieldText() const { return field_; }
  int KeyCount() const { return key_count_; }

 private:
  std::string ModifierText() const;
  std::uint8_t ModifierByte() const;

  std::string field_;
  std::string keys_text_;
  int key_count_ = 0;
  std::uint8_t first_usage_ = 0;
  std::uint8_t second_usage_ = 0;
  std::array<bool, 4> ticked_{};
};

}  // namespace korvex48
