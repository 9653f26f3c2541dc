#include "core/buttons/key_codes.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/ui/language.h"
#include "english_texts.h"

namespace korvex48 {
namespace {

TEST(KeyCodeText, ConvertsBothWays) {
  const std::vector<std::pair<KeyCodeBytes, std::string>> cases = {
      {{0x01, 0x01, 0x00, 0x00}, "01010000"}, {{0x03, 0x00, 0xCD, 0x00}, "0300CD00"},
      {{0x06, 0x9E, 0x0F, 0xFE}, "069E0FFE"}, {{0xFF, 0xFF, 0xFF, 0xFF}, "FFFFFFFF"},
      {{0x00, 0x00, 0x00, 0x00}, "00000000"},
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(KeyCodeToText(bytes), text);
    EXPECT_TRUE(IsCanonicalKeyCode(text)) << text;
    ASSERT_TRUE(KeyCodeFromText(text).has_value()) << text;
    EXPECT_EQ(*KeyCodeFromText(text), bytes) << text;
  }
}

TEST(KeyCodeText, LowerCaseDigitsAreReadButAreNotCanonical) {
  ASSERT_TRUE(KeyCodeFromText("0300cd00").has_value());
  EXPECT_EQ(*KeyCodeFromText("0300cd00"), (KeyCodeBytes{0x03, 0x00, 0xCD, 0x00}));
  EXPECT_FALSE(IsCanonicalKeyCode("0300cd00"));
}

TEST(KeyCodeText, RefusesMalformedText) {
  using namespace std::string_view_literals;
  const std::string_view malformed[] = {"",
                                        "0101000",
                                        "010100000",
                                        "0101000G",
                                        "+1010000",
                                        " 1010000",
                                        "01 10000",
                                        "0x010000",
                                        "-1010000",
                                        "0101000\n",
                                        "0101\0000"sv,
                                        "ZZZZZZZZ",
                                        "\xC3\xA9"
                                        "010000",
                                        "\xC3\xA9"
                                        "01000000"};
  for (std::string_view bad : malformed) {
    EXPECT_FALSE(KeyCodeFromText(bad).has_value()) << bad;
    EXPECT_FALSE(IsCanonicalKeyCode(bad)) << bad;
  }
}

// Fire settings whose repeat counts match the identity counts of parameter
// byte 0x31 (Fire Key1: 2, Fire Key2: 4), and a third key with count 6.
KeyItemSettings MenuSettings() {
  KeyItemSettings s;
  s.fire = {FireKeySettings{2, false, 50}, FireKeySettings{4, false, 50},
            FireKeySettings{6, true, 100}};
  s.aimStep = 8;
  return s;
}

TEST(KeyCodeForItem, EveryTagGivesItsCodeAndItsName) {
  struct Case {
    int tag;
    const char* code;
    const char* name;
  };
  const Case cases[] = {
      {900, "01010000", "Left Key"},
      {901, "01020000", "Right Key"},
      {902, "01040000", "Middle Key"},
      {903, "01080000", "Backward"},
      {904, "01100000", "Forward"},
      {1001, "05070000", "AIM Key"},
      {1002, "07000000", "KB Switch Key"},
      {1003, "09000000", "CPI"},
      {1004, "0C000000", "Report Rate"},
      {1005, "07010000", "KB Reset Key"},
      {1006, "0E000000", "LED Mode"},
      {1007, "09010000", "CPI +"},
      {1008, "09020000", "CPI -"},
      {1009, "08000000", "LED Switch"},
      {1100, "03019400", "My Computer"},
      {1101, "03019200", "Calculator"},
      {1102, "03018A00", "E-Mail"},
      {1103, "02080700", "Desktop"},
      {1300, "0300CD00", "Play/Pause"},
      {1301, "0300B700", "Stop"},
      {1302, "0300B600", "Previous Track"},
      {1303, "0300B500", "Next Track"},
      {1304, "0300E900", "Volume +"},
      {1305, "0300EA00", "Volume -"},
      {1306, "0300E200", "Mute"},
      {1400, "03022300", "WWW Home"},
      {1401, "03022100", "WWW Search"},
      {1402, "03022400", "WWW Back"},
      {1403, "03022500", "WWW Forward"},
      {1404, "03022600", "WWW Stop"},
      {1405, "03022700", "WWW Refresh"},
      {1406, "03022A00", "WWW Favorites"},
      {1500, "06110032", "Fire Key1"},
      {1501, "06130032", "Fire Key2"},
      {1502, "06950064", "Fire Key3"},
      {0, "00000000", ""},
      {1, "", ""},
      {5, "", ""},
      {7, "", ""},
      {905, "", ""},
      {1000, "", ""},
      {1010, "", ""},
      {1503, "", ""},
      {-1, "", ""},
  };
  const KeyNameSources sources{
      testing::EnglishTexts(), FireIdentityCounts::FromParameterByte(0x31), {}};
  std::size_t menuTags = 0;
  for (const Case& c : cases) {
    const std::string code = KeyCodeForItem(c.tag, MenuSettings());
    EXPECT_EQ(code, c.code) << c.tag;
    EXPECT_EQ(KeyCodeName(code, sources), c.name) << c.tag;
    if (const KeyMenuItem* item = FindKeyMenuItem(c.tag)) {
      ++menuTags;
      EXPECT_EQ(sources.text(item->nameKey), c.name) << c.tag;
    }
  }
  EXPECT_EQ(menuTags, KeyMenuItems().size());
}

TEST(KeyCodeForItem, BuildsFireAndAimCodesFromTheSettingsOfTheMoment) {
  KeyItemSettings s;
  EXPECT_EQ(KeyCodeForItem(1500, s), "06110010");  // initial fields "2" and "16"
  EXPECT_EQ(KeyCodeForItem(1001, s), "05000000");
  s.fire[2] = {15, true, 4094};
  EXPECT_EQ(KeyCodeForItem(1502, s), "069E0FFE");
  s.aimStep = 12;
  EXPECT_EQ(KeyCodeForItem(1001, s), "050B0000");
  // Values the encoding cannot hold are brought into range rather than wrapped.
  s.fire[0] = {0, false, 5000};
  EXPECT_EQ(KeyCodeForItem(1500, s), "06100FFE");
  s.fire[1] = {99, false, -3};
  EXPECT_EQ(KeyCodeForItem(1501, s), "061E0000");
  s.aimStep = 0;
  EXPECT_EQ(KeyCodeForItem(1001, s), "05000000");
  s.aimStep = 13;
  EXPECT_EQ(KeyCodeForItem(1001, s), "050B0000");
}

struct NameCase {
  const char* code;
  const char* name;
};

TEST(KeyCodeName, NamesCodesByTheRulesInOrder) {
  const NameCase cases[] = {
      {"02080700", "Desktop"},  // a fixed code, never "Win+D"
      {"02080800", "Win+E"},
      {"01030000", ""},  // more than one mouse button
      {"01000000", ""},
      {"02010000", "Ctrl+"},
      {"02000000", ""},
      {"02010400", "Ctrl+A"},
      {"02030405", "Ctrl+Shift+A+B"},
      {"020F0000", "Ctrl+Shift+Alt+Win+"},
      {"020004E3", "A+Win"},
      {"0201DF00", "Ctrl+"},  // a usage without a name adds nothing
      {"0200001E", "1"},      // second key only
      {"020000DF", ""},
      {"0201DF04", "Ctrl++A"},
      {"0300CD00", "Play/Pause"},
      {"0300cd00", ""},  // lower case matches no fixed code
      {"0300CE00", ""},  // a consumer usage no menu produces
      {"05070000", "AIM Key"},
      {"05FF0000", "AIM Key"},
      {"07000000", "KB Switch Key"},
      {"07010000", "KB Reset Key"},
      {"07020000", ""},
      {"09030000", ""},
      {"00000000", ""},
      {"04000000", ""},
      {"FF000000", ""},
      {"", ""},
      {"0201040", ""},
      {"0201040G", ""},
      {"06", ""},
      {"05", ""},
  };
  const KeyNameSources sources{testing::EnglishTexts(), {}, {}};
  for (const NameCase& c : cases) {
    const KeyCodeNaming naming = DescribeKeyCode(c.code, sources);
    EXPECT_EQ(naming.name, c.name) << c.code;
    EXPECT_FALSE(naming.fire.has_value()) << c.code;
  }
}

TEST(KeyCodeName, TellsFireKeysApartByTheIdentityCounts) {
  struct Case {
    const char* code;
    std::uint8_t parameterByte1;
    const char* name;
    DecodedFireKey fire;
  };
  const Case cases[] = {
      {"06110032", 0x31, "Fire Key1", {1, {2, false, 50}}},
      {"06130032", 0x31, "Fire Key2", {2, {4, false, 50}}},
      {"06150032", 0x31, "Fire Key3", {3, {6, false, 50}}},
      {"069E0FFE", 0x3E, "Fire Key1", {1, {15, true, 4094}}},
      {"06110032", 0x11, "Fire Key1", {1, {2, false, 50}}},  // equal counts: Fire Key1 wins
      {"06130032", 0x11, "Fire Key3", {3, {4, false, 50}}},
      {"06000000", 0x00, "Fire Key1", {1, {1, false, 0}}},
  };
  for (const Case& c : cases) {
    const KeyNameSources sources{
        testing::EnglishTexts(), FireIdentityCounts::FromParameterByte(c.parameterByte1), {}};
    const KeyCodeNaming naming = DescribeKeyCode(c.code, sources);
    EXPECT_EQ(naming.name, c.name) << c.code;
    ASSERT_TRUE(naming.fire.has_value()) << c.code;
    EXPECT_EQ(*naming.fire, c.fire) << c.code;
  }
}

TEST(KeyCodeName, NamesMacrosThroughTheAddressTable) {
  const std::vector<DeviceMacroRef> macros = {
      {0x0100, "Jump"}, {0x0120, "Run"}, {0x0180, "Crouch"}, {0x0120, "Run again"}};
  const KeyNameSources sources{testing::EnglishTexts(), {}, macros};
  const NameCase cases[] = {
      {"10010000", "Jump"},      {"10018000", "Crouch"},
      {"10012000", "Run again"}, {"10012001", "Run again"},  // byte 3 is not part of the address
      {"10020000", ""},          {"10000000", ""},
  };
  for (const NameCase& c : cases) EXPECT_EQ(KeyCodeName(c.code, sources), c.name) << c.code;

  const KeyNameSources noLayout{testing::EnglishTexts(), {}, {}};
  EXPECT_EQ(KeyCodeName("10010000", noLayout), "");
}

TEST(KeyCodeName, MissingLanguageTextsGiveEmptyNames) {
  const KeyNameSources sources{[](std::string_view) { return std::string(); }, {}, {}};
  EXPECT_EQ(KeyCodeName("01010000", sources), "");
  EXPECT_EQ(KeyCodeName("06110032", sources), "");
  EXPECT_EQ(KeyCodeName("02010400", sources), "Ctrl+A");  // key names are not translated
  const KeyNameSources noLookup{};
  EXPECT_EQ(KeyCodeName("0300CD00", noLookup), "");
}

}  // namespace
}  // namespace korvex48

namespace korvex48 {
namespace {

// The names the buttons use are the shipped first language table's texts.
TEST(KeyMenu, NamesComeFromTheShippedLanguageTable) {
  const std::optional<LanguageTable> lang1 = LanguageTable::LoadShipped(1);
  ASSERT_TRUE(lang1.has_value());
  const TextLookup english = testing::EnglishTexts();
  for (const KeyMenuItem& item : KeyMenuItems()) {
    EXPECT_EQ(lang1->Text(item.nameKey), english(item.nameKey)) << item.objectName;
    EXPECT_FALSE(english(item.nameKey).empty()) << item.objectName;
  }
  for (const KeyMenuCategory& category : KeyMenuCategories()) {
    EXPECT_EQ(lang1->Text(category.nameKey), english(category.nameKey)) << category.objectName;
  }
}

}  // namespace
}  // namespace korvex48
