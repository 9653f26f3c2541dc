// Undo and redo of every kind of change the editor makes to the mouse, by the
// keys and by the title bar's controls: an undo leaves the simulated mouse
// byte for byte as it was before the change and names the change in the
// notice; a redo leaves it as it was after.
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>
#include <functional>

#include "core/buttons/key_code_table.h"
#include "core/device/simulated_mouse.h"
#include "core/editing/page_editor.h"
#include "core/image/config_image.h"
#include "editor_rig.h"
#include "gui/main_window.h"
#include "gui/pages/macro_page.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;
using test::EditorRigOptions;

void SetCode(SimulatedMouse& mouse, int profile, int button, std::array<std::uint8_t, 4> code) {
  const std::size_t at = *KeyCodeOffset(profile, button);
  for (std::size_t i = 0; i < 4; ++i) mouse.Profiles()[at + i] = code[i];
}

// Six DPI levels with level 3 active, 500 Hz, RGB lighting in mode LED3, and
// fire, AIM and switch keys in profile 1: every control can change something.
// Level 8 has a value and the step time is a step's, as a saved profile
// packs them.
void KnownImage(SimulatedMouse& mouse) {
  ParameterSection& p = mouse.Parameters();
  p[1] = 0x31;
  p[6] = static_cast<std::uint8_t>((p[6] & 0xCF) | 0x20);
  p[33] = 0;
  p[37] = static_cast<std::uint8_t>((p[37] & 0xF0) | 0x03);  // RGB, LED3
  p[38] = 0x52;
  p[39] = 0x30;
  p[40] = 0x74;
  p[41] = 0xB9;
  p[42] = 0xB5;
  p[52] = p[53] = 25;
  SetCode(mouse, 1, 1, {0x01, 0x01, 0x00, 0x00});  // Left Key
  SetCode(mouse, 1, 2, {0x06, 0x11, 0x00, 0x32});  // Fire Key1, count 2, delay 50
  SetCode(mouse, 1, 3, {0x05, 0x07, 0x00, 0x00});  // AIM Key at 2000
  SetCode(mouse, 1, 4, {0x07, 0x00, 0x00, 0x00});  // KB Switch Key
  // As a mouse that was written whole holds them: the whole-section writes
  // that a change makes set them so.
  CalcParameterChecksum(p);
  CalcProfileChecksum(mouse.Profiles());
}

QByteArray Bytes(std::span<const std::uint8_t> bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

// Where two of the mouse's byte strings first differ, for a failure's message.
QByteArray FirstDifference(const QByteArray& a, const QByteArray& b) {
  for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
    if (a[i] != b[i]) {
      return QStringLiteral("at %1: %2, not %3")
          .arg(i)
          .arg(static_cast<std::uint8_t>(a[i]), 2, 16, QLatin1Char('0'))
          .arg(static_cast<std::uint8_t>(b[i]), 2, 16, QLatin1Char('0'))
          .toLatin1();
    }
  }
  return a.size() == b.size() ? QByteArray("same") : QByteArray("sizes differ");
}

// Everything the mouse keeps: both sections and the whole memory.
QByteArray MouseBytes(EditorRig& rig) {
  return Bytes(rig.Mouse().Parameters()) + Bytes(rig.Mouse().Profiles()) +
         Bytes(rig.Mouse().Memory());
}

void Hover(EditorRig& rig, const QString& name) {
  QWidget* w = rig.W(name);
  QVERIFY2(w && w->isVisible(), qPrintable(name));
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QCoreApplication::sendEvent(w, &enter);
}

void ChooseFunction(EditorRig& rig, int label, const QString& category, const QString& entry) {
  rig.Click(QStringLiteral("Key%1").arg(label));
  Hover(rig, category);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(rig.W(category), &leave);
  Hover(rig, entry);
  rig.Click(entry);
}

void MacroCommand(EditorRig& rig, const char* list, int row, const char* command) {
  rig.ClickRow(QLatin1String(list), row, Qt::RightButton);
  rig.Click(QLatin1String(command));
}

void OnPage(EditorRig& rig, PageId page) { rig.Window().RequestPage(page); }

struct UndoCase {
  const char* name;
  std::function<void(EditorRig&)> setup;   // before the state undo returns to
  std::function<void(EditorRig&)> change;  // one step of the history
  const char* notice;                      // what the notice names
  // The undo brings back the checksum bytes too. An undo sends what differs
  // in the configuration; the checksums that Reset wrote with the default
  // sections are no part of it and stay.
  bool checksums = true;
};

const std::vector<UndoCase>& Cases() {
  static const std::vector<UndoCase> cases = {
      {"button function",
       {},
       [](EditorRig& rig) {
         ChooseFunction(rig, 7, QStringLiteral("Key_MyPC"), QStringLiteral("Key_Desktop"));
       },
       "Desktop"},
      {"fire key typed", [](EditorRig& rig) { OnPage(rig, PageId::kAdv); },
       [](EditorRig& rig) {
         auto* edit = rig.Get<QLineEdit>(QStringLiteral("Edt_Repeat1"));
         edit->setFocus();
         edit->selectAll();
         QTest::keyClicks(edit, QStringLiteral("12"));
       },
       "profile 1 button 2: "},
      {"AIM DPI", [](EditorRig& rig) { OnPage(rig, PageId::kAdv); },
       [](EditorRig& rig) { rig.Click(QStringLiteral("Img_AIMDPI_4")); }, "profile 1 button 3: "},
      {"DPI level enabled", [](EditorRig& rig) { OnPage(rig, PageId::kAdv); },
       [](EditorRig& rig) { rig.Click(QStringLiteral("lbl_DPI7")); }, "dpi levels: 7 -> 6"},
      {"active DPI level", [](EditorRig& rig) { OnPage(rig, PageId::kAdv); },
       [](EditorRig& rig) { rig.Click(QStringLiteral("Img_DPI5")); }, "dpi active level: 5 -> 3"},
      {"DPI value, two steps on one bar", [](EditorRig& rig) { OnPage(rig, PageId::kAdv); },
       [](EditorRig& rig) {
         rig.Click(QStringLiteral("Img_DPI1_3"));
         rig.Click(QStringLiteral("Img_DPI1_7"));
       },
       "dpi level 1: 1600 -> 200"},
      {"DPI colour",
       [](EditorRig& rig) {
         OnPage(rig, PageId::kAdv);
         rig.dialogs.colour_answers.push_back(QColor(136, 68, 204));
       },
       [](EditorRig& rig) { rig.Click(QStringLiteral("lbl_DPI2Col")); }, "dpi level 2 colour"},
      {"report rate", [](EditorRig& rig) { OnPage(rig, PageId::kAdv); },
       [](EditorRig& rig) { rig.Click(QStringLiteral("lbl_Rep2")); },
       "report rate: 250 Hz -> 500 Hz"},
      {"lighting mode", [](EditorRig& rig) { OnPage(rig, PageId::kBreath); },
       [](EditorRig& rig) { rig.Click(QStringLiteral("lbl_LED1")); }, "lighting mode: 1 -> 3"},
      {"step time, two steps on one bar", [](EditorRig& rig) { OnPage(rig, PageId::kBreath); },
       [](EditorRig& rig) {
         rig.Click(QStringLiteral("Img_Fall2"));
         rig.Click(QStringLiteral("Img_Fall8"));
       },
       "lighting fall time: 40 -> 25"},
      {"lighting colour",
       [](EditorRig& rig) {
         OnPage(rig, PageId::kBreath);
         rig.dialogs.colour_answers.push_back(QColor(255, 0, 255));
       },
       [](EditorRig& rig) { rig.Click(QStringLiteral("lbl_Col3")); }, "lighting colour 3"},
      {"active profile",
       {},
       [](EditorRig& rig) { rig.Click(QStringLiteral("Btn_Switch_1")); },
       "active profile: 2 -> 1"},
      {"device macro added", [](EditorRig& rig) { rig.Click(QStringLiteral("Btn_Macro_1")); },
       [](EditorRig& rig) { MacroCommand(rig, "LB_PCMacroName", 0, "Btn_AddMacro"); },
       "device macro \""},
      {"device macro deleted",
       [](EditorRig& rig) {
         rig.Click(QStringLiteral("Btn_Macro_1"));
         MacroCommand(rig, "LB_PCMacroName", 0, "Btn_AddMacro");
         MacroCommand(rig, "LB_PCMacroName", 1, "Btn_AddMacro");
       },
       [](EditorRig& rig) { MacroCommand(rig, "LB_MacroName", 0, "Btn_DelMacro"); }, "\" deleted"},
      {"loaded profile",
       [](EditorRig& rig) {
         rig.dialogs.save_answers.push_back(rig.dir.filePath(QStringLiteral("saved")));
         rig.App().SaveProfile();
         OnPage(rig, PageId::kBreath);
         rig.Click(QStringLiteral("lbl_LED1"));
         OnPage(rig, PageId::kAdv);
         rig.Click(QStringLiteral("lbl_DPI7"));
       },
       [](EditorRig& rig) {
         rig.dialogs.open_answers.push_back(rig.dir.filePath(QStringLiteral("saved.bin")));
         rig.App().LoadProfile();
       },
       "Load Profile saved.bin"},
      {"reset",
       {},
       [](EditorRig& rig) {
         rig.dialogs.confirm_answers = {true};  // Reset asks first
         rig.Click(QStringLiteral("Btn_Reset_1"));
       },
       "Reset",
       false},
  };
  return cases;
}

QWidget* TitleControl(EditorRig& rig, const char* name) {
  return rig.Window().findChild<QWidget*>(QLatin1String(name));
}

QString Notice(EditorRig& rig) {
  auto* notice = rig.Window().findChild<QLabel*>(QStringLiteral("lbl_RefusalNotice"));
  return notice && notice->isVisible() ? notice->text() : QString();
}

}  // namespace

class UndoTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void undoAndRedoLeaveTheMouseAsItWas_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("by_keys");
    for (std::size_t i = 0; i < Cases().size(); ++i) {
      for (const bool keys : {true, false}) {
        QTest::addRow("%s, %s", Cases()[i].name, keys ? "keys" : "title bar")
            << static_cast<int>(i) << keys;
      }
    }
  }

  void undoAndRedoLeaveTheMouseAsItWas() {
    QFETCH(int, index);
    QFETCH(bool, by_keys);
    const UndoCase& c = Cases()[static_cast<std::size_t>(index)];
    EditorRig rig(EditorRigOptions().WithMouse(KnownImage));
    QVERIFY(rig.App().MouseShown());
    rig.Window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.Window()));
    QWidget* undo = TitleControl(rig, "Img_Undo");
    QWidget* redo = TitleControl(rig, "Img_Redo");
    QVERIFY(undo && redo && undo->isVisible() && redo->isVisible());
    QVERIFY(!undo->isEnabled());
    QVERIFY(!redo->isEnabled());

    if (c.setup) c.setup(rig);
    QVERIFY(rig.dialogs.messages.isEmpty());
    const QByteArray before = MouseBytes(rig);
    const std::size_t steps = rig.Editor().History().UndoSteps();
    c.change(rig);
    QVERIFY2(rig.dialogs.messages.isEmpty(), qPrintable(rig.dialogs.messages.join(u'\n')));
    const QByteArray after = MouseBytes(rig);
    QVERIFY(after != before);
    QCOMPARE(rig.Editor().History().UndoSteps(), steps + 1);
    QVERIFY(undo->isEnabled());

    auto press = [&rig](QWidget* control, QKeyCombination keys) {
      if (control) {
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
      } else {
        rig.Window().setFocus();
        QTest::keyClick(&rig.Window(), keys.key(), keys.keyboardModifiers());
      }
    };
    press(by_keys ? nullptr : undo, Qt::CTRL | Qt::Key_Z);
    QByteArray undone = MouseBytes(rig);
    if (!c.checksums) {
      for (std::size_t at :
           {kParameterChecksumOffset, kParameterSectionSize + kProfileChecksumOffset})
        undone[static_cast<qsizetype>(at)] = before[static_cast<qsizetype>(at)];
    }
    QVERIFY2(undone == before, FirstDifference(undone, before).constData());
    QVERIFY2(Notice(rig).startsWith(QStringLiteral("Undone: ")), qPrintable(Notice(rig)));
    QVERIFY2(Notice(rig).contains(QLatin1String(c.notice)), qPrintable(Notice(rig)));
    QVERIFY(redo->isEnabled());
    QCOMPARE(undo->isEnabled(), steps > 0);

    press(by_keys ? nullptr : redo, Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    QVERIFY2(MouseBytes(rig) == after, FirstDifference(MouseBytes(rig), after).constData());
    QVERIFY2(Notice(rig).startsWith(QStringLiteral("Redone: ")), qPrintable(Notice(rig)));
    QVERIFY(!redo->isEnabled());
    if (by_keys) {
      press(nullptr, Qt::CTRL | Qt::Key_Z);
      press(nullptr, Qt::CTRL | Qt::Key_Y);
      QCOMPARE(MouseBytes(rig), after);
    }
    // The pages show what the mouse holds, as a read of it shows.
    QCOMPARE(Bytes(rig.Core().Page().parameters), Bytes(rig.Mouse().Parameters()));
  }

  void controlsAreNamedForScreenReaders() {
    EditorRig rig(EditorRigOptions().WithMouse(KnownImage));
    for (const char* name : {"Img_Undo", "Img_Redo"}) {
      QWidget* control = TitleControl(rig, name);
      QVERIFY(control);
      QAccessibleInterface* access = QAccessible::queryAccessibleInterface(control);
      QVERIFY(access);
      QCOMPARE(access->role(), QAccessible::Button);
      QCOMPARE(access->text(QAccessible::Name), QLatin1String(name) == QLatin1String("Img_Undo")
                                                    ? QStringLiteral("Undo")
                                                    : QStringLiteral("Redo"));
      QVERIFY(access->state().disabled);
    }
    QCOMPARE(TitleControl(rig, "Img_Undo")->property("picture").toString(),
             QStringLiteral("UndoS_D"));
    rig.Window().RequestPage(PageId::kAdv);
    rig.Click(QStringLiteral("lbl_DPI7"));
    QCOMPARE(TitleControl(rig, "Img_Undo")->property("picture").toString(),
             QStringLiteral("UndoS_E"));
    QCOMPARE(TitleControl(rig, "Img_Undo")->accessibleDescription(),
             QStringLiteral("dpi levels: 7 -> 6"));
  }

  // An undo the mouse refuses keeps the step and says so; a read of the mouse
  // starts the history over.
  void refusedUndoKeepsTheStepAndAReadClearsTheHistory() {
    EditorRig rig(EditorRigOptions().WithMouse(KnownImage));
    rig.Window().RequestPage(PageId::kAdv);
    rig.Click(QStringLiteral("lbl_DPI7"));
    const QByteArray after = MouseBytes(rig);
    rig.Mouse().Faults().refuse_command_code = 0x05;
    QWidget* undo = TitleControl(rig, "Img_Undo");
    QTest::mouseClick(undo, Qt::LeftButton, {}, undo->rect().center());
    QVERIFY2(Notice(rig).startsWith(QStringLiteral("Not undone: dpi levels: 7 -> 6")),
             qPrintable(Notice(rig)));
    QCOMPARE(MouseBytes(rig), after);
    QVERIFY(undo->isEnabled());
    QVERIFY(!TitleControl(rig, "Img_Redo")->isEnabled());

    rig.Mouse().Faults().refuse_command_code = -1;
    rig.Images().ReadConfiguration();
    QVERIFY(!undo->isEnabled());
    QVERIFY(!rig.Editor().History().CanUndo());
  }
};

KORVEX48_GUI_TEST(UndoTest)

}  // namespace korvex48::gui

#include "undo_test.moc"
