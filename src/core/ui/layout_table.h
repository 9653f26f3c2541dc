#pragma once
// The layout tables org1..org3 (sections [org1]..[org3]): 322 decimal keys
// that place and size the main window's controls and set their font sizes and
// colours. Field names follow the keys (Btn_B4_X -> btn_b[4].x, Key7_Enable
// -> key[7].enable, DPI3_Steps_Y -> dpi[3].steps.y). Arrays are indexed by the
// number in the key; index 0 is unused.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/bytes.h"
#include "core/ui/settings_table.h"

namespace korvex48 {

struct LayoutPoint {
  int x = 0;
  int y = 0;
  bool operator==(const LayoutPoint&) const = default;
};

// A colour of three keys …_R, …_G, …_B, each 0..255.
struct LayoutColor {
  int r = 0;
  int g = 0;
  int b = 0;
  // The platform colour value R + 256·G + 65536·B.
  std::uint32_t PlatformValue() const {
    return static_cast<std::uint32_t>(r) + 256u * static_cast<std::uint32_t>(g) +
           65536u * static_cast<std::uint32_t>(b);
  }
  bool operator==(const LayoutColor&) const = default;
};

// <name>_Enable, _X, _Y. Btn_A*/Btn_B* show their controls only for
// Enable == 1; Key<j> shows them for any non-zero Enable.
struct LayoutToggle {
  int enable = 0;
  int x = 0;
  int y = 0;
  bool ShownAsButton() const { return enable == 1; }  // Btn_A3, Btn_A4, Btn_B<k>
  bool ShownAsKey() const { return enable != 0; }     // Key<j>
  LayoutPoint Pos() const { return {x, y}; }
};

// Rows of three option lines at (x, y + i·h), i = 0..2 (RecDelay, InsertRecDelay).
struct LayoutRows {
  int x = 0;
  int y = 0;
  int h = 0;
};

struct LayoutFireKey {  // FK<f>…
  LayoutPoint cnt;      // Edt_Repeat<f>
  LayoutPoint delay;    // Edt_DelayTime<f>
  LayoutPoint cont;     // Img_Fire<f>Continue; lbl_Fire<f>Continue at (x − 2, y)
};

struct LayoutDpi {    // DPI<d>…
  LayoutPoint color;  // Img_DPI<d>Col, cs_DPI<d>Col, lbl_DPI<d>Col
  LayoutPoint check;  // Img_DPI<d>
  LayoutPoint label;  // lbl_DPI<d> (keys DPI<d>_X/_Y)
  LayoutPoint value;  // lbl_DPI<d>Value
  LayoutPoint steps;  // Img_DPI<d>_1..12
};

struct LayoutAimDpi {  // AIMDPI…
  LayoutPoint label;   // lbl_AIMDPI
  LayoutPoint value;   // lbl_AIMDPIValue
  LayoutPoint steps;   // Img_AIMDPI_1..12
};

struct LayoutTable {
  // Reset and Exit.
  int size_a = 0;
  LayoutColor color_a;
  LayoutToggle btn_a3;  // Img_Reset_N, Btn_Reset_N
  LayoutToggle btn_a4;  // Img_Exit_N, Btn_Exit_N
  // Navigation bar.
  int size_b = 0;
  LayoutColor color_b;
  int btn_space_f = 0;
  int btn_space_b = 0;
  // k = 1 Main, 2 Switch, 3 Fixed, 4 Adv, 5 Breath, 6 Save, 7 Load, 8 Lang1,
  // 9 Lang2, 10 Lang3, 11 Macro, 12 Update.
  std::array<LayoutToggle, 13> btn_b{};
  // Main page.
  int size_c = 0;
  LayoutColor color_c;
  LayoutPoint p1;
  std::array<LayoutToggle, 13> key{};  // layout entry Key<j>, j = 1..12
  int disable_x = 0;
  int disable_y = 0;
  int disable_h = 0;
  int disable_w = 0;
  // Advanced page.
  int size_d = 0;
  LayoutColor color_d_selected;
  LayoutColor color_d_not_selected;
  LayoutColor color_d_back;
  LayoutPoint p2;
  std::array<LayoutFireKey, 4> fk{};  // f = 1..3
  std::array<LayoutPoint, 5> rep{};   // r = 1..4
  LayoutPoint spd;
  LayoutPoint db_spd;
  LayoutPoint scr_spd;
  int dpi_orientation = 0;         // 0 = steps stacked upwards, 1 = side by side
  std::array<LayoutDpi, 9> dpi{};  // d = 1..8
  LayoutAimDpi aim_dpi;
  // Breathing Light page.
  int size_e = 0;
  LayoutColor color_e;
  LayoutPoint p3;
  LayoutPoint step_time;
  LayoutPoint led_off;
  std::array<LayoutPoint, 6> led_mode{};   // l = 1..5
  std::array<LayoutPoint, 8> led_color{};  // c = 1..7
  // Macro page.
  int size_f = 0;
  LayoutColor color_f;
  LayoutColor color_f_font;
  LayoutColor color_f_back;
  LayoutPoint p4;
  LayoutPoint pc_macro_name;
  LayoutPoint mse_macro_name;
  int macro_name_height = 0;
  LayoutPoint macro_content;
  LayoutPoint btn_start;
  LayoutPoint delay_time;
  LayoutRows rec_delay;
  LayoutPoint delay_edit;
  LayoutPoint insert;
  LayoutPoint insert_list;
  LayoutRows insert_rec_delay;
  LayoutPoint insert_delay_edit;
  LayoutPoint insert_axis_edit;
  LayoutPoint insert_btn_start;
  LayoutPoint insert_btn_ok;
  LayoutPoint insert_btn_cancel;
  // Update page.
  int size_i = 0;
  LayoutColor color_i;
  LayoutPoint p5;
  LayoutPoint lbl_bin_path;  // lbl_BINPath
  LayoutPoint lbl_load_bin;  // lbl_LoadBIN
  LayoutPoint btn_load_bin;  // Img_LoadBIN + Btn_LoadBIN
  LayoutPoint btn_program;   // Img_Program + Btn_Program

  bool DpiStepsSideBySide() const { return dpi_orientation == 1; }
};

// The 322 keys of a layout table in table order.
const std::vector<std::string>& LayoutKeyNames();

// Reads and checks layout table `index` (1..3) from `bytes` (8-bit text,
// table line rules, section [org<index>]). Every key must be present and a
// decimal integer; colour components must be 0..255, DPI_Orientation 0 or 1,
// MacroNameHeight positive and Disable_H/_W not negative. On failure returns
// nullopt and a message naming the key in `error` (a configuration error:
// the caller stops the start).
std::optional<LayoutTable> ReadLayoutTable(ByteView bytes, int index, std::string* error = nullptr);

// ReadLayoutTable over the embedded resource org<index>.
std::optional<LayoutTable> LoadShippedLayout(int index, std::string* error = nullptr);

// Placement map of the Main page: the label number m of Key<m>/Img_Key<m> that
// layout entry Key<j> (j = 1..12) places. With LED type kOther the entries
// Key4..Key11 place nothing (0): their controls keep their designed place.
// 0 also for j outside 1..12.
int KeyLabelForEntry(LedType led, int j);

}  // namespace korvex48
