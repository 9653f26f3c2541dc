// Lighting: LED mode (byte 37), step time (bytes 52-53) and the seven LED
// colours (bytes 54..74).
#include "core/editing/page_editor.h"

namespace korvex48 {
namespace {

constexpr std::uint8_t kModeByte = 37;
constexpr std::uint8_t kStepBytes = 52;
constexpr std::uint8_t kFirstColourByte = 54;

}  // namespace

EditResult PageEditor::SetLightingMode(int mode) {
  const UndoHistory::Change change = history_.Begin();
  const LiveWriteQueue::Hold hold = Edit();
  PageSettings& shown = state_.settings;
  if (!shown.led_kind_known)
    return EditResult::Unavailable("the LED kind of the mouse is not known");
  if (!LightingModeOffered(shown.lighting.kind, mode)) {
    return EditResult::Unavailable("LED mode " +
                                   (mode == 0 ? std::string("Off") : std::to_string(mode)) +
                                   " is not offered for " + LedKindText(shown) + " LEDs");
  }
  EditResult result;
  shown.lighting.mode = static_cast<std::uint8_t>(mode);
  if (core_.Session().Loading) return result;
  const auto byte = static_cast<std::uint8_t>((core_.Page().parameters[kModeByte] & 0xF0) + mode);
  core_.SetPageParameter(kModeByte, byte);
  result.sent = WriteParameter(kModeByte, {byte});
  return result;
}

EditResult PageEditor::SetStepTime(int step) {
  const UndoHistory::Change change = history_.Begin("step time");
  const LiveWriteQueue::Hold hold = Edit();
  if (step < 1 || step > 10) return EditResult::Unavailable("step time must be 1..10");
  PageSettings& shown = state_.settings;
  if (LightingModeChosen(shown, 0))
    return EditResult::Unavailable("the step time cannot be set while LEDs are off");
  EditResult result;
  const auto value = static_cast<std::uint8_t>(5 * step);
  shown.lighting.fall_time = value;
  if (core_.Session().Loading) return result;
  core_.SetPageParameters(kStepBytes, std::array{value, value});
  result.sent = WriteParameter(kStepBytes, {value, value});
  return result;
}

EditResult PageEditor::SetLightColour(int colour, int red, int green, int blue) {
  const UndoHistory::Change change = history_.Begin("light colour " + std::to_string(colour));
  const LiveWriteQueue::Hold hold = Edit();
  PageSettings& shown = state_.settings;
  if (!shown.led_kind_known || !LedKindHasColours(shown.lighting.kind))
    return EditResult::Unavailable("a " + LedKindText(shown) + " LED mouse has no LED colours");
  if (colour < 1 || colour > 7) return EditResult::Unavailable("LED colour must be 1..7");
  for (int c : {red, green, blue})
    if (c < 0 || c > 255) return EditResult::Unavailable("colour components must be 0..255");
  EditResult result;
  const std::array<std::uint8_t, 3> bytes = {StoredComponent(red), StoredComponent(green),
                                             StoredComponent(blue)};
  shown.lighting.colours[static_cast<std::size_t>(colour - 1)] = bytes;
  if (core_.Session().Loading) return result;
  const auto offset = static_cast<std::uint8_t>(kFirstColourByte + 3 * (colour - 1));
  core_.SetPageParameters(offset, bytes);
  result.sent = WriteParameter(offset, {bytes[0], bytes[1], bytes[2]});
  return result;
}

}  // namespace korvex48
