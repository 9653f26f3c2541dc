// Every control name the layout and language appliers and the window's AppUi
// look up exists in the real window, with the type they expect: the appliers
// skip a missing name without a word, so a renamed control or a mistyped
// table entry would otherwise go unnoticed.
#include <QtTest>

#include "editor_rig.h"
#include "gui/control_index.h"
#include "gui/main_window.h"
#include "gui/window_app_ui.h"
#include "gui_tests.h"

namespace korvex48::gui {

using test::EditorRig;
using test::EditorRigOptions;

class ControlNamesTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void everyNameLookedUpExists_data() {
    QTest::addColumn<int>("storage");
    QTest::newRow("packed") << static_cast<int>(SimulatedStorage::kI2C);
    QTest::newRow("slot") << static_cast<int>(SimulatedStorage::kFlashFlash);
  }
  void everyNameLookedUpExists() {
    QFETCH(int, storage);
    const auto kind = static_cast<SimulatedStorage>(storage);
    // Start, connection and read: the window's AppUi as the core drives it.
    EditorRig rig(EditorRigOptions().WithStorage(kind).WithDefaultImage(
        kind == SimulatedStorage::kFlashFlash ? test::kFlashFlashImage : QString()));
    // Every layout table and language, each with every page's own part.
    for (int k : {2, 3, 1}) rig.Window().SwitchLanguage(k);
    // Every method of the window's AppUi, and the loss of the mouse.
    WindowAppUi ui(rig.Window());
    ui.Show();
    ui.Hide();
    ui.LockPages();
    ui.UnlockPages();
    ui.RefreshUI();
    ui.RefreshKeyLabels({});
    ui.RefreshDeviceMacroLists();
    ui.ClearMacroEditor();
    ui.RefreshPcMacroList();
    ui.CloseMenus();
    ui.SetMainMenuHeight(146);
    ui.SetMainMenuHeight(170);
    ui.StopLabelRun();
    ui.RefreshStoragePages(StorageLayout::kPacked);
    ui.RefreshStoragePages(StorageLayout::kSlot);
    rig.Mouse().Unplug();
    QCOMPARE(rig.Poll(), PollOutcome::kLost);
    const QStringList missing = rig.Window().Controls().Missing();
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QStringLiteral(", "))));
  }
};

KORVEX48_GUI_TEST(ControlNamesTest)

}  // namespace korvex48::gui

#include "control_names_test.moc"
