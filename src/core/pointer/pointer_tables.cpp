#include "core/pointer/pointer_tables.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numeric>

namespace korvex48 {
namespace {

constexpr std::array<int, kPointerPositions> kSpeed = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18};
constexpr std::array<int, kPointerPositions> kDoubleClick = {900, 830, 760, 690, 620,
                                                             550, 480, 410, 340, 270};
constexpr std::array<int, kPointerPositions> kWheel = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

const std::array<int, kPointerPositions>& TableOf(PointerSetting setting) {
  switch (setting) {
    case PointerSetting::kSpeed:
      return kSpeed;
    case PointerSetting::kDoubleClick:
      return kDoubleClick;
    case PointerSetting::kWheelLines:
      break;
  }
  return kWheel;
}

// The X default acceleration (2/1) belongs to speed 10.
constexpr int kSpeedPerAcceleration = 5;

}  // namespace

std::optional<int> PointerValueOf(PointerSetting setting, int position) {
  if (position < 1 || position > kPointerPositions) return std::nullopt;
  return TableOf(setting)[static_cast<std::size_t>(position - 1)];
}

std::optional<int> PointerPositionOf(PointerSetting setting, int value) {
  const auto& table = TableOf(setting);
  for (std::size_t i = 0; i < table.size(); ++i)
    if (table[i] == value) return static_cast<int>(i) + 1;
  return std::nullopt;
}

int NearestPointerPosition(PointerSetting setting, int value) {
  const auto& table = TableOf(setting);
  std::size_t best = 0;
  long long best_distance = std::numeric_limits<long long>::max();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const long long distance = std::llabs(static_cast<long long>(table[i]) - value);
    if (distance < best_distance) {
      best = i;
      best_distance = distance;
    }
  }
  return static_cast<int>(best) + 1;
}

double GnomeSpeedOfPosition(int position) {
  if (position < 1) position = 1;
  if (position > kPointerPositions) position = kPointerPositions;
  return -1.0 + 2.0 * (position - 1) / (kPointerPositions - 1);
}

int PositionOfGnomeSpeed(double speed) {
  if (!(speed > -1.0)) return 1;  // also NaN
  if (speed >= 1.0) return kPointerPositions;
  return static_cast<int>(std::lround((speed + 1.0) * (kPointerPositions - 1) / 2.0)) + 1;
}

XAcceleration XAccelerationOfSpeed(int speed_value) {
  if (speed_value < 1) speed_value = 1;
  const int g = std::gcd(speed_value, kSpeedPerAcceleration);
  return {speed_value / g, kSpeedPerAcceleration / g};
}

std::optional<int> SpeedOfXAcceleration(int numerator, int denominator) {
  if (denominator <= 0 || numerator < 0) return std::nullopt;
  const double v = std::round(static_cast<double>(numerator) * kSpeedPerAcceleration / denominator);
  if (v > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(v);
}

}  // namespace korvex48
