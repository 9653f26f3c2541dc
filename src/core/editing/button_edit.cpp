// Giving a button a function: a menu entry, a key combination or a device
// macro, with the rules of the profiles and of the last Left Key.
#include "core/buttons/function_menus.h"
#include "core/editing/page_editor.h"

namespace korvex48 {

EditResult PageEditor::CheckButton(int profile, int button) const {
  if (profile < 1 || profile > 3) return EditResult::Unavailable("profile must be 1, 2 or 3");
  if (button < 1 || button > kKeyButtons) return EditResult::Unavailable("button must be 1..12");
  const DeviceSession& s = core_.Session();
  if (!s.HandlesValid() || s.NoDevicePage) return EditResult::Unavailable("no mouse is connected");
  if (profile == 3) return EditResult::Unavailable("profile 3 cannot be edited");
  if (!ClickableOf(profile)[static_cast<std::size_t>(button - 1)]) {
    return EditResult::Unavailable("button " + std::to_string(button) + " holds \"" +
                                   LabelsOf(profile)[static_cast<std::size_t>(button - 1)] +
                                   "\" and cannot be changed in profile " +
                                   std::to_string(profile));
  }
  return {};
}

EditResult PageEditor::FinishAssignment(int profile, const AssignmentResult& assigned) {
  EditResult result;
  if (!assigned.accepted) {
    result.status = EditStatus::kRefused;
    result.reason =
        "the last Left Key of profile " + std::to_string(profile) + " cannot be replaced";
    return result;
  }
  StoreAndSendCodes(assigned.writes, result);
  if (profile == ActiveProfile()) state_.labels = assigned.labels;
  return result;
}

EditResult PageEditor::AssignMenuItem(int profile, int button, int tag) {
  const UndoHistory::Change change = history_.Begin();
  const LiveWriteQueue::Hold hold = Edit();
  const KeyMenuItem* item = FindKeyMenuItem(tag);
  if (item == nullptr)
    return EditResult::Unavailable("no menu entry has tag " + std::to_string(tag));
  if (EditResult check = CheckButton(profile, button); check.status != EditStatus::kApplied)
    return check;
  if (tag == kMenuTagSwitchKey && profile != 1)
    return EditResult::Unavailable("the KB Switch Key can only be given in profile 1");
  const KeyNameSources sources = core_.NameSources();
  KeyItemSettings settings;
  settings.fire = state_.fire;
  settings.aimStep = state_.aim_step;
  const std::string code = KeyCodeForItem(tag, settings);
  const std::string name = sources.text ? sources.text(item->nameKey) : std::string();
  KeyCodes codes = core_.Codes();  // the rules work on a copy; FinishAssignment stores them
  const AssignmentResult assigned =
      AssignMenuFunction(codes, profile, button, LabelsOf(profile), name, code, RuleNames());
  return FinishAssignment(profile, assigned);
}

EditResult PageEditor::AssignKeyCombination(int profile, int button, std::string_view text,
                                            std::string_view code) {
  const UndoHistory::Change change = history_.Begin();
  const LiveWriteQueue::Hold hold = Edit();
  const std::optional<KeyCodeBytes> bytes = KeyCodeFromText(code);
  if (!bytes || (*bytes)[0] != static_cast<std::uint8_t>(KeyFunctionType::kKeyboard))
    return EditResult::Unavailable("not a key combination code: " + std::string(code));
  if (EditResult check = CheckButton(profile, button); check.status != EditStatus::kApplied)
    return check;
  KeyCodes codes = core_.Codes();  // as in AssignMenuItem
  const AssignmentResult assigned =
      AssignDirectFunction(codes, profile, button, LabelsOf(profile), text, code, RuleNames());
  return FinishAssignment(profile, assigned);
}

EditResult PageEditor::AssignDeviceMacro(int profile, int button, std::size_t index) {
  const UndoHistory::Change change = history_.Begin();
  const LiveWriteQueue::Hold hold = Edit();
  if (!VariantOffersMacroRow(core_.LastDevInfo().variant))
    return EditResult::Unavailable("this mouse offers no macros on its buttons");
  const std::optional<std::uint16_t> address = core_.Macros().Address(index);
  const std::vector<std::string> names = core_.Macros().Names();
  if (!address || index >= names.size())
    return EditResult::Unavailable("there is no device macro " + std::to_string(index + 1));
  if (EditResult check = CheckButton(profile, button); check.status != EditStatus::kApplied)
    return check;
  // The macro list's own handler stores and sends the code.
  const AssignmentResult assigned =
      macro_flows_.AssignDeviceMacroToButton(button, index, ButtonView{LabelsOf(profile), profile});
  EditResult result;
  if (!assigned.accepted) return FinishAssignment(profile, assigned);
  result.sent = Live();
  if (profile == ActiveProfile()) state_.labels = assigned.labels;
  return result;
}

}  // namespace korvex48
