// A change of the device macro table (delete, add) written to the mouse in an
// order that no cut-off transfer can turn into a button playing a macro the
// user did not give it, and what the core shows when the mouse stopped part
// way.
#include <algorithm>
#include <array>

#include "core/app/device_macro_flows.h"

namespace korvex48 {
namespace {

constexpr std::size_t kMemoryBlock = 256;
constexpr std::size_t kTableBlocks = kMacroAreaSize / kMemoryBlock;
// The two bytes where a name begins that end the list of macros. The mouse
// takes a block seven bytes a report, and the two bytes can arrive in two
// reports (or two blocks): the end must hold with one of them written. The
// packed layout ends the list at a 0xFF in either byte, so the mark holds
// whichever byte comes first. The slot layout ends it only at 0x00 0x00 or
// 0xFF 0xFF: a name whose first character's high byte is 0x00 (every Latin-1
// name) keeps that byte, so 0x00 0x00 there goes from name to end, and back
// to the real name, with one byte.
constexpr std::uint8_t kPackedListEnd = 0xFF;
constexpr std::uint8_t kSlotListEnd = 0x00;
constexpr std::size_t kListEndBytes = 2;

std::string MacroCodeText(std::uint16_t address) {
  return KeyCodeToText({static_cast<std::uint8_t>(KeyFunctionType::kMacro),
                        static_cast<std::uint8_t>(address >> 8),
                        static_cast<std::uint8_t>(address & 0xFF), 0x00});
}

// The address a macro code plays; nullopt for any other code.
std::optional<std::uint16_t> MacroAddressOf(const std::optional<KeyCodeBytes>& bytes) {
  if (!bytes || (*bytes)[0] != static_cast<std::uint8_t>(KeyFunctionType::kMacro))
    return std::nullopt;
  return static_cast<std::uint16_t>(((*bytes)[1] << 8) | (*bytes)[2]);
}

// A button whose code changes with the macro table, or whose macro's bytes
// change under it.
struct CodeChange {
  int profile = 1;
  int button = 1;
  std::string code;  // the final code: the macro's new address, or the fallback
  bool fell_back = false;
  bool falls_back_meanwhile = false;  // plays its fallback while the storage changes
};

// `addresses[k]` is where macro k of `before` lies on the mouse; `moves[k]`
// its index in `after` (nullopt: deleted); from macro `first_changed` on the
// bytes a button plays change.
std::vector<CodeChange> CodeChanges(const KeyCodes& codes, std::span<const std::uint16_t> addresses,
                                    const DeviceMacros& after,
                                    std::span<const std::optional<std::size_t>> moves,
                                    std::size_t first_changed) {
  std::vector<CodeChange> changes;
  for (int profile = 1; profile <= kKeyProfiles; ++profile) {
    for (int button = 1; button <= kKeyButtons; ++button) {
      const auto address = MacroAddressOf(codes.Bytes(profile, button));
      if (!address) continue;
      for (std::size_t k = 0; k < moves.size() && k < addresses.size(); ++k) {
        if (addresses[k] != *address) continue;
        const std::optional<std::uint16_t> to =
            moves[k] ? after.Address(*moves[k]) : std::optional<std::uint16_t>();
        const std::string code = to ? MacroCodeText(*to) : FallbackCode(button);
        const bool meanwhile =
            k >= first_changed && codes.Code(profile, button) != FallbackCode(button);
        if (code != codes.Code(profile, button) || meanwhile)
          changes.push_back({profile, button, code, !to, meanwhile});
        break;
      }
    }
  }
  return changes;
}

}  // namespace

DeviceMacroFlows::StorageChange DeviceMacroFlows::PlanStorageChange(const ConfigImage& next) const {
  const bool packed = core_.macros_.Layout() == StorageLayout::kPacked;
  const auto& held = core_.held_storage_;
  // A mouse whose bytes are not known may differ anywhere.
  const MacroArea& table = held ? held->area : core_.working_.macro_area;
  StorageChange change;
  change.first_macro = core_.macros_.Count();
  for (std::size_t h = 0; h < kTableBlocks; ++h) {
    const auto from = static_cast<std::ptrdiff_t>(h * kMemoryBlock);
    change.table_blocks[h] =
        !held || !std::equal(table.begin() + from, table.begin() + from + kMemoryBlock,
                             next.macro_area.begin() + from);
  }
  if (packed) {
    const auto diff = std::mismatch(table.begin(), table.end(), next.macro_area.begin());
    const std::size_t d = held ? static_cast<std::size_t>(diff.first - table.begin()) : 0;
    if (d == table.size()) return change;
    // The macro whose bytes hold the first difference (counting the filler
    // a new packing puts at the page boundary), or the end of the list when
    // only bytes behind it change.
    const std::vector<std::size_t> starts = PackedMacroStarts(ByteView(table));
    std::size_t k = starts.size() - 1;
    while (k > 0 && starts[k] > d) --k;
    change.first_macro = k;
    if (starts[k] + kListEndBytes <= table.size()) change.mark = starts[k];
    change.first_address =
        static_cast<std::uint16_t>(core_.macros_.PackedAreaBase() + starts[k] + kMacroNameBytes);
    return change;
  }
  std::size_t first = kMacroPageCount;
  for (std::size_t i = 0; i < kMacroPageCount; ++i) {
    change.pages[i] = !held || held->pages[i] != next.macro_pages[i];
    const auto name = static_cast<std::ptrdiff_t>(i * kMacroNameBytes);
    const bool name_changed =
        !held || !std::equal(table.begin() + name, table.begin() + name + kMacroNameBytes,
                             next.macro_area.begin() + name);
    if (first == kMacroPageCount && (change.pages[i] || name_changed)) first = i;
  }
  if (first == kMacroPageCount) return change;
  change.first_macro = first;
  change.mark = first * kMacroNameBytes;
  change.first_address = SlotAddress(first);
  return change;
}

std::vector<std::uint16_t> DeviceMacroFlows::HeldAddresses() const {
  std::vector<std::uint16_t> addresses;
  const std::size_t n = core_.macros_.Count();
  if (core_.macros_.Layout() == StorageLayout::kPacked && core_.held_storage_) {
    const std::vector<std::size_t> starts = PackedMacroStarts(ByteView(core_.held_storage_->area));
    if (starts.size() == n + 1) {
      for (std::size_t k = 0; k < n; ++k)
        addresses.push_back(static_cast<std::uint16_t>(core_.macros_.PackedAreaBase() + starts[k] +
                                                       kMacroNameBytes));
      return addresses;
    }
  }
  for (std::size_t k = 0; k < n; ++k) addresses.push_back(*core_.macros_.Address(k));
  return addresses;
}

bool DeviceMacroFlows::WriteStorageChange(const ConfigImage& next, const StorageChange& change) {
  const bool packed = core_.macros_.Layout() == StorageLayout::kPacked;
  // The packed area, or the slot names table: both two blocks.
  const std::uint16_t base = packed ? core_.macros_.PackedAreaBase() : kSlotNamesAddress;
  MacroArea marked = next.macro_area;
  std::array<bool, kTableBlocks> mark_blocks{};
  if (change.mark) {
    for (std::size_t b = 0; b < kListEndBytes; ++b) {
      marked[*change.mark + b] = packed ? kPackedListEnd : kSlotListEnd;
      mark_blocks[(*change.mark + b) / kMemoryBlock] = true;
    }
  }
  auto write_block = [&](std::size_t h, const MacroArea& table) {
    return core_.Wrote(
        commands_.WriteMemory(static_cast<std::uint16_t>(base + h * kMemoryBlock),
                              ByteView(table).subspan(h * kMemoryBlock, kMemoryBlock)));
  };
  // From here on the mouse lists only the macros before the first changed
  // one, whatever the blocks behind the mark hold part way through.
  for (std::size_t h = 0; h < kTableBlocks; ++h)
    if (mark_blocks[h] && !write_block(h, marked)) return false;
  for (std::size_t h = 0; h < kTableBlocks; ++h)
    if (change.table_blocks[h] && !mark_blocks[h] && !write_block(h, next.macro_area)) return false;
  if (!packed) {
    for (std::size_t i = 0; i < kMacroPageCount; ++i)
      if (change.pages[i] &&
          !core_.Wrote(commands_.WriteMemory(next.page_addresses[i], next.macro_pages[i])))
        return false;
  }
  for (std::size_t h = 0; h < kTableBlocks; ++h)
    if (mark_blocks[h] && !write_block(h, next.macro_area)) return false;
  return true;
}

MacroCommandResult DeviceMacroFlows::ChangeDeviceMacros(
    const DeviceMacros& after, std::span<const std::optional<std::size_t>> moves,
    const ButtonView& view, bool deleting) {
  macro_change_cut_.clear();
  ConfigImage next = core_.working_;
  after.StoreTo(next);
  const StorageChange change = PlanStorageChange(next);
  const std::vector<CodeChange> changes =
      CodeChanges(core_.codes_, HeldAddresses(), after, moves, change.first_macro);
  KeyCodes interim = core_.codes_;
  KeyCodes final_codes = core_.codes_;
  std::vector<ProfileByteWrite> interim_writes;
  std::vector<ProfileByteWrite> final_writes;
  for (const CodeChange& c : changes) {
    if (!c.falls_back_meanwhile) continue;
    if (auto w = interim.Set(c.profile, c.button, FallbackCode(c.button)))
      interim_writes.push_back(*w);
  }
  for (const CodeChange& c : changes)
    if (auto w = final_codes.Set(c.profile, c.button, c.code)) final_writes.push_back(*w);
  ProfileSection profiles = core_.page_.profiles;
  ApplyProfileWrites(profiles, final_writes);
  CalcProfileChecksum(profiles);

  const std::string what = deleting ? "deleted" : "added";
  ConfigImage target = core_.MouseImage();
  after.StoreTo(target);
  target.profiles = profiles;
  // The macro the change is about: the one deleted, or the one added last.
  std::size_t first = after.Count() > 0 ? after.Count() - 1 : 0;
  if (deleting)
    for (std::size_t k = 0; k < moves.size(); ++k)
      if (!moves[k]) first = k;
  const DeviceMacros& named = deleting ? core_.macros_ : after;
  const ChangeLabel label{deleting ? "macro-delete" : "macro-add",
                          std::to_string(first + 1) + " \"" + named.Names()[first] + "\""};
  if (!core_.BeginChange(label, &target)) return MacroCommandResult::kNoBackup;
  const bool written =
      WriteMacroChange(interim_writes, next, change, profiles, after,
                       {"the macro was " + what, "the macro was not " + what, "one " + what});
  core_.EndChange(written);
  if (!written) return MacroCommandResult::kWriteFailed;

  core_.macros_ = after;
  core_.MacrosChanged();
  core_.codes_ = final_codes;
  core_.page_.profiles = profiles;
  core_.working_.profiles = profiles;
  ui_.RefreshDeviceMacroLists();
  ButtonView shown = view;
  for (const CodeChange& c : changes) {
    if (c.fell_back && c.profile == view.selected_profile)
      shown.labels[static_cast<std::size_t>(c.button - 1)] = FallbackName(c.button, core_.text_);
  }
  if (!changes.empty()) {
    if (core_.listener_) core_.listener_->LabelsChanged(shown.labels);
    ui_.RefreshKeyLabels(shown.labels);
  }
  return MacroCommandResult::kDone;
}

MacroCommandResult DeviceMacroFlows::ReplaceDeviceMacros(const ConfigImage& image) {
  if (!core_.DeviceUsable()) return MacroCommandResult::kNoDevice;
  if (core_.macros_.Layout() == StorageLayout::kNone) return MacroCommandResult::kNoLayout;
  macro_change_cut_.clear();
  ConfigImage next = core_.working_;
  next.macro_area = image.macro_area;
  next.macro_pages = image.macro_pages;
  DeviceMacros after = core_.macros_;
  if (after.TakeUp(next) != PackedStatus::kOk) return MacroCommandResult::kOutOfRange;
  // The macros before the first whose bytes on the mouse change stay as
  // they are, and so do the buttons that play them; the buttons that play
  // from there on play their fallback while the storage changes under them.
  const StorageChange change = PlanStorageChange(next);
  KeyCodes interim = core_.codes_;
  std::vector<ProfileByteWrite> interim_writes;
  for (int profile = 1; profile <= kKeyProfiles; ++profile) {
    for (int button = 1; button <= kKeyButtons; ++button) {
      const auto address = MacroAddressOf(core_.codes_.Bytes(profile, button));
      if (!address || !change.first_address || *address < *change.first_address) continue;
      if (auto w = interim.Set(profile, button, FallbackCode(button))) interim_writes.push_back(*w);
    }
  }
  ProfileSection profiles = core_.page_.profiles;
  std::copy_n(image.profiles.begin(), kProfileCodeBytes, profiles.begin());
  CalcProfileChecksum(profiles);

  ui_.ClearMacroEditor();
  if (!WriteMacroChange(
          interim_writes, next, change, profiles, after,
          {"the macros were changed", "the macros were not changed", "first one changed"}))
    return MacroCommandResult::kWriteFailed;
  core_.macros_ = after;
  core_.MacrosChanged();
  core_.page_.profiles = profiles;
  core_.working_.profiles = profiles;
  core_.codes_.LoadFromProfileSection(core_.page_.profiles);
  ui_.RefreshDeviceMacroLists();
  return MacroCommandResult::kDone;
}

bool DeviceMacroFlows::WriteMacroChange(std::span<const ProfileByteWrite> interim_writes,
                                        const ConfigImage& next, const StorageChange& change,
                                        const ProfileSection& profiles, const DeviceMacros& after,
                                        const MacroChangeWords& words) {
  ui_.StopPolling();
  ui_.Show();
  ui_.ProcessEvents();
  core_.BeginWrites();
  bool ok = true;
  for (const ProfileByteWrite& w : interim_writes) {
    ok = core_.Wrote(
        commands_.WriteSection(kProfileBlock, static_cast<std::uint8_t>(w.offset), w.bytes));
    if (!ok) break;
  }
  // Until the storage is read back the mouse's bytes are known only when all
  // of it went through.
  core_.held_storage_.reset();
  ok = ok && WriteStorageChange(next, change);
  if (ok) core_.held_storage_ = AppCore::HeldMacroStorage{next.macro_area, next.macro_pages};
  ok = ok && core_.Wrote(commands_.WriteSection(kProfileBlock, 0, profiles));
  ui_.Hide();
  ui_.StartPolling();
  if (ok) return true;
  const DeviceMacros before = core_.macros_;
  const KeyCodes codes_before = core_.codes_;
  const bool read_back = ReadBackMacroChange();
  ReportMacroChangeCut(read_back, before, after, codes_before, words.done, words.not_done,
                       words.first_changed);
  core_.ChangeWasCut(read_back);
  return false;
}

bool DeviceMacroFlows::ReadBackMacroChange() {
  ui_.StopPolling();
  ui_.Show();
  ui_.ProcessEvents();
  ConfigImage read = core_.working_;
  int replies = 0;
  int failed = 0;
  (void)commands_.ReadSection(kProfileBlock, 0, read.profiles, true);
  replies += commands_.LastReadReplies();
  failed += commands_.LastReadFailures();
  core_.ReadMacroStorage(read, replies, failed);
  ui_.Hide();
  ui_.ProcessEvents();
  ui_.StartPolling();

  const StorageLayout layout = core_.Layout();
  if (failed > 0) {
    // Nothing is known of the storage: no macro is listed or can be given to
    // a button, and nothing is written until the mouse was read whole.
    core_.ForgetRead();
    core_.MutableSession().Loading = true;
    core_.reread_pending_ = !transport_.DeviceGone();
    core_.TakeUpMacroStorage(StorageLayout::kNone, "");
    core_.ShowNoDevicePages();
    return false;
  }
  core_.working_.profiles = read.profiles;
  core_.working_.macro_area = read.macro_area;
  core_.working_.macro_pages = read.macro_pages;
  core_.page_.profiles = read.profiles;
  core_.codes_.LoadFromProfileSection(core_.page_.profiles);
  core_.TakeUpMacroStorage(layout, core_.Session().PrimaryStorage);
  core_.image_read_ = true;
  ui_.RefreshUI();
  return true;
}

void DeviceMacroFlows::ReportMacroChangeCut(bool read_back, const DeviceMacros& before,
                                            const DeviceMacros& after, const KeyCodes& codes_before,
                                            const std::string& done, const std::string& not_done,
                                            const std::string& first_changed) {
  std::string line;
  if (!read_back) {
    line = "the mouse stopped taking the macro change part way and could not be read again";
  } else if (core_.macros_.SameMacros(before)) {
    line = not_done + ": the mouse stopped taking the change";
  } else if (core_.macros_.SameMacros(after)) {
    // Listed as meant; the codes (or the rest of the storage) stopped part way.
    line = done + ", but the mouse stopped before the change was complete";
  } else {
    // The end mark went in, the change did not: the list ends before the
    // first changed macro.
    const std::size_t n = core_.macros_.Count();
    line = "the mouse stopped taking the change part way and now lists only the " +
           std::to_string(n) + (n == 1 ? " macro" : " macros") + " before the " + first_changed;
  }
  if (read_back) {
    int fallen = 0;
    for (int profile = 1; profile <= kKeyProfiles; ++profile)
      for (int button = 1; button <= kKeyButtons; ++button)
        if (core_.codes_.Code(profile, button) != codes_before.Code(profile, button) &&
            core_.codes_.Code(profile, button) == FallbackCode(button))
          ++fallen;
    if (fallen > 0)
      line += "; " + std::to_string(fallen) +
              (fallen == 1 ? " button now plays its" : " buttons now play their") +
              " default function";
  }
  macro_change_cut_ = line;
  std::string text = line;
  text[0] = static_cast<char>(text[0] - 'a' + 'A');
  ui_.ShowMessage({{}, text + ".", MessageBoxKind::kPlain, core_.transfer_problem_});
}

}  // namespace korvex48
