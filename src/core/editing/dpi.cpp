// DPI levels: the number of levels, the active level, each level's value and
// indicator colour (parameter bytes 38..42 and 75..86).
#include <algorithm>

#include "core/editing/page_editor.h"

namespace korvex48 {
namespace {

constexpr std::uint8_t kLevelsByte = 38;
constexpr std::uint8_t kFirstValueByte = 39;
constexpr std::uint8_t kFirstColourByte = 75;

std::string NotEnabled(int level, int count) {
  return "DPI level " + std::to_string(level) + " is not enabled (levels 1.." +
         std::to_string(count) + ")";
}

}  // namespace

bool PageEditor::WriteDpiLevels(int count, int active) {
  state_.settings.dpi_level_count = count;
  state_.settings.dpi_active_level = active;
  const std::uint8_t byte = DpiLevelsByte(count, active);
  core_.SetPageParameter(kLevelsByte, byte);
  return WriteParameter(kLevelsByte, {byte});
}

EditResult PageEditor::ToggleDpiLevel(int level) {
  const UndoHistory::Change change = history_.Begin();
  const LiveWriteQueue::Hold hold = Edit();
  if (level < 1 || level > 8) return EditResult::Unavailable("DPI level must be 1..8");
  EditResult result;
  if (core_.Session().Loading) {
    result.status = EditStatus::kUnchanged;
    return result;
  }
  const PageSettings& shown = state_.settings;
  int count = std::clamp(shown.dpi_level_count, 1, 8);
  int active = std::clamp(shown.dpi_active_level, 1, 8);
  if (count == 1 && level == 1) {
    result.status = EditStatus::kUnchanged;
    return result;
  }
  if (level == count + 1) {
    ++count;
  } else if (level == count) {
    --count;
    if (active == level) active = level - 1;
  } else {
    result.status = EditStatus::kUnchanged;
  }
  result.sent = WriteDpiLevels(count, active);
  return result;
}

EditResult PageEditor::SetDpiLevelCount(int count) {
  const UndoHistory::Change change = history_.Begin();
  const LiveWriteQueue::Hold hold = Edit();
  if (count < 1 || count > 8)
    return EditResult::Unavailable("the number of DPI levels must be 1..8");
  EditResult result;
  const PageSettings& shown = state_.settings;
  if (core_.Session().Loading || count == shown.dpi_level_count) {
    result.status = EditStatus::kUnchanged;
    return result;
  }
  // Disabling levels one by one moves the active level down with them.
  const int active = std::min(std::clamp(shown.dpi_active_level, 1, 8), count);
  result.sent = WriteDpiLevels(count, active);
  return result;
}

EditResult PageEditor::SelectActiveDpiLevel(int level) {
  const UndoHistory::Change change = history_.Begin();
  const LiveWriteQueue::Hold hold = Edit();
  PageSettings& shown = state_.settings;
  if (level < 1 || level > shown.dpi_level_count)
    return EditResult::Unavailable(NotEnabled(level, shown.dpi_level_count));
  EditResult result;
  shown.dpi_active_level = level;
  if (core_.Session().Loading) return result;
  result.sent = WriteDpiLevels(shown.dpi_level_count, level);
  return result;
}

EditResult PageEditor::SetDpiValue(int level, int step) {
  const UndoHistory::Change change = history_.Begin("dpi value " + std::to_string(level));
  const LiveWriteQueue::Hold hold = Edit();
  PageSettings& shown = state_.settings;
  if (level < 1 || level > shown.dpi_level_count)
    return EditResult::Unavailable(NotEnabled(level, shown.dpi_level_count));
  if (step < 1 || step > 12) return EditResult::Unavailable("DPI step must be 1..12");
  EditResult result;
  shown.dpi_levels[static_cast<std::size_t>(level - 1)].value_index =
      static_cast<std::uint8_t>(step - 1);
  if (core_.Session().Loading) return result;

  // Both levels of the pair give their shown value; a level with none gives
  // 0xF, the mouse's "no value", rather than an invented 200 DPI.
  const auto odd = static_cast<std::size_t>((level - 1) / 2 * 2);  // the pair's odd level
  const std::uint8_t pair =
      static_cast<std::uint8_t>(DpiPairNibble(shown.dpi_levels[odd + 1].value_index) * 16 +
                                DpiPairNibble(shown.dpi_levels[odd].value_index));
  const auto offset = static_cast<std::uint8_t>(kFirstValueByte + (level - 1) / 2);
  core_.SetPageParameter(offset, pair);
  result.sent = WriteParameter(offset, {pair});

  // The mouse takes a new value only when the active level changes: switch to
  // a neighbour and back, both with the true count.
  const int count = shown.dpi_level_count;
  const int active = std::clamp(shown.dpi_active_level, 1, 8);
  const int neighbour = active > 1 ? active - 1 : 2;
  WriteParameter(kLevelsByte, {DpiLevelsByte(count, neighbour)}, LiveWriteKind::kNudge);
  WriteParameter(kLevelsByte, {DpiLevelsByte(count, active)});
  return result;
}

EditResult PageEditor::SetDpiColour(int level, int red, int green, int blue) {
  const UndoHistory::Change change = history_.Begin("dpi colour " + std::to_string(level));
  const LiveWriteQueue::Hold hold = Edit();
  PageSettings& shown = state_.settings;
  if (!shown.led_kind_known || !LedKindHasColours(shown.lighting.kind))
    return EditResult::Unavailable("a " + LedKindText(shown) + " LED mouse has no DPI colours");
  if (level < 1 || level > shown.dpi_level_count)
    return EditResult::Unavailable(NotEnabled(level, shown.dpi_level_count));
  for (int c : {red, green, blue})
    if (c < 0 || c > 255) return EditResult::Unavailable("colour components must be 0..255");
  EditResult result;
  shown.dpi_levels[static_cast<std::size_t>(level - 1)].colour = {
      StoredComponent(red), StoredComponent(green), StoredComponent(blue)};

  const auto odd = static_cast<std::size_t>((level - 1) / 2 * 2);
  std::array<std::uint8_t, 3> bytes{};
  for (std::size_t c = 0; c < 3; ++c) {
    bytes[c] = static_cast<std::uint8_t>((shown.dpi_levels[odd + 1].colour[c] & 0x0F) * 16 +
                                         (shown.dpi_levels[odd].colour[c] & 0x0F));
  }
  if (core_.Session().Loading) return result;
  const auto offset = static_cast<std::uint8_t>(kFirstColourByte + 3 * ((level - 1) / 2));
  core_.SetPageParameters(offset, bytes);
  result.sent = WriteParameter(offset, {bytes[0], bytes[1], bytes[2]});
  return result;
}

}  // namespace korvex48
