#pragma once
// A line edit validator for fields that take only a few characters, such as
// digits, anywhere and in any number (length limits are the field's). Plain
// code: no pattern is compiled while the pages are made.
#include <QString>
#include <QValidator>

namespace korvex48::gui {

class CharSetValidator final : public QValidator {
  Q_OBJECT

 public:
  static constexpr char16_t kDigits[] = u"0123456789";
  // Digits and '-', anywhere in the text (the field's range check comes later).
  static constexpr char16_t kSignedDigits[] = u"-0123456789";

  // `allowed`: every character the text may hold.
  CharSetValidator(const char16_t* allowed, QObject* parent);

  // Acceptable when every character of `input` is in the set (the empty text
  // too), Invalid otherwise; never Intermediate. `pos` is not moved.
  State validate(QString& input, int& pos) const override;

 private:
  QString allowed_;
};

}  // namespace korvex48::gui
