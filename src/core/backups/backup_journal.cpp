#include "core/backups/backup_journal.h"

#include <algorithm>

#include "core/config/config_text.h"
#include "core/config/image_codec.h"
#include "core/files/profile_file.h"
#include "core/image/parameter_fields.h"

namespace korvex48 {
namespace {

// Neither form is anywhere near this; a larger file is no backup.
constexpr std::size_t kMaxBackupFileBytes = 1u << 20;

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

}  // namespace

std::vector<std::string> LostItems(const Configuration& had, const Configuration& now) {
  std::vector<std::string> lost;
  for (std::size_t i = 0; i < had.macros.size(); ++i) {
    if (std::find(now.macros.begin(), now.macros.end(), had.macros[i]) == now.macros.end())
      lost.push_back("macro " + std::to_string(i + 1) + " " + Quoted(had.macros[i].name));
  }
  for (std::size_t p = 0; p < had.profiles.size(); ++p) {
    for (std::size_t b = 0; b < had.profiles[p].size(); ++b) {
      const ButtonFunction& was = had.profiles[p][b];
      const ButtonFunction& is = now.profiles[p][b];
      // A macro button holds while it plays the same macro, wherever it is.
      bool same = was == is;
      if (!same && was.kind == FunctionKind::kDeviceMacro &&
          is.kind == FunctionKind::kDeviceMacro && was.macro < had.macros.size() &&
          is.macro < now.macros.size())
        same = had.macros[was.macro] == now.macros[is.macro];
      if (same) continue;
      lost.push_back("profile " + std::to_string(p + 1) + " button " + std::to_string(b + 1) +
                     " (" + ButtonFunctionName(was, had.macros) + ")");
    }
  }
  return lost;
}

std::optional<ConfigImage> ProfileImageOver(std::span<const std::uint8_t> file,
                                            const ConfigImage& mouse, StorageLayout layout,
                                            std::string* problem) {
  ConfigImage image = mouse;
  const ProfileLoadResult loaded = LoadProfileBytes(file, layout, image);
  if (!loaded.ok()) {
    if (problem) *problem = std::string(kLoadBinErrorText) + " (" + loaded.reason + ")";
    return std::nullopt;
  }
  // What makes the programs find and accept this mouse stays the mouse's.
  image.customer_id = mouse.customer_id;
  std::copy_n(mouse.parameters.begin() + param::kVendorId, 4,
              image.parameters.begin() + param::kVendorId);
  return image;
}

std::optional<ConfigImage> BackupImage(const std::string& path, const ConfigImage& mouse,
                                       StorageLayout layout, std::string* problem) {
  FileError error;
  const auto bytes = ReadWholeFile(path, &error, kMaxBackupFileBytes);
  if (!bytes) {
    if (problem)
      *problem = "cannot read " + (error.path.empty() ? path : error.path) + ": " + error.message;
    return std::nullopt;
  }
  std::string why;
  auto image = ProfileImageOver(*bytes, mouse, layout, &why);
  if (!image && problem) *problem = path + ": " + why;
  return image;
}

bool BackupJournal::Begin(const ChangeLabel& label, const ConfigImage& before,
                          const ConfigImage* target, StorageLayout layout,
                          const std::string& primary, std::string* problem) {
  current_.reset();
  layout_ = layout;
  primary_ = primary;
  before_ = DecodeConfiguration(before, layout, primary);
  target_.reset();
  BackupContent content;
  content.before_file = ProfileFileBytes(before, layout);
  content.before_text = ConfigurationToText(before_);
  if (target) {
    target_ = DecodeConfiguration(*target, layout, primary);
    content.target_file = ProfileFileBytes(*target, layout);
    content.target_text = ConfigurationToText(*target_);
  }
  FileError error;
  current_ = store_.Save(label.kind, label.Text(), content, &error);
  if (!current_) {
    if (problem)
      *problem = "no backup of the mouse's configuration could be written to " +
                 (error.path.empty() ? store_.Folder() : error.path) + " (" +
                 (error.message.empty() ? "file error" : error.message) + ")";
    return false;
  }
  return true;
}

void BackupJournal::Finished() {
  if (current_ && current_->journal) (void)store_.MarkFinished(*current_);
}

std::optional<CutReport> BackupJournal::Cut(const ConfigImage* now) {
  if (!current_) return std::nullopt;
  std::optional<Configuration> is;
  if (now) {
    is = DecodeConfiguration(*now, layout_, primary_);
    if (*is == before_) {
      // Nothing of it reached the mouse: nothing to finish or undo.
      Finished();
      return std::nullopt;
    }
  }
  CutReport report;
  report.change = current_->change;
  report.backup = current_->folder;
  report.can_finish = current_->journal;
  report.known = now != nullptr;
  if (is)
    report.lost = LostItems(before_, *is);
  else if (target_)
    report.lost = LostItems(before_, *target_);
  return report;
}

std::optional<CutReport> BackupJournal::Unfinished(const ConfigImage& now, StorageLayout layout,
                                                   const std::string& primary) {
  const std::vector<BackupEntry> entries = store_.List();
  if (entries.empty() || !entries.front().Unfinished()) return std::nullopt;
  const BackupEntry& newest = entries.front();
  auto before_file = ReadWholeFile(newest.BeforeFile(), nullptr, kMaxBackupFileBytes);
  auto target_file = ReadWholeFile(newest.TargetFile(), nullptr, kMaxBackupFileBytes);
  if (!before_file || !target_file) return std::nullopt;
  const auto before = ProfileImageOver(*before_file, now, layout, nullptr);
  const auto target = ProfileImageOver(*target_file, now, layout, nullptr);
  // A backup of another kind of mouse says nothing about this one.
  if (!before || !target) return std::nullopt;
  const Configuration is = DecodeConfiguration(now, layout, primary);
  const Configuration had = DecodeConfiguration(*before, layout, primary);
  if (is == DecodeConfiguration(*target, layout, primary) || is == had) {
    // Finished after all, or nothing of it reached the mouse.
    (void)store_.MarkFinished(newest);
    return std::nullopt;
  }
  CutReport report;
  report.change = newest.change;
  report.backup = newest.folder;
  report.can_finish = true;
  report.lost = LostItems(had, is);
  return report;
}

}  // namespace korvex48
