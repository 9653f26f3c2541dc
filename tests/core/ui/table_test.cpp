#include "core/ui/table.h"

#include <gtest/gtest.h>

namespace korvex48 {
namespace {

struct LookupCase {
  const char* name;
  const char* text;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

class TableLookupTest : public testing::TestWithParam<LookupCase> {};

TEST_P(TableLookupTest, FindsTheValueByTheLineRules) {
  const LookupCase& c = GetParam();
  Table table = Table::FromText(c.text);
  EXPECT_EQ(table.Find(c.section, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TableLookupTest,
    testing::Values(
        LookupCase{"LastDuplicateWins", "[s]\nA=1\nB=2\nA=3\n", "s", "A", "3"},
        LookupCase{"DuplicateInOtherCaseWins", "[s]\nkey=1\nKEY=2\n", "s", "Key", "2"},
        LookupCase{"KeyWithoutRegardToCase", "[s]\nWeb_X=317\n", "s", "WEB_x", "317"},
        LookupCase{"SectionWithoutRegardToCase", "[ORG]\nA=1\n", "org", "a", "1"},
        LookupCase{"BlanksAroundNameAndValueRemoved", "[s]\n \t A \t = \t x y \t\n", "s", "A",
                   "x y"},
        LookupCase{"SemicolonCommentSkipped", "[s]\n;A=1\n  ; A=2\n", "s", "A", std::nullopt},
        LookupCase{"SlashCommentMatchesNoKey", "[s]\n//A=1\n", "s", "//A", std::nullopt},
        LookupCase{"LineWithoutEqualsIsNoValue", "[s]\nA\n", "s", "A", std::nullopt},
        LookupCase{"LinesBeforeFirstSectionIgnored", "A=1\n[s]\nB=2\n", "s", "A", std::nullopt},
        LookupCase{"KeyOfOtherSectionNotSeen", "[s]\nA=1\n[t]\nB=2\n", "t", "A", std::nullopt},
        LookupCase{"ReopenedSectionContinues", "[s]\nA=1\n[t]\n[S]\nA=2\n", "s", "A", "2"},
        LookupCase{"EmptyValue", "[s]\nA=\n", "s", "A", ""},
        LookupCase{"ValueKeepsLaterEquals", "[s]\nA=b=c\n", "s", "A", "b=c"},
        LookupCase{"CrLfAndCrLineEnds", "[s]\r\nA=1\rB=2\r\n", "s", "B", "2"},
        LookupCase{"MissingSection", "[s]\nA=1\n", "x", "A", std::nullopt}),
    [](const testing::TestParamInfo<LookupCase>& test_info) { return test_info.param.name; });

TEST(TableTest, EntriesKeepDuplicatesInFileOrder) {
  Table table = Table::FromText("[s]\nA=1\nB=2\na=3\n");
  const auto& entries = table.Entries("S");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[2].key, "a");
  EXPECT_EQ(entries[2].value, "3");
  EXPECT_TRUE(table.Entries("missing").empty());
  EXPECT_EQ(table.SectionNames(), std::vector<std::string>{"s"});
}

TEST(TableTest, ParseDecimalAcceptsOnlyPlainDecimals) {
  struct Case {
    const char* text;
    std::optional<int> expected;
  };
  const Case cases[] = {
      {"0", 0},
      {"317", 317},
      {"-4", -4},
      {"007", 7},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"+5", std::nullopt},
      {"$1F", std::nullopt},
      {"0x1F", std::nullopt},
      {"1 2", std::nullopt},
      {"12a", std::nullopt},
      {"999999999", 999999999},
      {"1000000000", std::nullopt},
      {"-999999999", -999999999},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace korvex48
