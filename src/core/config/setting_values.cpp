#include "core/config/setting_values.h"

#include <array>
#include <cstddef>

namespace korvex48 {
namespace {

constexpr std::array<int, 12> kDpiValues = {200,  400,  600,  800,  1000, 1200,
                                            1600, 2000, 2400, 3200, 4800, 6400};
constexpr std::array<int, 4> kRatesHz = {125, 250, 500, 1000};

}  // namespace

int DpiValueOfIndex(int index) {
  return index >= 0 && index < 12 ? kDpiValues[static_cast<std::size_t>(index)] : 0;
}

std::optional<int> DpiIndexOfValue(int value) {
  for (std::size_t i = 0; i < kDpiValues.size(); ++i)
    if (kDpiValues[i] == value) return static_cast<int>(i);
  return std::nullopt;
}

int ReportRateHz(int choice) {
  return choice >= 1 && choice <= 4 ? kRatesHz[static_cast<std::size_t>(choice - 1)] : 0;
}

std::optional<int> ReportRateChoiceOfHz(int hz) {
  for (std::size_t i = 0; i < kRatesHz.size(); ++i)
    if (kRatesHz[i] == hz) return static_cast<int>(i) + 1;
  return std::nullopt;
}

}  // namespace korvex48
