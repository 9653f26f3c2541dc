// The page commands Main Control, Alternate Key and Reset Control.
#include <algorithm>

#include "core/editing/page_editor.h"

namespace korvex48 {

EditResult PageEditor::SelectProfile(int profile, Opening opening) {
  const UndoHistory::Change change = history_.Begin();
  const LiveWriteQueue::Hold hold = Edit();
  EditResult result;
  if (profile < 1 || profile > 3) {
    return EditResult::Unavailable("profile must be 1, 2 or 3");
  }
  const DeviceSession& s = core_.Session();
  const ProfileSelection sel = korvex48::SelectProfile(
      profile, s.HandlesValid(), s.NoDevicePage, core_.Codes(), core_.NameSources(), RuleNames());
  if (!sel.messageKey.empty()) {
    result.status = EditStatus::kRefused;
    result.message.keys = {std::string(sel.messageKey)};
    // The no-device message has one OK button, like the other file and reset
    // commands; the profile rules are plain boxes.
    result.message.kind =
        sel.messageKey == "Str022" ? MessageBoxKind::kOkBox : MessageBoxKind::kPlain;
    return result;
  }
  if (!sel.selected) {
    result.status = EditStatus::kUnchanged;
    return result;
  }
  state_.settings.active_profile = profile;
  result.sent = WriteParameter(kActiveProfileParameterOffset, {sel.activeProfileByte});
  state_.overlay_shown = sel.overlayShown;
  if (sel.switchEntryAllowed && opening == Opening::kCommand)
    state_.switch_entry_allowed = *sel.switchEntryAllowed;
  ShowProfile(profile);
  core_.SetPageParameter(kActiveProfileParameterOffset, sel.activeProfileByte);
  // The AIM display names all 36 codes again; fire keys show their last code.
  const KeyNameSources sources = core_.NameSources();
  for (int p = 1; p <= kKeyProfiles; ++p)
    for (const KeyCodeNaming& n : DescribeProfile(core_.Codes(), p, sources))
      LoadFireSettings(n, state_.fire);
  state_.aim_step = RefreshAimStep(core_.Codes(), profile, sources, state_.aim_step);
  return result;
}

void PageEditor::ConfigurationRead() {
  reopened_after_read_ =
      SelectProfile(std::clamp(state_.settings.active_profile, 1, 3), Opening::kReopen);
  history_.MouseRead();
}

}  // namespace korvex48
