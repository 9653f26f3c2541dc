#include "core/pointer/pointer_tables.h"

#include <gtest/gtest.h>

namespace korvex48 {
namespace {

TEST(PointerTables, EveryPositionMapsToItsValueAndBack) {
  struct Case {
    PointerSetting setting;
    int values[10];
  };
  const Case cases[] = {
      {PointerSetting::kSpeed, {1, 2, 4, 6, 8, 10, 12, 14, 16, 18}},
      {PointerSetting::kDoubleClick, {900, 830, 760, 690, 620, 550, 480, 410, 340, 270}},
      {PointerSetting::kWheelLines, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
  };
  for (const Case& c : cases) {
    for (int p = 1; p <= 10; ++p) {
      EXPECT_EQ(PointerValueOf(c.setting, p), c.values[p - 1]);
      EXPECT_EQ(PointerPositionOf(c.setting, c.values[p - 1]), p);
    }
    EXPECT_EQ(PointerValueOf(c.setting, 0), std::nullopt);
    EXPECT_EQ(PointerValueOf(c.setting, 11), std::nullopt);
  }
  // Values between the table's steps have no position.
  for (int v : {0, 3, 5, 20})
    EXPECT_EQ(PointerPositionOf(PointerSetting::kSpeed, v), std::nullopt) << v;
  EXPECT_EQ(PointerPositionOf(PointerSetting::kDoubleClick, 500), std::nullopt);
  EXPECT_EQ(PointerPositionOf(PointerSetting::kWheelLines, 11), std::nullopt);
}

// What the bars show for a desktop value that is no step of theirs.
TEST(PointerTables, AValueBetweenStepsShowsTheNearestStep) {
  struct Case {
    PointerSetting setting;
    int value, position;
  };
  const Case cases[] = {
      {PointerSetting::kSpeed, 10, 6},
      {PointerSetting::kSpeed, 3, 2},  // tie: lower
      {PointerSetting::kSpeed, 5, 3},
      {PointerSetting::kSpeed, 0, 1},
      {PointerSetting::kSpeed, 20, 10},
      {PointerSetting::kDoubleClick, 400, 8},
      {PointerSetting::kDoubleClick, 500, 7},
      {PointerSetting::kDoubleClick, 2000, 1},
      {PointerSetting::kDoubleClick, 100, 10},
      {PointerSetting::kDoubleClick, -5, 10},
      {PointerSetting::kWheelLines, 12, 10},
      {PointerSetting::kWheelLines, 0, 1},
      {PointerSetting::kWheelLines, 2147483647, 10},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NearestPointerPosition(c.setting, c.value), c.position)
        << static_cast<int>(c.setting) << " " << c.value;
}

TEST(PointerTables, GnomeSpeedIsLinearAndComesBackToTheSamePosition) {
  EXPECT_DOUBLE_EQ(GnomeSpeedOfPosition(1), -1.0);
  EXPECT_DOUBLE_EQ(GnomeSpeedOfPosition(10), 1.0);
  EXPECT_LT(GnomeSpeedOfPosition(5), 0.0);
  EXPECT_GT(GnomeSpeedOfPosition(6), 0.0);
  EXPECT_LT(GnomeSpeedOfPosition(6), 0.12);
  for (int p = 1; p <= 10; ++p) EXPECT_EQ(PositionOfGnomeSpeed(GnomeSpeedOfPosition(p)), p);
  struct Case {
    double speed;
    int position;
  };
  const Case cases[] = {{0.0, 6}, {-0.05, 5}, {-7.0, 1}, {3.0, 10}, {0.5, 8}};
  for (const Case& c : cases) EXPECT_EQ(PositionOfGnomeSpeed(c.speed), c.position) << c.speed;
}

TEST(PointerTables, XAccelerationCarriesTheSpeed) {
  struct Case {
    int speed, numerator, denominator;
  };
  const Case cases[] = {{10, 2, 1}, {1, 1, 5}, {18, 18, 5}, {5, 1, 1}, {0, 1, 5}};
  for (const Case& c : cases) {
    const XAcceleration a = XAccelerationOfSpeed(c.speed);
    EXPECT_EQ(a.numerator, c.numerator) << c.speed;
    EXPECT_EQ(a.denominator, c.denominator) << c.speed;
  }
  EXPECT_EQ(SpeedOfXAcceleration(2, 1), 10);
  EXPECT_EQ(SpeedOfXAcceleration(18, 5), 18);
  EXPECT_EQ(SpeedOfXAcceleration(1, 0), std::nullopt);
}

}  // namespace
}  // namespace korvex48
