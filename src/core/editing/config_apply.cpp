// Making the mouse hold a whole configuration: only what differs is sent.
#include <algorithm>

#include "core/config/config_diff.h"
#include "core/config/image_codec.h"
#include "core/editing/page_editor.h"
#include "core/image/parameter_fields.h"

namespace korvex48 {
namespace {

bool SameStorage(const ConfigImage& a, const ConfigImage& b, StorageLayout layout) {
  if (a.macro_area != b.macro_area) return false;
  return layout != StorageLayout::kSlot || a.macro_pages == b.macro_pages;
}

// Nothing is applied over a configuration that was not read whole.
bool ReadWhole(const AppCore& core, ConfigApplyResult& r) {
  if (core.DeviceUsable() && core.ImageRead()) return true;
  r.status = ConfigApplyStatus::kNoDevice;
  r.problem = "the mouse's configuration was not read whole";
  return false;
}

}  // namespace

ConfigImage PageEditor::MouseImage() const { return core_.MouseImage(); }

Configuration PageEditor::CurrentConfiguration() const {
  return DecodeConfiguration(MouseImage(), core_.Layout(), core_.Session().PrimaryStorage);
}

ConfigApplyResult PageEditor::ApplyConfiguration(const Configuration& target, bool dry_run,
                                                 const ChangeLabel& label) {
  ConfigApplyResult r;
  const DeviceSession& s = core_.Session();
  if (!ReadWhole(core_, r)) return r;
  const StorageLayout layout = core_.Layout();
  if (target.storage != layout) {
    r.status = ConfigApplyStatus::kRefused;
    r.problem = "the configuration is for a mouse with " + StorageLayoutName(target.storage) +
                " macro storage; this mouse has " + StorageLayoutName(layout) + " macro storage";
    return r;
  }
  ConfigImage wanted = MouseImage();
  const EncodeResult encoded = EncodeConfiguration(target, s.PrimaryStorage, wanted);
  if (!encoded.ok) {
    r.status = ConfigApplyStatus::kRefused;
    r.problem = encoded.problem;
    return r;
  }
  // Bytes the configuration does not describe (past the macros' end mark)
  // are no reason to write.
  r.differences =
      ConfigurationDifferences(DecodeConfiguration(MouseImage(), layout, s.PrimaryStorage), target);
  if (dry_run || r.differences.empty()) return r;
  // Its checksum bytes are the mouse's as read: they are not the file's.
  return ApplyWanted(wanted, dry_run, label, false);
}

ConfigApplyResult PageEditor::ApplyImage(const ConfigImage& wanted, bool dry_run,
                                         const ChangeLabel& label) {
  return ApplyWanted(wanted, dry_run, label, true);
}

ConfigApplyResult PageEditor::ApplyWanted(const ConfigImage& wanted, bool dry_run,
                                          const ChangeLabel& label, bool checksums) {
  ConfigApplyResult r;
  const DeviceSession& s = core_.Session();
  if (!ReadWhole(core_, r)) return r;
  const StorageLayout layout = core_.Layout();
  const ConfigImage current = MouseImage();
  r.differences = ConfigurationDifferences(DecodeConfiguration(current, layout, s.PrimaryStorage),
                                           DecodeConfiguration(wanted, layout, s.PrimaryStorage));
  const bool same_bytes = current.parameters == wanted.parameters &&
                          current.profiles == wanted.profiles &&
                          SameStorage(current, wanted, layout);
  if (dry_run || same_bytes) return r;
  // One undo step however many writes, transfers and reads it takes.
  const UndoHistory::Change change = history_.Begin();
  if (!core_.BeginChange(label, &wanted)) {
    r.status = ConfigApplyStatus::kNoBackup;
    r.problem = core_.BackupProblem();
    return r;
  }
  const int refused_before = refused_writes_;
  r = SendImage(current, wanted, checksums, std::move(r));
  core_.EndChange(r.status == ConfigApplyStatus::kApplied && refused_writes_ == refused_before &&
                  core_.DeviceUsable());
  return r;
}

ConfigApplyResult PageEditor::SendImage(const ConfigImage& current, const ConfigImage& wanted,
                                        bool checksums, ConfigApplyResult r) {
  const StorageLayout layout = core_.Layout();

  // Macros first: the codes that name them go with them in the profile
  // section, through the same save as Add to Mouse and Delete.
  // The profile checksum the mouse holds once the codes went.
  std::uint8_t held_checksum = current.profiles[kProfileChecksumOffset];
  if (!SameStorage(current, wanted, layout)) {
    switch (macro_flows_.ReplaceDeviceMacros(wanted)) {
      case MacroCommandResult::kDone:
        held_checksum = core_.Working().profiles[kProfileChecksumOffset];
        break;
      case MacroCommandResult::kWriteFailed:
        r.status = ConfigApplyStatus::kWriteFailed;
        r.problem = macro_flows_.LastMacroChangeCut();
        TakeIn();
        return r;
      default:
        r.status = ConfigApplyStatus::kRefused;
        r.problem = "the macros cannot be stored on this mouse";
        return r;
    }
  } else {
    std::vector<ProfileByteWrite> writes;
    for (int profile = 1; profile <= kProfileCount; ++profile) {
      for (int button = 1; button <= kButtonsPerProfile; ++button) {
        const KeyCodeBytes code = KeyCodeAt(wanted.profiles, profile, button);
        if (code == KeyCodeAt(current.profiles, profile, button)) continue;
        writes.push_back({*KeyCodeOffset(profile, button), code});
      }
    }
    const LiveWriteQueue::Hold hold = Edit();
    EditResult sent;
    StoreAndSendCodes(writes, sent);
  }
  // A whole image carries its profile checksum too, which neither the
  // codes' writes nor the macro save (which works out its own) sends: the
  // last code's last three bytes, as they are now, and the checksum.
  constexpr std::size_t kLastFour = kProfileChecksumOffset - 3;
  if (checksums && held_checksum != wanted.profiles[kProfileChecksumOffset] && Live()) {
    const LiveWriteQueue::Hold hold = Edit();
    (void)commands_.WriteProfileBytes(static_cast<std::uint8_t>(kLastFour),
                                      wanted.profiles[kLastFour], wanted.profiles[kLastFour + 1],
                                      wanted.profiles[kLastFour + 2],
                                      wanted.profiles[kProfileChecksumOffset]);
  }

  {
    const LiveWriteQueue::Hold hold = Edit();
    const ParameterSection& from = current.parameters;
    const ParameterSection& to = wanted.parameters;
    // Runs of changed bytes, at most three to a write as the mouse takes
    // them; the report rate byte goes last, with its restart.
    std::size_t at = 0;
    while (at < param::kChecksum) {
      if (at == param::kStorageAndRate || from[at] == to[at]) {
        ++at;
        continue;
      }
      std::size_t end = at;
      while (end < param::kChecksum && end - at < 3 && end != param::kStorageAndRate &&
             from[end] != to[end])
        ++end;
      core_.SetPageParameters(at, std::span(to).subspan(at, end - at));
      const auto offset = static_cast<std::uint8_t>(at);
      if (end - at == 1) WriteParameter(offset, {to[at]});
      if (end - at == 2) WriteParameter(offset, {to[at], to[at + 1]});
      if (end - at == 3) WriteParameter(offset, {to[at], to[at + 1], to[at + 2]});
      at = end;
    }
    // A whole image carries its checksum.
    if (checksums && from[param::kChecksum] != to[param::kChecksum]) {
      core_.SetPageParameter(param::kChecksum, to[param::kChecksum]);
      WriteParameter(static_cast<std::uint8_t>(param::kChecksum), {to[param::kChecksum]});
    }
    const bool values_changed =
        !std::equal(from.begin() + param::kDpiIndexes, from.begin() + param::kDpiIndexes + 4,
                    to.begin() + param::kDpiIndexes);
    if (values_changed) {
      // The mouse takes new values only when the active level changes.
      const int count = std::clamp(param::DpiLevelCountOf(to), 1, 8);
      const int active = std::clamp(param::CurrentDpiLevelOf(to), 1, 8);
      const int neighbour = active > 1 ? active - 1 : 2;
      WriteParameter(param::kDpiLevels, {DpiLevelsByte(count, neighbour)}, LiveWriteKind::kNudge);
      WriteParameter(param::kDpiLevels, {DpiLevelsByte(count, active)});
    }
  }
  TakeIn();

  if (param::ReportRateCodeOf(current.parameters) != param::ReportRateCodeOf(wanted.parameters)) {
    const EditResult rate = SetReportRate(param::ReportRateCodeOf(wanted.parameters) + 1);
    r.restarted = rate.restarted;
    r.restart_refused = rate.restart_refused;
  }
  return r;
}

}  // namespace korvex48
