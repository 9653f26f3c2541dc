#pragma once
// The ChangeGuard of the front ends: backups and journals in a BackupStore,
// what a cut change lost as the user had it, and the images a restore or the
// finishing of a change makes the mouse hold.
#include <optional>
#include <string>

#include "core/app/change_guard.h"
#include "core/backups/backup_store.h"
#include "core/config/configuration.h"

namespace korvex48 {

class BackupJournal final : public ChangeGuard {
 public:
  explicit BackupJournal(std::string folder) : store_(std::move(folder)) {}

  BackupStore& Store() { return store_; }
  const BackupStore& Store() const { return store_; }

  bool Begin(const ChangeLabel& label, const ConfigImage& before, const ConfigImage* target,
             StorageLayout layout, const std::string& primary, std::string* problem) override;
  void Finished() override;
  std::optional<CutReport> Cut(const ConfigImage* now) override;
  std::optional<CutReport> Unfinished(const ConfigImage& now, StorageLayout layout,
                                      const std::string& primary) override;

 private:
  BackupStore store_;
  std::optional<BackupEntry> current_;
  Configuration before_;
  std::optional<Configuration> target_;
  StorageLayout layout_ = StorageLayout::kNone;
  std::string primary_;
};

// Each macro and button of `had` that `now` does not hold as it was: macros
// by name and events ("macro 2 \"BBBB\""), buttons by their function
// ("profile 2 button 3 (macro:BBBB)").
std::vector<std::string> LostItems(const Configuration& had, const Configuration& now);

// A profile file's bytes (a backup's `before.bin`, or one the user names) as
// the image the mouse is to hold: laid over `mouse` (the mouse's image, whose
// customer identifier and USB identifiers it keeps). nullopt with `problem`
// set when the bytes are no profile file for `layout`.
std::optional<ConfigImage> ProfileImageOver(std::span<const std::uint8_t> file,
                                            const ConfigImage& mouse, StorageLayout layout,
                                            std::string* problem);
// ProfileImageOver of the file `path` (a backup's before.bin or target.bin);
// nullopt with `problem` set when it cannot be read or is no profile file.
std::optional<ConfigImage> BackupImage(const std::string& path, const ConfigImage& mouse,
                                       StorageLayout layout, std::string* problem);

}  // namespace korvex48
