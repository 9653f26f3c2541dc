#include "core/ui/settings_table.h"

#include "core/common/resources.h"
#include "core/ui/table_numbers.h"

namespace korvex48 {

LedType ProductSettings::Led() const {
  if (led_type == "RGB") return LedType::kRgb;
  if (led_type == "ZK") return LedType::kZk;
  return LedType::kOther;
}

std::optional<ProductSettings> ReadSettingsTable(ByteView bytes, std::string* error) {
  const Table table =
      Table::FromText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  const TableNumberReader numbers(table, "ORG", "org", error);
  ProductSettings s;
  s.led_type = table.Value("org", "LEDType");
  s.web = table.Value("org", "Web");
  if (!numbers.Read("Web_X", s.web_x) || !numbers.Read("Web_Y", s.web_y) ||
      !numbers.Read("Rev_Manu_ID", s.rev_manu_id, 0, 255) ||
      !numbers.Read("Rev_Pro_ID", s.rev_pro_id, 0, 255)) {
    return std::nullopt;
  }
  return s;
}

std::optional<ProductSettings> LoadShippedSettings(std::string* error) {
  ByteView bytes = CoreResource("ORG");
  if (bytes.empty()) {
    if (error != nullptr) *error = "resource ORG is missing";
    return std::nullopt;
  }
  return ReadSettingsTable(bytes, error);
}

}  // namespace korvex48
