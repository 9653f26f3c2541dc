// Checks the tables shipped inside the program against their contract: the
// language texts below are what every screen and message shows.
#include <gtest/gtest.h>

#include <set>

#include "core/common/resources.h"
#include "core/ui/language.h"
#include "core/ui/language_text.h"
#include "core/ui/layout_table.h"
#include "core/ui/settings_table.h"

namespace korvex48 {
namespace {

struct KeyText {
  const char* key;
  const char* text;
};

const KeyText kLanguageTexts[] = {
    {"Title", "ZENTO Gaming Mouse"},
    {"Str002", "Reset"},
    {"Str003", "Exit"},
    {"Str004", "Main Control"},
    {"Str005", "Alternate Key"},
    {"Str006", "Reset Control"},
    {"Str007", "Advanced"},
    {"Str008", "Breathing Light"},
    {"Str009", "Save Profile"},
    {"Str010", "Load Profile"},
    {"Str011", "Language1"},
    {"Str012", "Language2"},
    {"Str013", "Language3"},
    {"Str014", "Macro"},
    {"Str015", "Update"},
    {"Str020",
     "Please select the keyboard mode switch button to take effect after the key definition "
     "interface"},
    {"Str021", "Select the reset button in the key definition interface to take effect"},
    {"Str022", "Not find the specified device"},
    {"Str100", "No Device Found"},
    {"Str101", "Please check your device is attached to USB port"},
    {"Str102", "Korvex48Data.bin file type error"},
    {"Str103", "Macro bin length out of range"},
    {"Str104", "EEPROM space shortage"},
    {"Str105", "Please select a AIM Key in"},
    {"Str106", "This macro already exists"},
    {"Str107", "The mouse manufacturer or product id error"},
    {"Str200", "*"},
    {"Str201", "Standard Mouse Key"},
    {"Str202", "Special Key"},
    {"Str203", "Media Fn"},
    {"Str204", "WWW Fn"},
    {"Str205", "User-defined"},
    {"Str206", "Macro"},
    {"Str207", "PC Fn"},
    {"Str210", "Left Key"},
    {"Str211", "Right Key"},
    {"Str212", "Middle Key"},
    {"Str213", "Backward"},
    {"Str214", "Forward"},
    {"Str230", "Fire Key"},
    {"Str231", "Fire Key1"},
    {"Str232", "Fire Key2"},
    {"Str233", "Fire Key3"},
    {"Str234", "AIM Key"},
    {"Str241", "LED Switch"},
    {"Str242", "KB Switch Key"},
    {"Str243", "CPI"},
    {"Str244", "Report Rate"},
    {"Str245", "KB Reset Key"},
    {"Str246", "LED Mode"},
    {"Str247", "CPI +"},
    {"Str248", "CPI -"},
    {"Str250", "Play/Pause"},
    {"Str251", "Stop"},
    {"Str252", "Previous Track"},
    {"Str253", "Next Track"},
    {"Str254", "Volume +"},
    {"Str255", "Volume -"},
    {"Str256", "Mute"},
    {"Str260", "WWW Home"},
    {"Str261", "WWW Search"},
    {"Str262", "WWW Back"},
    {"Str263", "WWW Forward"},
    {"Str264", "WWW Stop"},
    {"Str265", "WWW Refresh"},
    {"Str266", "WWW Favorites"},
    {"Str270", "My Computer"},
    {"Str271", "Calculator"},
    {"Str272", "E-Mail"},
    {"Str273", "Desktop"},
    {"Str300", "200"},
    {"Str301", "400"},
    {"Str302", "600"},
    {"Str303", "800"},
    {"Str304", "1000"},
    {"Str305", "1200"},
    {"Str306", "1600"},
    {"Str307", "2000"},
    {"Str308", "2400"},
    {"Str309", "3200"},
    {"Str310", "4800"},
    {"Str311", "6400"},
    {"Str400", "Record"},
    {"Str401", "Stop"},
    {"Str402", "Rename"},
    {"Str404", "Export One"},
    {"Str405", "Export All"},
    {"Str406", "Import One"},
    {"Str407", "Import All"},
    {"Str408", "Delete"},
    {"Str409", "Insert"},
    {"Str410", "Insert Delay Front"},
    {"Str411", "Insert Delay Back"},
    {"Str412", "Insert Key Front"},
    {"Str413", "Insert Key Back"},
    {"Str414", "Record Delay"},
    {"Str415", "Default Delay"},
    {"Str416", "No Delay"},
    {"Str417", "Delay Time"},
    {"Str418", "ms"},
    {"Str420", "OK"},
    {"Str421", "OK"},
    {"Str422", "Cancel"},
    {"Str430", "OK for clear macro?"},
    {"Str432", "New Macro"},
    {"Str433", "Delect Macro"},
    {"Str434", "Add to Mouse"},
    {"Str440", "Load File"},
    {"Str441", "Update"},
    {"Str442", "Update File Path"},
    {"Str450", "Insert X axis Front"},
    {"Str451", "Insert X axis Back"},
    {"Str452", "Insert Y axis Front"},
    {"Str453", "Insert Y axis Back"},
    {"Str454", "X axis value"},
    {"Str455", "Y axis value"},
    {"Str456", "Insert Start Repeat"},
    {"Str457", "Insert Stop Repeat"},
    {"Str458", "Repeat Number"},
    {"Str500", "Assembly Key"},
    {"Str501", "Confirm"},
    {"Str502", "Clear"},
    {"Str510", "Macro Name"},
    {"Str511", "OK"},
    {"Str512", "Cancel"},
};

const char* const kLayoutKeys[] = {
    "Size_A",
    "Color_A_R",
    "Color_A_G",
    "Color_A_B",
    "Btn_A3_Enable",
    "Btn_A3_X",
    "Btn_A3_Y",
    "Btn_A4_Enable",
    "Btn_A4_X",
    "Btn_A4_Y",
    "Size_B",
    "Color_B_R",
    "Color_B_G",
    "Color_B_B",
    "Btn_Space_F",
    "Btn_Space_B",
    "Btn_B1_Enable",
    "Btn_B1_X",
    "Btn_B1_Y",
    "Btn_B2_Enable",
    "Btn_B2_X",
    "Btn_B2_Y",
    "Btn_B3_Enable",
    "Btn_B3_X",
    "Btn_B3_Y",
    "Btn_B4_Enable",
    "Btn_B4_X",
    "Btn_B4_Y",
    "Btn_B5_Enable",
    "Btn_B5_X",
    "Btn_B5_Y",
    "Btn_B11_Enable",
    "Btn_B11_X",
    "Btn_B11_Y",
    "Btn_B12_Enable",
    "Btn_B12_X",
    "Btn_B12_Y",
    "Btn_B6_Enable",
    "Btn_B6_X",
    "Btn_B6_Y",
    "Btn_B7_Enable",
    "Btn_B7_X",
    "Btn_B7_Y",
    "Btn_B8_Enable",
    "Btn_B8_X",
    "Btn_B8_Y",
    "Btn_B9_Enable",
    "Btn_B9_X",
    "Btn_B9_Y",
    "Btn_B10_Enable",
    "Btn_B10_X",
    "Btn_B10_Y",
    "Size_C",
    "Color_C_R",
    "Color_C_G",
    "Color_C_B",
    "P1_X",
    "P1_Y",
    "Key1_Enable",
    "Key1_X",
    "Key1_Y",
    "Key2_Enable",
    "Key2_X",
    "Key2_Y",
    "Key3_Enable",
    "Key3_X",
    "Key3_Y",
    "Key4_Enable",
    "Key4_X",
    "Key4_Y",
    "Key5_Enable",
    "Key5_X",
    "Key5_Y",
    "Key6_Enable",
    "Key6_X",
    "Key6_Y",
    "Key7_Enable",
    "Key7_X",
    "Key7_Y",
    "Key8_Enable",
    "Key8_X",
    "Key8_Y",
    "Key9_Enable",
    "Key9_X",
    "Key9_Y",
    "Key10_Enable",
    "Key10_X",
    "Key10_Y",
    "Key11_Enable",
    "Key11_X",
    "Key11_Y",
    "Key12_Enable",
    "Key12_X",
    "Key12_Y",
    "Disable_X",
    "Disable_Y",
    "Disable_H",
    "Disable_W",
    "Size_D",
    "Color_D_Selected_R",
    "Color_D_Selected_G",
    "Color_D_Selected_B",
    "Color_D_notSelected_R",
    "Color_D_notSelected_G",
    "Color_D_notSelected_B",
    "Color_D_Back_R",
    "Color_D_Back_G",
    "Color_D_Back_B",
    "P2_X",
    "P2_Y",
    "FK1Cnt_X",
    "FK1Cnt_Y",
    "FK1Delay_X",
    "FK1Delay_Y",
    "FK1Continue_X",
    "FK1Continue_Y",
    "FK2Cnt_X",
    "FK2Cnt_Y",
    "FK2Delay_X",
    "FK2Delay_Y",
    "FK2Continue_X",
    "FK2Continue_Y",
    "FK3Cnt_X",
    "FK3Cnt_Y",
    "FK3Delay_X",
    "FK3Delay_Y",
    "FK3Continue_X",
    "FK3Continue_Y",
    "Rep1_X",
    "Rep1_Y",
    "Rep2_X",
    "Rep2_Y",
    "Rep3_X",
    "Rep3_Y",
    "Rep4_X",
    "Rep4_Y",
    "Spd_X",
    "Spd_Y",
    "DbSpd_X",
    "DbSpd_Y",
    "ScrSpd_X",
    "ScrSpd_Y",
    "DPI_Orientation",
    "DPI1_Color_X",
    "DPI1_Color_Y",
    "DPI1_Check_X",
    "DPI1_Check_Y",
    "DPI1_X",
    "DPI1_Y",
    "DPI1_Value_X",
    "DPI1_Value_Y",
    "DPI1_Steps_X",
    "DPI1_Steps_Y",
    "DPI2_Color_X",
    "DPI2_Color_Y",
    "DPI2_Check_X",
    "DPI2_Check_Y",
    "DPI2_X",
    "DPI2_Y",
    "DPI2_Value_X",
    "DPI2_Value_Y",
    "DPI2_Steps_X",
    "DPI2_Steps_Y",
    "DPI3_Color_X",
    "DPI3_Color_Y",
    "DPI3_Check_X",
    "DPI3_Check_Y",
    "DPI3_X",
    "DPI3_Y",
    "DPI3_Value_X",
    "DPI3_Value_Y",
    "DPI3_Steps_X",
    "DPI3_Steps_Y",
    "DPI4_Color_X",
    "DPI4_Color_Y",
    "DPI4_Check_X",
    "DPI4_Check_Y",
    "DPI4_X",
    "DPI4_Y",
    "DPI4_Value_X",
    "DPI4_Value_Y",
    "DPI4_Steps_X",
    "DPI4_Steps_Y",
    "DPI5_Color_X",
    "DPI5_Color_Y",
    "DPI5_Check_X",
    "DPI5_Check_Y",
    "DPI5_X",
    "DPI5_Y",
    "DPI5_Value_X",
    "DPI5_Value_Y",
    "DPI5_Steps_X",
    "DPI5_Steps_Y",
    "DPI6_Color_X",
    "DPI6_Color_Y",
    "DPI6_Check_X",
    "DPI6_Check_Y",
    "DPI6_X",
    "DPI6_Y",
    "DPI6_Value_X",
    "DPI6_Value_Y",
    "DPI6_Steps_X",
    "DPI6_Steps_Y",
    "DPI7_Color_X",
    "DPI7_Color_Y",
    "DPI7_Check_X",
    "DPI7_Check_Y",
    "DPI7_X",
    "DPI7_Y",
    "DPI7_Value_X",
    "DPI7_Value_Y",
    "DPI7_Steps_X",
    "DPI7_Steps_Y",
    "DPI8_Color_X",
    "DPI8_Color_Y",
    "DPI8_Check_X",
    "DPI8_Check_Y",
    "DPI8_X",
    "DPI8_Y",
    "DPI8_Value_X",
    "DPI8_Value_Y",
    "DPI8_Steps_X",
    "DPI8_Steps_Y",
    "AIMDPI_X",
    "AIMDPI_Y",
    "AIMDPI_Value_X",
    "AIMDPI_Value_Y",
    "AIMDPI_Steps_X",
    "AIMDPI_Steps_Y",
    "Size_E",
    "Color_E_R",
    "Color_E_G",
    "Color_E_B",
    "P3_X",
    "P3_Y",
    "StepTime_X",
    "StepTime_Y",
    "LEDOff_X",
    "LEDOff_Y",
    "LEDMode1_X",
    "LEDMode1_Y",
    "LEDMode2_X",
    "LEDMode2_Y",
    "LEDMode3_X",
    "LEDMode3_Y",
    "LEDMode4_X",
    "LEDMode4_Y",
    "LEDMode5_X",
    "LEDMode5_Y",
    "LEDColor1_X",
    "LEDColor1_Y",
    "LEDColor2_X",
    "LEDColor2_Y",
    "LEDColor3_X",
    "LEDColor3_Y",
    "LEDColor4_X",
    "LEDColor4_Y",
    "LEDColor5_X",
    "LEDColor5_Y",
    "LEDColor6_X",
    "LEDColor6_Y",
    "LEDColor7_X",
    "LEDColor7_Y",
    "Size_F",
    "Color_F_R",
    "Color_F_G",
    "Color_F_B",
    "Color_F_Font_R",
    "Color_F_Font_G",
    "Color_F_Font_B",
    "Color_F_Back_R",
    "Color_F_Back_G",
    "Color_F_Back_B",
    "P4_X",
    "P4_Y",
    "PCMacroName_X",
    "PCMacroName_Y",
    "MseMacroName_X",
    "MseMacroName_Y",
    "MacroNameHeight",
    "MacroContent_X",
    "MacroContent_Y",
    "BtnStart_X",
    "BtnStart_Y",
    "DelayTime_X",
    "DelayTime_Y",
    "RecDelay_X",
    "RecDelay_Y",
    "RecDelay_H",
    "DelayEdit_X",
    "DelayEdit_Y",
    "Insert_X",
    "Insert_Y",
    "InsertList_X",
    "InsertList_Y",
    "InsertRecDelay_X",
    "InsertRecDelay_Y",
    "InsertRecDelay_H",
    "InsertDelayEdit_X",
    "InsertDelayEdit_Y",
    "InsertAxisEdit_X",
    "InsertAxisEdit_Y",
    "InsertBtnStart_X",
    "InsertBtnStart_Y",
    "InsertBtnOK_X",
    "InsertBtnOK_Y",
    "InsertBtnCancel_X",
    "InsertBtnCancel_Y",
    "Size_I",
    "Color_I_R",
    "Color_I_G",
    "Color_I_B",
    "P5_X",
    "P5_Y",
    "lbl_BINPath_X",
    "lbl_BINPath_Y",
    "lbl_LoadBin_X",
    "lbl_LoadBin_Y",
    "Btn_LoadBin_X",
    "Btn_LoadBin_Y",
    "Btn_Program_X",
    "Btn_Program_Y",
};

std::string AsText(ByteView bytes) { return std::string(bytes.begin(), bytes.end()); }

// Every entry of `section` has a value and no key occurs twice.
void ExpectUniqueKeys(const Table& table, const std::string& section) {
  std::set<std::string> seen;
  for (const TableEntry& e : table.Entries(section)) {
    EXPECT_TRUE(e.has_value) << section << ": " << e.key;
    EXPECT_TRUE(seen.insert(FoldCase(e.key)).second) << section << ": duplicate " << e.key;
  }
}

TEST(ShippedTablesTest, LanguageTablesHoldExactlyTheQuotedTexts) {
  std::string first_body;
  for (int n = 1; n <= 3; ++n) {
    const std::string name = "lang" + std::to_string(n);
    ByteView bytes = CoreResource(name);
    ASSERT_GE(bytes.size(), 2u) << name;
    EXPECT_EQ(bytes[0], 0xFF) << name;
    EXPECT_EQ(bytes[1], 0xFE) << name;

    std::string error;
    std::optional<std::string> text = DecodeLanguageText(bytes, &error);
    ASSERT_TRUE(text) << name << ": " << error;
    std::vector<std::string> tokens = TokenizeLanguageText(*text);
    ASSERT_FALSE(tokens.empty());
    EXPECT_EQ(tokens.front(), "[" + name + "]");
    // Every entry is quoted, one per line.
    std::size_t line_start = text->find('\n') + 1;
    while (line_start < text->size()) {
      std::size_t end = text->find('\n', line_start);
      std::string_view line = TrimBlanks(std::string_view(*text).substr(
          line_start, end == std::string::npos ? std::string::npos : end - line_start));
      if (!line.empty()) {
        EXPECT_TRUE(line.size() >= 2 && line.front() == '"' && line.back() == '"')
            << name << ": " << line;
      }
      if (end == std::string::npos) break;
      line_start = end + 1;
    }
    // Equal but for the section name.
    std::string body = text->substr(text->find(']'));
    if (n == 1) first_body = body;
    EXPECT_EQ(body, first_body) << name;

    std::optional<LanguageTable> table = LanguageTable::LoadShipped(n, &error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->Raw().SectionNames(), std::vector<std::string>{name});
    ExpectUniqueKeys(table->Raw(), name);
    EXPECT_EQ(table->Raw().Entries(name).size(), std::size(kLanguageTexts)) << name;
    for (const KeyText& kt : kLanguageTexts) {
      EXPECT_EQ(table->Text(kt.key), kt.text) << name << ": " << kt.key;
    }
  }
}

TEST(ShippedTablesTest, ReverseLookupOverShippedTables) {
  std::optional<LanguageSet> langs = LanguageSet::LoadShipped();
  ASSERT_TRUE(langs);
  EXPECT_EQ(langs->FindKeyOfText("Left Key"), "Str210");
  EXPECT_EQ(langs->FindKeyOfText("Reset"), "");  // Str002 has a leading zero
  EXPECT_EQ(langs->FindKeyOfText("OK"), "Str511");
  EXPECT_EQ(langs->FindKeyOfText("Stop"), "Str401");
  EXPECT_EQ(langs->Get(3).Text("Title"), "ZENTO Gaming Mouse");
}

TEST(ShippedTablesTest, SettingsTable) {
  const Table table = Table::FromText(AsText(CoreResource("ORG")));
  EXPECT_EQ(table.SectionNames(), std::vector<std::string>{"org"});
  ExpectUniqueKeys(table, "org");
  std::string error;
  std::optional<ProductSettings> s = LoadShippedSettings(&error);
  ASSERT_TRUE(s) << error;
  EXPECT_EQ(s->led_type, "RGB");
  EXPECT_EQ(s->web, "https://korvex48.org/guide");
  EXPECT_EQ(s->web_x, 666);
  EXPECT_EQ(s->web_y, 536);
  EXPECT_EQ(s->rev_manu_id, 0);
  EXPECT_EQ(s->rev_pro_id, 0);
}

TEST(ShippedTablesTest, LayoutKeyListIsTheContract) {
  EXPECT_EQ(LayoutKeyNames(),
            std::vector<std::string>(std::begin(kLayoutKeys), std::end(kLayoutKeys)));
  EXPECT_EQ(std::size(kLayoutKeys), 322u);
}

TEST(ShippedTablesTest, LayoutTables) {
  std::vector<std::vector<TableEntry>> entries;
  for (int n = 1; n <= 3; ++n) {
    const std::string name = "org" + std::to_string(n);
    const Table table = Table::FromText(AsText(CoreResource(name)));
    EXPECT_EQ(table.SectionNames(), std::vector<std::string>{name});
    ExpectUniqueKeys(table, name);
    // Every key, in table order, with a decimal value.
    const auto& e = table.Entries(name);
    ASSERT_EQ(e.size(), std::size(kLayoutKeys)) << name;
    for (std::size_t i = 0; i < e.size(); ++i) {
      EXPECT_EQ(e[i].key, kLayoutKeys[i]) << name;
      EXPECT_TRUE(ParseDecimal(e[i].value)) << name << ": " << e[i].key << "=" << e[i].value;
    }
    entries.push_back(e);

    std::string error;
    std::optional<LayoutTable> t = LoadShippedLayout(n, &error);
    ASSERT_TRUE(t) << error;
    EXPECT_EQ(t->size_a, 9);
    EXPECT_EQ(t->size_b, 10);
    EXPECT_EQ(t->color_d_selected, (LayoutColor{0, 229, 255}));
    EXPECT_EQ(t->btn_b[1].Pos(), (LayoutPoint{20, 497}));
    EXPECT_EQ(t->disable_x, 20);
    EXPECT_EQ(t->disable_y, 40);
    EXPECT_EQ(t->disable_h, 441);
    EXPECT_EQ(t->disable_w, 760);
    EXPECT_EQ(t->macro_name_height, 20);
    EXPECT_EQ(t->dpi_orientation, 1);
    // One language button at a time: Language2 never, Language1 only in org1.
    EXPECT_FALSE(t->btn_b[9].ShownAsButton()) << name;
    EXPECT_EQ(t->btn_b[8].ShownAsButton(), n == 1) << name;
    EXPECT_EQ(t->btn_b[10].ShownAsButton(), n != 1) << name;
    EXPECT_EQ(t->p1.y, n == 1 ? 40 : 90) << name;
  }
  // org2 and org3 are equal; org1 differs only in the language buttons and
  // the Main page panel and labels.
  for (std::size_t i = 0; i < std::size(kLayoutKeys); ++i) {
    EXPECT_EQ(entries[1][i].value, entries[2][i].value) << kLayoutKeys[i];
    const std::string key = kLayoutKeys[i];
    const bool may_differ = key == "Btn_B8_Enable" || key == "Btn_B10_Enable" ||
                            key.starts_with("P1_") || key.starts_with("Key");
    if (!may_differ) {
      EXPECT_EQ(entries[0][i].value, entries[1][i].value) << key;
    }
  }
}

}  // namespace
}  // namespace korvex48
