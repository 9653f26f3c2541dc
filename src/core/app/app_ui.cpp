#include "core/app/app_ui.h"

#include <algorithm>

namespace korvex48 {

std::string AppMessage::Text(const TextLookup& text) const {
  if (keys.empty()) return literal;
  std::string out;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i > 0) out += '\r';
    out += text ? text(keys[i]) : keys[i];
  }
  return out;
}

std::string AppMessage::Describe() const {
  if (keys.empty()) return literal;
  std::string out;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i > 0) out += '+';
    out += keys[i];
  }
  return out;
}

int RecordingAppUi::Count(std::string_view line) const {
  return static_cast<int>(std::count(log.begin(), log.end(), line));
}

void RecordingAppUi::Show() {
  if (record_busy) log.push_back("Show");
}

void RecordingAppUi::Hide() {
  if (record_busy) log.push_back("Hide");
}

void RecordingAppUi::ProcessEvents() {
  if (record_process_events) log.push_back("ProcessEvents");
  if (on_process_events) on_process_events();
}

void RecordingAppUi::ShowMessage(const AppMessage& message) {
  log.push_back("Message " + message.Describe());
  messages.push_back(message);
}

void RecordingAppUi::RefreshStoragePages(StorageLayout layout) {
  const char* name = layout == StorageLayout::kPacked ? "packed"
                     : layout == StorageLayout::kSlot ? "slot"
                                                      : "none";
  log.push_back(std::string("RefreshStoragePages ") + name);
}

void RecordingAppUi::SetMainMenuHeight(int pixels) {
  log.push_back("MenuHeight " + std::to_string(pixels));
}

}  // namespace korvex48
