// info, dump, macro list / show.
#include <algorithm>
#include <cstdio>

#include "cli/commands.h"
#include "cli/json_writer.h"
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

std::string LedKind(std::uint8_t byte37) {
  switch (byte37 >> 6) {
    case 0:
      return "RGB";
    case 1:
      return "Sync";
    default:
      return "NT";
  }
}

// A stored 4-bit colour component as the pages paint it.
int Shown(int stored) { return std::min(255, stored * 255 / 15); }

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
  const ParameterSection& p = core.Page().parameters;
  const KeyNameSources sources = core.NameSources();
  const int active_profile = p[33] <= 2 ? p[33] + 1 : 0;
  const int rate = ReportRateHz(((p[6] >> 4) & 3) + 1);
  const std::string kind = LedKind(p[37]);
  const PageSettings& shown = st.settings;
  const int mode = LightingModeChosen(shown, shown.lighting.mode) ? shown.lighting.mode : -1;
  const std::vector<MacroView> macros = DeviceMacroViews(core);
  auto dpi_index = [&](int level) { return static_cast<int>(param::DpiIndexOf(p, level)); };
  const int aim_dpi = DpiValueOfIndex(st.aim_step - 1);

  if (options.json) {
    PrintConfigurationText(c.Editor().CurrentConfiguration());
    return kExitOk;
  }

  std::printf("active profile: %d\n", active_profile);
  for (int prof = 1; prof <= 3; ++prof) {
    std::printf("profile %d:\n", prof);
    for (int b = 1; b <= 12; ++b) {
      const std::string& code = core.Codes().Code(prof, b);
      std::printf("  button %2d  %s  %s\n", b, code.c_str(),
                  EscapeControlCharacters(KeyCodeName(code, sources)).c_str());
    }
  }
  std::printf("dpi levels: %d, active level: %d\n", shown.dpi_level_count, shown.dpi_active_level);
  for (int level = 1; level <= 8; ++level) {
    const int idx = dpi_index(level);
    std::printf("  level %d  %-4s  %5s  colour %d,%d,%d\n", level,
                level <= shown.dpi_level_count ? "on" : "off",
                idx < 12 ? std::to_string(DpiValueOfIndex(idx)).c_str() : "-",
                Shown(param::DpiColourOf(p, level, 0)), Shown(param::DpiColourOf(p, level, 1)),
                Shown(param::DpiColourOf(p, level, 2)));
  }
  std::printf("report rate: %d Hz\n", rate);
  std::printf("led: kind %s, mode %s, step time %d\n", kind.c_str(),
              mode < 0 ? "-" : (mode == 0 ? "off" : std::to_string(mode).c_str()),
              shown.lighting.fall_time / 5);
  for (int col = 1; col <= 7; ++col) {
    std::printf("  colour %d  %d,%d,%d\n", col, Shown(param::LightColourOf(p, col, 0)),
                Shown(param::LightColourOf(p, col, 1)), Shown(param::LightColourOf(p, col, 2)));
  }
  for (int f = 0; f < 3; ++f) {
    const FireKeySettings& fk = st.fire[static_cast<std::size_t>(f)];
    std::printf("fire key %d: count %d, delay %d ms, continuous %s\n", f + 1, fk.repeatCount,
                fk.delay, fk.continuous ? "on" : "off");
  }
  std::printf("aim dpi: %d\n", aim_dpi);
  std::printf("macros: %zu\n", macros.size());
  for (std::size_t m = 0; m < macros.size(); ++m) {
    std::printf("  macro %zu  %s  address %s  length %d\n", m + 1,
                EscapeControlCharacters(macros[m].name).c_str(), Hex(macros[m].address, 4).c_str(),
                macros[m].length);
    for (const std::string& line : macros[m].lines) std::printf("    %s\n", line.c_str());
  }
  return kExitOk;
}

}  // namespace korvex48::cli
