#include "core/ui/table.h"

#include <cctype>

namespace korvex48 {
namespace {

const std::vector<TableEntry> kNoEntries;

}  // namespace

std::string FoldCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string_view TrimBlanks(std::string_view s) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::optional<int> ParseDecimal(std::string_view s) {
  bool negative = false;
  if (!s.empty() && s.front() == '-') {
    negative = true;
    s.remove_prefix(1);
  }
  // Nine digits keep every value inside int without overflow checks.
  if (s.empty() || s.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

Table Table::FromLines(const std::vector<std::string>& lines) {
  Table table;
  Section* current = nullptr;
  for (const std::string& raw : lines) {
    std::string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      std::string_view name = TrimBlanks(line.substr(1, line.size() - 2));
      auto [it, added] = table.section_index_.try_emplace(FoldCase(name), table.sections_.size());
      if (added) table.sections_.push_back(Section{std::string(name), {}, {}});
      current = &table.sections_[it->second];
      continue;
    }
    if (current == nullptr) continue;  // before the first section
    TableEntry entry;
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || line.starts_with("//")) {
      entry.key = std::string(line);
    } else {
      entry.key = std::string(TrimBlanks(line.substr(0, eq)));
      entry.value = std::string(TrimBlanks(line.substr(eq + 1)));
      entry.has_value = true;
    }
    current->entries.push_back(entry);
    if (entry.has_value) current->last[FoldCase(entry.key)] = current->entries.size() - 1;
  }
  return table;
}

Table Table::FromText(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return FromLines(lines);
}

const Table::Section* Table::FindSection(std::string_view section) const {
  auto it = section_index_.find(FoldCase(section));
  return it == section_index_.end() ? nullptr : &sections_[it->second];
}

bool Table::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

std::optional<std::string> Table::Find(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return std::nullopt;
  auto it = s->last.find(FoldCase(key));
  if (it == s->last.end()) return std::nullopt;
  return s->entries[it->second].value;
}

std::string Table::Value(std::string_view section, std::string_view key) const {
  return Find(section, key).value_or(std::string());
}

const std::vector<TableEntry>& Table::Entries(std::string_view section) const {
  const Section* s = FindSection(section);
  return s == nullptr ? kNoEntries : s->entries;
}

std::vector<std::string> Table::SectionNames() const {
  std::vector<std::string> names;
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}

}  // namespace korvex48
