#pragma once
// Reading required decimal keys of the settings and layout tables with a
// message that names the table and the key, in the words of a conversion
// error ("'abc' is not a valid integer value").
#include <climits>
#include <string>
#include <string_view>

#include "core/ui/table.h"

namespace korvex48 {

class TableNumberReader {
 public:
  // `table_name` is used in messages only; keys are read from `section`.
  TableNumberReader(const Table& table, std::string table_name, std::string section,
                    std::string* error)
      : table_(table),
        table_name_(std::move(table_name)),
        section_(std::move(section)),
        error_(error) {}

  // Stores the key's value in `out` when it is present, decimal and inside
  // [min, max]; otherwise fills the error and returns false.
  bool Read(std::string_view key, int& out, int min = INT_MIN, int max = INT_MAX) const {
    std::optional<std::string> text = table_.Find(section_, key);
    if (!text) return Fail(key, "key is missing");
    std::optional<int> value = ParseDecimal(*text);
    if (!value) return Fail(key, "'" + *text + "' is not a valid integer value");
    if (*value < min || *value > max) {
      return Fail(key, std::to_string(*value) + " is outside " + std::to_string(min) + ".." +
                           std::to_string(max));
    }
    out = *value;
    return true;
  }

 private:
  bool Fail(std::string_view key, const std::string& why) const {
    if (error_ != nullptr) *error_ = table_name_ + ": " + std::string(key) + ": " + why;
    return false;
  }
  const Table& table_;
  std::string table_name_;
  std::string section_;
  std::string* error_;
};

}  // namespace korvex48
