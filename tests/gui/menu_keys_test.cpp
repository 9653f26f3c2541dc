// The keyboard in the button function menus, in the device macro list
// LB_Name and in the macro page's command pop-ups, as in any desktop menu:
// the menu that opens has the focus; Up and Down move (wrapping), Home and
// End jump, Right opens a submenu with its first entry current, Left closes
// it, Return picks and Escape closes. Keys go to the focused control, as the
// user's do. Also: LB_Name lights one row only, and the KB Switch Key entry
// starts disallowed until Main Control is clicked.
#include <QLabel>
#include <QListWidget>
#include <QtTest>

#include "core/app/app_core.h"
#include "editor_rig.h"
#include "gui/editor_app.h"
#include "gui/key_combination_dialog.h"
#include "gui/main_window.h"
#include "gui/pages/button_commands.h"
#include "gui/pages/command_popup.h"
#include "gui/pages/function_menu.h"
#include "gui/pages/page_commands.h"
#include "gui/window_app_ui.h"
#include "gui_tests.h"
#include "stored_macros.h"

namespace korvex48::gui {
namespace {

// The editor over a mouse with three device macros, read; the button page.
struct Rig : test::EditorRig {
  Rig()
      : test::EditorRig(test::EditorRigOptions().WithMouse(
            [](SimulatedMouse& m) { test::StoreMacros(m, 3); })) {}

  QWidget* Focus() { return Window().focusWidget(); }
  QString FocusName() {
    QWidget* f = Focus();
    // A list's viewport stands for its list.
    if (f && qobject_cast<QListWidget*>(f->parentWidget())) f = f->parentWidget();
    return f ? f->objectName() : QString();
  }
  // Keys named by their Qt names ("Down Down Right"), each to the control
  // that has the focus then.
  void Keys(const QString& keys) {
    for (const QString& name : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      const QKeySequence sequence = QKeySequence::fromString(name);
      QVERIFY2(sequence.count() == 1, qPrintable(name));
      QWidget* target = Focus();
      QVERIFY2(target, qPrintable(QStringLiteral("no focus for ") + name));
      QTest::keyClick(target, sequence[0].key());
    }
  }
  // The current entry of the focused menu ("row n" in LB_Name), "" for none.
  QString Current() {
    if (auto* menu = qobject_cast<FunctionMenu*>(Focus())) {
      QString lit;
      for (MenuEntry* entry : menu->Entries())
        if (entry->Lit()) lit += entry->objectName();
      const int i = menu->Current();
      const QString current =
          i < 0 ? QString() : menu->Entries()[static_cast<size_t>(i)]->objectName();
      // Exactly the current entry is lit.
      return lit == current ? current : QStringLiteral("lit %1, current %2").arg(lit, current);
    }
    if (auto* list = Get<QListWidget>(QStringLiteral("LB_Name"));
        list && FocusName() == list->objectName()) {
      const auto selected = list->selectedItems();
      if (selected.isEmpty()) return QString();
      if (selected.size() > 1) return QStringLiteral("%1 rows lit").arg(selected.size());
      return QStringLiteral("row %1").arg(list->row(selected.front()));
    }
    return QStringLiteral("<no menu focused>");
  }
  QString ShownMenus() {
    QStringList shown;
    for (const char* name : {"Pnl_Main", "Pnl_MseKey", "Pnl_Special", "Pnl_FireKey", "Pnl_Media",
                             "Pnl_WWW", "Pnl_MyPC", "LB_Name"})
      if (W(QLatin1String(name))->isVisible()) shown << QLatin1String(name);
    return shown.join(QLatin1Char(' '));
  }
  void PointerOn(const QString& name) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(W(name), &enter);
  }
};

}  // namespace

class MenuKeysTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void keysMoveThroughTheMenus_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("shown");
    const QString main = QStringLiteral("Pnl_Main");
    QTest::newRow("opened") << "" << main << ""
                            << "Pnl_Main";
    QTest::newRow("down from none") << "Down" << main << "Key_Standard"
                                    << "Pnl_Main";
    QTest::newRow("up from none") << "Up" << main << "Key_Macro"
                                  << "Pnl_Main";
    QTest::newRow("down wraps") << "Down Down Down Down Down Down Down Down" << main
                                << "Key_Standard"
                                << "Pnl_Main";
    QTest::newRow("up wraps") << "Down Up" << main << "Key_Macro"
                              << "Pnl_Main";
    QTest::newRow("end") << "Down End" << main << "Key_Macro"
                         << "Pnl_Main";
    QTest::newRow("home") << "Up Home" << main << "Key_Standard"
                          << "Pnl_Main";
    QTest::newRow("right on no category") << "End Up Right" << main << "Key_Assembly"
                                          << "Pnl_Main";
    QTest::newRow("right opens") << "Down Right"
                                 << "Pnl_MseKey"
                                 << "Key_Left"
                                 << "Pnl_Main Pnl_MseKey";
    QTest::newRow("return opens") << "Down Return"
                                  << "Pnl_MseKey"
                                  << "Key_Left"
                                  << "Pnl_Main Pnl_MseKey";
    QTest::newRow("submenu wraps") << "Down Right Up"
                                   << "Pnl_MseKey"
                                   << "Key_B5"
                                   << "Pnl_Main Pnl_MseKey";
    QTest::newRow("left closes") << "Down Right Down Left" << main << "Key_Standard"
                                 << "Pnl_Main";
    QTest::newRow("escape closes one") << "Down Right Escape" << main << "Key_Standard"
                                       << "Pnl_Main";
    QTest::newRow("moving on closes") << "Down Right Left Down" << main << "Key_Special"
                                      << "Pnl_Main";
    // KB Switch Key is not allowed before Main Control: it is passed over.
    QTest::newRow("disabled passed") << "Down Down Right Down Down"
                                     << "Pnl_Special"
                                     << "Key_ReportRate"
                                     << "Pnl_Main Pnl_Special";
    QTest::newRow("fire keys") << "Down Down Right Right End"
                               << "Pnl_FireKey"
                               << "Key_Fire3"
                               << "Pnl_Main Pnl_Special Pnl_FireKey";
    QTest::newRow("fire keys left") << "Down Down Right Right Left"
                                    << "Pnl_Special"
                                    << "Key_Fire"
                                    << "Pnl_Main Pnl_Special";
    QTest::newRow("two levels back") << "Down Down Right Right Left Left" << main << "Key_Special"
                                     << "Pnl_Main";
    QTest::newRow("macro list") << "End Right"
                                << "LB_Name"
                                << "row 0"
                                << "Pnl_Main LB_Name";
    QTest::newRow("macro list wraps up") << "End Right Up"
                                         << "LB_Name"
                                         << "row 2"
                                         << "Pnl_Main LB_Name";
    QTest::newRow("macro list wraps down") << "End Right Down Down Down"
                                           << "LB_Name"
                                           << "row 0"
                                           << "Pnl_Main LB_Name";
    QTest::newRow("macro list end home") << "End Right End Home Down"
                                         << "LB_Name"
                                         << "row 1"
                                         << "Pnl_Main LB_Name";
    QTest::newRow("macro list left") << "End Right Left" << main << "Key_Macro"
                                     << "Pnl_Main";
    QTest::newRow("macro list escape") << "End Right Escape" << main << "Key_Macro"
                                       << "Pnl_Main";
  }
  void keysMoveThroughTheMenus() {
    QFETCH(QString, keys);
    QFETCH(QString, focus);
    QFETCH(QString, current);
    QFETCH(QString, shown);
    Rig rig;
    rig.Click(QStringLiteral("Key5"));
    rig.Keys(keys);
    QCOMPARE(rig.FocusName(), focus);
    QCOMPARE(rig.Current(), current);
    QCOMPARE(rig.ShownMenus(), shown);
  }

  void returnPicksAndEscapeCloses_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("label");  // what Key5 shows then
    QTest::addColumn<QString>("sent");
    QTest::newRow("function") << "Down Right Down Return"
                              << "Right Key"
                              << "40 05 01 10 01 02 00 00";
    QTest::newRow("last of a submenu") << "Down Down Down Right End Return"
                                       << "Mute"
                                       << "40 05 01 10 03 00 e2 00";
    QTest::newRow("macro") << "End Right Up Return"
                           << "Macro 3"
                           << "";
    QTest::newRow("escape") << "Down Right Down Escape Escape"
                            << ""
                            << "";
    QTest::newRow("return on nothing") << "Return"
                                       << ""
                                       << "";
  }
  void returnPicksAndEscapeCloses() {
    QFETCH(QString, keys);
    QFETCH(QString, label);
    QFETCH(QString, sent);
    Rig rig;
    const QString before = rig.Text(QStringLiteral("Key5"));
    QWidget* label5 = rig.W(QStringLiteral("Key5"));
    // The control that had the focus gets it back when the menus close.
    label5->setFocusPolicy(Qt::StrongFocus);
    label5->setFocus();
    rig.Click(QStringLiteral("Key5"));
    rig.Keys(keys);
    const bool picked = !label.isEmpty();
    QCOMPARE(rig.Text(QStringLiteral("Key5")), picked ? label : before);
    if (!sent.isEmpty()) QCOMPARE(rig.Sent(), QStringList{sent});
    if (!picked) QVERIFY(rig.Sent().isEmpty());
    if (keys == QLatin1String("Return")) {
      QCOMPARE(rig.ShownMenus(), QStringLiteral("Pnl_Main"));
      return;
    }
    QCOMPARE(rig.ShownMenus(), QString());
    QCOMPARE(rig.Focus(), label5);
  }

  void returnOnUserDefinedOpensTheDialog() {
    Rig rig;
    rig.Click(QStringLiteral("Key5"));
    rig.Keys(QStringLiteral("End Up Return"));
    KeyCombinationDialog* dialog = rig.App().Commands().Buttons().Dialog();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(rig.ShownMenus(), QString());
    dialog->close();
  }

  // Mice whose main menu is cut short of its last entry (Macro): the keys
  // pass over the entry that is out of view.
  void shortMenuEndsAtUserDefined() {
    Rig rig;
    WindowAppUi ui(rig.Window());
    ui.SetMainMenuHeight(146);
    rig.Click(QStringLiteral("Key5"));
    rig.Keys(QStringLiteral("Up"));
    QCOMPARE(rig.Current(), QStringLiteral("Key_Assembly"));
    rig.Keys(QStringLiteral("Down"));
    QCOMPARE(rig.Current(), QStringLiteral("Key_Standard"));
    rig.Keys(QStringLiteral("End"));
    QCOMPARE(rig.Current(), QStringLiteral("Key_Assembly"));
  }

  // The pointer and the keys share the current entry.
  void pointerAndKeysShareTheCurrentEntry() {
    Rig rig;
    rig.Click(QStringLiteral("Key5"));
    rig.PointerOn(QStringLiteral("Key_Media"));
    QCOMPARE(rig.ShownMenus(), QStringLiteral("Pnl_Main Pnl_Media"));
    rig.Keys(QStringLiteral("Down"));
    QCOMPARE(rig.Current(), QStringLiteral("Key_WWW"));
    QCOMPARE(rig.ShownMenus(), QStringLiteral("Pnl_Main"));
    // The pointer in a submenu gives it the focus.
    rig.Keys(QStringLiteral("Right"));
    auto* www = qobject_cast<FunctionMenu*>(rig.W(QStringLiteral("Pnl_WWW")));
    const int stop = www->IndexOf(qobject_cast<MenuEntry*>(rig.W(QStringLiteral("Key_WWWStop"))));
    QVERIFY(stop >= 0 && stop + 1 < static_cast<int>(www->Entries().size()));
    rig.PointerOn(QStringLiteral("Key_WWWStop"));
    rig.Keys(QStringLiteral("Down"));
    QCOMPARE(rig.FocusName(), QStringLiteral("Pnl_WWW"));
    QCOMPARE(rig.Current(), www->Entries()[static_cast<size_t>(stop + 1)]->objectName());
  }

  // A macro once picked stays no lit row: one row is lit, the one under the
  // pointer or moved to by the keys.
  void macroListLightsOneRow() {
    Rig rig;
    rig.Click(QStringLiteral("Key5"));
    rig.PointerOn(QStringLiteral("Key_Macro"));
    rig.ClickRow(QStringLiteral("LB_Name"), 0);
    QCOMPARE(rig.Text(QStringLiteral("Key5")), QStringLiteral("Macro 1"));

    rig.Click(QStringLiteral("Key6"));
    rig.PointerOn(QStringLiteral("Key_Macro"));
    auto* list = rig.Get<QListWidget>(QStringLiteral("LB_Name"));
    QVERIFY(list->isVisible());
    QVERIFY(list->selectedItems().isEmpty());
    QTest::mouseMove(list->viewport(), list->visualItemRect(list->item(2)).center());
    QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(2)});
    QCOMPARE(rig.FocusName(), QStringLiteral("LB_Name"));
    rig.Keys(QStringLiteral("Up"));
    QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(1)});
  }

  // The macro page's command pop-ups, opened by a right click on a row.
  void commandPopupsTakeTheKeys_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("popup");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("current");  // "" for none
    const QString library = QStringLiteral("LB_PCMacroName");
    const QString pc = QStringLiteral("Pnl_PCMacro");
    QTest::newRow("opened") << library << pc << ""
                            << "";
    QTest::newRow("down") << library << pc << "Down"
                          << "Btn_NewMacro";
    QTest::newRow("up wraps") << library << pc << "Up"
                              << "Btn_AddMacro";
    QTest::newRow("down wraps") << library << pc << "End Down"
                                << "Btn_NewMacro";
    QTest::newRow("home") << library << pc << "End Home Down"
                          << "Btn_NewName";
    QTest::newRow("no submenus") << library << pc << "Down Right Left"
                                 << "Btn_NewMacro";
    QTest::newRow("device macros") << "LB_MacroName"
                                   << "Pnl_DevMacro"
                                   << "Down Down Down"
                                   << "Btn_DelMacro";
  }
  void commandPopupsTakeTheKeys() {
    QFETCH(QString, list);
    QFETCH(QString, popup);
    QFETCH(QString, keys);
    QFETCH(QString, current);
    Rig rig;
    rig.Click(QStringLiteral("Btn_Macro_1"));
    rig.W(list)->setFocus();
    rig.ClickRow(list, 0, Qt::RightButton);
    auto* commands = rig.Get<CommandPopup>(popup);
    QVERIFY(commands && commands->isVisible());
    QCOMPARE(rig.FocusName(), popup);
    rig.Keys(keys);
    QCOMPARE(rig.FocusName(), popup);
    const int at = commands->Current();
    QCOMPARE(at < 0 ? QString() : commands->findChildren<QLabel*>().at(at)->objectName(), current);
    // The current command looks as under the pointer; the others do not.
    for (QLabel* label : commands->findChildren<QLabel*>()) {
      const QPalette p = label->palette();
      const bool lit =
          label->autoFillBackground() && p.color(QPalette::Window) == p.color(QPalette::Highlight);
      QVERIFY2(lit == (label->objectName() == current), qPrintable(label->objectName()));
    }
    rig.Keys(QStringLiteral("Escape"));
    QVERIFY(!commands->isVisible());
    QCOMPARE(rig.FocusName(), list);
  }

  void returnRunsTheCommand() {
    Rig rig;
    rig.Click(QStringLiteral("Btn_Macro_1"));
    const int macros = static_cast<int>(rig.Core().Macros().Count());
    rig.ClickRow(QStringLiteral("LB_PCMacroName"), 0, Qt::RightButton);
    rig.Keys(QStringLiteral("End Return"));  // Add to Mouse
    QCOMPARE(static_cast<int>(rig.Core().Macros().Count()), macros + 1);
    QVERIFY(!rig.W(QStringLiteral("Pnl_PCMacro"))->isVisible());
  }

  // The switch entry starts disallowed: the read that opens the Main Control
  // page is no click on Main Control.
  void switchEntryAllowedOnlyByMainControl() {
    Rig rig;
    QCOMPARE(rig.Window().CurrentPage(), PageId::kMain);
    rig.Click(QStringLiteral("Key3"));
    rig.PointerOn(QStringLiteral("Key_Special"));
    QVERIFY(!rig.W(QStringLiteral("Key_Profile"))->isEnabled());
    rig.Click(QStringLiteral("Img_P1"));
    rig.Click(QStringLiteral("Btn_Main_1"));
    rig.Click(QStringLiteral("Key3"));
    rig.PointerOn(QStringLiteral("Key_Special"));
    QVERIFY(rig.W(QStringLiteral("Key_Profile"))->isEnabled());
    // A read of the mouse again leaves it allowed.
    rig.Click(QStringLiteral("Img_P1"));
    rig.Mouse().Unplug();
    QCOMPARE(rig.Poll(), PollOutcome::kLost);
    rig.Mouse().Plug();
    rig.Poll();
    QCOMPARE(rig.Window().CurrentPage(), PageId::kMain);
    rig.Click(QStringLiteral("Key3"));
    rig.PointerOn(QStringLiteral("Key_Special"));
    QVERIFY(rig.W(QStringLiteral("Key_Profile"))->isEnabled());
  }
};

KORVEX48_GUI_TEST(MenuKeysTest)

}  // namespace korvex48::gui

#include "menu_keys_test.moc"
