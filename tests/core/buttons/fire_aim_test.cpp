#include "core/buttons/fire_aim.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/common/resources.h"
#include "english_texts.h"

namespace korvex48 {
namespace {

class FireAimFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(codes_.LoadFromProfileSection(CoreResource("KORVEX48DATA").subspan(104, 145)));
  }
  KeyNameSources Sources(std::uint8_t parameterByte1 = 0x31) const {
    return {testing::EnglishTexts(), FireIdentityCounts::FromParameterByte(parameterByte1), {}};
  }
  ButtonTexts Labels(int profile) const { return ProfileKeyNames(codes_, profile, Sources()); }
  static std::vector<std::size_t> Offsets(const std::vector<ProfileByteWrite>& writes) {
    std::vector<std::size_t> offsets;
    for (const auto& w : writes) offsets.push_back(w.offset);
    return offsets;
  }

  KeyCodes codes_;
};

TEST(FireCodes, EncodeSettingsAndIdentityCounts) {
  FireKeyTable fire = {FireKeySettings{2, false, 50}, FireKeySettings{4, false, 50},
                       FireKeySettings{15, true, 4094}};
  EXPECT_EQ(KeyCodeToText(FireKeyCode(fire[0])), "06110032");
  EXPECT_EQ(KeyCodeToText(FireKeyCode(fire[1])), "06130032");
  EXPECT_EQ(KeyCodeToText(FireKeyCode(fire[2])), "069E0FFE");
  EXPECT_EQ(FireCountsParameterByte(fire), 0x31);
  fire[0].repeatCount = 0;  // no encoding for 0: treated as 1
  fire[1].repeatCount = 15;
  EXPECT_EQ(FireCountsParameterByte(fire), 0xE0);
}

TEST(FireFields, NormalizeLikeTheControls) {
  const std::pair<const char*, const char*> repeat[] = {
      {"99", "15"}, {"", "1"}, {"0", "1"}, {"00", "1"}, {"7", "7"}, {"15", "15"}, {"16", "15"}};
  for (const auto& [in, out] : repeat) EXPECT_EQ(NormalizeRepeatField(in), out) << in;
  const std::pair<const char*, const char*> delay[] = {
      {"5000", "4094"}, {"", "0"},        {"0", "0"},
      {"4094", "4094"}, {"4095", "4094"}, {"99999999999999999999", "4094"}};
  for (const auto& [in, out] : delay) EXPECT_EQ(NormalizeDelayFieldOnLeave(in), out) << in;
}

TEST_F(FireAimFixture, RefreshShowsEachFireKeysLastCodeWithTheActiveProfileLast) {
  // Default image: profile 1 button 2 is Fire Key2 (count 4), profile 2's is
  // Fire Key1 (count 2), profile 3's is Fire Key3 (count 6); all delay 50.
  const FireKeyTable shown = RefreshFireKey(codes_, 1, Sources(), FireKeyTable{});
  EXPECT_EQ(shown[0], (FireKeySettings{2, false, 50}));
  EXPECT_EQ(shown[1], (FireKeySettings{4, false, 50}));
  EXPECT_EQ(shown[2], (FireKeySettings{6, false, 50}));

  codes_.Set(1, 7, "06110010");  // Fire Key1, delay 16, in the active profile
  codes_.Set(3, 7, "06110099");  // a later code of Fire Key1 in profile 3
  EXPECT_EQ(RefreshFireKey(codes_, 1, Sources(), FireKeyTable{})[0].delay, 16);
  EXPECT_EQ(RefreshFireKey(codes_, 2, Sources(), FireKeyTable{})[0].delay, 50);
  EXPECT_EQ(RefreshFireKey(codes_, 3, Sources(), FireKeyTable{})[0].delay, 0x99);
}

TEST_F(FireAimFixture, SettingFireKeyRewritesTheActiveProfilesFireButtons) {
  codes_.Set(1, 2, "06110032");
  codes_.Set(1, 5, "06110032");
  codes_.Set(2, 6, "06110032");
  const FireKeyTable fire = {FireKeySettings{2, false, 80}, FireKeySettings{4, false, 50},
                             FireKeySettings{6, false, 50}};

  FireKeyUpdate u = SettingFireKey(codes_, 1, Labels(1), fire, testing::EnglishTexts());
  EXPECT_EQ(Offsets(u.writes), (std::vector<std::size_t>{4, 16}));
  EXPECT_EQ(u.parameterByte1, std::optional<std::uint8_t>(0x31));
  EXPECT_EQ(codes_.Code(1, 5), "06110050");
  EXPECT_EQ(codes_.Code(2, 6), "06110032");

  // Profile 2: default button 2 (Fire Key1) and button 6; the counts stay.
  u = SettingFireKey(codes_, 2, Labels(2), fire, testing::EnglishTexts());
  EXPECT_EQ(Offsets(u.writes), (std::vector<std::size_t>{52, 68}));
  EXPECT_FALSE(u.parameterByte1.has_value());

  u = SettingFireKey(codes_, 3, Labels(3), fire, testing::EnglishTexts());
  EXPECT_TRUE(u.writes.empty());
  EXPECT_FALSE(u.parameterByte1.has_value());
}

TEST_F(FireAimFixture, AimStepComesFromTheActiveProfilesLastAimCode) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, const char*>> aimButtons;  // profile 2
    int current;
    int step;
  };
  const Case cases[] = {
      {"no AIM key", {}, 5, 1},
      {"index 7", {{4, "05070000"}}, 5, 8},
      {"last button wins", {{4, "05070000"}, {9, "05020000"}}, 5, 3},
      {"index 255 keeps the display", {{4, "05FF0000"}}, 5, 5},
      {"index past the list keeps the display", {{4, "050C0000"}}, 5, 5},
      {"a valid code before an unusable one", {{4, "05030000"}, {9, "05FF0000"}}, 5, 4},
  };
  for (const Case& c : cases) {
    SetUp();
    for (const auto& [button, code] : c.aimButtons) codes_.Set(2, button, code);
    EXPECT_EQ(RefreshAimStep(codes_, 2, Sources(), c.current), c.step) << c.what;
    EXPECT_EQ(RefreshAimStep(codes_, 1, Sources(), c.current), 1) << c.what;
  }
}

TEST_F(FireAimFixture, SettingAimKeyRewritesAimButtonsOrComplains) {
  codes_.Set(2, 4, "05000000");
  codes_.Set(2, 9, "05000000");
  AimKeyUpdate u = SettingAimKey(codes_, 2, Labels(2), 8, testing::EnglishTexts());
  EXPECT_EQ(Offsets(u.writes), (std::vector<std::size_t>{60, 80}));
  EXPECT_EQ(codes_.Code(2, 9), "05070000");
  EXPECT_EQ(u.aimStep, 8);
  EXPECT_EQ(u.message, "");

  u = SettingAimKey(codes_, 1, Labels(1), 8, testing::EnglishTexts());
  EXPECT_TRUE(u.writes.empty());
  EXPECT_EQ(u.aimStep, 1);
  EXPECT_EQ(u.message, "Please select a AIM Key inMain Control");

  codes_.Set(3, 1, "05000000");
  u = SettingAimKey(codes_, 3, Labels(3), 8, testing::EnglishTexts());
  EXPECT_TRUE(u.writes.empty());
  EXPECT_EQ(u.aimStep, 1);
  EXPECT_EQ(u.message, "");
}

}  // namespace
}  // namespace korvex48
