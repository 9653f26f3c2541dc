#pragma once
// The backups of larger changes: one folder each under the backup folder,
// named by the time (UTC) and the change made, holding the mouse's whole
// configuration as read before the change (the profile file `before.bin` and
// its text form `before.json`), the change as one line (`change`), and the
// journal: the configuration the change meant to reach (`target.bin`,
// `target.json`), written before its first report, and `finished` once the
// mouse took all of it. Only the newest kBackupsKept are kept.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/file_io.h"

namespace korvex48 {

inline constexpr std::size_t kBackupsKept = 50;

// $XDG_STATE_HOME/korvex48/backups, or ~/.local/state/korvex48/backups.
std::string DefaultBackupFolder();

// The time a backup's folder name gives ("20261211T103000.123456Z_reset"),
// in micro-seconds since 1970 (UTC); nullopt for any other name.
std::optional<long long> BackupNameTime(std::string_view name);

struct BackupEntry {
  std::string folder;     // the backup's own folder
  std::string time;       // "2026-12-11 10:30:00 UTC"
  std::string change;     // the change that followed ("load-profile WRONG.bin")
  bool journal = false;   // the target of the change was written
  bool finished = false;  // the change went through (or was closed since)
  // The change began and was neither finished nor closed.
  bool Unfinished() const { return journal && !finished; }
  std::string BeforeFile() const { return folder + "/before.bin"; }
  std::string BeforeText() const { return folder + "/before.json"; }
  std::string TargetFile() const { return folder + "/target.bin"; }
  std::string TargetText() const { return folder + "/target.json"; }
};

// What one backup holds: the files' bytes.
struct BackupContent {
  std::vector<std::uint8_t> before_file;
  std::string before_text;
  // Empty when the change does not change the configuration (no journal).
  std::vector<std::uint8_t> target_file;
  std::string target_text;
};

class BackupStore {
 public:
  explicit BackupStore(std::string folder) : folder_(std::move(folder)) {}
  const std::string& Folder() const { return folder_; }

  // Every backup, newest first. A folder that does not exist lists none;
  // entries that are no backup are passed over.
  std::vector<BackupEntry> List() const;
  // Writes a new backup of `change` (the newest, even when the clock went
  // back) and then removes all but the newest kBackupsKept. nullopt with
  // `error` set when any of its files could not be written; what was made
  // of it is removed again.
  std::optional<BackupEntry> Save(const std::string& kind, const std::string& change,
                                  const BackupContent& content, FileError* error);
  // Marks the change of `entry` finished (or closed).
  bool MarkFinished(const BackupEntry& entry, FileError* error = nullptr);

 private:
  std::string folder_;
};

}  // namespace korvex48
