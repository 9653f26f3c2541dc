#pragma once
// A small INI-style key file ("[Group]" lines, "Key=Value" lines), read from
// outside bytes and written back with every line it did not change kept as it
// was. It holds the editor's pointer settings and is also how KDE's
// kdeglobals is edited, so comments, other groups, locale suffixes and flags
// of other keys survive a write untouched.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/bytes.h"

namespace korvex48 {

class KeyFile {
 public:
  // Files larger than this are refused: a settings file is a few KiB.
  static constexpr std::size_t kMaxBytes = 256 * 1024;

  // Parses `data`; nullopt when it is larger than kMaxBytes or holds a NUL
  // byte (not a text file). Lines may end in "\n" or "\r\n"; a line that is
  // neither a group, a key nor a comment is kept but means nothing.
  static std::optional<KeyFile> Parse(ByteView data);

  // The value of `key` in `group`, leading and trailing blanks removed;
  // nullopt when the group or the key is missing. The first occurrence wins.
  std::optional<std::string> Get(std::string_view group, std::string_view key) const;

  // Sets `key` in the non-empty `group` to `value` (no line break in it): the
  // existing line is replaced, or a line is added at the end of the group,
  // or the group is added at the end of the file.
  void Set(std::string_view group, std::string_view key, std::string_view value);

  // The file's text: unchanged lines byte for byte with their own line
  // breaks; new lines and a last line without one end in "\n".
  std::string Text() const;

 private:
  struct Line {
    std::string text;    // without its line break
    std::string ending;  // "\r\n" or "\n" as read; "" for a new line or a last line without one
    std::string group;   // the group the line belongs to ("" before the first)
    std::string key;     // "" unless a key line
    std::string value;
    bool is_group = false;
  };
  std::vector<Line> lines_;
};

}  // namespace korvex48
