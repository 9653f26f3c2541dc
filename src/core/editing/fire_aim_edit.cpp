// Fire-key settings and the AIM DPI of the Advanced page.
#include "core/editing/page_editor.h"

namespace korvex48 {

EditResult PageEditor::SetFireKey(int fire_key, const FireKeySettings& settings) {
  const UndoHistory::Change change = history_.Begin("fire key " + std::to_string(fire_key));
  const LiveWriteQueue::Hold hold = Edit();
  EditResult result;
  if (fire_key < 1 || fire_key > 3 || settings.repeatCount < 1 || settings.repeatCount > 15 ||
      settings.delay < 0 || settings.delay > 4094) {
    return EditResult::Unavailable("fire key 1..3 takes count 1..15 and delay 0..4094");
  }
  if (core_.Session().Loading) {
    result.status = EditStatus::kUnchanged;
    return result;
  }
  state_.fire[static_cast<std::size_t>(fire_key - 1)] = settings;
  // Without a mouse only the fields change; the codes follow on the next
  // change made with the mouse there.
  if (!core_.Session().HandlesValid()) return result;
  const int profile = ActiveProfile();
  if (profile == 3) {
    return EditResult::Unavailable("profile 3 cannot be edited");
  }
  KeyCodes codes = core_.Codes();  // the rules work on a copy; the core stores their writes
  const FireKeyUpdate update =
      SettingFireKey(codes, profile, state_.labels, state_.fire, core_.NameSources().text);
  if (update.parameterByte1) {
    // Kept in the page copy as well, so the fire codes are named after the
    // counts the mouse was told and a saved profile names them the same way.
    core_.SetPageParameter(kFireCountsParameterOffset, *update.parameterByte1);
    result.sent = WriteParameter(kFireCountsParameterOffset, {*update.parameterByte1});
  }
  StoreAndSendCodes(update.writes, result);
  return result;
}

EditResult PageEditor::SetAimStep(int step) {
  const UndoHistory::Change change = history_.Begin("aim step");
  const LiveWriteQueue::Hold hold = Edit();
  EditResult result;
  if (step < 1 || step > 12) {
    return EditResult::Unavailable("AIM step must be 1..12");
  }
  state_.aim_step = step;
  if (core_.Session().Loading) return result;
  const int profile = ActiveProfile();
  const TextLookup text = core_.NameSources().text;
  KeyCodes codes = core_.Codes();  // as in SetFireKey
  const AimKeyUpdate update = SettingAimKey(codes, profile, state_.labels, step, text);
  state_.aim_step = update.aimStep;
  StoreAndSendCodes(update.writes, result);
  if (update.writes.empty()) {
    result.status = EditStatus::kRefused;
    if (update.message.empty()) {
      result.reason = "profile 3 cannot be edited";
    } else {
      result.message.literal = update.message;
      result.reason = update.message;
    }
  }
  return result;
}

}  // namespace korvex48
