#include "core/buttons/key_codes.h"

#include <algorithm>

#include "core/buttons/keyboard_keys.h"

namespace korvex48 {
namespace {

constexpr KeyMenuItem kMenuItems[] = {
    {900, "Key_Left", "Str210", "01010000"},
    {901, "Key_Right", "Str211", "01020000"},
    {902, "Key_Middle", "Str212", "01040000"},
    {903, "Key_B4", "Str213", "01080000"},
    {904, "Key_B5", "Str214", "01100000"},
    {1001, "Key_AIM", "Str234", ""},
    {1002, "Key_Profile", "Str242", "07000000"},
    {1003, "Key_CPI", "Str243", "09000000"},
    {1004, "Key_ReportRate", "Str244", "0C000000"},
    {1005, "Key_Default", "Str245", "07010000"},
    {1006, "Key_LEDMode", "Str246", "0E000000"},
    {1007, "Key_CPII", "Str247", "09010000"},
    {1008, "Key_CPID", "Str248", "09020000"},
    {1009, "Key_LEDSwitch", "Str241", "08000000"},
    {1100, "Key_Computer", "Str270", "03019400"},
    {1101, "Key_Calculator", "Str271", "03019200"},
    {1102, "Key_EMail", "Str272", "03018A00"},
    {1103, "Key_Desktop", "Str273", "02080700"},
    {1300, "Key_PlayPause", "Str250", "0300CD00"},
    {1301, "Key_Stop", "Str251", "0300B700"},
    {1302, "Key_PreviousTrack", "Str252", "0300B600"},
    {1303, "Key_NextTrack", "Str253", "0300B500"},
    {1304, "Key_VolumePlus", "Str254", "0300E900"},
    {1305, "Key_VolumeMinus", "Str255", "0300EA00"},
    {1306, "Key_Mute", "Str256", "0300E200"},
    {1400, "Key_WWWHome", "Str260", "03022300"},
    {1401, "Key_WWWSearch", "Str261", "03022100"},
    {1402, "Key_WWWBack", "Str262", "03022400"},
    {1403, "Key_WWWForward", "Str263", "03022500"},
    {1404, "Key_WWWStop", "Str264", "03022600"},
    {1405, "Key_WWWRefresh", "Str265", "03022700"},
    {1406, "Key_WWWFavorites", "Str266", "03022A00"},
    {1500, "Key_Fire1", "Str231", ""},
    {1501, "Key_Fire2", "Str232", ""},
    {1502, "Key_Fire3", "Str233", ""},
};

constexpr KeyMenuCategory kMenuCategories[] = {
    {1, "Key_Standard", "Str201"}, {2, "Key_Special", "Str202"},  {3, "Key_Media", "Str203"},
    {4, "Key_WWW", "Str204"},      {5, "Key_Fire", "Str230"},     {6, "Key_MyPC", "Str207"},
    {7, "Key_Macro", "Str206"},    {0, "Key_Assembly", "Str205"},
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Lookup(const KeyNameSources& sources, std::string_view key) {
  return sources.text ? sources.text(key) : std::string();
}

// Codes named by an exact match: the mouse buttons and the fixed entries of
// the Special, Media, WWW and PC menus (AIM and fire codes are named by type).
std::string_view FixedCodeNameKey(std::string_view code) {
  for (const KeyMenuItem& item : kMenuItems) {
    if (!item.code.empty() && item.code == code) return item.nameKey;
  }
  return {};
}

std::string KeyboardCodeName(const KeyCodeBytes& b) {
  std::string name;
  if (b[1] & kModifierCtrl) name += "Ctrl+";
  if (b[1] & kModifierShift) name += "Shift+";
  if (b[1] & kModifierAlt) name += "Alt+";
  if (b[1] & kModifierWin) name += "Win+";
  if (b[2] != 0) name += UsageName(b[2]);
  if (b[3] != 0) {
    if (b[2] != 0) name += "+";
    name += UsageName(b[3]);
  }
  return name;
}

std::string MacroCodeName(const KeyCodeBytes& b, const KeyNameSources& sources) {
  const auto address = static_cast<std::uint16_t>((b[1] << 8) | b[2]);
  // Several macros may share an address (empty slots); the last one names it.
  for (auto it = sources.deviceMacros.rbegin(); it != sources.deviceMacros.rend(); ++it) {
    if (it->address == address) return it->name;
  }
  return {};
}

DecodedFireKey DecodeFire(const KeyCodeBytes& b, FireIdentityCounts identity) {
  DecodedFireKey fire;
  const int count = b[1] & 0x0F;
  fire.fireKey = count == identity.fireKey1 ? 1 : count == identity.fireKey2 ? 2 : 3;
  fire.settings.continuous = (b[1] & 0x80) != 0;
  fire.settings.repeatCount = count + 1;
  fire.settings.delay = (b[2] << 8) | b[3];
  return fire;
}

}  // namespace

std::string KeyCodeToText(const KeyCodeBytes& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(8);
  for (std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

std::optional<KeyCodeBytes> KeyCodeFromText(std::string_view text) {
  if (text.size() != 8) return std::nullopt;
  KeyCodeBytes bytes{};
  for (std::size_t i = 0; i < 4; ++i) {
    const int hi = HexDigit(text[2 * i]);
    const int lo = HexDigit(text[2 * i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes[i] = static_cast<std::uint8_t>(hi * 16 + lo);
  }
  return bytes;
}

bool IsCanonicalKeyCode(std::string_view text) {
  return text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
         });
}

std::span<const KeyMenuItem> KeyMenuItems() { return kMenuItems; }

const KeyMenuItem* FindKeyMenuItem(int tag) {
  for (const KeyMenuItem& item : kMenuItems) {
    if (item.tag == tag) return &item;
  }
  return nullptr;
}

std::span<const KeyMenuCategory> KeyMenuCategories() { return kMenuCategories; }

KeyCodeBytes FireKeyCode(const FireKeySettings& settings) {
  const int repeat = std::clamp(settings.repeatCount, 1, 15);
  const int delay = std::clamp(settings.delay, 0, 4094);
  std::uint8_t b1 = static_cast<std::uint8_t>(0x10 + repeat - 1);
  if (settings.continuous) b1 |= 0x80;
  return {static_cast<std::uint8_t>(KeyFunctionType::kFire), b1,
          static_cast<std::uint8_t>(delay >> 8), static_cast<std::uint8_t>(delay & 0xFF)};
}

KeyCodeBytes AimKeyCode(int aimStep) {
  const int step = std::clamp(aimStep, 1, 12);
  return {static_cast<std::uint8_t>(KeyFunctionType::kAim), static_cast<std::uint8_t>(step - 1), 0,
          0};
}

std::string KeyCodeForItem(int tag, const KeyItemSettings& settings) {
  if (tag == 0) return "00000000";
  if (tag == 1001) return KeyCodeToText(AimKeyCode(settings.aimStep));
  if (tag >= 1500 && tag <= 1502) {
    return KeyCodeToText(FireKeyCode(settings.fire[static_cast<std::size_t>(tag - 1500)]));
  }
  const KeyMenuItem* item = FindKeyMenuItem(tag);
  return item ? std::string(item->code) : std::string();
}

KeyCodeNaming DescribeKeyCode(std::string_view code, const KeyNameSources& sources) {
  KeyCodeNaming result;
  const std::optional<KeyCodeBytes> parsed = KeyCodeFromText(code);
  if (!parsed) return result;
  const KeyCodeBytes& b = *parsed;
  const auto type = static_cast<KeyFunctionType>(b[0]);

  // Exact matches compare the text as given, so a lower-case text never
  // matches a fixed code. No fixed code is of the fire or AIM type, so testing
  // them first keeps the order of the naming rules.
  if (std::string_view key = FixedCodeNameKey(code); !key.empty()) {
    result.name = Lookup(sources, key);
    return result;
  }
  if (type == KeyFunctionType::kFire) {
    result.fire = DecodeFire(b, sources.fireIdentity);
    const auto index = static_cast<std::size_t>(result.fire->fireKey - 1);
    result.name = Lookup(sources, kFireKeyNameKeys[index]);
    return result;
  }
  if (type == KeyFunctionType::kAim) {
    result.name = Lookup(sources, kAimKeyNameKey);
    return result;
  }
  switch (type) {
    case KeyFunctionType::kKeyboard:
      result.name = KeyboardCodeName(b);
      break;
    case KeyFunctionType::kMacro:
      result.name = MacroCodeName(b, sources);
      break;
    default:
      break;
  }
  return result;
}

std::string KeyCodeName(std::string_view code, const KeyNameSources& sources) {
  return DescribeKeyCode(code, sources).name;
}

}  // namespace korvex48
