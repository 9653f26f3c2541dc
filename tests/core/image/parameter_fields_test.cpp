#include "core/image/parameter_fields.h"

#include <gtest/gtest.h>

#include "core/image/default_image.h"

namespace korvex48 {
namespace {

ParameterSection DefaultParameters() {
  ConfigImage image;
  ReadDefaultSections(StorageKind::kI2C, image);
  return image.parameters;
}

TEST(ParameterFields, ReadTheDefaultImageAsDocumented) {
  const ParameterSection p = DefaultParameters();
  EXPECT_EQ(param::VendorIdOf(p), 0x3AB0);
  EXPECT_EQ(param::ProductIdOf(p), 0x08B8);
  EXPECT_EQ(param::SecondaryStorageBitsOf(p), 0b10);  // "I2C"
  EXPECT_EQ(param::ReportRateCodeOf(p), 3);
  EXPECT_EQ(param::LightingTypeBitsOf(p), 0b11);  // "NT"
  EXPECT_EQ(param::LightingModeOf(p), 3);
  EXPECT_EQ(param::DpiLevelCountOf(p), 7);
  EXPECT_EQ(param::CurrentDpiLevelOf(p), 7);
  const std::uint8_t indexes[] = {0x2, 0x4, 0x6, 0x8, 0x9, 0xA, 0xB, 0xB};  // 42 86 A9 BB
  for (int level = 1; level <= 8; ++level)
    EXPECT_EQ(param::DpiIndexOf(p, level), indexes[level - 1]) << level;
  EXPECT_EQ(param::FallTimeOf(p), 0x3C);
}

// Each setter must change only its own bits; a fixture of distinct bytes shows
// any write to a neighbouring byte or nibble.
TEST(ParameterFields, SettersTouchOnlyTheirBits) {
  ParameterSection base;
  for (std::size_t i = 0; i < base.size(); ++i) base[i] = static_cast<std::uint8_t>(i * 7 + 1);

  struct Case {
    const char* name;
    void (*set)(ParameterSection&);
    std::size_t byte;
    std::uint8_t mask;  // bits the setter may change
    std::size_t byte2 = SIZE_MAX;
  };
  const Case cases[] = {
      {"rate code", [](ParameterSection& p) { param::SetReportRateCode(p, 2); }, 6, 0x30},
      {"dpi level 3", [](ParameterSection& p) { param::SetDpiIndex(p, 3, 0xF); }, 40, 0x0F},
      {"dpi level 8", [](ParameterSection& p) { param::SetDpiIndex(p, 8, 0x0); }, 42, 0xF0},
      {"dpi colour 4 blue", [](ParameterSection& p) { param::SetDpiColour(p, 4, 2, 5); }, 80, 0xF0},
      {"dpi colour 7 red", [](ParameterSection& p) { param::SetDpiColour(p, 7, 0, 9); }, 84, 0x0F},
      {"light colour 7 blue", [](ParameterSection& p) { param::SetLightColour(p, 7, 2, 1); }, 74,
       0xFF},
      {"dpi levels", [](ParameterSection& p) { param::SetDpiLevels(p, 8, 2); }, 38, 0xFF},
      {"fall time", [](ParameterSection& p) { param::SetFallTime(p, 50); }, 52, 0xFF, 53},
      {"out of range", [](ParameterSection& p) { param::SetDpiIndex(p, 9, 1); }, 0, 0x00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ParameterSection p = base;
    c.set(p);
    for (std::size_t i = 0; i < p.size(); ++i) {
      if (i == c.byte2) continue;
      const std::uint8_t allowed = i == c.byte ? c.mask : 0;
      EXPECT_EQ(p[i] & ~allowed & 0xFF, base[i] & ~allowed & 0xFF) << "byte " << i;
    }
  }

  ParameterSection p = base;
  param::SetDpiColour(p, 4, 2, 5);
  EXPECT_EQ(param::DpiColourOf(p, 4, 2), 5);
  param::SetDpiLevels(p, 8, 2);
  EXPECT_EQ(p[38], 0x71);
  param::SetReportRateCode(p, 2);
  EXPECT_EQ(param::ReportRateCodeOf(p), 2);
}

}  // namespace
}  // namespace korvex48
