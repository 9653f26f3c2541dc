#pragma once
// The settings table ORG (section [org]): the product settings read once at
// start.
#include <optional>
#include <string>

#include "core/common/bytes.h"

namespace korvex48 {

// Placement map of the Main page's button labels chosen by LEDType.
enum class LedType { kRgb, kZk, kOther };

struct ProductSettings {
  std::string led_type;  // LEDType as written: "RGB", "ZK" or anything else
  std::string web;       // Web: address opened by the web button
  int web_x = 0;         // Web_X, Web_Y: place of Img_Web_N / Btn_Web_N
  int web_y = 0;
  int rev_manu_id = 0;  // Rev_Manu_ID, Rev_Pro_ID: second accepted value of
  int rev_pro_id = 0;   // the customer-identifier bytes, 0..255 each

  // "RGB" and "ZK" exactly (case-sensitive); anything else is kOther.
  LedType Led() const;
};

// Reads and checks the settings table from `bytes` (8-bit text, table line
// rules, section [org]). Web_X, Web_Y, Rev_Manu_ID and Rev_Pro_ID must be
// present and decimal integers, the two identifiers 0..255. LEDType and Web
// read as "" when absent. On failure returns nullopt and a message naming the
// key in `error` (a configuration error: the caller stops the start).
std::optional<ProductSettings> ReadSettingsTable(ByteView bytes, std::string* error = nullptr);

// ReadSettingsTable over the embedded resource ORG.
std::optional<ProductSettings> LoadShippedSettings(std::string* error = nullptr);

}  // namespace korvex48
