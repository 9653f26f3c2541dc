// The editor after a start-up read of the mouse that came back incomplete:
// the message that says so, the Update buttons, the read made again, and
// what --ui-log records of it all.
#include <QtTest>

#include "core/device/simulated_mouse.h"
#include "editor_rig.h"
#include "gui/main_window.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;
using test::EditorRigOptions;

class IncompleteReadTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void messageUpdateButtonsAndLog_data() {
    QTest::addColumn<bool>("flash_flash");
    QTest::addColumn<bool>("short_reply");
    QTest::newRow("I2C, failed reply") << false << false;
    QTest::newRow("I2C, short reply") << false << true;
    QTest::newRow("Flash + Flash, short reply") << true << true;
  }
  void messageUpdateButtonsAndLog() {
    QFETCH(bool, flash_flash);
    QFETCH(bool, short_reply);
    EditorRigOptions options;
    options.WithUiLog().WithMouse([short_reply](SimulatedMouse& m) {
      // Past the device information and the customer identifier.
      (short_reply ? m.Faults().short_reply_after : m.Faults().fail_reply_after) = 6;
    });
    if (flash_flash)
      options.WithStorage(SimulatedStorage::kFlashFlash).WithDefaultImage(test::kFlashFlashImage);
    EditorRig rig(options);
    QCOMPARE(rig.UiLog().size(), 2);
    QVERIFY2(rig.UiLog()[0].startsWith(QStringLiteral("message The mouse did not answer 1 of")),
             qPrintable(rig.UiLog()[0]));
    QCOMPARE(rig.UiLog()[1], QStringLiteral("poll opened read-incomplete"));
    QCOMPARE(rig.start_messages.size(), 1);
    // One line: the replies after the failed one were good, so the
    // transport has no reason left to add.
    QVERIFY2(rig.start_messages[0].startsWith(QStringLiteral("The mouse did not answer 1 of")) &&
                 !rig.start_messages[0].contains(QLatin1Char('\n')),
             qPrintable(rig.start_messages[0]));
    // Nothing says yet that this mouse takes a firmware patch.
    QVERIFY(!rig.W(QStringLiteral("Btn_Update_1"))->isVisible());
    QVERIFY(!rig.W(QStringLiteral("Img_Update_1"))->isVisible());

    // Read whole at the next tick: accepted, and the Update button shows for
    // a "Flash" + "Flash" mouse only, also after a language switch.
    QCOMPARE(rig.Poll(), PollOutcome::kOpened);
    const QStringList after = rig.UiLog().mid(2);
    QVERIFY2(after.contains(QStringLiteral("poll opened accepted")) &&
                 !after.join(QLatin1Char(' ')).contains(QStringLiteral("read-incomplete")),
             qPrintable(after.join(QLatin1Char('|'))));
    QVERIFY(rig.App().MouseShown());
    QCOMPARE(rig.W(QStringLiteral("Btn_Update_1"))->isVisible(), flash_flash);
    rig.Window().SwitchLanguage(2);
    QCOMPARE(rig.W(QStringLiteral("Btn_Update_1"))->isVisible(), flash_flash);
    QVERIFY(rig.dialogs.messages.isEmpty());
  }

  void pageButtonWithoutAMouseIsLogged() {
    EditorRig rig(EditorRigOptions().WithUiLog().Unconnected());
    rig.Click(QStringLiteral("Btn_Adv_1"));
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.UiLog(), QStringList{QStringLiteral("message Str022")});
  }
};

}  // namespace

KORVEX48_GUI_TEST(IncompleteReadTest)

}  // namespace korvex48::gui

#include "incomplete_read_test.moc"
