// Every control a user clicks is reached with Tab, is read by a screen reader
// with a name and the role it plays, and Space, Return and Escape act on it.
#include <QAccessible>
#include <QPointer>
#include <QtTest>
#include <algorithm>

#include "editor_rig.h"
#include "gui/key_combination_dialog.h"
#include "gui/main_window.h"
#include "gui/pages/button_commands.h"
#include "gui/pages/button_page.h"
#include "gui/pages/page_commands.h"
#include "gui/skin_widgets.h"
#include "gui/step_bar.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;

// The widgets Tab visits from the window's first control, once round.
QList<QWidget*> TabRound(QWidget& window) {
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) return {};
  window.setFocus(Qt::OtherFocusReason);
  QList<QWidget*> seen;
  for (int i = 0; i < 600; ++i) {
    QWidget* from = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
    // The key-combination field takes Tab as a key; Ctrl+Tab leaves it.
    const bool takes_tab = from->objectName() == QLatin1String("Edt_Assembly");
    QTest::keyClick(from, Qt::Key_Tab, takes_tab ? Qt::ControlModifier : Qt::NoModifier);
    QWidget* now = QApplication::focusWidget();
    if (!now || seen.contains(now)) break;
    seen.append(now);
  }
  return seen;
}

void OpenKeyDialog(EditorRig& rig) {
  Q_EMIT rig.Window().Buttons()->KeyLabel(2)->clicked();
  rig.App().Commands().Buttons().OpenKeyCombinationDialog();
}

}  // namespace

class KeyboardAccessTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void reachableNamedWithRole_data() {
    QTest::addColumn<int>("page");  // PageId, or 0 for the key-combination dialog
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    const int main = int(PageId::kMain), adv = int(PageId::kAdv), breath = int(PageId::kBreath),
              macro = int(PageId::kMacro);
    auto row = [](const char* tag, int page, const char* control, QAccessible::Role role) {
      QTest::newRow(tag) << page << QString::fromLatin1(control) << int(role);
    };
    row("page button", main, "Btn_Adv_1", QAccessible::PageTab);
    row("profile button", main, "Btn_Save_1", QAccessible::Button);
    row("language button", main, "Btn_Lang1_1", QAccessible::Button);
    row("reset", main, "Btn_Reset_1", QAccessible::Button);
    row("exit", main, "Btn_Exit_1", QAccessible::Button);
    row("web button (picture only)", main, "Btn_Web_1", QAccessible::Link);
    row("label that opens a menu", main, "Key1", QAccessible::ButtonMenu);
    row("last button label", main, "Key12", QAccessible::ButtonMenu);
    row("report-rate choice", adv, "lbl_Rep2", QAccessible::RadioButton);
    row("fire key continuous mark", adv, "lbl_Fire1Continue", QAccessible::CheckBox);
    row("DPI level in use (picture only)", adv, "Img_DPI3", QAccessible::RadioButton);
    row("page button of group 2", adv, "Btn_Main_2", QAccessible::PageTab);
    row("lighting mode", breath, "lbl_LED1", QAccessible::RadioButton);
    row("step time bar", breath, "Bar_Fall", QAccessible::Slider);
    row("DPI level bar", adv, "Bar_DPI1", QAccessible::Slider);
    row("AIM DPI bar", adv, "Bar_AIMDPI", QAccessible::Slider);
    row("pointer speed bar", adv, "Bar_Spd", QAccessible::Slider);
    row("double-click time bar", adv, "Bar_DbSpd", QAccessible::Slider);
    row("wheel lines bar", adv, "Bar_ScrSpd", QAccessible::Slider);
    row("record button", macro, "Btn_Start", QAccessible::Button);
    row("library list", macro, "LB_PCMacroName", QAccessible::List);
    row("dialog check box", 0, "CB_Ctrl", QAccessible::CheckBox);
    row("dialog button", 0, "IB_Confirm", QAccessible::Button);
    row("dialog close mark", 0, "IB_Close", QAccessible::Button);
  }
  void reachableNamedWithRole() {
    QFETCH(int, page);
    QFETCH(QString, control);
    QFETCH(int, role);
    EditorRig rig;
    QWidget* target = nullptr;
    if (page == 0) {
      OpenKeyDialog(rig);
      KeyCombinationDialog* dialog = rig.App().Commands().Buttons().Dialog();
      QVERIFY(dialog);
      target = dialog->findChild<QWidget*>(control);
    } else {
      rig.Window().ShowPage(static_cast<PageId>(page));
      target = rig.W(control);
    }
    QVERIFY2(target && target->isVisible(), qPrintable(control));
    QVERIFY2(TabRound(rig.Window()).contains(target), "not reached with Tab");
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(target);
    QVERIFY(access);
    QCOMPARE(int(access->role()), role);
    QVERIFY2(!access->text(QAccessible::Name).isEmpty(), "no accessible name");
    if (auto* bar = qobject_cast<StepBar*>(target)) {
      // A slider tells its value: the lit step, read as the page shows it.
      QAccessibleValueInterface* value = access->valueInterface();
      QVERIFY(value);
      // As a number, the value the page shows (2000 for a DPI level), not
      // the step.
      QCOMPARE(value->currentValue().toDouble(),
               bar->Position() < 1 ? 0.0 : bar->NumericValue(bar->Position()));
      QCOMPARE(value->maximumValue().toDouble(), bar->NumericValue(bar->Steps()));
      // A pointer setting no desktop told has no lit step and no value.
      QCOMPARE(access->text(QAccessible::Value).isEmpty(), bar->Position() == 0);
    }
  }

  // A value a screen reader sets chooses the DPI step nearest to it, as a
  // click on that step would; one that is no number chooses nothing.
  void barValueSetFromOutside() {
    EditorRig rig;
    rig.Window().ShowPage(PageId::kAdv);
    auto* bar = rig.Get<StepBar>(QStringLiteral("Bar_DPI2"));
    QVERIFY(bar && bar->isEnabled());
    QAccessibleValueInterface* value = QAccessible::queryAccessibleInterface(bar)->valueInterface();
    QVERIFY(value);
    rig.ClearSent();
    value->setCurrentValue(QStringLiteral("fast"));
    QCOMPARE(rig.Sent(), QStringList());
    value->setCurrentValue(1900);  // nearest listed value: 2000
    QCOMPARE(value->currentValue().toInt(), 2000);
    QVERIFY(!rig.Sent().isEmpty());
  }

  // Choices tell a screen reader whether they are chosen, and follow the
  // choice made with the keys: Space on `control`, then on `other` (another
  // choice of the family, or the same check box again).
  void choicesTellWhetherChosen_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("other");
    auto row = [](const char* tag, PageId page, const char* control, const char* other) {
      QTest::newRow(tag) << int(page) << QString::fromLatin1(control) << QString::fromLatin1(other);
    };
    row("report rate", PageId::kAdv, "lbl_Rep1", "lbl_Rep2");
    row("DPI level in use", PageId::kAdv, "Img_DPI2", "Img_DPI1");
    row("fire key continuous", PageId::kAdv, "lbl_Fire2Continue", "lbl_Fire2Continue");
    row("lighting mode", PageId::kBreath, "lbl_LED2", "lbl_LED1");
  }
  void choicesTellWhetherChosen() {
    QFETCH(int, page);
    QFETCH(QString, control);
    QFETCH(QString, other);
    EditorRig rig;
    rig.Window().ShowPage(static_cast<PageId>(page));
    rig.Window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.Window()));
    auto checked = [&](const QString& name) {
      QAccessibleInterface* access = QAccessible::queryAccessibleInterface(rig.W(name));
      return access && access->state().checkable && access->state().checked;
    };
    auto press = [&](const QString& name) {
      QWidget* w = rig.W(name);
      w->setFocus(Qt::TabFocusReason);
      QTest::keyClick(w, Qt::Key_Space);
    };
    const bool check_box = control == other;  // which Space toggles
    const bool before = checked(control);
    press(control);
    QCOMPARE(checked(control), check_box ? !before : true);
    press(other);
    if (check_box) {
      QCOMPARE(checked(control), before);
    } else {
      QVERIFY(checked(other));
      QVERIFY(!checked(control));
    }
  }

  // Bars whose steps cannot be chosen are left out of the Tab round, and
  // come back when they can: a DPI level that is not enabled, the step time
  // while the lights are off. Each click of `toggles` switches the bar.
  void disabledBarsAreSkipped_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QStringList>("toggles");
    QTest::newRow("DPI level") << int(PageId::kAdv) << QStringLiteral("Bar_DPI7")
                               << QStringList{QStringLiteral("lbl_DPI7"),
                                              QStringLiteral("lbl_DPI7")};
    QTest::newRow("step time, lights off")
        << int(PageId::kBreath) << QStringLiteral("Bar_Fall")
        << QStringList{QStringLiteral("lbl_Off"), QStringLiteral("lbl_LED1")};
  }
  void disabledBarsAreSkipped() {
    QFETCH(int, page);
    QFETCH(QString, bar);
    QFETCH(QStringList, toggles);
    EditorRig rig;
    rig.Window().ShowPage(static_cast<PageId>(page));
    QWidget* target = rig.W(bar);
    QVERIFY(target);
    for (const QString& toggle : toggles) {
      const bool enabled = target->isEnabled();
      QCOMPARE(TabRound(rig.Window()).contains(target), enabled);
      rig.Click(toggle);
      QVERIFY2(target->isEnabled() != enabled,
               qPrintable(toggle + QStringLiteral(" did not switch")));
    }
    QCOMPARE(TabRound(rig.Window()).contains(target), target->isEnabled());
  }

  // A key on a DPI level's bar is a click on the step it moves to: the same
  // reports reach the mouse and the page shows the same value. A key that
  // names the end the bar is at sends nothing.
  void barKeyIsTheStepsClick_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("move");  // steps from the lit one; 0: to the end the key names
    QTest::newRow("right") << int(Qt::Key_Right) << 1;
    QTest::newRow("up") << int(Qt::Key_Up) << 1;
    QTest::newRow("left") << int(Qt::Key_Left) << -1;
    QTest::newRow("down") << int(Qt::Key_Down) << -1;
    QTest::newRow("home") << int(Qt::Key_Home) << 0;
    QTest::newRow("end") << int(Qt::Key_End) << 0;
  }
  void barKeyIsTheStepsClick() {
    QFETCH(int, key);
    QFETCH(int, move);
    EditorRig clicked, keyed;
    for (EditorRig* rig : {&clicked, &keyed}) {
      rig->Window().ShowPage(PageId::kAdv);
      rig->ClearSent();
    }
    auto* bar = keyed.Get<StepBar>(QStringLiteral("Bar_DPI2"));
    QVERIFY(bar && bar->isEnabled());
    const int lit = bar->Position();
    QVERIFY2(lit > 1 && lit < bar->Steps(), "every key must move from the lit step");
    const int step = move != 0 ? lit + move : key == Qt::Key_Home ? 1 : bar->Steps();

    clicked.Click(QStringLiteral("Img_DPI2_%1").arg(step));
    keyed.Window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&keyed.Window()));
    bar->setFocus(Qt::TabFocusReason);
    QTest::keyClick(bar, Qt::Key(key));
    QVERIFY(!clicked.Sent().isEmpty());
    QCOMPARE(keyed.Sent(), clicked.Sent());
    QCOMPARE(bar->Position(), step);
    QCOMPARE(keyed.Text(QStringLiteral("lbl_DPI2Value")),
             clicked.Text(QStringLiteral("lbl_DPI2Value")));
    if (move == 0) {
      keyed.ClearSent();
      QTest::keyClick(bar, Qt::Key(key));
      QCOMPARE(keyed.Sent(), QStringList());
    }
  }

  // Tab goes through the window in reading order: the twelve button labels
  // row by row (left column before right), above the navigation bar; the
  // window's Reset and Exit at the top come last, after the bar.
  void tabFollowsReadingOrder() {
    EditorRig rig;
    const QList<QWidget*> round = TabRound(rig.Window());
    QList<QPoint> places;
    for (QWidget* w : round)
      if (qobject_cast<TextLabel*>(w)) places.append(w->mapTo(&rig.Window(), QPoint(0, 0)));
    QVERIFY(places.size() > 12);
    // The round is a circle: read it from its top left control.
    const auto first = std::min_element(places.begin(), places.end(), [](QPoint a, QPoint b) {
      return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
    });
    std::rotate(places.begin(), first, places.end());
    // A row holds the controls whose tops lie within a few pixels of each
    // other (the web button sits a pixel above the buttons beside it).
    for (qsizetype i = 1; i < places.size(); ++i) {
      const QPoint a = places[i - 1], b = places[i];
      QVERIFY2(
          b.y() - a.y() > 6 || (std::abs(b.y() - a.y()) <= 6 && a.x() < b.x()),
          qPrintable(
              QStringLiteral("%1,%2 before %3,%4").arg(a.x()).arg(a.y()).arg(b.x()).arg(b.y())));
    }
  }

  // Space and Return press a focused label like a click; Escape closes the
  // key-combination dialog from its buttons (in its field Escape is a key).
  void keysActOnTheFocusedControl_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("return") << int(Qt::Key_Return);
  }
  void keysActOnTheFocusedControl() {
    QFETCH(int, key);
    EditorRig rig;
    rig.Window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.Window()));
    QWidget* adv = rig.W(QStringLiteral("Btn_Adv_1"));
    adv->setFocus(Qt::TabFocusReason);
    QTest::keyClick(adv, Qt::Key(key));
    QCOMPARE(rig.Window().CurrentPage(), PageId::kAdv);

    OpenKeyDialog(rig);
    QPointer<KeyCombinationDialog> dialog = rig.App().Commands().Buttons().Dialog();
    QVERIFY(dialog);
    auto* field = dialog->findChild<QWidget*>(QStringLiteral("Edt_Assembly"));
    QTRY_VERIFY(field->hasFocus());
    // Ctrl+Tab leaves the field for the boxes; Escape there closes.
    QTest::keyClick(field, Qt::Key_Tab, Qt::ControlModifier);
    QWidget* box = QApplication::focusWidget();
    QVERIFY(box && box != field && dialog->isAncestorOf(box));
    QTest::keyClick(box, Qt::Key_Escape);
    QTRY_VERIFY(!dialog);
  }
};

KORVEX48_GUI_TEST(KeyboardAccessTest)

}  // namespace korvex48::gui

#include "keyboard_access_test.moc"
