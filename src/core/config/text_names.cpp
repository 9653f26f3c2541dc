#include "core/config/text_names.h"

#include "core/buttons/key_codes.h"
#include "core/common/text.h"
#include "core/ui/language.h"

namespace korvex48 {
namespace {

constexpr int kAimTag = 1001;
constexpr int kFirstFireTag = 1500;

const TextLookup& FirstLanguage() {
  static const TextLookup lookup = [] {
    const std::optional<LanguageTable> table = LanguageTable::LoadShipped(1);
    return table ? table->Lookup() : TextLookup([](std::string_view) { return std::string(); });
  }();
  return lookup;
}

}  // namespace

FunctionNames::FunctionNames() {
  const TextLookup& text = FirstLanguage();
  for (const KeyMenuItem& item : KeyMenuItems()) {
    std::string name = text(item.nameKey);
    if (name.empty()) name = std::string(item.objectName);
    names_.emplace_back(item.tag, name);
    all_.push_back(name);
  }
  all_.push_back("None");
}

const FunctionNames& FunctionNames::Get() {
  static const FunctionNames names;
  return names;
}

std::optional<int> FunctionNames::TagOf(std::string_view name) const {
  for (const auto& [tag, text] : names_)
    if (EqualIgnoringAsciiCase(text, name)) return tag;
  for (const KeyMenuItem& item : KeyMenuItems())
    if (EqualIgnoringAsciiCase(item.objectName, name)) return item.tag;
  return std::nullopt;
}

std::string FunctionNames::NameOf(int tag) const {
  for (const auto& [t, text] : names_)
    if (t == tag) return text;
  return {};
}

bool IsFireKeyTag(int tag) { return tag >= kFirstFireTag && tag < kFirstFireTag + 3; }
int FireKeyOfTag(int tag) { return tag - kFirstFireTag + 1; }
int FireKeyTag(int fire_key) { return kFirstFireTag + fire_key - 1; }
bool IsAimKeyTag(int tag) { return tag == kAimTag; }
int AimKeyTag() { return kAimTag; }

std::string KeyCombinationName(std::uint8_t modifiers, const std::array<std::uint8_t, 2>& keys) {
  KeyNameSources sources;
  sources.text = FirstLanguage();
  const KeyCodeBytes code{static_cast<std::uint8_t>(KeyFunctionType::kKeyboard), modifiers, keys[0],
                          keys[1]};
  return KeyCodeName(KeyCodeToText(code), sources);
}

}  // namespace korvex48
