#include "core/app/app_ui.h"

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

}  // namespace korvex48
