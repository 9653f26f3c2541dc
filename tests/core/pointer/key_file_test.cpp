#include "core/pointer/key_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvex48 {
namespace {

std::optional<KeyFile> ParseText(const std::string& text) {
  return KeyFile::Parse(ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TEST(KeyFile, ReadsValuesOfTheirGroupOnly) {
  const auto file = ParseText(
      "# comment=1\r\nTop=0\n[KDE]\n  DoubleClickInterval = 400 \r\nWheelScrollLines[$i]=9\n"
      "[General]\nWheelScrollLines=5\n[KDE]\nWheelScrollLines=7\n");
  ASSERT_TRUE(file);
  struct Case {
    const char* group;
    const char* key;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {"KDE", "DoubleClickInterval", "400"},
      {"KDE", "WheelScrollLines", "7"},  // the key with flags is another key
      {"General", "WheelScrollLines", "5"},
      {"KDE", "Top", std::nullopt},
      {"Other", "WheelScrollLines", std::nullopt},
      {"", "# comment", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(file->Get(c.group, c.key), c.value) << c.group << "/" << c.key;
}

TEST(KeyFile, SetReplacesAddsAndKeepsEveryOtherLine) {
  struct Case {
    const char* name;
    std::string before;
    const char* group;
    const char* key;
    std::string after;
  };
  const Case cases[] = {
      {"replace", "# keep\n[KDE]\nA = 1\r\nB=2\n", "KDE", "A", "# keep\n[KDE]\nA=9\r\nB=2\n"},
      {"add to group before blank", "[KDE]\nB=2\n\n[X]\nA=1\n", "KDE", "A",
       "[KDE]\nB=2\nA=9\n\n[X]\nA=1\n"},
      {"new group", "[X]\nA=1", "KDE", "A", "[X]\nA=1\n\n[KDE]\nA=9\n"},
      {"empty file", "", "KDE", "A", "[KDE]\nA=9\n"},
  };
  for (const Case& c : cases) {
    auto file = ParseText(c.before);
    ASSERT_TRUE(file) << c.name;
    file->Set(c.group, c.key, "9");
    EXPECT_EQ(file->Text(), c.after) << c.name;
    EXPECT_EQ(file->Get(c.group, c.key), "9") << c.name;
  }
}

TEST(KeyFile, RefusesWhatIsNotASmallTextFile) {
  EXPECT_FALSE(ParseText(std::string("[KDE]\nA=1\0\n", 11)));
  EXPECT_FALSE(ParseText(std::string(KeyFile::kMaxBytes + 1, 'a')));
  EXPECT_TRUE(ParseText(std::string(KeyFile::kMaxBytes, 'a')));
}

}  // namespace
}  // namespace korvex48
