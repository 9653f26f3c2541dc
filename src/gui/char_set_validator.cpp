#include "gui/char_set_validator.h"

namespace korvex48::gui {

CharSetValidator::CharSetValidator(const char16_t* allowed, QObject* parent)
    : QValidator(parent), allowed_(QString::fromUtf16(allowed)) {}

QValidator::State CharSetValidator::validate(QString& input, int& /*pos*/) const {
  // Compared as UTF-16 code units: the set is ASCII, so neither half of a
  // surrogate pair is ever in it, and a character outside the BMP is refused
  // as a whole.
  for (const QChar c : input)
    if (!allowed_.contains(c)) return Invalid;
  return Acceptable;
}

}  // namespace korvex48::gui
