#include "core/buttons/assembly_key.h"

#include "core/buttons/key_codes.h"
#include "core/buttons/keyboard_keys.h"

namespace korvex48 {
namespace {

constexpr std::array<std::string_view, 4> kModifierNames = {"Ctrl", "Shift", "Alt", "Win"};
constexpr std::array<std::uint8_t, 4> kModifierBits = {kModifierCtrl, kModifierShift, kModifierAlt,
                                                       kModifierWin};

bool IsWindowsKey(int virtualKey) { return virtualKey == 0x5B || virtualKey == 0x5C; }

bool IsShiftKey(int virtualKey) {
  return virtualKey == 0x10 || virtualKey == 0xA0 || virtualKey == 0xA1;
}
bool IsCtrlKey(int virtualKey) {
  return virtualKey == 0x11 || virtualKey == 0xA2 || virtualKey == 0xA3;
}
bool IsAltKey(int virtualKey) {
  return virtualKey == 0x12 || virtualKey == 0xA4 || virtualKey == 0xA5;
}

// Removes the first occurrence of `part` from `text`, if any.
void EraseFirst(std::string& text, std::string_view part) {
  const std::size_t at = text.find(part);
  if (at != std::string::npos) text.erase(at, part.size());
}

}  // namespace

std::string_view AssemblyModifierName(AssemblyModifier m) {
  return kModifierNames[static_cast<std::size_t>(m)];
}

std::string AssemblyKeyModel::ModifierText() const {
  std::string text;
  for (std::size_t i = 0; i < ticked_.size(); ++i) {
    if (!ticked_[i]) continue;
    if (!text.empty()) text += '+';
    text += kModifierNames[i];
  }
  return text;
}

std::uint8_t AssemblyKeyModel::ModifierByte() const {
  std::uint8_t byte = 0;
  for (std::size_t i = 0; i < ticked_.size(); ++i)
    if (ticked_[i]) byte = static_cast<std::uint8_t>(byte | kModifierBits[i]);
  return byte;
}

void AssemblyKeyModel::KeyDown(int virtualKey, bool shiftHeld, bool altHeld, bool ctrlHeld) {
  if (key_count_ >= 2) {
    keys_text_.clear();
    first_usage_ = 0;
    second_usage_ = 0;
    key_count_ = 0;
    field_ = ModifierText();
  }
  // A modifier key is held down while its own press is reported.
  shiftHeld = shiftHeld || IsShiftKey(virtualKey);
  ctrlHeld = ctrlHeld || IsCtrlKey(virtualKey);
  altHeld = altHeld || IsAltKey(virtualKey);
  if (IsWindowsKey(virtualKey) || shiftHeld || altHeld || ctrlHeld) return;

  const std::string_view name = VirtualKeyName(virtualKey);
  field_ = field_.empty() ? std::string(name) : field_ + "+" + std::string(name);
  if (key_count_ == 0) {
    keys_text_ = name;
    first_usage_ = VirtualKeyToUsage(virtualKey);
  } else {
    keys_text_ += "+" + std::string(name);
    second_usage_ = VirtualKeyToUsage(virtualKey);
  }
  ++key_count_;
}

void AssemblyKeyModel::SetModifier(AssemblyModifier m, bool ticked) {
  ticked_[static_cast<std::size_t>(m)] = ticked;
  if (ticked) {
    const std::string modifiers = ModifierText();
    field_ = key_count_ == 0 ? modifiers : modifiers + "+" + keys_text_;
    return;
  }
  if (field_.empty()) return;
  const std::string name(AssemblyModifierName(m));
  if (field_.starts_with(name)) {
    if (field_ == name)
      field_.clear();
    else
      EraseFirst(field_, name + "+");
  } else {
    EraseFirst(field_, "+" + name);
  }
}

void AssemblyKeyModel::Clear() { *this = AssemblyKeyModel(); }

AssemblyResult AssemblyKeyModel::Confirm() const {
  return {field_, KeyCodeToText({static_cast<std::uint8_t>(KeyFunctionType::kKeyboard),
                                 ModifierByte(), first_usage_, second_usage_})};
}

}  // namespace korvex48
