// backups and restore: the copies of the mouse's configuration kept before
// every larger change, and the way back to one of them (or forward to what a
// cut change meant to reach).
#include <cstdio>
#include <filesystem>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "core/backups/backup_journal.h"
#include "core/backups/backup_store.h"
#include "core/common/unicode_text.h"
#include "core/config/config_text.h"
#include "core/config/image_codec.h"

namespace korvex48::cli {
namespace {

constexpr std::size_t kMaxConfigFileBytes = 1u << 20;

std::vector<std::uint8_t> ReadOrFail(const std::string& path) {
  FileError error;
  auto bytes = ReadWholeFile(path, &error, kMaxConfigFileBytes);
  if (!bytes)
    Fail(kExitFile, "cannot read " + (error.path.empty() ? path : error.path) + ": " +
                        (error.message.empty() ? "file error" : error.message));
  return std::move(*bytes);
}

bool IsNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

int RunBackups(const GlobalOptions& options, const Args& args) {
  ExpectArgs(args, 0, 0, "backups");
  const BackupStore store(DefaultBackupFolder());
  const std::vector<BackupEntry> entries = store.List();
  if (options.json) {
    JsonWriter j;
    j.BeginArray();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const BackupEntry& e = entries[i];
      j.BeginObject();
      j.Int("index", static_cast<long long>(i + 1));
      j.String("time", e.time);
      j.String("change", e.change);
      j.Bool("finished", !e.Unfinished());
      j.String("file", e.BeforeFile());
      j.String("text", e.BeforeText());
      if (e.journal) j.String("target", e.TargetFile());
      j.EndObject();
    }
    j.EndArray();
    std::fputs(j.Text().c_str(), stdout);
    return kExitOk;
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const BackupEntry& e = entries[i];
    std::printf("%2zu  %s  before %s%s\n", i + 1, e.time.c_str(),
                EscapeControlCharacters(e.change).c_str(),
                e.Unfinished() ? " (did not finish)" : "");
  }
  return kExitOk;
}

int RunRestore(const GlobalOptions& options, const Args& args) {
  ExpectArgs(args, 0, 1, "restore [N|FILE] [--dry-run] | restore --finish");
  const BackupStore store(DefaultBackupFolder());
  const std::vector<BackupEntry> entries = store.List();
  std::vector<std::uint8_t> bytes;
  std::string source;
  ChangeLabel label{"restore", ""};
  if (options.finish) {
    if (!args.empty())
      UsageError("restore --finish takes no backup: it finishes the newest change");
    if (entries.empty() || !entries.front().journal)
      Fail(kExitUsage, "the newest backup names no change to finish");
    source = entries.front().TargetFile();
    bytes = ReadOrFail(source);
    label.detail = "--finish (" + entries.front().change + ")";
  } else if (args.empty() || IsNumber(args[0])) {
    const int n =
        args.empty() ? 1 : ParseInt(args[0], 1, static_cast<int>(kBackupsKept), "backup number");
    if (static_cast<std::size_t>(n) > entries.size())
      UsageError("there " + std::string(entries.size() == 1 ? "is " : "are ") +
                 std::to_string(entries.size()) + (entries.size() == 1 ? " backup" : " backups") +
                 " (korvex48ctl backups lists them), not " + std::to_string(n));
    const BackupEntry& e = entries[static_cast<std::size_t>(n - 1)];
    source = e.BeforeFile();
    bytes = ReadOrFail(source);
    label.detail = std::to_string(n) + " (before " + e.change + ")";
  } else {
    // A backup's folder, its profile file or its text form, or any profile file.
    source = args[0];
    std::error_code ec;
    if (std::filesystem::is_directory(source, ec)) source += "/before.bin";
    bytes = ReadOrFail(source);
    label.detail = args[0];
  }

  const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::optional<Configuration> text;
  if (LooksLikeConfigurationText(view)) {
    TextProblem problem;
    text = ConfigurationFromText(view, &problem);
    if (!text) UsageError(source + ": " + problem.Line());
  }
  Connection c(options);
  c.Connect();
  RequireWholeRead(c);
  c.Ui().messages.clear();
  const int refused_before = c.Editor().RefusedWrites();
  if (text)
    return EndOfApply(c, c.Editor().ApplyConfiguration(*text, options.dry_run, label),
                      refused_before, source);
  std::string problem;
  const auto image = ProfileImageOver(bytes, c.Editor().MouseImage(), c.Core().Layout(), &problem);
  if (!image) Fail(kExitRefused, source + ": " + problem);
  return EndOfApply(c, c.Editor().ApplyImage(*image, options.dry_run, label), refused_before,
                    source);
}

}  // namespace korvex48::cli
