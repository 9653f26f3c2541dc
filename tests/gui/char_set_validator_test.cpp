// The number fields' validator against the regular expressions it replaced
// ("[0-9]*" and "[-0-9]*" in a QRegularExpressionValidator, which matches the
// whole text), for texts at the edges: empty, signs, non-ASCII digits,
// characters outside the BMP and broken UTF-16.
#include "gui/char_set_validator.h"

#include <QRegularExpressionValidator>
#include <QtTest>

#include "gui_tests.h"

namespace korvex48::gui {
namespace {

class CharSetValidatorTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void acceptsWhatThePatternAccepted_data() {
    QTest::addColumn<bool>("signed_values");
    QTest::addColumn<QString>("text");
    const QList<QPair<const char*, QString>> texts = {
        {"empty", QString()},
        {"digits", QStringLiteral("0123456789")},
        {"digits and a letter", QStringLiteral("12a")},
        {"leading space", QStringLiteral(" 1")},
        {"minus alone", QStringLiteral("-")},
        {"minus first", QStringLiteral("-12")},
        {"minus inside", QStringLiteral("1-2-")},
        {"plus", QStringLiteral("+1")},
        {"arabic-indic three", QString::fromUtf16(u"\u0663")},
        {"full-width one", QString::fromUtf16(u"\uff11")},
        {"superscript two", QString::fromUtf16(u"\u00b2")},
        {"outside the BMP", QString::fromUtf16(u"1\U0001D7CE")},
        {"lone surrogate", QStringLiteral("1") + QChar(0xD835)},
    };
    for (const bool signed_values : {false, true})
      for (const auto& [name, text] : texts)
        QTest::addRow("%s, %s", signed_values ? "signed" : "unsigned", name)
            << signed_values << text;
  }
  void acceptsWhatThePatternAccepted() {
    QFETCH(bool, signed_values);
    QFETCH(QString, text);
    const QRegularExpressionValidator oracle(
        QRegularExpression(signed_values ? QStringLiteral("[-0-9]*") : QStringLiteral("[0-9]*")));
    const CharSetValidator validator(
        signed_values ? CharSetValidator::kSignedDigits : CharSetValidator::kDigits, nullptr);
    QString expected_text = text;
    int expected_pos = 0;
    QString got_text = text;
    int got_pos = 0;
    QCOMPARE(validator.validate(got_text, got_pos), oracle.validate(expected_text, expected_pos));
  }
};

}  // namespace

KORVEX48_GUI_TEST(CharSetValidatorTest)

}  // namespace korvex48::gui

#include "char_set_validator_test.moc"
