#include "core/image/parameter_fields.h"

namespace korvex48::param {

namespace {
bool ValidLevel(int level) { return level >= 1 && level <= 8; }
bool ValidComponent(int component) { return component >= 0 && component <= 2; }
bool ValidColour(int colour) { return colour >= 1 && colour <= 7; }

std::uint8_t Nibble(std::uint8_t byte, bool high) {
  return high ? static_cast<std::uint8_t>(byte >> 4) : static_cast<std::uint8_t>(byte & 0x0F);
}
void SetNibble(std::uint8_t& byte, bool high, std::uint8_t value) {
  value &= 0x0F;
  byte = high ? static_cast<std::uint8_t>((byte & 0x0F) | (value << 4))
              : static_cast<std::uint8_t>((byte & 0xF0) | value);
}
}  // namespace

std::uint16_t VendorIdOf(const ParameterSection& p) {
  return static_cast<std::uint16_t>((p[kVendorId] << 8) | p[kVendorId + 1]);
}

std::uint16_t ProductIdOf(const ParameterSection& p) {
  return static_cast<std::uint16_t>((p[kProductId] << 8) | p[kProductId + 1]);
}

std::uint8_t SecondaryStorageBitsOf(const ParameterSection& p) {
  return static_cast<std::uint8_t>(p[kStorageAndRate] >> 6);
}

std::uint8_t ReportRateCodeOf(const ParameterSection& p) {
  return static_cast<std::uint8_t>((p[kStorageAndRate] >> 4) & 0x03);
}

void SetReportRateCode(ParameterSection& p, std::uint8_t code) {
  p[kStorageAndRate] =
      static_cast<std::uint8_t>((p[kStorageAndRate] & 0xCF) | ((code & 0x03) << 4));
}

std::uint8_t LightingTypeBitsOf(const ParameterSection& p) {
  return static_cast<std::uint8_t>(p[kLighting] >> 6);
}

std::uint8_t LightingModeOf(const ParameterSection& p) {
  return static_cast<std::uint8_t>(p[kLighting] & 0x0F);
}

int DpiLevelCountOf(const ParameterSection& p) { return Nibble(p[kDpiLevels], true) + 1; }

int CurrentDpiLevelOf(const ParameterSection& p) { return Nibble(p[kDpiLevels], false) + 1; }

void SetDpiLevels(ParameterSection& p, int count, int current) {
  if (count < 1 || count > 16 || current < 1 || current > 16) return;
  p[kDpiLevels] = static_cast<std::uint8_t>(((count - 1) << 4) | (current - 1));
}

std::size_t DpiIndexOffset(int level) {
  if (!ValidLevel(level)) return kDpiIndexes;
  return kDpiIndexes + static_cast<std::size_t>((level - 1) / 2);
}

bool DpiIndexIsHighNibble(int level) { return level % 2 == 0; }

std::uint8_t DpiIndexOf(const ParameterSection& p, int level) {
  if (!ValidLevel(level)) return 0;
  return Nibble(p[DpiIndexOffset(level)], DpiIndexIsHighNibble(level));
}

void SetDpiIndex(ParameterSection& p, int level, std::uint8_t index) {
  if (!ValidLevel(level)) return;
  SetNibble(p[DpiIndexOffset(level)], DpiIndexIsHighNibble(level), index);
}

std::size_t DpiColourOffset(int level, int component) {
  if (!ValidLevel(level) || !ValidComponent(component)) return kDpiColours;
  return kDpiColours + static_cast<std::size_t>(3 * ((level - 1) / 2) + component);
}

std::uint8_t DpiColourOf(const ParameterSection& p, int level, int component) {
  if (!ValidLevel(level) || !ValidComponent(component)) return 0;
  return Nibble(p[DpiColourOffset(level, component)], level % 2 == 0);
}

void SetDpiColour(ParameterSection& p, int level, int component, std::uint8_t value) {
  if (!ValidLevel(level) || !ValidComponent(component)) return;
  SetNibble(p[DpiColourOffset(level, component)], level % 2 == 0, value);
}

std::size_t LightColourOffset(int colour, int component) {
  if (!ValidColour(colour) || !ValidComponent(component)) return kLightColours;
  return kLightColours + static_cast<std::size_t>(3 * (colour - 1) + component);
}

std::uint8_t LightColourOf(const ParameterSection& p, int colour, int component) {
  if (!ValidColour(colour) || !ValidComponent(component)) return 0;
  return p[LightColourOffset(colour, component)];
}

void SetLightColour(ParameterSection& p, int colour, int component, std::uint8_t value) {
  if (!ValidColour(colour) || !ValidComponent(component)) return;
  p[LightColourOffset(colour, component)] = value;
}

std::uint8_t FallTimeOf(const ParameterSection& p) { return p[kFallTime]; }

void SetFallTime(ParameterSection& p, std::uint8_t value) {
  p[kFallTime] = value;
  p[kFallTime + 1] = value;
}

}  // namespace korvex48::param
