#pragma once
// The line format shared by the language, settings and layout tables:
//   - every line is trimmed of blanks (any character up to U+0020);
//   - empty lines and lines starting with ";" are skipped;
//   - "[name]" opens a section; lines before the first section are ignored;
//   - any other line is "name=value", blanks around name and value removed;
//     a line without "=" or starting with "//" (a comment) is kept as an
//     entry without a value that matches no key;
//   - section names and keys are compared without regard to (ASCII) case;
//   - when a key occurs twice in a section the last occurrence wins.
// A section opened twice continues the earlier one.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korvex48 {

// One "name=value" line of a section, as written (only trimmed).
struct TableEntry {
  std::string key;
  std::string value;
  bool has_value = false;  // false for a line without "="
};

class Table {
 public:
  // Builds a table from lines that are already split (the language tokens or
  // the lines of an 8-bit text).
  static Table FromLines(const std::vector<std::string>& lines);
  // Splits 8-bit text at CR, LF or CR LF and applies the line rules.
  static Table FromText(std::string_view text);

  bool HasSection(std::string_view section) const;
  // The value of the last entry `key` of `section`; nullopt when absent.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  // As Find, but an empty string when absent.
  std::string Value(std::string_view section, std::string_view key) const;
  // Every entry of `section` in file order, duplicates included (for checks
  // of shipped tables); empty when the section is absent.
  const std::vector<TableEntry>& Entries(std::string_view section) const;
  // Section names in the order they were first opened, as written.
  std::vector<std::string> SectionNames() const;

 private:
  struct Section {
    std::string name;
    std::vector<TableEntry> entries;
    std::unordered_map<std::string, std::size_t> last;  // folded key -> entry index
  };
  const Section* FindSection(std::string_view section) const;
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> section_index_;  // folded name -> index
};

// ASCII lower-case copy, the folding used for section names and keys.
std::string FoldCase(std::string_view s);

// Trims characters up to U+0020 (blanks, tabs, line breaks, controls) on both ends.
std::string_view TrimBlanks(std::string_view s);

// Parses a decimal integer as the tables require: an optional "-" and 1..9
// digits, nothing else (no "+", no hex, no blanks). nullopt otherwise.
std::optional<int> ParseDecimal(std::string_view s);

}  // namespace korvex48
