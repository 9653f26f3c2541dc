#include "core/pointer/key_file.h"

#include <algorithm>

namespace korvex48 {
namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<KeyFile> KeyFile::Parse(ByteView data) {
  if (data.size() > kMaxBytes) return std::nullopt;
  if (std::find(data.begin(), data.end(), std::uint8_t{0}) != data.end()) return std::nullopt;
  KeyFile file;
  std::string group;
  std::size_t start = 0;
  while (start < data.size()) {
    std::size_t end = start;
    while (end < data.size() && data[end] != '\n') ++end;
    std::string_view text(reinterpret_cast<const char*>(data.data()) + start, end - start);
    Line line;
    line.ending = end < data.size() ? "\n" : "";
    if (!text.empty() && text.back() == '\r') {
      text.remove_suffix(1);
      line.ending = "\r" + line.ending;
    }
    line.text = std::string(text);
    const std::string_view t = Trim(text);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
      group = std::string(t.substr(1, t.size() - 2));
      line.is_group = true;
    } else if (!t.empty() && t.front() != '#' && t.front() != ';') {
      const std::size_t eq = t.find('=');
      if (eq != std::string_view::npos && eq > 0) {
        line.key = std::string(Trim(t.substr(0, eq)));
        line.value = std::string(Trim(t.substr(eq + 1)));
      }
    }
    line.group = group;
    file.lines_.push_back(std::move(line));
    start = end + 1;
  }
  return file;
}

std::optional<std::string> KeyFile::Get(std::string_view group, std::string_view key) const {
  for (const Line& line : lines_)
    if (!line.is_group && line.group == group && line.key == key) return line.value;
  return std::nullopt;
}

void KeyFile::Set(std::string_view group, std::string_view key, std::string_view value) {
  Line made;
  made.group = std::string(group);
  made.key = std::string(key);
  made.value = std::string(value);
  made.text = made.key + "=" + made.value;
  std::optional<std::size_t> last_of_group;
  bool group_seen = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    Line& line = lines_[i];
    if (line.group != group) continue;
    if (line.is_group) group_seen = true;
    if (!group_seen) continue;  // lines before the first group when `group` is ""
    if (!line.is_group && line.key == key) {
      made.ending = line.ending;
      line = made;
      return;
    }
    // Blank lines at the end of a group stay between it and the next one.
    if (line.is_group || !Trim(line.text).empty()) last_of_group = i;
  }
  if (last_of_group) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*last_of_group + 1), made);
    return;
  }
  if (!lines_.empty() && !Trim(lines_.back().text).empty()) {
    Line blank;
    blank.group = lines_.back().group;
    lines_.push_back(blank);
  }
  Line header;
  header.group = made.group;
  header.is_group = true;
  header.text = "[" + made.group + "]";
  lines_.push_back(header);
  lines_.push_back(made);
}

std::string KeyFile::Text() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.text;
    out += line.ending;
    if (line.ending.empty() || line.ending.back() != '\n') out += '\n';
  }
  return out;
}

}  // namespace korvex48
