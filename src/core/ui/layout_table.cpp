#include "core/ui/layout_table.h"

#include <utility>

#include "core/common/resources.h"
#include "core/ui/table_numbers.h"

namespace korvex48 {
namespace {

// What a key must hold besides being a decimal integer.
enum class Check { kAny, kColor, kOrientation, kPositive, kNotNegative };

struct Binding {
  std::string key;
  int* field;
  Check check;
};

class Binder {
 public:
  void Int(std::string key, int& field, Check check = Check::kAny) {
    out.push_back({std::move(key), &field, check});
  }
  void Point(const std::string& prefix, LayoutPoint& p) {
    Int(prefix + "_X", p.x);
    Int(prefix + "_Y", p.y);
  }
  void Color(const std::string& prefix, LayoutColor& c) {
    Int(prefix + "_R", c.r, Check::kColor);
    Int(prefix + "_G", c.g, Check::kColor);
    Int(prefix + "_B", c.b, Check::kColor);
  }
  void Toggle(const std::string& prefix, LayoutToggle& t) {
    Int(prefix + "_Enable", t.enable);
    Int(prefix + "_X", t.x);
    Int(prefix + "_Y", t.y);
  }
  void Rows(const std::string& prefix, LayoutRows& r) {
    Int(prefix + "_X", r.x);
    Int(prefix + "_Y", r.y);
    Int(prefix + "_H", r.h);
  }
  std::vector<Binding> out;
};

// Every key of the table in table order, bound to its field of `t`.
std::vector<Binding> Bind(LayoutTable& t) {
  Binder b;
  b.Int("Size_A", t.size_a);
  b.Color("Color_A", t.color_a);
  b.Toggle("Btn_A3", t.btn_a3);
  b.Toggle("Btn_A4", t.btn_a4);
  b.Int("Size_B", t.size_b);
  b.Color("Color_B", t.color_b);
  b.Int("Btn_Space_F", t.btn_space_f);
  b.Int("Btn_Space_B", t.btn_space_b);
  for (int k : {1, 2, 3, 4, 5, 11, 12, 6, 7, 8, 9, 10}) {
    b.Toggle("Btn_B" + std::to_string(k), t.btn_b[k]);
  }
  b.Int("Size_C", t.size_c);
  b.Color("Color_C", t.color_c);
  b.Point("P1", t.p1);
  for (int j = 1; j <= 12; ++j) b.Toggle("Key" + std::to_string(j), t.key[j]);
  b.Int("Disable_X", t.disable_x);
  b.Int("Disable_Y", t.disable_y);
  b.Int("Disable_H", t.disable_h, Check::kNotNegative);
  b.Int("Disable_W", t.disable_w, Check::kNotNegative);
  b.Int("Size_D", t.size_d);
  b.Color("Color_D_Selected", t.color_d_selected);
  b.Color("Color_D_notSelected", t.color_d_not_selected);
  b.Color("Color_D_Back", t.color_d_back);
  b.Point("P2", t.p2);
  for (int f = 1; f <= 3; ++f) {
    const std::string fk = "FK" + std::to_string(f);
    b.Point(fk + "Cnt", t.fk[f].cnt);
    b.Point(fk + "Delay", t.fk[f].delay);
    b.Point(fk + "Continue", t.fk[f].cont);
  }
  for (int r = 1; r <= 4; ++r) b.Point("Rep" + std::to_string(r), t.rep[r]);
  b.Point("Spd", t.spd);
  b.Point("DbSpd", t.db_spd);
  b.Point("ScrSpd", t.scr_spd);
  b.Int("DPI_Orientation", t.dpi_orientation, Check::kOrientation);
  for (int d = 1; d <= 8; ++d) {
    const std::string dpi = "DPI" + std::to_string(d);
    b.Point(dpi + "_Color", t.dpi[d].color);
    b.Point(dpi + "_Check", t.dpi[d].check);
    b.Point(dpi, t.dpi[d].label);
    b.Point(dpi + "_Value", t.dpi[d].value);
    b.Point(dpi + "_Steps", t.dpi[d].steps);
  }
  b.Point("AIMDPI", t.aim_dpi.label);
  b.Point("AIMDPI_Value", t.aim_dpi.value);
  b.Point("AIMDPI_Steps", t.aim_dpi.steps);
  b.Int("Size_E", t.size_e);
  b.Color("Color_E", t.color_e);
  b.Point("P3", t.p3);
  b.Point("StepTime", t.step_time);
  b.Point("LEDOff", t.led_off);
  for (int l = 1; l <= 5; ++l) b.Point("LEDMode" + std::to_string(l), t.led_mode[l]);
  for (int c = 1; c <= 7; ++c) b.Point("LEDColor" + std::to_string(c), t.led_color[c]);
  b.Int("Size_F", t.size_f);
  b.Color("Color_F", t.color_f);
  b.Color("Color_F_Font", t.color_f_font);
  b.Color("Color_F_Back", t.color_f_back);
  b.Point("P4", t.p4);
  b.Point("PCMacroName", t.pc_macro_name);
  b.Point("MseMacroName", t.mse_macro_name);
  b.Int("MacroNameHeight", t.macro_name_height, Check::kPositive);
  b.Point("MacroContent", t.macro_content);
  b.Point("BtnStart", t.btn_start);
  b.Point("DelayTime", t.delay_time);
  b.Rows("RecDelay", t.rec_delay);
  b.Point("DelayEdit", t.delay_edit);
  b.Point("Insert", t.insert);
  b.Point("InsertList", t.insert_list);
  b.Rows("InsertRecDelay", t.insert_rec_delay);
  b.Point("InsertDelayEdit", t.insert_delay_edit);
  b.Point("InsertAxisEdit", t.insert_axis_edit);
  b.Point("InsertBtnStart", t.insert_btn_start);
  b.Point("InsertBtnOK", t.insert_btn_ok);
  b.Point("InsertBtnCancel", t.insert_btn_cancel);
  b.Int("Size_I", t.size_i);
  b.Color("Color_I", t.color_i);
  b.Point("P5", t.p5);
  b.Point("lbl_BINPath", t.lbl_bin_path);
  b.Point("lbl_LoadBin", t.lbl_load_bin);
  b.Point("Btn_LoadBin", t.btn_load_bin);
  b.Point("Btn_Program", t.btn_program);
  return std::move(b.out);
}

std::pair<int, int> Range(Check check) {
  switch (check) {
    case Check::kColor:
      return {0, 255};
    case Check::kOrientation:
      return {0, 1};
    case Check::kPositive:
      return {1, INT_MAX};
    case Check::kNotNegative:
      return {0, INT_MAX};
    case Check::kAny:
      break;
  }
  return {INT_MIN, INT_MAX};
}

}  // namespace

const std::vector<std::string>& LayoutKeyNames() {
  static const std::vector<std::string> names = [] {
    LayoutTable scratch;
    std::vector<std::string> out;
    for (Binding& binding : Bind(scratch)) out.push_back(std::move(binding.key));
    return out;
  }();
  return names;
}

std::optional<LayoutTable> ReadLayoutTable(ByteView bytes, int index, std::string* error) {
  const std::string name = "org" + std::to_string(index);
  const Table table =
      Table::FromText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  const TableNumberReader numbers(table, name, name, error);
  LayoutTable layout;
  for (const Binding& binding : Bind(layout)) {
    auto [min, max] = Range(binding.check);
    if (!numbers.Read(binding.key, *binding.field, min, max)) return std::nullopt;
  }
  return layout;
}

std::optional<LayoutTable> LoadShippedLayout(int index, std::string* error) {
  if (index < 1 || index > 3) {
    if (error != nullptr) *error = "no layout " + std::to_string(index);
    return std::nullopt;
  }
  const std::string name = "org" + std::to_string(index);
  ByteView bytes = CoreResource(name);
  if (bytes.empty()) {
    if (error != nullptr) *error = "resource " + name + " is missing";
    return std::nullopt;
  }
  return ReadLayoutTable(bytes, index, error);
}

int KeyLabelForEntry(LedType led, int j) {
  static constexpr int kRgb[13] = {0, 1, 5, 9, 10, 11, 6, 7, 8, 12, 2, 3, 4};
  static constexpr int kZk[13] = {0, 1, 5, 9, 3, 7, 11, 2, 6, 10, 8, 12, 4};
  if (j < 1 || j > 12) return 0;
  switch (led) {
    case LedType::kRgb:
      return kRgb[j];
    case LedType::kZk:
      return kZk[j];
    case LedType::kOther:
      break;
  }
  return (j >= 4 && j <= 11) ? 0 : kRgb[j];
}

}  // namespace korvex48
