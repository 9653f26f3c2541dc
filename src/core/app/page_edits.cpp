// The few ways the pages' editing operations change the page copy and the
// code table. Keeping them here, rather than handing out the copies, keeps
// the code table and the profile section from drifting apart.
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "core/app/app_core.h"

namespace korvex48 {
namespace {

// Profile and button (1-based) whose code lies at `offset` of the profile
// section; nullopt for any other offset.
std::optional<std::pair<int, int>> ButtonAtOffset(std::size_t offset) {
  for (int profile = 1; profile <= kKeyProfiles; ++profile)
    for (int button = 1; button <= kKeyButtons; ++button)
      if (KeyCodeOffset(profile, button) == offset) return std::pair{profile, button};
  return std::nullopt;
}

}  // namespace

bool AppCore::SetPageParameters(std::size_t offset, std::span<const std::uint8_t> bytes) {
  if (offset > page_.parameters.size() || bytes.size() > page_.parameters.size() - offset)
    return false;
  std::copy(bytes.begin(), bytes.end(),
            page_.parameters.begin() + static_cast<std::ptrdiff_t>(offset));
  return true;
}

void AppCore::StoreButtonCodes(std::span<const ProfileByteWrite> writes) {
  std::vector<std::pair<int, int>> buttons;
  for (const ProfileByteWrite& w : writes) {
    const auto button = ButtonAtOffset(w.offset);
    if (!button) return;
    buttons.push_back(*button);
  }
  for (std::size_t i = 0; i < writes.size(); ++i)
    (void)codes_.Set(buttons[i].first, buttons[i].second, KeyCodeToText(writes[i].bytes));
  (void)ApplyProfileWrites(page_.profiles, writes);
}

bool AppCore::RestoreMouseBytes(std::span<const MouseByte> bytes) {
  bool changed = false;
  bool codes_changed = false;
  for (const MouseByte& b : bytes) {
    std::span<std::uint8_t> section = b.block == kParameterBlock
                                          ? std::span<std::uint8_t>(page_.parameters)
                                          : std::span<std::uint8_t>(page_.profiles);
    if (b.offset >= section.size() || section[b.offset] == b.value) continue;
    section[b.offset] = b.value;
    changed = true;
    if (b.block == kProfileBlock) codes_changed = true;
  }
  if (codes_changed) codes_.LoadFromProfileSection(page_.profiles);
  return changed;
}

bool AppCore::SetDeviceId(std::size_t index, DeviceIdEntry entry) {
  if (index >= id_table_.size()) return false;
  id_table_[index] = entry;
  return true;
}

}  // namespace korvex48
