#include "core/macros/macro_names.h"

#include <gtest/gtest.h>

namespace korvex48 {
namespace {

TEST(MacroNames, StoredFieldsReadBack) {
  struct Case {
    const char* what;
    std::string text;
    MacroName field;
    std::string read_back;
  } cases[] = {
      {"Fire",
       "Fire",
       {0x00, 0x46, 0x00, 0x69, 0x00, 0x72, 0x00, 0x65, 0, 0, 0, 0, 0, 0, 0, 0},
       "Fire"},
      {"eight units",
       "ABCDEFGH",
       {0, 'A', 0, 'B', 0, 'C', 0, 'D', 0, 'E', 0, 'F', 0, 'G', 0, 'H'},
       "ABCDEFGH"},
      {"longer names keep their first eight units",
       "ABCDEFGHIJ",
       {0, 'A', 0, 'B', 0, 'C', 0, 'D', 0, 'E', 0, 'F', 0, 'G', 0, 'H'},
       "ABCDEFGH"},
      {"empty", "", {}, ""},
      {"non-ASCII letters",
       "Fünf€",
       {0x00, 'F', 0x00, 0xFC, 0x00, 'n', 0x00, 'f', 0x20, 0xAC},
       "Fünf€"},
      {"a surrogate pair is never cut",
       "1234567\xF0\x9F\x98\x80",
       {0, '1', 0, '2', 0, '3', 0, '4', 0, '5', 0, '6', 0, '7', 0, 0},
       "1234567"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MacroNameFromText(c.text), c.field);
    EXPECT_EQ(MacroNameText(c.field), c.read_back);
  }
}

TEST(MacroNames, NameEndsAtTheFirstZeroUnit) {
  const MacroName field{0, 'A', 0, 0, 0, 'B', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(MacroNameText(field), "A");
  EXPECT_EQ(MacroNameText(Bytes{0x00, 0x41}), "A");  // a short field reads as zero-padded
}

TEST(MacroNames, HexConversions) {
  EXPECT_EQ(NameToUnicodeHex("Fire"), "0046006900720065");
  EXPECT_EQ(NameToUnicodeHex(u"\u20AC"), "20ac");  // lower case
  EXPECT_EQ(NameToUnicodeHex(std::u16string(u"AB\0C", 4)), "00410042");
  EXPECT_EQ(NameToUnicodeHex(std::u16string(600, u'x')).size(), 500u * 4);

  struct Case {
    const char* hex;
    std::string text;
  } cases[] = {
      {"0046006900720065", "Fire"},
      {"00460069007200650000000000000000", "Fire"},
      {"12"
       "00410042",
       "AB"},                  // digits left over at the front are ignored
      {"0041zz420042", "AB"},  // groups from the end: "0042", "zz42" skipped, "0041"
      {"0041XYZW0042", "AB"},
      {"00000041", ""},  // a zero unit first ends the name
      {"", ""},
      {"20AC20ac", "€€"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hex);
    EXPECT_EQ(UnicodeHexToName(c.hex), c.text);
  }
}

TEST(MacroNames, MalformedTextBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF"
                        "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xD800})), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(MacroNames, ControlCharactersAreFoundAndEscapedForText) {
  struct Case {
    std::string text;
    bool control;
    std::string escaped;
  };
  for (const Case& c : {Case{"Fire", false, "Fire"}, Case{"a\x1b[2J", true, "a\\x1B[2J"},
                        Case{"\a\n", true, "\\x07\\x0A"}, Case{"x\u0085y", true, "x\\u0085y"},
                        Case{"\u00dc\U0001F600", false, "\u00dc\U0001F600"},
                        // Not control characters, but they must not act on a
                        // terminal either: reordering marks, stray bytes.
                        Case{"a\u202Eb", false, "a\\u202Eb"}, Case{"a\xFF", false, "a\\xFF"}}) {
    EXPECT_EQ(NameHasControlCharacters(c.text), c.control) << c.escaped;
    EXPECT_EQ(EscapeControlCharacters(c.text), c.escaped);
  }
}

// The one rule every name that comes in is held to. The names the name
// dialog always took stay accepted: letters of any script, digits, inner and
// outer spaces, punctuation, eight characters.
TEST(MacroNames, TheNameRule) {
  struct Case {
    std::string text;
    MacroNameProblem problem;
  };
  for (const Case& c : {
           Case{"Fire", MacroNameProblem::kNone},
           Case{"Walking8", MacroNameProblem::kNone},
           Case{" a b ", MacroNameProblem::kNone},
           Case{"\u00dcber-1!", MacroNameProblem::kNone},
           Case{"\u30de\u30af\u30ed", MacroNameProblem::kNone},
           Case{"ab\U0001F600cdef", MacroNameProblem::kNone},  // a pair is two of the eight
           Case{"", MacroNameProblem::kEmpty},
           Case{"Walking8X", MacroNameProblem::kTooLong},
           Case{"abcdefg\U0001F600", MacroNameProblem::kTooLong},
           Case{"   ", MacroNameProblem::kBlank},
           Case{"\u00a0\u3000\u200b", MacroNameProblem::kBlank},
           Case{"a\x1b[2J", MacroNameProblem::kControl},
           Case{std::string("a\0b", 3), MacroNameProblem::kControl},
           Case{"x\u0085y", MacroNameProblem::kControl},
           Case{"abc\u202Egpj", MacroNameProblem::kLayoutControl},
           Case{"a\u2066b", MacroNameProblem::kLayoutControl},
           Case{"a\u2028b", MacroNameProblem::kLayoutControl},
           Case{"a\xFF", MacroNameProblem::kMalformed},
           Case{"\xC3", MacroNameProblem::kMalformed},          // cut short
           Case{"\xC0\xAF", MacroNameProblem::kMalformed},      // overlong '/'
           Case{"\xED\xA0\x80", MacroNameProblem::kMalformed},  // a surrogate
       }) {
    SCOPED_TRACE(EscapeControlCharacters(c.text));
    EXPECT_EQ(CheckMacroName(c.text), c.problem);
    if (c.problem == MacroNameProblem::kMalformed) continue;
    // The same rule on the code units the editor's text field holds, and on
    // the stored field of the names that fit one.
    EXPECT_EQ(CheckMacroName(Utf8ToUtf16(c.text)), c.problem);
    if (Utf8ToUtf16(c.text).size() <= kMacroNameUnits && c.text.find('\0') == std::string::npos) {
      EXPECT_EQ(CheckStoredMacroName(MacroNameFromText(c.text)), c.problem);
    }
  }
  EXPECT_EQ(CheckMacroName(std::u16string(1, char16_t{0xDC00})), MacroNameProblem::kMalformed);
  EXPECT_FALSE(MacroNameProblemText(MacroNameProblem::kBlank).empty());
}

}  // namespace
}  // namespace korvex48
