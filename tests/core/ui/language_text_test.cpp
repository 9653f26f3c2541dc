#include "core/ui/language_text.h"

#include <gtest/gtest.h>

#include "test_utf16.h"

namespace korvex48 {
namespace {

using testing_utf16::Utf16;

struct TokenCase {
  const char* name;
  std::u16string text;
  std::vector<std::string> tokens;
};

class TokenizeTest : public testing::TestWithParam<TokenCase> {};

TEST_P(TokenizeTest, SplitsLikeTheTableFormat) {
  const TokenCase& c = GetParam();
  std::optional<std::string> text = DecodeLanguageText(Utf16(c.text));
  ASSERT_TRUE(text);
  EXPECT_EQ(TokenizeLanguageText(*text), c.tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TokenizeTest,
    testing::Values(
        TokenCase{"QuotedEntryKeepsBlanks", u"\"Str004=Main Control\"", {"Str004=Main Control"}},
        TokenCase{"UnquotedEntryEndsAtBlank", u"Str004=Main Control", {"Str004=Main", "Control"}},
        TokenCase{"DoubledQuoteIsOneQuote", u"\"A=say \"\"hi\"\"\"", {"A=say \"hi\""}},
        TokenCase{"BlanksTabsLineBreaksSeparate",
                  u"[lang1]\r\n\"A=1\"\tB=2  \n\"C=3\"",
                  {"[lang1]", "A=1", "B=2", "C=3"}},
        TokenCase{"TextAfterClosingQuoteIsNewToken", u"\"A=1\"B=2", {"A=1", "B=2"}},
        TokenCase{"UnterminatedQuoteRunsToEnd", u"\"A=1 2", {"A=1 2"}},
        TokenCase{"EmptyQuotedToken", u"\"\" x", {"", "x"}},
        TokenCase{"OnlySeparators", u" \r\n\t ", {}},
        TokenCase{"NonAsciiBecomesUtf8", u"\"A=Mäus €\"", {"A=M\xC3\xA4us \xE2\x82\xAC"}}),
    [](const testing::TestParamInfo<TokenCase>& test_info) { return test_info.param.name; });

TEST(DecodeLanguageTextTest, HandlesMarkAndBrokenInput) {
  struct Case {
    const char* name;
    Bytes bytes;
    std::optional<std::string> text;
  };
  const Case cases[] = {
      {"MarkOnly", {0xFF, 0xFE}, ""},
      {"Empty", {}, ""},
      {"MissingMarkReadsUtf8", {'A', '=', '1'}, "A=1"},
      {"Utf8MarkIsDropped", {0xEF, 0xBB, 0xBF, '[', 'l', ']'}, "[l]"},
      {"MissingMarkInvalidUtf8", {'A', 0xFF, 0x80}, std::nullopt},
      {"OddByteCountAfterMark", {0xFF, 0xFE, 'A', 0x00, 'B'}, std::nullopt},
      {"SurrogatePair", {0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}, "\xF0\x9F\x98\x80"},
      {"LoneHighSurrogate",
       {0xFF, 0xFE, 0x3D, 0xD8, 'A', 0x00},
       "\xEF\xBF\xBD"
       "A"},
      {"LoneLowSurrogate", {0xFF, 0xFE, 0x00, 0xDE}, "\xEF\xBF\xBD"},
      {"BigEndianMarkIsNotUtf16", {0xFE, 0xFF, 0x00, 'A'}, std::nullopt},
  };
  for (const Case& c : cases) {
    std::string error;
    std::optional<std::string> text = DecodeLanguageText(c.bytes, &error);
    EXPECT_EQ(text, c.text) << c.name;
    EXPECT_EQ(error.empty(), text.has_value()) << c.name;
  }
}

}  // namespace
}  // namespace korvex48
