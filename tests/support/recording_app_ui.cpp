#include "recording_app_ui.h"

#include <algorithm>

namespace korvex48 {

int RecordingAppUi::Count(std::string_view line) const {
  return static_cast<int>(std::count(log.begin(), log.end(), line));
}

void RecordingAppUi::Show() {
  if (record_busy) Note("Show");
}

void RecordingAppUi::Hide() {
  if (record_busy) Note("Hide");
}

void RecordingAppUi::ProcessEvents() {
  if (record_process_events) Note("ProcessEvents");
  if (on_process_events) on_process_events();
}

void RecordingAppUi::ShowMessage(const AppMessage& message) {
  Note("Message " + message.Describe());
  messages.push_back(message);
}

void RecordingAppUi::RefreshStoragePages(StorageLayout layout) {
  const char* name = layout == StorageLayout::kPacked ? "packed"
                     : layout == StorageLayout::kSlot ? "slot"
                                                      : "none";
  Note(std::string("RefreshStoragePages ") + name);
}

void RecordingAppUi::SetMainMenuHeight(int pixels) { Note("MenuHeight " + std::to_string(pixels)); }

}  // namespace korvex48
