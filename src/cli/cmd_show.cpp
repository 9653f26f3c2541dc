// info, dump, macro list / show.
#include <algorithm>
#include <cstdio>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "core/config/config_text.h"
#include "core/config/macro_text.h"
#include "core/config/page_settings.h"
#include "core/config/setting_values.h"
#include "core/image/parameter_fields.h"
#include "core/macros/macro_names.h"
#include "core/macros/packed_layout.h"
#include "core/macros/slot_layout.h"

namespace korvex48::cli {
namespace {

std::string Hex(int value, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*X", digits, value);
  return buf;
}

// A colour as stored (the text form's numbers) and as the pages paint it,
// when that differs: each 4-bit component v as v * 255 / 15.
template <typename Rgb>
std::string StoredColour(const Rgb& rgb) {
  auto join = [&rgb](auto shown) {
    return std::to_string(shown(rgb[0])) + "," + std::to_string(shown(rgb[1])) + "," +
           std::to_string(shown(rgb[2]));
  };
  const std::string stored = join([](int v) { return v; });
  if (rgb[0] > 15 || rgb[1] > 15 || rgb[2] > 15) return stored;
  return stored + " (" + join([](int v) { return v * 255 / 15; }) + ")";
}

void PrintInfoText(Connection& c, const DevInfoResult& info) {
  const DeviceSession& s = c.Core().Session();
  std::printf("vendor id:          %s\n", Hex(s.VendorId, 4).c_str());
  std::printf("product id:         %s\n", Hex(s.ProductId, 4).c_str());
  std::printf("version:            %s\n", Hex(c.Version(), 4).c_str());
  std::printf("chip variant:       %d\n", info.variant);
  std::printf("primary storage:    %s\n",
              s.PrimaryStorage.empty() ? "-" : s.PrimaryStorage.c_str());
  std::printf("secondary storage:  %s\n",
              s.SecondaryStorage.empty() ? "-" : s.SecondaryStorage.c_str());
  std::printf("customer id:        %s\n",
              (Hex(info.customer_id[0], 2) + Hex(info.customer_id[1], 2)).c_str());
}

std::string Verdict(Connection& c, const DevInfoResult& info) {
  switch (info.outcome) {
    case DevInfoOutcome::kAccepted:
      return {};
    case DevInfoOutcome::kStorageMismatch:
    case DevInfoOutcome::kRefused:
      return c.Ui().messages.empty() ? std::string("refused") : MessageLine(c.Ui().messages.back());
    case DevInfoOutcome::kNotSent:
      return "the device information request was not answered";
    case DevInfoOutcome::kReadIncomplete:
      return c.Core().LastTransferProblem();
    case DevInfoOutcome::kUnknownPrimary:
      return "unknown storage kind";
    case DevInfoOutcome::kNoSecondary:
      return "no secondary storage";
  }
  return {};
}

}  // namespace

void ExpectArgs(const Args& args, std::size_t low, std::size_t high, const std::string& usage) {
  if (args.size() < low || args.size() > high) UsageError("usage: korvex48ctl " + usage);
}

void WriteMacroFields(JsonWriter& j, std::size_t index, const MacroView& macro) {
  j.Int("index", static_cast<long long>(index + 1));
  j.String("name", macro.name);
  j.Int("address", macro.address);
  j.Int("length", macro.length);
}

std::vector<MacroView> DeviceMacroViews(const AppCore& core) {
  std::vector<MacroView> views;
  const DeviceMacros& m = core.Macros();
  if (m.Layout() == StorageLayout::kPacked) {
    const PackedMacroTable& t = m.Packed();
    for (std::size_t k = 0; k < m.Count(); ++k) {
      const ByteView bytes = m.EventBytes(k);
      views.push_back({MacroNameText(t.names[k]), t.addresses[k], static_cast<int>(bytes.size()),
                       DecodeMacroLines(bytes)});
    }
  } else if (m.Layout() == StorageLayout::kSlot) {
    const SlotMacroTable& t = m.Slot();
    for (std::size_t i = 0; i < m.Count(); ++i) {
      const ByteView bytes = m.EventBytes(i);
      views.push_back({MacroNameText(SlotNameEntry(t, i)), t.addresses[i],
                       static_cast<int>(bytes.size()), DecodeMacroLines(bytes)});
    }
  }
  return views;
}

int RunInfo(const GlobalOptions& options, const Args& args) {
  ExpectArgs(args, 0, 0, "info");
  Connection c(options);
  c.Connect(/*require_accepted=*/false);
  const DevInfoResult& info = c.Core().LastDevInfo();
  const std::string why = Verdict(c, info);
  if (options.json) {
    const DeviceSession& s = c.Core().Session();
    JsonWriter j;
    j.BeginObject();
    j.Int("schema", 1);
    j.Int("vendor_id", s.VendorId);
    j.Int("product_id", s.ProductId);
    j.Int("version", c.Version());
    j.Int("variant", info.variant);
    j.String("primary_storage", s.PrimaryStorage);
    j.String("secondary_storage", s.SecondaryStorage);
    j.String("customer_id", Hex(info.customer_id[0], 2) + Hex(info.customer_id[1], 2));
    j.Bool("accepted", why.empty());
    if (why.empty()) {
      j.Null("refused_because");
    } else {
      j.String("refused_because", why);
    }
    j.EndObject();
    std::fputs(j.Text().c_str(), stdout);
  } else {
    PrintInfoText(c, info);
    std::printf("accepted:           %s\n", why.empty() ? "yes" : ("no: " + why).c_str());
  }
  if (!why.empty()) Fail(kExitNoMouse, "the mouse was refused: " + why);
  return kExitOk;
}

int RunDump(const GlobalOptions& options, const Args& args) {
  ExpectArgs(args, 0, 0, "dump");
  Connection c(options);
  c.Connect();
  AppCore& core = c.Core();
  const EditorState& st = c.Editor().State();
  // Both forms show the one configuration the mouse holds; beside it only
  // what the pages show of it (the fire key and AIM fields of the active
  // profile) and where the macros are stored.
  const Configuration config = c.Editor().CurrentConfiguration();
  if (options.json) {
    PrintConfigurationText(config);
    return kExitOk;
  }
  const std::vector<MacroView> stored = DeviceMacroViews(core);

  std::printf("active profile: %d\n", config.active_profile);
  for (int prof = 1; prof <= 3; ++prof) {
    std::printf("profile %d:\n", prof);
    for (int b = 1; b <= 12; ++b) {
      const ButtonFunction& f =
          config.profiles[static_cast<std::size_t>(prof - 1)][static_cast<std::size_t>(b - 1)];
      std::printf("  button %2d  %s  %s\n", b, core.Codes().Code(prof, b).c_str(),
                  EscapeControlCharacters(ButtonFunctionName(f, config.macros)).c_str());
    }
  }
  std::printf("fire key counts: %d, %d\n", config.fire_identity_counts[0],
              config.fire_identity_counts[1]);
  std::printf("dpi levels: %d, active level: %d\n", config.dpi_level_count,
              config.dpi_active_level);
  for (int level = 1; level <= 8; ++level) {
    const DpiLevel& l = config.dpi_levels[static_cast<std::size_t>(level - 1)];
    std::printf("  level %d  %-4s  %5s  colour %s\n", level,
                level <= config.dpi_level_count ? "on" : "off",
                l.value_index < 12 ? std::to_string(DpiValueOfIndex(l.value_index)).c_str()
                : l.value_index == kNoDpiValue ? "-"
                                               : ("#" + std::to_string(l.value_index)).c_str(),
                StoredColour(l.colour).c_str());
  }
  std::printf("report rate: %d Hz\n", config.report_rate_hz);
  const Lighting& led = config.lighting;
  std::printf("led: kind %s, mode %s%s, fall time %d (step %d)\n", LedKindName(led.kind).c_str(),
              led.mode == 0 ? "off" : std::to_string(led.mode).c_str(),
              LightingModeOffered(led.kind, led.mode) ? "" : " (not offered)", led.fall_time,
              StepOfFallTime(led.fall_time));
  for (std::size_t col = 0; col < led.colours.size(); ++col)
    std::printf("  colour %zu  %s\n", col + 1, StoredColour(led.colours[col]).c_str());
  for (int f = 0; f < 3; ++f) {
    const FireKeySettings& fk = st.fire[static_cast<std::size_t>(f)];
    std::printf("fire key %d: count %d, delay %d ms, continuous %s\n", f + 1, fk.repeatCount,
                fk.delay, fk.continuous ? "on" : "off");
  }
  std::printf("aim dpi: %d\n", DpiValueOfIndex(st.aim_step - 1));
  std::printf("macros: %zu\n", config.macros.size());
  for (std::size_t m = 0; m < config.macros.size(); ++m) {
    const DeviceMacro& macro = config.macros[m];
    std::printf("  macro %zu  %s", m + 1, EscapeControlCharacters(macro.name).c_str());
    if (m < stored.size())
      std::printf("  address %s  length %d", Hex(stored[m].address, 4).c_str(), stored[m].length);
    std::printf("\n");
    for (const std::string& line : MacroEventLines(macro.events))
      std::printf("    %s\n", line.c_str());
  }
  return kExitOk;
}

}  // namespace korvex48::cli
