// DPI levels: the number of levels, the active level, each level's value and
// indicator colour (parameter bytes 38..42 and 75..86).
#include <algorithm>
#include <charconv>

#include "core/editing/page_editor.h"

namespace korvex48 {
namespace {

constexpr std::uint8_t kLevelsByte = 38;
constexpr std::uint8_t kFirstValueByte = 39;
constexpr std::uint8_t kFirstColourByte = 75;

// Value nibble a level contributes to its byte: the position of its text in
// the value list; 0xF for a level without a value, which keeps the mouse's
// "no value" rather than inventing 200 DPI for it.
std::uint8_t ValueNibble(const std::string& text) {
  const DpiValueTexts& list = DefaultDpiValueTexts();
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i] == text) return static_cast<std::uint8_t>(i);
  return 0x0F;
}

// A hidden colour field as a 4-bit component (fields hold 0..15; anything
// else counts as 0).
std::uint8_t ColourNibble(const std::string& text) {
  int v = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || ptr != text.data() + text.size()) return 0;
  return static_cast<std::uint8_t>(v & 0x0F);
}

}  // namespace

bool PageEditor::WriteDpiLevels(int count, int active) {
  state_.page.dpi_level_count = count;
  state_.page.checked_dpi_level = active;
  const std::uint8_t byte = DpiLevelsByte(count, active);
  core_.SetPageParameter(kLevelsByte, byte);
  return WriteParameter(kLevelsByte, {byte});
}

EditResult PageEditor::ToggleDpiLevel(int level) {
  const LiveWriteQueue::Hold hold = Edit();
  if (level < 1 || level > 8) return EditResult::Unavailable("DPI level must be 1..8");
  EditResult result;
  if (core_.Session().Loading) {
    result.status = EditStatus::kUnchanged;
    return result;
  }
  PageState& page = state_.page;
  int count = std::clamp(page.dpi_level_count, 1, 8);
  int active = std::clamp(page.checked_dpi_level, 1, 8);
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
  const LiveWriteQueue::Hold hold = Edit();
  if (count < 1 || count > 8)
    return EditResult::Unavailable("the number of DPI levels must be 1..8");
  EditResult result;
  PageState& page = state_.page;
  if (core_.Session().Loading || count == page.dpi_level_count) {
    result.status = EditStatus::kUnchanged;
    return result;
  }
  // Disabling levels one by one moves the active level down with them.
  const int active = std::min(std::clamp(page.checked_dpi_level, 1, 8), count);
  result.sent = WriteDpiLevels(count, active);
  return result;
}

EditResult PageEditor::SelectActiveDpiLevel(int level) {
  const LiveWriteQueue::Hold hold = Edit();
  PageState& page = state_.page;
  if (level < 1 || level > page.dpi_level_count)
    return EditResult::Unavailable("DPI level " + std::to_string(level) +
                                   " is not enabled (levels 1.." +
                                   std::to_string(page.dpi_level_count) + ")");
  EditResult result;
  page.checked_dpi_level = level;
  if (core_.Session().Loading) return result;
  result.sent = WriteDpiLevels(page.dpi_level_count, level);
  return result;
}

EditResult PageEditor::SetDpiValue(int level, int step) {
  const LiveWriteQueue::Hold hold = Edit();
  PageState& page = state_.page;
  if (level < 1 || level > page.dpi_level_count)
    return EditResult::Unavailable("DPI level " + std::to_string(level) +
                                   " is not enabled (levels 1.." +
                                   std::to_string(page.dpi_level_count) + ")");
  if (step < 1 || step > 12) return EditResult::Unavailable("DPI step must be 1..12");
  EditResult result;
  page.dpi_value_texts[static_cast<std::size_t>(level - 1)] =
      DefaultDpiValueTexts()[static_cast<std::size_t>(step - 1)];
  if (core_.Session().Loading) return result;

  const int odd = (level - 1) / 2 * 2;  // index of the pair's odd level
  const std::uint8_t pair = static_cast<std::uint8_t>(
      ValueNibble(page.dpi_value_texts[odd + 1]) * 16 + ValueNibble(page.dpi_value_texts[odd]));
  const auto offset = static_cast<std::uint8_t>(kFirstValueByte + (level - 1) / 2);
  core_.SetPageParameter(offset, pair);
  result.sent = WriteParameter(offset, {pair});

  // The mouse takes a new value only when the active level changes: switch to
  // a neighbour and back, both with the true count.
  const int count = page.dpi_level_count;
  const int active = std::clamp(page.checked_dpi_level, 1, 8);
  const int neighbour = active > 1 ? active - 1 : 2;
  WriteParameter(kLevelsByte, {DpiLevelsByte(count, neighbour)}, LiveWriteKind::kNudge);
  WriteParameter(kLevelsByte, {DpiLevelsByte(count, active)});
  return result;
}

EditResult PageEditor::SetDpiColour(int level, int red, int green, int blue) {
  const LiveWriteQueue::Hold hold = Edit();
  PageState& page = state_.page;
  if (!LedKindHasColours(page.lighting_type))
    return EditResult::Unavailable("a " + page.lighting_type + " LED mouse has no DPI colours");
  if (level < 1 || level > page.dpi_level_count)
    return EditResult::Unavailable("DPI level " + std::to_string(level) +
                                   " is not enabled (levels 1.." +
                                   std::to_string(page.dpi_level_count) + ")");
  for (int c : {red, green, blue})
    if (c < 0 || c > 255) return EditResult::Unavailable("colour components must be 0..255");
  EditResult result;
  auto& fields = page.dpi_colour_texts[static_cast<std::size_t>(level - 1)];
  fields[0] = std::to_string(StoredComponent(red));
  fields[1] = std::to_string(StoredComponent(green));
  fields[2] = std::to_string(StoredComponent(blue));

  const int odd = (level - 1) / 2 * 2;
  std::array<std::uint8_t, 3> bytes{};
  for (std::size_t c = 0; c < 3; ++c) {
    bytes[c] = static_cast<std::uint8_t>(ColourNibble(page.dpi_colour_texts[odd + 1][c]) * 16 +
                                         ColourNibble(page.dpi_colour_texts[odd][c]));
  }
  if (core_.Session().Loading) return result;
  const auto offset = static_cast<std::uint8_t>(kFirstColourByte + 3 * ((level - 1) / 2));
  core_.SetPageParameters(offset, bytes);
  result.sent = WriteParameter(offset, {bytes[0], bytes[1], bytes[2]});
  return result;
}

}  // namespace korvex48
