// Saving, deleting and adding device macros, with the button codes that name
// them kept pointing at the right macro.
#include "core/app/device_macro_flows.h"

namespace korvex48 {
namespace {

std::string MacroCodeText(std::uint16_t address) {
  return KeyCodeToText({static_cast<std::uint8_t>(0x10), static_cast<std::uint8_t>(address >> 8),
                        static_cast<std::uint8_t>(address & 0xFF), 0x00});
}

}  // namespace

DeviceMacroFlows::DeviceMacroFlows(AppCore& core)
    : core_(core), transport_(core.transport_), commands_(core.commands_), ui_(core.ui_) {}

void DeviceMacroFlows::LiveWriteProfile(const ProfileByteWrite& write) {
  if (!core_.DeviceUsable() || write.offset > 0xFF) return;
  // The live-write queue reports a refusal itself.
  (void)commands_.WriteProfileBytes(static_cast<std::uint8_t>(write.offset), write.bytes[0],
                                    write.bytes[1], write.bytes[2], write.bytes[3]);
}

void DeviceMacroFlows::ApplyCodeWrites(std::span<const ProfileByteWrite> writes, bool live) {
  ApplyProfileWrites(core_.page_.profiles, writes);
  if (!live) return;
  for (const ProfileByteWrite& w : writes) LiveWriteProfile(w);
}

AssignmentResult DeviceMacroFlows::AssignDeviceMacroToButton(int button, std::size_t row,
                                                             const ButtonView& view) {
  ui_.CloseMenus();
  const auto address = core_.macros_.Address(row);
  if (!address) {
    AssignmentResult refused;
    refused.labels = view.labels;
    return refused;
  }
  AssignmentResult result = AssignDirectFunction(
      core_.codes_, view.selected_profile, button, view.labels, core_.macros_.Names()[row],
      MacroCodeText(*address), ButtonRuleNames::FromLanguage(core_.text_));
  if (result.accepted) ApplyCodeWrites(result.writes, true);
  return result;
}

bool DeviceMacroFlows::SaveDeviceMacros() {
  if (!core_.DeviceUsable() || core_.macros_.Layout() == StorageLayout::kNone) return false;
  ConfigImage target = core_.MouseImage();
  CalcProfileChecksum(target.profiles);
  if (!core_.BeginChange({"macro-save", ""}, &target)) return false;
  ui_.StopPolling();
  ui_.Show();
  ui_.ProcessEvents();

  CalcProfileChecksum(core_.page_.profiles);
  core_.working_.profiles = core_.page_.profiles;
  core_.BeginWrites();
  const bool ok = core_.Wrote(commands_.WriteSection(kProfileBlock, 0, core_.working_.profiles)) &&
                  core_.WriteMacroStorage();

  ui_.Hide();
  ui_.StartPolling();
  if (!ok) {
    core_.image_read_ = false;
    core_.WriteStopped();
    if (core_.writes_taken_ > 0) core_.ChangeWasCut(false);
  }
  core_.EndChange(ok);
  return ok;
}

MacroCommandResult DeviceMacroFlows::DeleteDeviceMacro(std::size_t index, const ButtonView& view,
                                                       int* selection) {
  if (selection) *selection = -1;
  if (!core_.DeviceUsable()) return MacroCommandResult::kNoDevice;
  const StorageLayout layout = core_.macros_.Layout();
  if (layout == StorageLayout::kNone) return MacroCommandResult::kNoLayout;
  const std::size_t count = core_.macros_.Count();
  if (index >= count) return MacroCommandResult::kNoSelection;
  ui_.ClearMacroEditor();

  DeviceMacros after = core_.macros_;
  const bool deleted = layout == StorageLayout::kPacked
                           ? DeletePackedMacro(after.MutablePacked(), index)
                           : DeleteSlotMacro(after.MutableSlot(), index);
  if (!deleted) {
    // Closing the gap would push a later macro past what the area holds: the
    // table, the codes and the mouse stay as they are.
    ui_.ShowMessage({{"Str103"}, {}, MessageBoxKind::kPlain, {}});
    if (selection) *selection = static_cast<int>(index);
    return MacroCommandResult::kOutOfRange;
  }
  std::vector<std::optional<std::size_t>> moves(count);
  for (std::size_t k = 0; k < count; ++k)
    if (k != index) moves[k] = k < index ? k : k - 1;
  const MacroCommandResult result = ChangeDeviceMacros(after, moves, view, true);
  if (result == MacroCommandResult::kDone && selection) {
    const std::size_t left = core_.macros_.Count();
    *selection = left == 0 ? -1 : static_cast<int>(index > 0 ? index - 1 : 0);
  }
  return result;
}

MacroCommandResult DeviceMacroFlows::AddMacroToMouse(const PcMacroLibrary& library, std::size_t row,
                                                     const ButtonView& view) {
  if (!core_.DeviceUsable()) return MacroCommandResult::kNoDevice;
  if (row >= kLibrarySlots || row >= library.Count() || !library.IsOccupied(row))
    return MacroCommandResult::kNoSelection;
  const LibrarySlot& source = library.Slot(row);
  return AddDeviceMacro(source.name, ByteView(source.events), view);
}

MacroCommandResult DeviceMacroFlows::AddDeviceMacro(const MacroName& name, ByteView events,
                                                    const ButtonView& view) {
  if (!core_.DeviceUsable()) return MacroCommandResult::kNoDevice;
  // Without an end byte the mouse would play on into whatever follows.
  if (!MacroHasEndByte(events)) return MacroCommandResult::kNoEndByte;
  ui_.ClearMacroEditor();

  const std::size_t count = core_.macros_.Count();
  DeviceMacros after = core_.macros_;
  switch (core_.macros_.Layout()) {
    case StorageLayout::kPacked:
      if (count >= kPackedMacroCount) return MacroCommandResult::kFull;
      switch (AddPackedMacro(after.MutablePacked(), name, events)) {
        case AddMacroResult::kAdded:
          break;
        case AddMacroResult::kFull:
          return MacroCommandResult::kFull;
        case AddMacroResult::kOutOfRange:
          ui_.ShowMessage({{"Str103"}, {}, MessageBoxKind::kPlain, {}});
          return MacroCommandResult::kOutOfRange;
        case AddMacroResult::kBadName:
          return MacroCommandResult::kBadName;
      }
      break;
    case StorageLayout::kSlot:
      if (count >= kSlotCount) return MacroCommandResult::kFull;
      if (!AddSlotMacro(after.MutableSlot(), name, events)) return MacroCommandResult::kBadName;
      break;
    case StorageLayout::kNone:
      return MacroCommandResult::kNoLayout;
  }
  std::vector<std::optional<std::size_t>> moves(count);
  for (std::size_t k = 0; k < count; ++k) moves[k] = k;
  return ChangeDeviceMacros(after, moves, view, false);
}

}  // namespace korvex48
