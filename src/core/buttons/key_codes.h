#pragma once
// Key function codes: the 4-byte function a mouse button has in a profile, held
// as eight upper-case hexadecimal digits (byte 0 first), the codes the button
// menus produce, and the names shown for codes in the active language.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/common/text.h"

namespace korvex48 {

using KeyCodeBytes = std::array<std::uint8_t, 4>;

// Byte 0 of a code.
enum class KeyFunctionType : std::uint8_t {
  kNone = 0x00,
  kMouse = 0x01,
  kKeyboard = 0x02,
  kConsumer = 0x03,
  kAim = 0x05,
  kFire = 0x06,
  kKeyboardMode = 0x07,
  kLedSwitch = 0x08,
  kDpi = 0x09,
  kReportRate = 0x0C,
  kLedMode = 0x0E,
  kMacro = 0x10,
};

// Modifier bits of byte 1 of a keyboard code.
inline constexpr std::uint8_t kModifierCtrl = 0x01;
inline constexpr std::uint8_t kModifierShift = 0x02;
inline constexpr std::uint8_t kModifierAlt = 0x04;
inline constexpr std::uint8_t kModifierWin = 0x08;

// Language keys whose texts the button rules compare labels with.
inline constexpr std::string_view kLeftKeyNameKey = "Str210";
inline constexpr std::string_view kSwitchKeyNameKey = "Str242";
inline constexpr std::string_view kResetKeyNameKey = "Str245";
inline constexpr std::string_view kAimKeyNameKey = "Str234";
inline constexpr std::array<std::string_view, 3> kFireKeyNameKeys = {"Str231", "Str232", "Str233"};

// ---- Code text <-> bytes -------------------------------------------------

// Eight upper-case hexadecimal digits, byte 0 first.
std::string KeyCodeToText(const KeyCodeBytes& bytes);

// Bytes of a code text: exactly eight hexadecimal digits (either case, as
// the digits are read as numbers). Anything else -- wrong length, signs,
// blanks, non-hex characters -- gives nullopt.
std::optional<KeyCodeBytes> KeyCodeFromText(std::string_view text);

// True for the canonical form the program produces: eight digits 0-9, A-F.
bool IsCanonicalKeyCode(std::string_view text);

// ---- Fire and AIM settings that codes are built from ----------------------

// Settings of one fire key (rapid fire). Valid ranges: repeat 1..15, delay 0..4094.
struct FireKeySettings {
  int repeatCount = 2;
  bool continuous = false;
  int delay = 16;
  friend bool operator==(const FireKeySettings&, const FireKeySettings&) = default;
};

// Which fire key a fire code belongs to: the repeat counts minus one of Fire
// Key1 (low nibble of parameter byte 1) and Fire Key2 (high nibble).
struct FireIdentityCounts {
  std::uint8_t fireKey1 = 0;
  std::uint8_t fireKey2 = 0;
  static FireIdentityCounts FromParameterByte(std::uint8_t b) {
    return {static_cast<std::uint8_t>(b & 0x0F), static_cast<std::uint8_t>(b >> 4)};
  }
  friend bool operator==(const FireIdentityCounts&, const FireIdentityCounts&) = default;
};

// What KeyCodeForItem reads at the moment it is called.
struct KeyItemSettings {
  std::array<FireKeySettings, 3> fire{};  // Fire Key1..3
  int aimStep = 1;                        // 1..12: AIM DPI value index + 1
};

// ---- Menu entries ---------------------------------------------------------

struct KeyMenuItem {
  int tag;
  std::string_view objectName;  // "Key_Left", ...
  std::string_view nameKey;     // language key of the name: "Str210", ...
  std::string_view code;        // fixed code; empty for AIM and fire entries (built from settings)
};

// Every function entry of the button menus, in tag order.
std::span<const KeyMenuItem> KeyMenuItems();
// The entry with `tag`, or nullptr.
const KeyMenuItem* FindKeyMenuItem(int tag);

struct KeyMenuCategory {
  int tag;  // 0 for User-defined, which opens a dialog rather than a submenu
  std::string_view objectName;
  std::string_view nameKey;
};
// The category entries: Standard Mouse Key, Special Key, Media Fn, WWW Fn,
// Fire Key, PC Fn, Macro, User-defined.
std::span<const KeyMenuCategory> KeyMenuCategories();

// Code of a menu entry: the fixed code, or for tags 1001 and 1500..1502 a
// code built from `settings` (out-of-range settings are clamped into range).
// Tag 0 gives "00000000"; any other tag gives an empty text.
std::string KeyCodeForItem(int tag, const KeyItemSettings& settings = {});

// Code of fire key settings: 06, 0x10 + repeat - 1 (+0x80 continuous), delay
// big-endian. Repeat is clamped to 1..15 and delay to 0..4094.
KeyCodeBytes FireKeyCode(const FireKeySettings& settings);
// Code of the AIM key at AIM step 1..12 (clamped): 05, step - 1, 00, 00.
KeyCodeBytes AimKeyCode(int aimStep);

// ---- Names ------------------------------------------------------------------

// A device macro as a button code refers to it: the 16-bit device address of
// its first event byte and its name in the device macro list. The owner of the
// macro storage supplies, in list order, the present macros of the packed
// layout or the 32 slots of the slot layout; an empty table (unknown layout)
// names no macro.
struct DeviceMacroRef {
  std::uint16_t address = 0;
  std::string name;
};

// Everything naming depends on besides the code.
struct KeyNameSources {
  TextLookup text;  // active language; required
  FireIdentityCounts fireIdentity{};
  std::span<const DeviceMacroRef> deviceMacros{};
};

// A fire code decodes to one of the three fire keys and the settings it carries.
struct DecodedFireKey {
  int fireKey = 1;  // 1..3
  FireKeySettings settings;
  friend bool operator==(const DecodedFireKey&, const DecodedFireKey&) = default;
};

struct KeyCodeNaming {
  std::string name;  // empty when the code has no name
  // Set for fire codes: the caller loads these settings into that fire key's
  // controls, as naming a fire code always does.
  std::optional<DecodedFireKey> fire;
};

// The name of `code` in the active language and, for a fire code, the fire
// key it belongs to. Texts that are not eight hex digits have no name.
KeyCodeNaming DescribeKeyCode(std::string_view code, const KeyNameSources& sources);

// DescribeKeyCode(code, sources).name.
std::string KeyCodeName(std::string_view code, const KeyNameSources& sources);

}  // namespace korvex48
