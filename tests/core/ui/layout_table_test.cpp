#include "core/ui/layout_table.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/ui/settings_table.h"

namespace korvex48 {
namespace {

Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A layout table [org<index>] whose key number i (in table order) holds i,
// with `edits` appended (a later entry wins).
std::string NumberedLayout(int index, const std::string& edits = "") {
  std::string text = "[org" + std::to_string(index) + "]\n";
  const auto& keys = LayoutKeyNames();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    // Colours must stay inside 0..255 and the orientation inside 0..1.
    int value = static_cast<int>(i);
    if (keys[i].starts_with("Color_")) value %= 256;
    if (keys[i] == "DPI_Orientation") value = 1;
    text += keys[i] + "=" + std::to_string(value) + "\n";
  }
  return text + edits;
}

int KeyNumber(const std::string& key) {
  const auto& keys = LayoutKeyNames();
  return static_cast<int>(std::find(keys.begin(), keys.end(), key) - keys.begin());
}

TEST(LayoutTableTest, EveryKeyLandsInItsField) {
  std::string error;
  std::optional<LayoutTable> t = ReadLayoutTable(ToBytes(NumberedLayout(2)), 2, &error);
  ASSERT_TRUE(t) << error;
  struct Field {
    const char* key;
    int value;
  };
  const Field fields[] = {
      {"Size_A", t->size_a},
      {"Btn_A4_Y", t->btn_a4.y},
      {"Btn_Space_B", t->btn_space_b},
      {"Btn_B1_Enable", t->btn_b[1].enable},
      {"Btn_B11_X", t->btn_b[11].x},
      {"Btn_B12_Y", t->btn_b[12].y},
      {"Btn_B6_X", t->btn_b[6].x},
      {"Btn_B10_Enable", t->btn_b[10].enable},
      {"P1_Y", t->p1.y},
      {"Key12_X", t->key[12].x},
      {"Disable_H", t->disable_h},
      {"Disable_W", t->disable_w},
      {"FK3Continue_Y", t->fk[3].cont.y},
      {"Rep4_X", t->rep[4].x},
      {"ScrSpd_Y", t->scr_spd.y},
      {"DPI8_X", t->dpi[8].label.x},
      {"DPI8_Value_Y", t->dpi[8].value.y},
      {"DPI1_Steps_X", t->dpi[1].steps.x},
      {"DPI5_Check_Y", t->dpi[5].check.y},
      {"DPI3_Color_X", t->dpi[3].color.x},
      {"AIMDPI_Steps_Y", t->aim_dpi.steps.y},
      {"LEDMode5_X", t->led_mode[5].x},
      {"LEDColor7_Y", t->led_color[7].y},
      {"MacroNameHeight", t->macro_name_height},
      {"RecDelay_H", t->rec_delay.h},
      {"InsertRecDelay_Y", t->insert_rec_delay.y},
      {"InsertBtnCancel_X", t->insert_btn_cancel.x},
      {"Btn_Program_Y", t->btn_program.y},
  };
  for (const Field& f : fields) EXPECT_EQ(f.value, KeyNumber(f.key)) << f.key;
  EXPECT_EQ(t->color_i.b, KeyNumber("Color_I_B") % 256);
  EXPECT_TRUE(t->DpiStepsSideBySide());
}

TEST(LayoutTableTest, RefusesBadOrMissingKeys) {
  struct Case {
    const char* name;
    std::string text;
    const char* error_part;
  };
  std::string without_p5 = NumberedLayout(1);
  const std::size_t p5 = without_p5.find("P5_X=");
  without_p5.erase(p5, without_p5.find('\n', p5) + 1 - p5);
  const Case cases[] = {
      {"NotDecimal", NumberedLayout(1, "P2_X=abc\n"), "org1: P2_X: 'abc' is not a valid"},
      {"Hexadecimal", NumberedLayout(1, "Size_B=$0B\n"), "Size_B"},
      {"EmptyValue", NumberedLayout(1, "Key3_Y=\n"), "Key3_Y"},
      {"ColourAbove255", NumberedLayout(1, "Color_C_G=256\n"), "Color_C_G"},
      {"NegativeColour", NumberedLayout(1, "Color_A_R=-1\n"), "Color_A_R"},
      {"OrientationTwo", NumberedLayout(1, "DPI_Orientation=2\n"), "DPI_Orientation"},
      {"ZeroRowHeight", NumberedLayout(1, "MacroNameHeight=0\n"), "MacroNameHeight"},
      {"MissingKey", without_p5, "org1: P5_X: key is missing"},
      {"WrongSection", NumberedLayout(2), "org1: Size_A: key is missing"},
      {"Empty", "", "Size_A"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ReadLayoutTable(ToBytes(c.text), 1, &error)) << c.name;
    EXPECT_NE(error.find(c.error_part), std::string::npos) << c.name << ": " << error;
  }
}

TEST(LayoutTableTest, PlacementMapByLedType) {
  // Entry j -> label m for "RGB", "ZK" and any other LED type (0: not placed).
  const int rgb[] = {1, 5, 9, 10, 11, 6, 7, 8, 12, 2, 3, 4};
  const int zk[] = {1, 5, 9, 3, 7, 11, 2, 6, 10, 8, 12, 4};
  const int other[] = {1, 5, 9, 0, 0, 0, 0, 0, 0, 0, 0, 4};
  for (int j = 1; j <= 12; ++j) {
    EXPECT_EQ(KeyLabelForEntry(LedType::kRgb, j), rgb[j - 1]) << j;
    EXPECT_EQ(KeyLabelForEntry(LedType::kZk, j), zk[j - 1]) << j;
    EXPECT_EQ(KeyLabelForEntry(LedType::kOther, j), other[j - 1]) << j;
  }
  EXPECT_EQ(KeyLabelForEntry(LedType::kRgb, 0), 0);
  EXPECT_EQ(KeyLabelForEntry(LedType::kRgb, 13), 0);
}

TEST(LayoutTableTest, ColourAndToggleRules) {
  EXPECT_EQ((LayoutColor{1, 2, 3}.PlatformValue()), 1u + 2u * 256u + 3u * 65536u);
  EXPECT_TRUE((LayoutToggle{1, 0, 0}.ShownAsButton()));
  EXPECT_FALSE((LayoutToggle{2, 0, 0}.ShownAsButton()));  // buttons need exactly 1
  EXPECT_TRUE((LayoutToggle{2, 0, 0}.ShownAsKey()));      // keys any non-zero
  EXPECT_FALSE((LayoutToggle{0, 0, 0}.ShownAsKey()));
}

TEST(SettingsTableTest, ReadsAndChecksTheSettings) {
  struct Case {
    const char* name;
    const char* text;
    bool ok;
    LedType led;
  };
  const Case cases[] = {
      {"Rgb", "[org]\nLEDType=RGB\nWeb=x\nWeb_X=1\nWeb_Y=2\nRev_Manu_ID=3\nRev_Pro_ID=255\n", true,
       LedType::kRgb},
      {"Zk", "[ORG]\nledtype=ZK\nWeb_X=1\nWeb_Y=2\nRev_Manu_ID=0\nRev_Pro_ID=0\n", true,
       LedType::kZk},
      {"LedTypeIsCaseSensitive",
       "[org]\nLEDType=rgb\nWeb_X=1\nWeb_Y=2\nRev_Manu_ID=0\nRev_Pro_ID=0\n", true,
       LedType::kOther},
      {"IdentifierAboveAByte",
       "[org]\nLEDType=RGB\nWeb_X=1\nWeb_Y=2\nRev_Manu_ID=256\nRev_Pro_ID=0\n", false,
       LedType::kOther},
      {"NotDecimal", "[org]\nWeb_X=1\nWeb_Y=2y\nRev_Manu_ID=0\nRev_Pro_ID=0\n", false,
       LedType::kOther},
      {"MissingKey", "[org]\nWeb_X=1\nWeb_Y=2\nRev_Manu_ID=0\n", false, LedType::kOther},
  };
  for (const Case& c : cases) {
    std::string error;
    std::optional<ProductSettings> s = ReadSettingsTable(ToBytes(c.text), &error);
    ASSERT_EQ(s.has_value(), c.ok) << c.name << ": " << error;
    EXPECT_EQ(error.empty(), c.ok) << c.name;
    if (s) {
      EXPECT_EQ(s->Led(), c.led) << c.name;
    }
  }
}

}  // namespace
}  // namespace korvex48
