#include "core/ui/language.h"

#include <gtest/gtest.h>

#include "test_utf16.h"

namespace korvex48 {
namespace {

using testing_utf16::Utf16;

LanguageTable Lang(int index, const std::u16string& text) {
  std::optional<LanguageTable> table = LanguageTable::Parse(Utf16(text), index);
  EXPECT_TRUE(table);
  return table.value_or(LanguageTable());
}

TEST(LanguageTableTest, ReadsFromItsOwnSectionByTheTableRules) {
  LanguageTable lang2 = Lang(2,
                             u"[lang1]\r\n\"Str210=Wrong\"\r\n"
                             u"[LANG2]\r\n\"Str210=Left Key\"\r\n"
                             u"\"Str211=Right\"\r\n\"str211=Right Key\"\r\n"
                             u"Str212=Middle Key\r\n");
  EXPECT_EQ(lang2.Text("Str210"), "Left Key");
  EXPECT_EQ(lang2.Text("STR211"), "Right Key");  // the second entry wins
  EXPECT_EQ(lang2.Text("Str212"), "Middle");     // unquoted text stops at the blank
  EXPECT_EQ(lang2.Text("Key"), "");              // "Key" alone is a token, no entry
  EXPECT_EQ(lang2.Text("Str999"), "");

  TextLookup lookup = LanguageTable(lang2).Lookup();
  lang2 = LanguageTable();  // the lookup keeps its own copy of the table
  EXPECT_EQ(lookup("Str210"), "Left Key");
}

TEST(LanguageTableTest, RefusesUndecodableBytes) {
  std::string error;
  Bytes odd = Utf16(u"[lang1]");
  odd.push_back(0x41);
  EXPECT_FALSE(LanguageTable::Parse(odd, 1, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(LanguageTable::LoadShipped(4, &error));
}

struct ReverseCase {
  const char* name;
  std::array<std::u16string, 3> tables;
  const char* text;
  const char* key;
};

class ReverseLookupTest : public testing::TestWithParam<ReverseCase> {};

TEST_P(ReverseLookupTest, FindsTheLastPlainDecimalKey) {
  const ReverseCase& c = GetParam();
  std::array<LanguageTable, 3> tables;
  for (int i = 0; i < 3; ++i) tables[i] = Lang(i + 1, c.tables[i]);
  EXPECT_EQ(FindKeyOfText(tables, c.text), c.key);
}

const std::u16string kEnglish =
    u"\"Str002=Reset\" \"Str210=Left Key\" \"Str211=Right Key\" \"Str5=Five\" \"Str600=Top\" "
    u"\"Str601=Beyond\" \"Str0=Zero\"";

INSTANTIATE_TEST_SUITE_P(
    Cases, ReverseLookupTest,
    testing::Values(
        ReverseCase{"FoundInFirstTable",
                    {u"[lang1] " + kEnglish, u"[lang2]", u"[lang3]"},
                    "Left Key",
                    "Str210"},
        ReverseCase{"LeadingZeroKeyBelowStr100NeverFound",
                    {u"[lang1] " + kEnglish, u"[lang2]", u"[lang3]"},
                    "Reset",
                    ""},
        ReverseCase{"PlainKeyBelowStr100Found",
                    {u"[lang1] " + kEnglish, u"[lang2]", u"[lang3]"},
                    "Five",
                    "Str5"},
        ReverseCase{"StrZero", {u"[lang1] " + kEnglish, u"[lang2]", u"[lang3]"}, "Zero", "Str0"},
        ReverseCase{
            "Str600IsTheLast", {u"[lang1] " + kEnglish, u"[lang2]", u"[lang3]"}, "Top", "Str600"},
        ReverseCase{
            "BeyondStr600NotFound", {u"[lang1] " + kEnglish, u"[lang2]", u"[lang3]"}, "Beyond", ""},
        ReverseCase{
            "CaseSensitive", {u"[lang1] " + kEnglish, u"[lang2]", u"[lang3]"}, "left key", ""},
        ReverseCase{"FoundInThirdTable",
                    {u"[lang1] " + kEnglish, u"[lang2]", u"[lang3] \"Str212=Mittel\""},
                    "Mittel",
                    "Str212"},
        ReverseCase{"LastMatchAcrossTablesWins",
                    {u"[lang1] \"Str511=OK\"", u"[lang2] \"Str421=OK\"", u"[lang3] \"Str420=OK\""},
                    "OK",
                    "Str420"},
        ReverseCase{"HighestKeyWinsWithinTable",
                    {u"[lang1] \"Str421=OK\" \"Str420=OK\"", u"[lang2]", u"[lang3]"},
                    "OK",
                    "Str421"},
        ReverseCase{"OtherTablesSectionIgnored",
                    {u"[lang2] \"Str212=Middle Key\"", u"[lang2]", u"[lang3]"},
                    "Middle Key",
                    ""},
        ReverseCase{"UserCombinationStays",
                    {u"[lang1] " + kEnglish, u"[lang2]", u"[lang3]"},
                    "Ctrl+Alt+A",
                    ""},
        ReverseCase{"EmptyTextMatchesNothing", {u"[lang1]", u"[lang2]", u"[lang3]"}, "", ""}),
    [](const testing::TestParamInfo<ReverseCase>& test_info) { return test_info.param.name; });

}  // namespace
}  // namespace korvex48
