#include "core/ui/language.h"

#include <vector>

#include "core/common/resources.h"
#include "core/ui/language_text.h"

namespace korvex48 {
namespace {

std::string LangSection(int index) { return "lang" + std::to_string(index); }

// Keys of the reverse lookup run over Str0..Str600.
constexpr int kLastReverseKey = 600;

}  // namespace

LanguageTable::LanguageTable() : table_(std::make_shared<const Table>()) {}

LanguageTable::LanguageTable(std::shared_ptr<const Table> table, int index)
    : table_(std::move(table)), index_(index) {}

std::optional<LanguageTable> LanguageTable::Parse(ByteView bytes, int index, std::string* error) {
  std::optional<std::string> text = DecodeLanguageText(bytes, error);
  if (!text) return std::nullopt;
  auto table = std::make_shared<const Table>(Table::FromLines(TokenizeLanguageText(*text)));
  return LanguageTable(std::move(table), index);
}

std::optional<LanguageTable> LanguageTable::LoadShipped(int index, std::string* error) {
  auto fail = [&](const std::string& why) -> std::optional<LanguageTable> {
    if (error != nullptr) *error = why;
    return std::nullopt;
  };
  if (index < 1 || index > 3) return fail("no language " + std::to_string(index));
  std::string name = LangSection(index);
  ByteView bytes = CoreResource(name);
  if (bytes.empty()) return fail("resource " + name + " is missing");
  std::string why;
  std::optional<LanguageTable> table = Parse(bytes, index, &why);
  if (!table) return fail(name + ": " + why);
  return table;
}

std::string LanguageTable::SectionName() const { return LangSection(index_); }

std::string LanguageTable::Text(std::string_view key) const {
  return table_->Value(SectionName(), key);
}

TextLookup LanguageTable::Lookup() const {
  return [table = table_, section = SectionName()](std::string_view key) {
    return table->Value(section, key);
  };
}

std::string FindKeyOfText(const std::array<LanguageTable, 3>& tables, std::string_view text) {
  std::string found;
  if (text.empty()) return found;
  static const std::vector<std::string> kKeys = [] {
    std::vector<std::string> keys;
    for (int k = 0; k <= kLastReverseKey; ++k) keys.push_back("Str" + std::to_string(k));
    return keys;
  }();
  for (const LanguageTable& table : tables) {
    const std::string section = table.SectionName();
    for (const std::string& key : kKeys) {
      std::optional<std::string> value = table.Raw().Find(section, key);
      if (value && *value == text) found = key;
    }
  }
  return found;
}

std::optional<LanguageSet> LanguageSet::LoadShipped(std::string* error) {
  std::array<LanguageTable, 3> tables;
  for (int i = 1; i <= 3; ++i) {
    std::optional<LanguageTable> table = LanguageTable::LoadShipped(i, error);
    if (!table) return std::nullopt;
    tables[i - 1] = std::move(*table);
  }
  return LanguageSet(std::move(tables));
}

const LanguageTable& LanguageSet::Get(int index) const {
  static const LanguageTable kEmpty;
  if (index < 1 || index > 3) return kEmpty;
  return tables_[index - 1];
}

}  // namespace korvex48
