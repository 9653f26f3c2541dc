#include "core/config/image_codec.h"

#include <algorithm>

#include "core/buttons/key_combination.h"
#include "core/config/setting_values.h"
#include "core/config/text_names.h"
#include "core/image/parameter_fields.h"
#include "core/macros/macro_events.h"
#include "core/macros/macro_names.h"
#include "core/macros/packed_layout.h"
#include "core/macros/slot_layout.h"

namespace korvex48 {
namespace {

// A device macro and the address its codes name it by.
struct PlacedMacro {
  DeviceMacro macro;
  std::uint16_t address = 0;
};

// The repeat-stop byte that packing puts at the last byte of the area's first
// page, before an event that would start there, is layout and not content: a
// macro read back without it is the macro that was packed, and a macro that
// holds a repeat-stop just there is stored the same way. `events` start at
// area offset `offset`.
void DropPageFiller(Bytes& events, std::size_t offset, const MacroArea& area) {
  constexpr std::size_t kFillerAt = kPackedPageBoundary;
  if (offset > kFillerAt || kFillerAt - offset >= events.size()) return;
  if (area[kFillerAt] != macro_event::kRepeatStop || !MovesOffPageEnd(area[kFillerAt + 1])) return;
  // Only where an event starts, walking the events by their lengths.
  std::size_t at = offset;
  while (at < kFillerAt) at += std::max<std::size_t>(1, EventLengthOf(area[at]));
  if (at != kFillerAt) return;
  events.erase(events.begin() + static_cast<std::ptrdiff_t>(kFillerAt - offset));
}

std::vector<PlacedMacro> PlacedMacrosOf(const ConfigImage& image, StorageLayout layout,
                                        std::string_view primary) {
  std::vector<PlacedMacro> placed;
  if (layout == StorageLayout::kPacked) {
    PackedMacroTable t;
    t.addresses[0] = PackedFirstMacroAddress(primary);
    (void)ReadAndRefreshMacroT417(t, image.macro_area);
    const std::uint16_t area = PackedAreaAddress(primary);
    for (std::size_t k = 0; k < kPackedMacroCount; ++k) {
      if (t.lengths[k] == 0) continue;
      const std::size_t events = t.lengths[k] > 17 ? t.lengths[k] - 17u : 0u;
      Bytes bytes(t.events[k].begin(), t.events[k].begin() + events);
      // Packing gives the filler back, byte for byte. The table's area is
      // the one its events and addresses describe (packed again as read).
      if (t.addresses[k] >= area) DropPageFiller(bytes, t.addresses[k] - area, t.area);
      placed.push_back({{MacroNameText(t.names[k]), std::move(bytes)}, t.addresses[k]});
    }
  } else if (layout == StorageLayout::kSlot) {
    SlotMacroTable t;
    Bytes pages;
    for (const MacroPage& page : image.macro_pages)
      pages.insert(pages.end(), page.begin(), page.end());
    LoadSlotTable(t, image.macro_area, pages);
    const std::size_t count = SlotMacroCountOf(t);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t events = t.lengths[i] > 0 ? t.lengths[i] - 1u : 0u;
      placed.push_back({{MacroNameText(SlotNameEntry(t, i)),
                         Bytes(t.pages[i].begin(), t.pages[i].begin() + events)},
                        SlotAddress(i)});
    }
  }
  return placed;
}

KeyCodeBytes KeyboardCode(std::uint8_t modifiers, std::uint8_t key1, std::uint8_t key2) {
  return {static_cast<std::uint8_t>(KeyFunctionType::kKeyboard), modifiers, key1, key2};
}

// The typed function of a code, before it is checked to give the code back.
ButtonFunction TypedFunction(const KeyCodeBytes& b, FireIdentityCounts identity,
                             std::span<const std::uint16_t> addresses) {
  ButtonFunction f;
  if (b == KeyCodeBytes{}) return f;
  const std::string text = KeyCodeToText(b);
  for (const KeyMenuItem& item : KeyMenuItems()) {
    if (!item.code.empty() && item.code == text) {
      f.kind = FunctionKind::kMenuEntry;
      f.menu_tag = item.tag;
      return f;
    }
  }
  switch (static_cast<KeyFunctionType>(b[0])) {
    case KeyFunctionType::kKeyboard:
      f.kind = FunctionKind::kKeyCombination;
      f.modifiers = b[1];
      f.keys = {b[2], b[3]};
      return f;
    case KeyFunctionType::kFire: {
      const int count = b[1] & 0x0F;
      f.kind = FunctionKind::kFireKey;
      f.fire_key = count == identity.fireKey1 ? 1 : count == identity.fireKey2 ? 2 : 3;
      f.fire.repeatCount = count + 1;
      f.fire.continuous = (b[1] & 0x80) != 0;
      f.fire.delay = (b[2] << 8) | b[3];
      return f;
    }
    case KeyFunctionType::kAim:
      f.kind = FunctionKind::kAimKey;
      f.aim_index = b[1];
      return f;
    case KeyFunctionType::kMacro: {
      const std::uint16_t address = static_cast<std::uint16_t>((b[1] << 8) | b[2]);
      // The last macro at that address counts, as when codes are named.
      for (std::size_t i = addresses.size(); i-- > 0;) {
        if (addresses[i] == address) {
          f.kind = FunctionKind::kDeviceMacro;
          f.macro = i;
          return f;
        }
      }
      break;
    }
    default:
      break;
  }
  f.kind = FunctionKind::kCode;
  f.code = b;
  return f;
}

// Whether the text form names a typed function so that it reads back to it:
// an AIM key of a DPI value of the list, a key combination whose name the
// key-combination parser turns into the same code.
bool NamedInText(const ButtonFunction& f) {
  if (f.kind == FunctionKind::kAimKey) return f.aim_index < 12;
  if (f.kind != FunctionKind::kKeyCombination) return true;
  const std::string name = KeyCombinationName(f.modifiers, f.keys);
  std::string error;
  const std::optional<KeyCombination> again = ParseKeyCombination(name, &error);
  return again && again->code == KeyCodeToText(KeyboardCode(f.modifiers, f.keys[0], f.keys[1])) &&
         !FunctionNames::Get().TagOf(name);
}

ButtonFunction DecodeFunction(const KeyCodeBytes& b, FireIdentityCounts identity,
                              std::span<const std::uint16_t> addresses) {
  ButtonFunction f = TypedFunction(b, identity, addresses);
  // Only a function that gives the same four bytes back, and that the text
  // form can name, is typed; the rest (a fire delay above 4094, an AIM code
  // with bytes 2-3 set, a key combination of no key, ...) stays a code.
  if (const auto again = EncodeButtonFunction(f, addresses);
      !again || *again != b || !NamedInText(f)) {
    f = ButtonFunction{};
    f.kind = FunctionKind::kCode;
    f.code = b;
  }
  return f;
}

std::uint8_t LightingByte(const Lighting& lighting, std::uint8_t base) {
  std::uint8_t type = 0;
  switch (lighting.kind) {
    case LedKind::kRgb:
      type = 0;
      break;
    case LedKind::kSync:
      type = 1;
      break;
    case LedKind::kNt:
      // Both 10 and 11 mean NT: keep the mouse's own.
      type = (base >> 6) >= 2 ? static_cast<std::uint8_t>(base >> 6) : 3;
      break;
  }
  return static_cast<std::uint8_t>((type << 6) | (base & 0x30) | (lighting.mode & 0x0F));
}

std::string MacroPlace(std::size_t index, const DeviceMacro& macro) {
  return "macro " + std::to_string(index + 1) + " \"" + EscapeControlCharacters(macro.name) + "\"";
}

// Builds the macro storage of `macros` into `image`; the device addresses of
// the macros go to `addresses`.
EncodeResult EncodeMacroStorage(const std::vector<DeviceMacro>& macros, StorageLayout layout,
                                std::string_view primary, ConfigImage& image,
                                std::vector<std::uint16_t>& addresses) {
  EncodeResult r;
  for (std::size_t i = 0; i < macros.size(); ++i) {
    const std::size_t units = Utf8ToUtf16(macros[i].name).size();
    if (units == 0 || units > kMacroNameUnits) {
      r.problem = MacroPlace(i, macros[i]) + ": a macro name has 1 to 8 characters";
      return r;
    }
    if (macros[i].events.size() + 1 > kMacroBufferSize) {
      r.problem = MacroPlace(i, macros[i]) + ": " + std::to_string(macros[i].events.size()) +
                  " event bytes, a macro holds at most " + std::to_string(kMacroBufferSize - 1);
      return r;
    }
  }
  auto buffer = [](const DeviceMacro& m) {
    Bytes b = m.events;
    b.push_back(macro_event::kEnd);
    return b;
  };
  if (layout == StorageLayout::kPacked) {
    if (macros.size() > kPackedMacroCount) {
      r.problem = std::to_string(macros.size()) + " macros: this mouse holds at most " +
                  std::to_string(kPackedMacroCount);
      return r;
    }
    PackedMacroTable t;
    t.addresses[0] = PackedFirstMacroAddress(primary);
    for (std::size_t i = 0; i < macros.size(); ++i) {
      switch (AddPackedMacro(t, MacroNameFromText(macros[i].name), buffer(macros[i]))) {
        case AddMacroResult::kAdded:
          break;
        case AddMacroResult::kFull:
        case AddMacroResult::kOutOfRange:
          r.problem = MacroPlace(i, macros[i]) + ": the macros do not fit in the " +
                      std::to_string(kPackedAreaSize) + "-byte macro area";
          return r;
        case AddMacroResult::kBadName:
          r.problem = MacroPlace(i, macros[i]) + ": the name cannot be stored";
          return r;
      }
    }
    std::copy(t.area.begin(), t.area.end(), image.macro_area.begin());
    for (std::size_t i = 0; i < macros.size(); ++i) addresses.push_back(t.addresses[i]);
  } else if (layout == StorageLayout::kSlot) {
    if (macros.size() > kSlotCount) {
      r.problem = std::to_string(macros.size()) + " macros: this mouse holds at most " +
                  std::to_string(kSlotCount);
      return r;
    }
    SlotMacroTable t;
    for (std::size_t i = 0; i < macros.size(); ++i) {
      if (!AddSlotMacro(t, MacroNameFromText(macros[i].name), buffer(macros[i]))) {
        r.problem = MacroPlace(i, macros[i]) + ": the name cannot be stored";
        return r;
      }
      addresses.push_back(SlotAddress(i));
    }
    std::copy(t.names.begin(), t.names.end(), image.macro_area.begin());
    // Pages of unused slots keep what they hold: no macro reads them.
    for (std::size_t i = 0; i < macros.size(); ++i) image.macro_pages[i] = t.pages[i];
  } else if (!macros.empty()) {
    r.problem = "this mouse has no macro storage";
    return r;
  }
  r.ok = true;
  return r;
}

}  // namespace

std::optional<KeyCodeBytes> EncodeButtonFunction(const ButtonFunction& f,
                                                 std::span<const std::uint16_t> macro_addresses) {
  switch (f.kind) {
    case FunctionKind::kNone:
      return KeyCodeBytes{};
    case FunctionKind::kMenuEntry: {
      const KeyMenuItem* item = FindKeyMenuItem(f.menu_tag);
      if (item == nullptr || item->code.empty()) return std::nullopt;
      return KeyCodeFromText(item->code);
    }
    case FunctionKind::kKeyCombination:
      return KeyboardCode(f.modifiers, f.keys[0], f.keys[1]);
    case FunctionKind::kFireKey:
      return FireKeyCode(f.fire);
    case FunctionKind::kAimKey:
      return KeyCodeBytes{static_cast<std::uint8_t>(KeyFunctionType::kAim),
                          static_cast<std::uint8_t>(f.aim_index), 0, 0};
    case FunctionKind::kDeviceMacro: {
      if (f.macro >= macro_addresses.size()) return std::nullopt;
      const std::uint16_t a = macro_addresses[f.macro];
      return KeyCodeBytes{static_cast<std::uint8_t>(KeyFunctionType::kMacro),
                          static_cast<std::uint8_t>(a >> 8), static_cast<std::uint8_t>(a & 0xFF),
                          0};
    }
    case FunctionKind::kCode:
      return f.code;
  }
  return std::nullopt;
}

std::uint8_t FallTimeOfSection(const ParameterSection& p) { return p[param::kFallTime + 1]; }

void EncodeFallTime(std::uint8_t fall_time, ParameterSection& p) {
  if (fall_time != FallTimeOfSection(p)) param::SetFallTime(p, fall_time);
}

std::vector<DeviceMacro> DecodeDeviceMacros(const ConfigImage& image, StorageLayout layout,
                                            std::string_view primary) {
  std::vector<DeviceMacro> macros;
  for (PlacedMacro& p : PlacedMacrosOf(image, layout, primary))
    macros.push_back(std::move(p.macro));
  return macros;
}

Configuration DecodeConfiguration(const ConfigImage& image, StorageLayout layout,
                                  std::string_view primary) {
  Configuration c;
  const ParameterSection& p = image.parameters;
  c.storage = layout;
  c.active_profile = p[param::kActiveProfile] + 1;

  std::vector<std::uint16_t> addresses;
  for (PlacedMacro& placed : PlacedMacrosOf(image, layout, primary)) {
    c.macros.push_back(std::move(placed.macro));
    addresses.push_back(placed.address);
  }
  const FireIdentityCounts identity =
      FireIdentityCounts::FromParameterByte(p[param::kRapidFireCounts]);
  c.fire_identity_counts = {identity.fireKey1 + 1, identity.fireKey2 + 1};
  for (int profile = 1; profile <= kProfileCount; ++profile) {
    for (int button = 1; button <= kButtonsPerProfile; ++button) {
      c.profiles[static_cast<std::size_t>(profile - 1)][static_cast<std::size_t>(button - 1)] =
          DecodeFunction(KeyCodeAt(image.profiles, profile, button), identity, addresses);
    }
  }

  c.dpi_level_count = param::DpiLevelCountOf(p);
  c.dpi_active_level = param::CurrentDpiLevelOf(p);
  for (int level = 1; level <= kDpiLevelSlots; ++level) {
    DpiLevel& l = c.dpi_levels[static_cast<std::size_t>(level - 1)];
    l.value_index = param::DpiIndexOf(p, level);
    for (int comp = 0; comp < 3; ++comp)
      l.colour[static_cast<std::size_t>(comp)] = param::DpiColourOf(p, level, comp);
  }
  c.report_rate_hz = ReportRateHz(param::ReportRateCodeOf(p) + 1);

  c.lighting.kind = LedKindOfBits(param::LightingTypeBitsOf(p));
  c.lighting.mode = param::LightingModeOf(p);
  c.lighting.fall_time = FallTimeOfSection(p);
  for (int colour = 1; colour <= kLightColourCount; ++colour) {
    for (int comp = 0; comp < 3; ++comp) {
      c.lighting.colours[static_cast<std::size_t>(colour - 1)][static_cast<std::size_t>(comp)] =
          param::LightColourOf(p, colour, comp);
    }
  }
  return c;
}

EncodeResult EncodeConfiguration(const Configuration& c, std::string_view primary,
                                 ConfigImage& image) {
  ConfigImage out = image;
  std::vector<std::uint16_t> addresses;
  const std::vector<PlacedMacro> held = PlacedMacrosOf(image, c.storage, primary);
  const bool same_macros =
      held.size() == c.macros.size() &&
      std::equal(held.begin(), held.end(), c.macros.begin(),
                 [](const PlacedMacro& h, const DeviceMacro& m) { return h.macro == m; });
  if (same_macros) {
    for (const PlacedMacro& h : held) addresses.push_back(h.address);
  } else {
    EncodeResult r = EncodeMacroStorage(c.macros, c.storage, primary, out, addresses);
    if (!r.ok) return r;
  }

  EncodeResult r;
  for (int profile = 1; profile <= kProfileCount; ++profile) {
    for (int button = 1; button <= kButtonsPerProfile; ++button) {
      const ButtonFunction& f =
          c.profiles[static_cast<std::size_t>(profile - 1)][static_cast<std::size_t>(button - 1)];
      const std::optional<KeyCodeBytes> code = EncodeButtonFunction(f, addresses);
      if (!code) {
        r.problem = "profile " + std::to_string(profile) + " button " + std::to_string(button) +
                    ": no such device macro or menu function";
        return r;
      }
      SetKeyCodeAt(out.profiles, profile, button, *code);
    }
  }

  ParameterSection& p = out.parameters;
  p[param::kRapidFireCounts] = static_cast<std::uint8_t>(
      ((c.fire_identity_counts[1] - 1) & 0x0F) << 4 | ((c.fire_identity_counts[0] - 1) & 0x0F));
  if (const auto choice = ReportRateChoiceOfHz(c.report_rate_hz)) {
    param::SetReportRateCode(p, static_cast<std::uint8_t>(*choice - 1));
  } else {
    r.problem = "report rate " + std::to_string(c.report_rate_hz) + " Hz";
    return r;
  }
  p[param::kActiveProfile] = static_cast<std::uint8_t>(c.active_profile - 1);
  p[param::kLighting] = LightingByte(c.lighting, p[param::kLighting]);
  param::SetDpiLevels(p, c.dpi_level_count, c.dpi_active_level);
  for (int level = 1; level <= kDpiLevelSlots; ++level) {
    const DpiLevel& l = c.dpi_levels[static_cast<std::size_t>(level - 1)];
    param::SetDpiIndex(p, level, l.value_index);
    for (int comp = 0; comp < 3; ++comp)
      param::SetDpiColour(p, level, comp, l.colour[static_cast<std::size_t>(comp)]);
  }
  EncodeFallTime(c.lighting.fall_time, p);
  for (int colour = 1; colour <= kLightColourCount; ++colour) {
    for (int comp = 0; comp < 3; ++comp) {
      param::SetLightColour(
          p, colour, comp,
          c.lighting.colours[static_cast<std::size_t>(colour - 1)][static_cast<std::size_t>(comp)]);
    }
  }
  image = out;
  r.ok = true;
  return r;
}

}  // namespace korvex48
