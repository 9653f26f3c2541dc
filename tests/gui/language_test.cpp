// Applying a language to the controls: navigation texts, menu captions, the
// button labels named again from their codes, and the caption marquee.
#include "core/ui/language.h"

#include <QComboBox>
#include <QtTest>

#include "core/editing/page_editor.h"
#include "core/macros/macro_names.h"
#include "editor_rig.h"
#include "gui/caption_marquee.h"
#include "gui/control_index.h"
#include "gui/language_applier.h"
#include "gui/main_window.h"
#include "gui/pages/button_page.h"
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

// Two device macros in a packed I2C mouse, named "Reset" and "Left Key"
// (texts of language 1 that are no button's name here).
void StoreNamedMacros(SimulatedMouse& mouse) {
  const std::uint8_t events[] = {0xA2, 0xFE, 0x00, 0x1E, 0x22, 0x00};
  auto at = [&mouse](std::size_t address) { return mouse.Memory().begin() + address; };
  std::fill_n(at(0x0200), 512, 0);
  std::size_t address = 0x0200;
  for (const char* name : {"Reset", "Left Key"}) {
    const MacroName stored = MacroNameFromText(name);
    std::copy(stored.begin(), stored.end(), at(address));
    std::copy(std::begin(events), std::end(events), at(address + kMacroNameBytes));
    address += kMacroNameBytes + sizeof events;
  }
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
  void appliesTexts() {
    QWidget root;
    for (int n = 1; n <= 5; ++n) AddLabel(&root, QStringLiteral("Btn_Main_%1").arg(n));
    AddLabel(&root, QStringLiteral("Btn_Reset_2"));
    AddLabel(&root, QStringLiteral("Key_Standard"));
    AddLabel(&root, QStringLiteral("IB_InsertRecDelay"));
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
    QCOMPARE(insert->itemText(0), QStringLiteral("Pause davor"));
    QCOMPARE(insert->currentIndex(), 4);

    ApplyLanguage(languages, 1, controls);
    QCOMPARE(controls.Get<QLabel>(QStringLiteral("Key_Standard"))->text(),
             QStringLiteral(" * Standard Mouse Key"));
  }

  void buttonLabelsAreNamedAgainFromTheirCodes() {
    test::EditorRig rig(
        test::EditorRigOptions().WithLanguages(Languages()).WithMouse(StoreNamedMacros));
    PageEditor& editor = rig.Editor();
    QVERIFY(editor.AssignKeyCombination(1, 2, "Ctrl+Alt+A", "02050400").ok());
    QVERIFY(editor.AssignDeviceMacro(1, 3, 0).ok());  // "Reset"
    QVERIFY(editor.AssignDeviceMacro(1, 4, 1).ok());  // "Left Key"
    rig.Window().Buttons()->ShowLabels();
    QCOMPARE(rig.Text(QStringLiteral("Key1")), QStringLiteral("Left Key"));
    QCOMPARE(rig.Text(QStringLiteral("Key2")), QStringLiteral("Ctrl+Alt+A"));

    rig.Window().SwitchLanguage(2);
    QCOMPARE(rig.Text(QStringLiteral("Key1")), QStringLiteral("Linke Taste"));
    QCOMPARE(rig.Text(QStringLiteral("Key2")), QStringLiteral("Ctrl+Alt+A"));  // no key: stays
    QCOMPARE(rig.Text(QStringLiteral("Key3")), QStringLiteral("Reset"));
    // A macro's name is the user's, whatever language text it matches.
    QCOMPARE(rig.Text(QStringLiteral("Key4")), QStringLiteral("Left Key"));
    for (int m = 1; m <= 12; ++m)
      QCOMPARE(QString::fromStdString(editor.State().labels[m - 1]),
               rig.Text(QStringLiteral("Key%1").arg(m)));

    rig.Window().SwitchLanguage(1);
    QCOMPARE(rig.Text(QStringLiteral("Key1")), QStringLiteral("Left Key"));
    QCOMPARE(rig.Text(QStringLiteral("Key4")), QStringLiteral("Left Key"));
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
