#pragma once
// The names button functions have in the text form: those of the menu
// entries in the first language table, whatever language the editor shows,
// so that a file reads the same everywhere.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex48 {

class FunctionNames {
 public:
  // The names of the shipped first language; loaded once.
  static const FunctionNames& Get();

  // The menu entry named `name` (case does not matter) or by its object name
  // ("Key_Right"); nullopt for none.
  std::optional<int> TagOf(std::string_view name) const;
  // The name of a menu entry; "" for an unknown tag.
  std::string NameOf(int tag) const;
  // Every entry's name, for suggestions.
  const std::vector<std::string>& All() const { return all_; }

 private:
  FunctionNames();
  std::vector<std::pair<int, std::string>> names_;
  std::vector<std::string> all_;
};

// The menu entries whose codes carry settings.
bool IsFireKeyTag(int tag);
int FireKeyOfTag(int tag);  // 1..3
int FireKeyTag(int fire_key);
bool IsAimKeyTag(int tag);
int AimKeyTag();

// The name the pages give a key-combination code ("Ctrl+Shift+A").
std::string KeyCombinationName(std::uint8_t modifiers, const std::array<std::uint8_t, 2>& keys);

}  // namespace korvex48
