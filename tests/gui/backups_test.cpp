// The backups dialog: opened from the navigation bar by keyboard, it restores
// the backup made before a change; after a cut change it offers to finish it.
#include <QListWidget>
#include <QtTest>

#include "core/macros/macro_names.h"
#include "editor_rig.h"
#include "gui/main_window.h"
#include "gui/skin_widgets.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;

const std::vector<std::uint8_t> kEvents = {0x82, 0x04, 0x02, 0x04, 0x00};

class BackupsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void RestoresTheBackupByKeyboard() {
    EditorRig rig;
    const Bytes before = rig.Mouse().SerializeState();
    QCOMPARE(rig.MacroFlows().AddDeviceMacro(MacroNameFromText("Test"), kEvents, ButtonView{}),
             MacroCommandResult::kDone);
    QVERIFY(rig.Mouse().SerializeState() != before);

    // Reached with Tab and pressed with Space, as every navigation button.
    auto* button = rig.Window().findChild<TextLabel*>(QStringLiteral("Btn_Backups_1"));
    QVERIFY(button);
    QVERIFY(button->isVisibleTo(&rig.Window()));
    QVERIFY(button->focusPolicy() & Qt::TabFocus);
    QCOMPARE(button->accessibleName(), QStringLiteral("Backups"));
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    auto* list = rig.Window().findChild<QListWidget*>(QStringLiteral("LB_Backups"));
    QVERIFY(list);
    QVERIFY(list->isVisible());
    QVERIFY(!list->accessibleName().isEmpty());
    QCOMPARE(list->count(), 1);
    QVERIFY(list->item(0)->text().contains(QStringLiteral("macro-add 1 \"Test\"")));
    QCOMPARE(list->currentRow(), 0);
    rig.dialogs.messages.clear();
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(rig.Mouse().SerializeState() == before);
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QVERIFY(rig.dialogs.messages[0].startsWith(QStringLiteral("Changed on the mouse:")));
    QCOMPARE(rig.Core().Macros().Count(), std::size_t{0});
    // The dialog closed; the restore was backed up first.
    QTRY_VERIFY(!rig.Window().findChild<QListWidget*>(QStringLiteral("LB_Backups")));
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    list = rig.Window().findChild<QListWidget*>(QStringLiteral("LB_Backups"));
    QVERIFY(list);
    QCOMPARE(list->count(), 2);
    QVERIFY(list->item(0)->text().contains(QStringLiteral("restore 1")));
    QTest::keyClick(list, Qt::Key_Escape);
    QTRY_VERIFY(!rig.Window().findChild<QListWidget*>(QStringLiteral("LB_Backups")));
  }

  void OffersToFinishACutChange() {
    EditorRig rig;
    QCOMPARE(rig.MacroFlows().AddDeviceMacro(MacroNameFromText("One"), kEvents, ButtonView{}),
             MacroCommandResult::kDone);
    QCOMPARE(rig.MacroFlows().AddDeviceMacro(MacroNameFromText("Two"), kEvents, ButtonView{}),
             MacroCommandResult::kDone);
    // Cut inside the storage, after the end mark went in: the mouse lists
    // no macro.
    rig.Mouse().Faults().refuse_report_after = 10;
    QCOMPARE(rig.MacroFlows().DeleteDeviceMacro(0, ButtonView{}), MacroCommandResult::kWriteFailed);
    rig.Mouse().Faults().refuse_report_after = -1;
    // The offer opens once the flow returned.
    QTRY_VERIFY(rig.Window().findChild<QListWidget*>(QStringLiteral("LB_Backups")));
    auto* lost = rig.Window().findChild<QLabel*>(QStringLiteral("lbl_BackupsLost"));
    QVERIFY(lost);
    QVERIFY2(lost->text().contains(QStringLiteral("macro 2 \"Two\"")), qPrintable(lost->text()));
    auto* finish = rig.Window().findChild<TextLabel*>(QStringLiteral("IB_Finish"));
    QVERIFY(finish);
    finish->setFocus();
    QTest::keyClick(finish, Qt::Key_Space);
    QCOMPARE(rig.Core().Macros().Count(), std::size_t{1});
    QCOMPARE(QString::fromStdString(rig.Core().Macros().Names()[0]), QStringLiteral("Two"));
  }
};

KORVEX48_GUI_TEST(BackupsTest)

}  // namespace
}  // namespace korvex48::gui

#include "backups_test.moc"
