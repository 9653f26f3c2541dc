// apply and diff: the configuration of a file (the text form or a binary
// profile) against the mouse's, or two files against each other.
#include <cstdio>

#include "cli/commands.h"
#include "core/config/config_diff.h"
#include "core/config/config_text.h"
#include "core/config/image_codec.h"
#include "core/files/profile_file.h"

namespace korvex48::cli {
namespace {

// Neither form is anywhere near this; a larger file is no configuration.
constexpr std::size_t kMaxConfigFileBytes = 1u << 20;

struct ConfigFile {
  std::string path;
  std::vector<std::uint8_t> bytes;
  bool text = false;
  std::optional<Configuration> config;  // the text form, read before any mouse is asked
};

// Reads a file and, for the text form, its configuration. A text that does
// not read ends the program with exit 2 and the place of the error.
ConfigFile ReadConfigFile(const std::string& path) {
  ConfigFile f;
  f.path = path;
  FileError error;
  auto bytes = ReadWholeFile(path, &error, kMaxConfigFileBytes);
  if (!bytes)
    Fail(kExitFile, "cannot read " + (error.path.empty() ? path : error.path) + ": " +
                        (error.message.empty() ? "file error" : error.message));
  f.bytes = std::move(*bytes);
  const std::string_view view(reinterpret_cast<const char*>(f.bytes.data()), f.bytes.size());
  f.text = LooksLikeConfigurationText(view);
  if (f.text) {
    TextProblem problem;
    f.config = ConfigurationFromText(view, &problem);
    if (!f.config) UsageError(path + ": " + problem.Line());
  }
  return f;
}

// A binary profile as a configuration, laid over `base` (the mouse's image,
// or an empty one when there is no mouse).
Configuration BinaryConfiguration(const ConfigFile& f, StorageLayout layout,
                                  const std::string& primary, ConfigImage base) {
  const ProfileLoadResult loaded = LoadProfileBytes(f.bytes, layout, base);
  if (!loaded.ok())
    Fail(kExitRefused, f.path + ": " + kLoadBinErrorText + " (" + loaded.reason + ")");
  return DecodeConfiguration(base, layout, primary);
}

// Without a mouse the layout comes from the file's mark, and the packed
// area's place from the macro codes: a "Flash" + "I2C" mouse's macros sit at
// 0x4000.
Configuration StandaloneConfiguration(const ConfigFile& f) {
  if (f.config) return *f.config;
  const StorageKind kind = StorageKindOf(f.bytes);
  if (kind == StorageKind::kNone)
    Fail(kExitRefused, f.path + ": neither the text form nor a profile file (byte 0 is no mark)");
  const StorageLayout layout =
      kind == StorageKind::kFlash ? StorageLayout::kSlot : StorageLayout::kPacked;
  std::string primary = "I2C";
  for (std::size_t at = kImageProfileOffset;
       at + 4 <= kImageProfileOffset + 144 && at + 4 <= f.bytes.size(); at += 4) {
    if (f.bytes[at] == 0x10 && (f.bytes[at + 1] & 0xC0) == 0x40) primary = "Flash";
  }
  if (layout == StorageLayout::kSlot) primary = "Flash";
  return BinaryConfiguration(f, layout, primary, ConfigImage{});
}

Configuration FileConfiguration(const ConfigFile& f, Connection& c) {
  if (f.config) return *f.config;
  return BinaryConfiguration(f, c.Core().Layout(), c.Core().Session().PrimaryStorage,
                             c.Editor().MouseImage());
}

void PrintLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
}

}  // namespace

void RequireWholeRead(Connection& c) {
  if (!c.Core().ImageRead()) Fail(kExitNoMouse, "the mouse's configuration was not read whole");
}

void PrintConfigurationText(const Configuration& config) {
  std::fputs(ConfigurationToText(config).c_str(), stdout);
}

int RunApply(const GlobalOptions& options, const Args& args) {
  ExpectArgs(args, 1, 1, "apply FILE [--dry-run]");
  const ConfigFile file = ReadConfigFile(args[0]);
  Connection c(options);
  c.Connect();
  RequireWholeRead(c);
  const Configuration target = FileConfiguration(file, c);
  c.Ui().messages.clear();
  const int refused_before = c.Editor().RefusedWrites();
  const ConfigApplyResult r =
      c.Editor().ApplyConfiguration(target, options.dry_run, {"apply", args[0]});
  return EndOfApply(c, r, refused_before, args[0]);
}

int EndOfApply(Connection& c, const ConfigApplyResult& r, int refused_before,
               const std::string& source) {
  switch (r.status) {
    case ConfigApplyStatus::kApplied:
      break;
    case ConfigApplyStatus::kRefused:
      Fail(kExitRefused, source + ": " + r.problem);
    case ConfigApplyStatus::kNoDevice:
      Fail(kExitNoMouse, r.problem);
    case ConfigApplyStatus::kNoBackup:
      FailWithoutBackup(c.Core());
    case ConfigApplyStatus::kWriteFailed:
      // What the mouse holds now (it was read again), why it stopped, and
      // what it lost with the way back.
      Fail(kExitNoMouse,
           WithRecovery(c.Core(), r.problem + " (" + c.Core().LastTransferProblem() + ")"));
  }
  PrintLines(r.differences);
  if (c.Editor().RefusedWrites() > refused_before)
    Fail(kExitNoMouse, "the mouse refused a change; it keeps its previous setting there");
  if (r.restart_refused)
    Fail(kExitNoMouse,
         "the new report rate was written, but the mouse refused the restart it needs");
  if (r.restarted && !c.Core().DeviceUsable())
    Fail(kExitNoMouse, "the mouse did not come back after the restart for the new report rate");
  return kExitOk;
}

int RunDiff(const GlobalOptions& options, const Args& args) {
  ExpectArgs(args, 1, 2, "diff FILE [FILE2]");
  // As diff(1): 0 equal, 1 different, 2 when they cannot be compared.
  try {
    const ConfigFile first = ReadConfigFile(args[0]);
    std::vector<std::string> lines;
    if (args.size() == 2) {
      const ConfigFile second = ReadConfigFile(args[1]);
      lines =
          ConfigurationDifferences(StandaloneConfiguration(first), StandaloneConfiguration(second));
    } else {
      Connection c(options);
      c.Connect();
      RequireWholeRead(c);
      lines =
          ConfigurationDifferences(c.Editor().CurrentConfiguration(), FileConfiguration(first, c));
    }
    PrintLines(lines);
    return lines.empty() ? kExitOk : 1;
  } catch (Failure& f) {
    // Whatever stopped the comparison (no mouse, a file that does not read or
    // is no configuration), the answer is "cannot be compared".
    f.code = kExitUsage;
    throw;
  }
}

}  // namespace korvex48::cli
