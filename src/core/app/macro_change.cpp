// A change of the device macro table (delete, add) written to the mouse in an
// order that no cut-off transfer can turn into a button playing a macro the
// user did not give it, and what the core shows when the mouse stopped part
// way.
#include <algorithm>
#include <array>

#include "core/app/device_macro_flows.h"

namespace korvex48 {
namespace {

constexpr std::size_t kMemoryPage = 256;
// Two zero bytes where a name begins end the list of macros, in both layouts.
constexpr std::array<std::uint8_t, 2> kListEnd{0x00, 0x00};
constexpr std::size_t kListEndBytes = kListEnd.size();

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

// A button whose code changes with the macro table.
struct CodeChange {
  int profile = 1;
  int button = 1;
  std::string code;  // the final code: the macro's new address, or the fallback
  bool fell_back = false;
};

std::vector<CodeChange> CodeChanges(const KeyCodes& codes, const DeviceMacros& before,
                                    const DeviceMacros& after,
                                    std::span<const std::optional<std::size_t>> moves) {
  std::vector<CodeChange> changes;
  for (int profile = 1; profile <= kKeyProfiles; ++profile) {
    for (int button = 1; button <= kKeyButtons; ++button) {
      const auto address = MacroAddressOf(codes.Bytes(profile, button));
      if (!address) continue;
      for (std::size_t k = 0; k < moves.size(); ++k) {
        if (before.Address(k) != address) continue;
        const std::optional<std::uint16_t> to =
            moves[k] ? after.Address(*moves[k]) : std::optional<std::uint16_t>();
        const std::string code = to ? MacroCodeText(*to) : FallbackCode(button);
        if (code != codes.Code(profile, button)) changes.push_back({profile, button, code, !to});
        break;
      }
    }
  }
  return changes;
}

}  // namespace

bool DeviceMacroFlows::WriteMemoryAllBut(std::uint16_t base, ByteView bytes, std::size_t skip) {
  // Page by page, as a whole save writes them, around the bytes left out.
  for (std::size_t page = 0; page < bytes.size(); page += kMemoryPage) {
    const std::size_t end = std::min(bytes.size(), page + kMemoryPage);
    const std::size_t gap_from = std::clamp(skip, page, end);
    const std::size_t gap_to = std::clamp(skip + kListEndBytes, page, end);
    for (const auto& [from, to] : {std::pair{page, gap_from}, std::pair{gap_to, end}}) {
      if (from < to && !core_.Wrote(commands_.WriteMemory(static_cast<std::uint16_t>(base + from),
                                                          bytes.subspan(from, to - from))))
        return false;
    }
  }
  return true;
}

bool DeviceMacroFlows::WriteMacroStorageNameLast(const ConfigImage& next, std::size_t name_offset) {
  const bool packed = core_.macros_.Layout() == StorageLayout::kPacked;
  // The packed area, or the slot names table: both 512 bytes.
  const std::uint16_t base = packed ? core_.macros_.PackedAreaBase() : kSlotNamesAddress;
  const ByteView table(next.macro_area);
  if (name_offset + kListEndBytes > table.size()) return false;
  const auto mark = static_cast<std::uint16_t>(base + name_offset);
  // From here on the mouse lists only the macros before the first changed
  // one, whatever the bytes behind the mark hold part way through.
  if (!core_.Wrote(commands_.WriteMemory(mark, kListEnd))) return false;
  if (!WriteMemoryAllBut(base, table, name_offset)) return false;
  if (!packed) {
    for (std::size_t i = 0; i < kMacroPageCount; ++i)
      if (!core_.Wrote(commands_.WriteMemory(next.page_addresses[i], next.macro_pages[i])))
        return false;
  }
  return core_.Wrote(commands_.WriteMemory(mark, table.subspan(name_offset, kListEndBytes)));
}

MacroCommandResult DeviceMacroFlows::ChangeDeviceMacros(
    const DeviceMacros& after, std::span<const std::optional<std::size_t>> moves, std::size_t first,
    const ButtonView& view, bool deleting) {
  macro_change_cut_.clear();
  const std::optional<std::size_t> name_offset = core_.macros_.NameOffset(first);
  if (!name_offset) return MacroCommandResult::kNoSelection;
  const std::vector<CodeChange> changes = CodeChanges(core_.codes_, core_.macros_, after, moves);
  ConfigImage next = core_.working_;
  after.StoreTo(next);
  KeyCodes interim = core_.codes_;
  KeyCodes final_codes = core_.codes_;
  std::vector<ProfileByteWrite> interim_writes;
  std::vector<ProfileByteWrite> final_writes;
  for (const CodeChange& c : changes) {
    if (auto w = interim.Set(c.profile, c.button, FallbackCode(c.button)))
      interim_writes.push_back(*w);
    if (auto w = final_codes.Set(c.profile, c.button, c.code)) final_writes.push_back(*w);
  }
  ProfileSection profiles = core_.page_.profiles;
  ApplyProfileWrites(profiles, final_writes);
  CalcProfileChecksum(profiles);

  const std::string what = deleting ? "deleted" : "added";
  ConfigImage target = core_.MouseImage();
  after.StoreTo(target);
  target.profiles = profiles;
  const DeviceMacros& named = deleting ? core_.macros_ : after;
  const ChangeLabel label{deleting ? "macro-delete" : "macro-add",
                          std::to_string(first + 1) + " \"" + named.Names()[first] + "\""};
  if (!core_.BeginChange(label, &target)) return MacroCommandResult::kNoBackup;
  const bool written =
      WriteMacroChange(interim_writes, next, *name_offset, profiles, after,
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
  // The macros before the first that differs stay as they are, and so do
  // the buttons that play them.
  std::size_t first = 0;
  const std::vector<std::string> names = core_.macros_.Names(), new_names = after.Names();
  while (first < core_.macros_.Count() && first < after.Count() &&
         names[first] == new_names[first] && core_.macros_.Address(first) == after.Address(first)) {
    const ByteView a = core_.macros_.EventBytes(first), b = after.EventBytes(first);
    if (!std::equal(a.begin(), a.end(), b.begin(), b.end())) break;
    ++first;
  }
  const std::optional<std::size_t> name_offset = core_.macros_.NameOffset(first);
  if (!name_offset) return MacroCommandResult::kFull;
  const std::optional<std::uint16_t> first_address = core_.macros_.Address(first);

  // Buttons that play a macro from the first changed one on play their
  // fallback while the storage changes under them.
  KeyCodes interim = core_.codes_;
  std::vector<ProfileByteWrite> interim_writes;
  for (int profile = 1; profile <= kKeyProfiles; ++profile) {
    for (int button = 1; button <= kKeyButtons; ++button) {
      const auto address = MacroAddressOf(core_.codes_.Bytes(profile, button));
      if (!address || !first_address || *address < *first_address) continue;
      if (auto w = interim.Set(profile, button, FallbackCode(button))) interim_writes.push_back(*w);
    }
  }
  ProfileSection profiles = core_.page_.profiles;
  std::copy_n(image.profiles.begin(), kProfileCodeBytes, profiles.begin());
  CalcProfileChecksum(profiles);

  ui_.ClearMacroEditor();
  if (!WriteMacroChange(
          interim_writes, next, *name_offset, profiles, after,
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
                                        const ConfigImage& next, std::size_t name_offset,
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
  ok = ok && WriteMacroStorageNameLast(next, name_offset) &&
       core_.Wrote(commands_.WriteSection(kProfileBlock, 0, profiles));
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
