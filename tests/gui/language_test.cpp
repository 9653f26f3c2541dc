// Applying a language to the controls: navigation texts, menu captions, the
// reverse lookup that re-translates the button labels, and the caption marquee.
#include "core/ui/language.h"

#include <QComboBox>
#include <QtTest>

#include "gui/caption_marquee.h"
#include "gui/control_index.h"
#include "gui/language_applier.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

LanguageTable Table(int index, const std::string& body) {
  const std::string text = "[lang" + std::to_string(index) + "]\n" + body;
  auto table = LanguageTable::Parse(
      ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), index);
  if (!table) qFatal("fixture table does not parse");
  return *table;
}

LanguageSet Languages() {
  return LanguageSet({Table(1,
                            "\"Str004=Main Control\" \"Str200=*\" \"Str210=Left Key\" "
                            "\"Str002=Reset\" \"Str201=Standard Mouse Key\" "
                            "\"Str410=Insert Delay Front\" \"Str414=Record Delay\""),
                      Table(2,
                            "\"Str004=Hauptseite\" \"Str200=#\" \"Str210=Linke Taste\" "
                            "\"Str002=Zurueck\" \"Str201=Maustaste\" "
                            "\"Str410=Pause davor\" \"Str414=Pause aufnehmen\""),
                      Table(3, "\"Str004=Principal\"")});
}

QLabel* AddLabel(QWidget* parent, const QString& name, const QString& text = {}) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void appliesAndRetranslates() {
    QWidget root;
    for (int n = 1; n <= 5; ++n) AddLabel(&root, QStringLiteral("Btn_Main_%1").arg(n));
    AddLabel(&root, QStringLiteral("Btn_Reset_2"));
    AddLabel(&root, QStringLiteral("Key_Standard"));
    AddLabel(&root, QStringLiteral("IB_InsertRecDelay"));
    QLabel* left = AddLabel(&root, QStringLiteral("Key1"), QStringLiteral("Left Key"));
    QLabel* combo = AddLabel(&root, QStringLiteral("Key2"), QStringLiteral("Ctrl+Alt+A"));
    QLabel* low_key = AddLabel(&root, QStringLiteral("Key3"), QStringLiteral("Reset"));
    auto* insert = new QComboBox(&root);
    insert->setObjectName(QStringLiteral("CB_Insert"));
    for (int i = 0; i < 10; ++i) insert->addItem(QString());
    insert->setCurrentIndex(4);
    const ControlIndex controls(&root);
    const LanguageSet languages = Languages();

    ApplyLanguage(languages, 2, controls);
    for (int n = 1; n <= 5; ++n)
      QCOMPARE(controls.Get<QLabel>(QStringLiteral("Btn_Main_%1").arg(n))->text(),
               QStringLiteral("Hauptseite"));
    QCOMPARE(controls.Get<QLabel>(QStringLiteral("Btn_Reset_2"))->text(),
             QStringLiteral("Zurueck"));
    QCOMPARE(controls.Get<QLabel>(QStringLiteral("Key_Standard"))->text(),
             QStringLiteral(" # Maustaste"));
    QCOMPARE(controls.Get<QLabel>(QStringLiteral("IB_InsertRecDelay"))->text(),
             QStringLiteral("       Pause aufnehmen"));
    QCOMPARE(left->text(), QStringLiteral("Linke Taste"));
    QCOMPARE(combo->text(), QStringLiteral("Ctrl+Alt+A"));  // no key: stays
    QCOMPARE(low_key->text(), QStringLiteral("Reset"));     // Str002 is never looked up
    QCOMPARE(insert->itemText(0), QStringLiteral("Pause davor"));
    QCOMPARE(insert->currentIndex(), 4);

    ApplyLanguage(languages, 1, controls);
    QCOMPARE(left->text(), QStringLiteral("Left Key"));
    QCOMPARE(controls.Get<QLabel>(QStringLiteral("Key_Standard"))->text(),
             QStringLiteral(" * Standard Mouse Key"));
  }

  void marqueeRunsTheCaption() {
    QLabel label(QStringLiteral("ABCDE"));
    CaptionMarquee marquee;
    QCOMPARE(marquee.Timer().objectName(), QStringLiteral("LabelRun"));
    QCOMPARE(marquee.Timer().interval(), 200);
    marquee.Enter(&label);
    QVERIFY(marquee.Timer().isActive());
    marquee.Tick();
    QCOMPARE(label.text(), QStringLiteral("BCDE    A"));
    marquee.Tick();
    QCOMPARE(label.text(), QStringLiteral("CDE    AB"));
    for (int i = 0; i < 30; ++i) marquee.Tick();  // the blanks come only once
    QCOMPARE(label.text().count(QLatin1Char(' ')), 4);
    QCOMPARE(label.text().size(), 9);
    marquee.Leave();
    QVERIFY(!marquee.Timer().isActive());
    QCOMPARE(label.text(), QStringLiteral("ABCDE"));

    QLabel disabled(QStringLiteral("XY"));
    disabled.setEnabled(false);
    marquee.Enter(&disabled);
    QVERIFY(!marquee.Timer().isActive());
  }
};

KORVEX48_GUI_TEST(LanguageTest)

}  // namespace korvex48::gui

#include "language_test.moc"
