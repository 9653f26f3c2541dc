#include "core/buttons/button_assignment.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/common/resources.h"
#include "english_texts.h"

namespace korvex48 {
namespace {

// The profile section of the shipped default image (image bytes 104..248).
ByteView DefaultProfileSection() { return CoreResource("KORVEX48DATA").subspan(104, 145); }

class ButtonsFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(codes_.LoadFromProfileSection(DefaultProfileSection())); }
  KeyNameSources Sources() const {
    return {testing::EnglishTexts(), FireIdentityCounts::FromParameterByte(0x31), macros_};
  }
  ButtonTexts Labels(int profile) const { return ProfileKeyNames(codes_, profile, Sources()); }
  static std::vector<std::size_t> Offsets(const std::vector<ProfileByteWrite>& writes) {
    std::vector<std::size_t> offsets;
    for (const auto& w : writes) offsets.push_back(w.offset);
    return offsets;
  }

  KeyCodes codes_;
  std::vector<DeviceMacroRef> macros_;
  const ButtonRuleNames names_ = ButtonRuleNames::FromLanguage(testing::EnglishTexts());
};

TEST_F(ButtonsFixture, TableReadsAndWritesTheProfileSection) {
  EXPECT_EQ(codes_.Code(1, 1), "01010000");
  EXPECT_EQ(codes_.Code(1, 2), "06130032");
  EXPECT_EQ(codes_.Code(2, 10), "08000000");
  EXPECT_EQ(codes_.Code(3, 12), "03019400");
  EXPECT_EQ(codes_.Code(0, 1), "");
  EXPECT_EQ(codes_.Code(1, 13), "");

  std::vector<std::uint8_t> section(DefaultProfileSection().begin(), DefaultProfileSection().end());
  std::vector<std::uint8_t> copy(145, 0xEE);
  ASSERT_TRUE(codes_.StoreToProfileSection(copy));
  EXPECT_TRUE(std::equal(section.begin(), section.begin() + 144, copy.begin()));
  EXPECT_EQ(copy[144], 0xEE);  // the checksum is not the table's

  KeyCodes untouched = codes_;
  EXPECT_FALSE(codes_.LoadFromProfileSection(ByteView(section).first(143)));
  EXPECT_EQ(codes_, untouched);
  std::vector<std::uint8_t> small(143, 0xEE);
  EXPECT_FALSE(codes_.StoreToProfileSection(small));
  EXPECT_EQ(small, std::vector<std::uint8_t>(143, 0xEE));
}

TEST_F(ButtonsFixture, SetKeepsTextAndBytesTogether) {
  const auto write = codes_.Set(3, 12, "0300cd00");
  ASSERT_TRUE(write.has_value());
  EXPECT_EQ(write->offset, 140u);
  EXPECT_EQ(write->bytes, (KeyCodeBytes{0x03, 0x00, 0xCD, 0x00}));
  EXPECT_EQ(codes_.Code(3, 12), "0300CD00");

  const KeyCodes before = codes_;
  EXPECT_FALSE(codes_.Set(1, 1, "").has_value());
  EXPECT_FALSE(codes_.Set(1, 1, "0101000X").has_value());
  EXPECT_FALSE(codes_.Set(4, 1, "01010000").has_value());
  EXPECT_FALSE(codes_.Set(1, 0, "01010000").has_value());
  EXPECT_EQ(codes_, before);

  std::vector<std::uint8_t> section(145, 0);
  const std::vector<ProfileByteWrite> fits = {{140, {1, 2, 3, 4}}, {0, {5, 6, 7, 8}}};
  ASSERT_TRUE(ApplyProfileWrites(section, fits));
  EXPECT_EQ(section[143], 4);
  EXPECT_EQ(section[0], 5);
  const std::vector<ProfileByteWrite> outside = {{0, {9, 9, 9, 9}}, {142, {1, 2, 3, 4}}};
  EXPECT_FALSE(ApplyProfileWrites(section, outside));
  EXPECT_EQ(section[0], 5);
}

TEST_F(ButtonsFixture, MenuChoicesFollowTheLeftKeyAndSwitchKeyRules) {
  struct Case {
    const char* what;
    int profile;
    int button;
    int tag;
    std::vector<std::size_t> offsets;  // empty: refused
  };
  const Case cases[] = {
      {"last Left Key stays", 1, 1, 901, {}},
      {"Left Key chosen again for the last Left Key", 1, 1, 900, {0}},
      {"any other button", 1, 5, 1300, {16}},
      {"switch key goes to all profiles", 1, 3, 1002, {8, 56, 104}},
      {"profile 2 alone", 2, 4, 1100, {60}},
      {"profile 3 is never edited", 3, 2, 1300, {}},
      {"unknown tag", 1, 5, 999, {}},
  };
  for (const Case& c : cases) {
    SetUp();
    const KeyMenuItem* item = FindKeyMenuItem(c.tag);
    const std::string name = item ? testing::EnglishTexts()(item->nameKey) : "?";
    const ButtonTexts labels = Labels(c.profile);
    const AssignmentResult r = AssignMenuFunction(codes_, c.profile, c.button, labels, name,
                                                  KeyCodeForItem(c.tag), names_);
    EXPECT_EQ(Offsets(r.writes), c.offsets) << c.what;
    EXPECT_EQ(r.accepted, !c.offsets.empty()) << c.what;
    EXPECT_EQ(r.labels[c.button - 1], r.accepted ? name : labels[c.button - 1]) << c.what;
  }
}

TEST_F(ButtonsFixture, TakingAwayTheSwitchKeyRewritesAllProfiles) {
  auto r = AssignMenuFunction(codes_, 1, 3, Labels(1), "KB Switch Key", "07000000", names_);
  ASSERT_EQ(Offsets(r.writes), (std::vector<std::size_t>{8, 56, 104}));
  r = AssignMenuFunction(codes_, 1, 3, r.labels, "Mute", "0300E200", names_);
  EXPECT_EQ(Offsets(r.writes), (std::vector<std::size_t>{8, 56, 104}));
  for (int p = 1; p <= 3; ++p) EXPECT_EQ(codes_.Code(p, 3), "0300E200");

  // A combination from the dialog copies nothing, even over the switch key.
  AssignMenuFunction(codes_, 1, 3, Labels(1), "KB Switch Key", "07000000", names_);
  r = AssignDirectFunction(codes_, 1, 3, Labels(1), "Ctrl+A", "02010400", names_);
  EXPECT_EQ(Offsets(r.writes), (std::vector<std::size_t>{8}));
  EXPECT_EQ(codes_.Code(2, 3), "07000000");
}

TEST_F(ButtonsFixture, ProfileWithoutLeftKeyCanBeEdited) {
  codes_.Set(2, 1, "01020000");  // profile 2 from a file, without any Left Key
  const auto r = AssignMenuFunction(codes_, 2, 5, Labels(2), "Mute", "0300E200", names_);
  EXPECT_TRUE(r.accepted);
  EXPECT_EQ(r.labels[4], "Mute");
}

TEST_F(ButtonsFixture, DirectFunctionsKeepTheLastLeftKey) {
  auto r = AssignDirectFunction(codes_, 1, 1, Labels(1), "Ctrl+A", "02010400", names_);
  EXPECT_FALSE(r.accepted);
  EXPECT_EQ(codes_.Code(1, 1), "01010000");
  codes_.Set(1, 5, "01010000");
  r = AssignDirectFunction(codes_, 1, 1, Labels(1), "Ctrl+A", "02010400", names_);
  EXPECT_TRUE(r.accepted);
  EXPECT_EQ(Offsets(r.writes), (std::vector<std::size_t>{0}));
  r = AssignDirectFunction(codes_, 2, 2, Labels(2), "Jump", "10010000", names_);
  EXPECT_EQ(Offsets(r.writes), (std::vector<std::size_t>{52}));
  EXPECT_FALSE(AssignDirectFunction(codes_, 3, 2, Labels(3), "Jump", "10010000", names_).accepted);
}

TEST_F(ButtonsFixture, ResetAndSwitchKeysDisableLabels) {
  codes_.Set(1, 3, "07000000");
  codes_.Set(2, 3, "07000000");
  codes_.Set(1, 6, "07010000");
  codes_.Set(2, 7, "07010000");
  const auto p1 = ClickableButtons(1, Labels(1), names_);
  const auto p2 = ClickableButtons(2, Labels(2), names_);
  const auto p3 = ClickableButtons(3, Labels(3), names_);
  for (int n = 1; n <= 12; ++n) {
    EXPECT_EQ(p1[n - 1], n != 6) << n;
    EXPECT_EQ(p2[n - 1], n != 3 && n != 7) << n;
    EXPECT_FALSE(p3[n - 1]) << n;
  }
}

TEST_F(ButtonsFixture, ProfileSelectionNeedsTheSwitchAndResetKeys) {
  struct Case {
    const char* what;
    int profile;
    bool deviceOpen, noDevicePage, switchKey, resetKey;
    bool selected;
    std::string_view message;
  };
  const Case cases[] = {
      {"no device", 2, false, false, true, true, false, "Str022"},
      {"waiting for the read", 1, true, true, true, true, false, ""},
      {"main control", 1, true, false, false, false, true, ""},
      {"alternate without switch key", 2, true, false, false, true, false, "Str020"},
      {"alternate", 2, true, false, true, false, true, ""},
      {"reset control without reset key", 3, true, false, true, false, false, "Str021"},
      {"reset control", 3, true, false, true, true, true, ""},
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.switchKey) codes_.Set(1, 4, "07000000");
    if (c.resetKey) codes_.Set(2, 9, "07010000");
    const ProfileSelection s =
        SelectProfile(c.profile, c.deviceOpen, c.noDevicePage, codes_, Sources(), names_);
    EXPECT_EQ(s.selected, c.selected) << c.what;
    EXPECT_EQ(s.messageKey, c.message) << c.what;
    if (s.selected) {
      EXPECT_EQ(s.activeProfileByte, c.profile - 1) << c.what;
      EXPECT_EQ(s.overlayShown, c.profile == 3) << c.what;
      const std::optional<bool> entry = c.profile == 1   ? std::optional<bool>(true)
                                        : c.profile == 2 ? std::optional<bool>(false)
                                                         : std::nullopt;
      EXPECT_EQ(s.switchEntryAllowed, entry) << c.what;
    }
  }
}

TEST_F(ButtonsFixture, MacroCodesFollowADeletion) {
  macros_ = {{0x0100, "Jump"}, {0x0120, "Run"}, {0x0140, "Crouch"}};
  codes_.Set(1, 5, "10010000");  // Jump
  codes_.Set(1, 8, "10012000");  // Run, the macro to delete
  codes_.Set(2, 3, "10014000");  // Crouch, only in the profile not shown
  codes_.Set(2, 8, "10012000");  // Run
  // Profile 3 cannot be edited, but the mouse plays its codes: they follow
  // the deletion like the others.
  codes_.Set(3, 3, "10014000");  // Crouch
  codes_.Set(3, 8, "10012000");  // Run
  codes_.Set(1, 9, "10030000");  // already points at nothing
  const auto marks = MarkMacroCodes(codes_, Sources());
  ASSERT_EQ(marks.size(), 6u);

  // The packed area is parsed again: Crouch moved to Run's place.
  const std::vector<DeviceMacroRef> after = {{0x0100, "Jump"}, {0x0120, "Crouch"}};
  const MacroCodeRelinkResult r = RelinkMarkedMacroCodes(codes_, marks, after);
  EXPECT_EQ(Offsets(r.writes), (std::vector<std::size_t>{56, 104, 16, 28, 76, 124}));
  EXPECT_EQ(codes_.Code(2, 3), "10012000");
  EXPECT_EQ(codes_.Code(3, 3), "10012000");
  EXPECT_EQ(codes_.Code(1, 5), "10010000");
  EXPECT_EQ(codes_.Code(1, 8), "02080700");
  EXPECT_EQ(codes_.Code(2, 8), "02080700");
  EXPECT_EQ(codes_.Code(3, 8), "02080700");
  EXPECT_EQ(codes_.Code(1, 9), "10030000");
  EXPECT_EQ(r.fellBack, (std::vector<std::pair<int, int>>{{1, 8}, {2, 8}, {3, 8}}));
  EXPECT_EQ(FallbackName(8, testing::EnglishTexts()), "Win+D");
}

TEST(FallbackFunctions, EveryButtonHasOne) {
  const char* expected[12][2] = {
      {"01010000", "Left Key"}, {"01080000", "Backward"},   {"09010000", "CPI +"},
      {"03022300", "WWW Home"}, {"01020000", "Right Key"},  {"01100000", "Forward"},
      {"09020000", "CPI -"},    {"02080700", "Win+D"},      {"01040000", "Middle Key"},
      {"09000000", "CPI"},      {"08000000", "LED Switch"}, {"08000000", "LED Switch"},
  };
  for (int n = 1; n <= 12; ++n) {
    EXPECT_EQ(FallbackCode(n), expected[n - 1][0]) << n;
    EXPECT_EQ(FallbackName(n, testing::EnglishTexts()), expected[n - 1][1]) << n;
  }
  EXPECT_EQ(FallbackCode(0), "");
  EXPECT_EQ(FallbackName(13, testing::EnglishTexts()), "");
}

}  // namespace
}  // namespace korvex48
