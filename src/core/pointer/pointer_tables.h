#pragma once
// The three ten-segment bars of the desktop's pointer settings and the values
// behind their positions, both ways, plus the conversions to the scales the
// Linux desktops use. Positions run 1..10; 0 means "no value recognised".
#include <optional>

namespace korvex48 {

enum class PointerSetting { kSpeed, kDoubleClick, kWheelLines };
inline constexpr int kPointerPositions = 10;

// The stored value of `position` (1..10): pointer speed 1, 2, 4, ..., 18;
// double-click time 900 ms down to 270 ms; wheel lines 1..10. nullopt for any
// other position.
std::optional<int> PointerValueOf(PointerSetting setting, int position);
// The position whose value is exactly `value`; nullopt when no position has it.
std::optional<int> PointerPositionOf(PointerSetting setting, int value);
// The position whose value lies nearest to `value` (1..10): a value between
// two steps shows the closer one, the lower position when both are as close;
// a value beyond either end shows that end.
int NearestPointerPosition(PointerSetting setting, int value);

// GNOME's pointer speed is a double in -1..1: position 1 is -1, position 10
// is 1, linear between (5 and 6 lie either side of 0).
double GnomeSpeedOfPosition(int position);
// The nearest position (1..10) of a GNOME speed; values outside -1..1 count as
// the end they lie beyond.
int PositionOfGnomeSpeed(double speed);

// The X server's pointer acceleration carries the pointer speed: value / 5,
// so the usual 10 is the X default of 2/1.
struct XAcceleration {
  int numerator = 2;
  int denominator = 1;
};
XAcceleration XAccelerationOfSpeed(int speed_value);
// The speed value of an acceleration (rounded); nullopt for a zero or
// negative denominator.
std::optional<int> SpeedOfXAcceleration(int numerator, int denominator);

}  // namespace korvex48
