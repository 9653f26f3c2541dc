#pragma once
// The language tables lang1..lang3: texts by key ("Title", "Str004", ...),
// and the reverse lookup that finds the key of a text shown on screen.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/bytes.h"
#include "core/common/text.h"
#include "core/ui/table.h"

namespace korvex48 {

// One parsed language table. Cheap to copy (the parsed table is shared).
class LanguageTable {
 public:
  // An empty table: every Text() is "". Index 0.
  LanguageTable();

  // Parses the bytes of table `index` (1..3); keys are read from section
  // [lang<index>]. Fails (nullopt, reason in `error`) when the bytes cannot be
  // decoded (see DecodeLanguageText). A missing section is not a failure: all
  // texts are then empty.
  static std::optional<LanguageTable> Parse(ByteView bytes, int index,
                                            std::string* error = nullptr);
  // Parses the embedded resource lang<index>. Fails also when `index` is not
  // 1..3 or the resource is missing or empty.
  static std::optional<LanguageTable> LoadShipped(int index, std::string* error = nullptr);

  int Index() const { return index_; }
  // The text of `key` (case-insensitive) in section [lang<n>]; "" when absent.
  std::string Text(std::string_view key) const;
  // A TextLookup over this table that stays valid after this object is gone.
  TextLookup Lookup() const;
  // The whole parsed table (for checks of shipped tables).
  const Table& Raw() const { return *table_; }
  // "lang<n>", the section the texts are read from.
  std::string SectionName() const;

 private:
  LanguageTable(std::shared_ptr<const Table> table, int index);
  std::shared_ptr<const Table> table_;
  int index_ = 0;
};

// Reverse lookup ("find key of text"): for each table in order and, within it,
// for k = 0..600, compares the text of "Str" + k in plain decimal (no leading
// zeros: "Str5", never "Str005") with `text`, exactly and case-sensitively.
// Returns the key of the last match ("Str210"), or "" when none matches.
// An empty `text` matches nothing (absent keys read as empty).
// Keys written with leading zeros (Str002..Str099) are therefore never found.
std::string FindKeyOfText(const std::array<LanguageTable, 3>& tables, std::string_view text);

// The three tables of the program, loaded once.
class LanguageSet {
 public:
  // Loads lang1..lang3 from the embedded resources; nullopt when one fails.
  static std::optional<LanguageSet> LoadShipped(std::string* error = nullptr);
  explicit LanguageSet(std::array<LanguageTable, 3> tables) : tables_(std::move(tables)) {}

  // The table of language `index` (1..3); an empty table for other indexes.
  const LanguageTable& Get(int index) const;
  std::string FindKeyOfText(std::string_view text) const {
    return korvex48::FindKeyOfText(tables_, text);
  }
  const std::array<LanguageTable, 3>& Tables() const { return tables_; }

 private:
  std::array<LanguageTable, 3> tables_;
};

}  // namespace korvex48
