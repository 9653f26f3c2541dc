#include "gui/pages/add_to_mouse_refusal.h"

#include "core/macros/packed_layout.h"
#include "core/macros/slot_layout.h"

namespace korvex48::gui {
namespace {

AppMessage Plain(std::string text) { return {{}, std::move(text), MessageBoxKind::kPlain, {}}; }

}  // namespace

std::optional<AppMessage> AddToMouseRefusal(MacroCommandResult result, const std::string& name,
                                            StorageLayout layout) {
  const std::string quoted = "\"" + name + "\"";
  switch (result) {
    case MacroCommandResult::kDone:
    case MacroCommandResult::kOutOfRange:   // Str103 was shown
    case MacroCommandResult::kWriteFailed:  // the stopped write was reported
    case MacroCommandResult::kNoBackup:     // the missing backup was reported
      return std::nullopt;
    case MacroCommandResult::kNoDevice:
      return AppMessage{{"Str022"}, {}, MessageBoxKind::kOkBox, {}};
    case MacroCommandResult::kNoSelection:
      return Plain("Choose a library macro to add to the mouse.");
    case MacroCommandResult::kFull: {
      const std::size_t most = layout == StorageLayout::kSlot ? kSlotCount : kPackedMacroCount;
      return Plain(quoted + " was not added: the mouse holds " + std::to_string(most) +
                   " macros, as many as it can. Delete one of them first.");
    }
    case MacroCommandResult::kBadName:
      // The mouse's macro list ends at a name that starts with the byte
      // 0xFF (an erased entry) or with two zero bytes.
      return Plain(quoted +
                   " was not added: the mouse would take its name for the end of its macro "
                   "list. Rename the macro so that it starts with another character.");
    case MacroCommandResult::kNoLayout:
      return Plain(quoted +
                   " was not added: the mouse's storage kinds fit no macro layout this editor "
                   "knows.");
    case MacroCommandResult::kNoEndByte:
      return Plain(quoted +
                   " was not added: its events do not end within their 256 bytes, so the mouse "
                   "would play on into what follows them.");
  }
  return std::nullopt;
}

}  // namespace korvex48::gui
