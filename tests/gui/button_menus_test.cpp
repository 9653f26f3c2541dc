// The button function menus and the key-combination dialog through the real
// widgets of the window over a simulated mouse: a click on a label opens the
// menu, the pointer on a category opens its submenu, a click on an entry
// gives the button its function, and the reports that reach the mouse are
// checked with the fake clock's time of each.
#include "gui/pages/button_menus.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>
#include <functional>

#include "core/app/app_core.h"
#include "core/buttons/key_code_table.h"
#include "core/editing/page_editor.h"
#include "core/library/library_files.h"
#include "core/library/pc_macro_library.h"
#include "editor_rig.h"
#include "gui/editor_app.h"
#include "gui/key_combination_dialog.h"
#include "gui/main_window.h"
#include "gui/pages/button_commands.h"
#include "gui/pages/button_page.h"
#include "gui/pages/page_commands.h"
#include "gui/window_app_ui.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

void SetCode(SimulatedMouse& mouse, int profile, int button, std::array<std::uint8_t, 4> code) {
  const std::size_t at = *KeyCodeOffset(profile, button);
  for (std::size_t i = 0; i < 4; ++i) mouse.Profiles()[at + i] = code[i];
}

// The editor over a simulated mouse that was read, with what the button
// menus' tests do besides clicks: the pointer entering and leaving an entry.
struct Rig : test::EditorRig {
  explicit Rig(std::function<void(SimulatedMouse&)> prepare)
      : test::EditorRig(test::EditorRigOptions().WithMouse(std::move(prepare))) {}

  bool Shown(const QString& name) const {
    QWidget* w = W(name);
    return w && w->isVisible();
  }
  void Hover(const QString& name) {
    QWidget* w = W(name);
    QVERIFY2(w && w->isVisible(), qPrintable(name));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(w, &enter);
  }
  void Leave(const QString& name) {
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(W(name), &leave);
  }
  // Label -> category -> entry, as the user does it.
  void Choose(int button, const QString& category, const QString& entry) {
    Click(QStringLiteral("Key%1").arg(button));
    Hover(category);
    Leave(category);
    Hover(entry);
    Click(entry);
  }
  QString CodeOf(int profile, int button) {
    return QString::fromStdString(Core().Codes().Code(profile, button));
  }
  ButtonCommands& Buttons() { return App().Commands().Buttons(); }
  // A control's geometry in the window.
  QRect Rect(const QString& name) const {
    QWidget* w = W(name);
    return {w->mapTo(&app->Window(), QPoint(0, 0)), w->size()};
  }
};

// Profile 1: Left Key on button 1 only, a KB Reset Key in profile 2.
void OneLeftKey(SimulatedMouse& m) {
  for (int p = 1; p <= 3; ++p)
    for (int n = 1; n <= 12; ++n) SetCode(m, p, n, {0x09, 0x01, 0x00, 0x00});  // CPI +
  SetCode(m, 1, 1, {0x01, 0x01, 0x00, 0x00});
  SetCode(m, 2, 1, {0x01, 0x01, 0x00, 0x00});
  SetCode(m, 2, 7, {0x07, 0x01, 0x00, 0x00});
  m.Parameters()[33] = 0;
}

const QString kSwitchWrite3[] = {QStringLiteral("40 05 01 08 07 00 00 00"),
                                 QStringLiteral("40 05 01 38 07 00 00 00"),
                                 QStringLiteral("40 05 01 68 07 00 00 00")};

// A key press with the physical key's X11 key code (evdev + 8).
void PressKey(QWidget* field, int evdev, Qt::KeyboardModifiers held = {}) {
  QKeyEvent press(QEvent::KeyPress, 0, held, static_cast<quint32>(evdev + 8), 0, 0);
  QCoreApplication::sendEvent(field, &press);
}

}  // namespace

class ButtonMenusTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void menuOpensAtTheLabelAndEntriesHaveTheirTexts() {
    Rig rig(OneLeftKey);
    rig.Click(QStringLiteral("Key1"));
    QVERIFY(rig.Shown(QStringLiteral("Pnl_Main")));
    const QRect label = rig.Rect(QStringLiteral("Key1"));
    const QRect menu = rig.Rect(QStringLiteral("Pnl_Main"));
    QCOMPARE(menu.topLeft(), label.topLeft() + QPoint(label.width() / 2, label.height() / 2));
    QCOMPARE(menu.size(), QSize(190, 170));
    QCOMPARE(rig.Text(QStringLiteral("Key_Standard")), QStringLiteral(" * Standard Mouse Key"));
    QCOMPARE(rig.Text(QStringLiteral("Key_Default")), QStringLiteral(" * KB Reset Key"));
    QCOMPARE(rig.W(QStringLiteral("Key_Left"))->height(), 24);

    // The pointer on a category opens its submenu beside the entry, white on
    // teal; another category closes it.
    rig.Hover(QStringLiteral("Key_Media"));
    QVERIFY(rig.Shown(QStringLiteral("Pnl_Media")));
    QVERIFY(qobject_cast<MenuEntry*>(rig.W(QStringLiteral("Key_Media")))->Lit());
    QCOMPARE(rig.Rect(QStringLiteral("Pnl_Media")).topLeft(),
             QPoint(menu.right() + 1, rig.Rect(QStringLiteral("Key_Media")).top()));
    rig.Leave(QStringLiteral("Key_Media"));
    rig.Hover(QStringLiteral("Key_Special"));
    QVERIFY(!rig.Shown(QStringLiteral("Pnl_Media")));
    QVERIFY(rig.Shown(QStringLiteral("Pnl_Special")));
    // Fire Key opens beside the Special menu, which stays.
    rig.Hover(QStringLiteral("Key_Fire"));
    QVERIFY(rig.Shown(QStringLiteral("Pnl_FireKey")));
    QVERIFY(rig.Shown(QStringLiteral("Pnl_Special")));
    rig.Hover(QStringLiteral("Key_CPI"));
    QVERIFY(!rig.Shown(QStringLiteral("Pnl_FireKey")));
    // User-defined closes every submenu; the page background closes it all.
    rig.Hover(QStringLiteral("Key_Assembly"));
    QVERIFY(!rig.Shown(QStringLiteral("Pnl_Special")));
    rig.Click(QStringLiteral("Img_P1"));
    QVERIFY(!rig.Shown(QStringLiteral("Pnl_Main")));
    QVERIFY(rig.Sent().isEmpty());
  }

  void menuNearTheRightEdgeOpensToTheLeft() {
    Rig rig(OneLeftKey);
    // The label furthest right.
    int right_most = 1;
    for (int n = 1; n <= 12; ++n)
      if (rig.Rect(QStringLiteral("Key%1").arg(n)).x() >
          rig.Rect(QStringLiteral("Key%1").arg(right_most)).x())
        right_most = n;
    const QRect label = rig.Rect(QStringLiteral("Key%1").arg(right_most));
    QVERIFY(label.right() + 1 + 190 >= 800);
    rig.Click(QStringLiteral("Key%1").arg(right_most));
    const QRect menu = rig.Rect(QStringLiteral("Pnl_Main"));
    QCOMPARE(menu.left(), label.left() + label.width() / 2 - 190);
    rig.Hover(QStringLiteral("Key_WWW"));
    const QRect sub = rig.Rect(QStringLiteral("Pnl_WWW"));
    QVERIFY(sub.right() < 800);
    if (menu.right() + 1 + 190 > 800) QCOMPARE(sub.right() + 1, menu.left());
  }

  void entriesGiveTheButtonItsFunction() {
    Rig rig(OneLeftKey);
    rig.Choose(5, QStringLiteral("Key_Media"), QStringLiteral("Key_Mute"));
    QVERIFY(!rig.Shown(QStringLiteral("Pnl_Main")));
    QVERIFY(!rig.Shown(QStringLiteral("Pnl_Media")));
    QCOMPARE(rig.Text(QStringLiteral("Key5")), QStringLiteral("Mute"));
    QCOMPARE(rig.CodeOf(1, 5), QStringLiteral("0300E200"));
    QCOMPARE(rig.Sent(), QStringList{QStringLiteral("40 05 01 10 03 00 e2 00")});

    // The last Left Key stays: nothing is stored or sent.
    rig.ClearSent();
    rig.Choose(1, QStringLiteral("Key_Standard"), QStringLiteral("Key_Right"));
    QCOMPARE(rig.Text(QStringLiteral("Key1")), QStringLiteral("Left Key"));
    QCOMPARE(rig.CodeOf(1, 1), QStringLiteral("01010000"));
    QVERIFY(rig.Sent().isEmpty());
    // With a second Left Key, the first may change.
    rig.Choose(5, QStringLiteral("Key_Standard"), QStringLiteral("Key_Left"));
    rig.Choose(1, QStringLiteral("Key_Standard"), QStringLiteral("Key_Right"));
    QCOMPARE(rig.Text(QStringLiteral("Key1")), QStringLiteral("Right Key"));
    QCOMPARE(rig.Sent(), (QStringList{QStringLiteral("40 05 01 10 01 01 00 00"),
                                      QStringLiteral("40 05 01 00 01 02 00 00")}));
  }

  void switchKeyGoesToAllThreeProfiles() {
    Rig rig(OneLeftKey);
    // Main Control (run again by the read) allows the switch entry.
    rig.Click(QStringLiteral("Btn_Main_1"));
    QCOMPARE(rig.Sent(), QStringList{QStringLiteral("40 05 00 21 00 00 00 01")});

    rig.ClearSent();
    rig.Choose(3, QStringLiteral("Key_Special"), QStringLiteral("Key_Profile"));
    QCOMPARE(rig.Text(QStringLiteral("Key3")), QStringLiteral("KB Switch Key"));
    QCOMPARE(rig.Sent(), QStringList(std::begin(kSwitchWrite3), std::end(kSwitchWrite3)));
    // One write at a time, 100 ms apart.
    const std::vector<std::uint64_t> at_us = rig.trace.SentTimes();
    for (std::size_t i = 1; i < at_us.size(); ++i) QVERIFY(at_us[i] - at_us[i - 1] >= 100000);
    for (int p = 1; p <= 3; ++p) QCOMPARE(rig.CodeOf(p, 3), QStringLiteral("07000000"));

    // Taking it away again writes all three as well.
    rig.ClearSent();
    rig.Choose(3, QStringLiteral("Key_MyPC"), QStringLiteral("Key_Desktop"));
    QCOMPARE(rig.Sent(), (QStringList{QStringLiteral("40 05 01 08 02 08 07 00"),
                                      QStringLiteral("40 05 01 38 02 08 07 00"),
                                      QStringLiteral("40 05 01 68 02 08 07 00")}));
    QCOMPARE(rig.Text(QStringLiteral("Key3")), QStringLiteral("Desktop"));

    // In profile 2 the entry is not offered.
    rig.Choose(3, QStringLiteral("Key_Special"), QStringLiteral("Key_Profile"));
    rig.ClearSent();
    rig.Click(QStringLiteral("Btn_Switch_1"));
    QCOMPARE(rig.Window().CurrentPage(), PageId::kSwitch);
    rig.ClearSent();
    rig.Click(QStringLiteral("Key1"));
    rig.Hover(QStringLiteral("Key_Special"));
    QVERIFY(!rig.W(QStringLiteral("Key_Profile"))->isEnabled());
    rig.Click(QStringLiteral("Key_Profile"));
    QVERIFY(rig.Sent().isEmpty());
    QCOMPARE(rig.CodeOf(2, 1), QStringLiteral("01010000"));
  }

  void profile3CannotBeEdited() {
    Rig rig([](SimulatedMouse& m) {
      OneLeftKey(m);
      for (int p = 1; p <= 3; ++p) SetCode(m, p, 4, {0x07, 0x00, 0x00, 0x00});
    });
    rig.Click(QStringLiteral("Btn_Switch_1"));
    rig.Click(QStringLiteral("Btn_Fixed_1"));
    QCOMPARE(rig.Window().CurrentPage(), PageId::kFixed);
    rig.ClearSent();
    // The overlay takes the click: no menu opens.
    QVERIFY(rig.Shown(QStringLiteral("Disable")));
    // (Sent to the native window, which hands it to the control on top.)
    QTest::mouseClick(rig.Window().windowHandle(), Qt::LeftButton, {},
                      rig.Rect(QStringLiteral("Key5")).center());
    QVERIFY(!rig.Shown(QStringLiteral("Pnl_Main")));
    // Nor does a choice forwarded while profile 3 is selected change anything.
    rig.Buttons().ChooseMenuFunction(1306);
    rig.Buttons().ApplyAssemblyKey(QStringLiteral("A"), QStringLiteral("02000400"));
    QVERIFY(rig.Sent().isEmpty());
    QCOMPARE(rig.CodeOf(3, 5), QStringLiteral("09010000"));
  }

  void keyCombinationDialog() {
    Rig rig(OneLeftKey);
    rig.Click(QStringLiteral("Key6"));
    rig.Hover(QStringLiteral("Key_Assembly"));
    rig.Click(QStringLiteral("Key_Assembly"));
    KeyCombinationDialog* dialog = rig.Buttons().Dialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->size(), QSize(354, 179));
    // Inside the window, not a window of its own that a compositor places.
    QVERIFY(!dialog->isWindow());
    QCOMPARE(dialog->pos(), QPoint(223, 250));
    QWidget* on_top = rig.Window().childAt(400, 340);  // above the pages
    QVERIFY(on_top == dialog || dialog->isAncestorOf(on_top));
    QVERIFY(!dialog->isModal());
    auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("Edt_Assembly"));
    QVERIFY(field && field->isReadOnly());

    // Ctrl and Shift ticked, then the key the US layout calls A (evdev 30).
    QTest::mouseClick(dialog->findChild<QCheckBox*>(QStringLiteral("CB_Ctrl")), Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QCheckBox*>(QStringLiteral("CB_Shift")), Qt::LeftButton);
    PressKey(field, 30);
    QCOMPARE(field->text(), QStringLiteral("Ctrl+Shift+A"));
    // Held Shift is ignored; the third key starts over.
    PressKey(field, 48, Qt::ShiftModifier);
    PressKey(field, 48);
    PressKey(field, 46);
    QCOMPARE(field->text(), QStringLiteral("Ctrl+Shift+C"));
    auto* confirm = dialog->findChild<QWidget*>(QStringLiteral("IB_Confirm"));
    QTest::mouseClick(confirm, Qt::LeftButton, {}, confirm->rect().center());
    QTRY_VERIFY(!rig.Buttons().Dialog());
    QCOMPARE(rig.Text(QStringLiteral("Key6")), QStringLiteral("Ctrl+Shift+C"));
    QCOMPARE(rig.CodeOf(1, 6), QStringLiteral("02030600"));
    QCOMPARE(rig.Sent(), QStringList{QStringLiteral("40 05 01 14 02 03 06 00")});

    // Win ticked after F5, unticked again; Clear; the close mark applies nothing.
    rig.ClearSent();
    rig.Click(QStringLiteral("Key6"));
    rig.Click(QStringLiteral("Key_Assembly"));
    dialog = rig.Buttons().Dialog();
    field = dialog->findChild<QLineEdit*>(QStringLiteral("Edt_Assembly"));
    auto* win = dialog->findChild<QCheckBox*>(QStringLiteral("CB_Win"));
    PressKey(field, 63);
    QTest::mouseClick(win, Qt::LeftButton);
    QCOMPARE(field->text(), QStringLiteral("Win+F5"));
    QTest::mouseClick(win, Qt::LeftButton);
    QCOMPARE(field->text(), QStringLiteral("F5"));
    auto* clear = dialog->findChild<QWidget*>(QStringLiteral("IB_Cancel"));
    QTest::mouseClick(clear, Qt::LeftButton, {}, clear->rect().center());
    QCOMPARE(field->text(), QString());
    QVERIFY(dialog->isVisible());
    auto* close_mark = dialog->findChild<QWidget*>(QStringLiteral("IB_Close"));
    QTest::mouseClick(close_mark, Qt::LeftButton, {}, close_mark->rect().center());
    QTRY_VERIFY(!rig.Buttons().Dialog());
    QVERIFY(rig.Sent().isEmpty());

    // On the last Left Key User-defined opens nothing.
    rig.Click(QStringLiteral("Key1"));
    rig.Click(QStringLiteral("Key_Assembly"));
    QVERIFY(!rig.Buttons().Dialog());
  }

  void macroOnAButtonFallsBackWhenDeleted() {
    Rig rig(OneLeftKey);
    // Without a device macro the Macro entry opens nothing.
    rig.Click(QStringLiteral("Key8"));
    rig.Hover(QStringLiteral("Key_Macro"));
    QVERIFY(!rig.Shown(QStringLiteral("LB_Name")));
    rig.Click(QStringLiteral("Img_P1"));

    PcMacroLibrary library;
    library.Load(DefaultLibraryBytes());
    const ButtonView view{rig.Editor().State().labels, 1};
    QCOMPARE(rig.MacroFlows().AddMacroToMouse(library, 0, view), MacroCommandResult::kDone);
    const QString name = QString::fromStdString(rig.Core().Macros().Names().at(0));
    const std::uint16_t address = *rig.Core().Macros().Address(0);

    rig.ClearSent();
    rig.Click(QStringLiteral("Key8"));
    rig.Hover(QStringLiteral("Key_Macro"));
    auto* list = qobject_cast<QListWidget*>(rig.W(QStringLiteral("LB_Name")));
    QVERIFY(list->isVisible());
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), name);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QVERIFY(!list->isVisible());
    QCOMPARE(rig.Text(QStringLiteral("Key8")), name);
    const QString code =
        QStringLiteral("10%1%2").arg(address, 4, 16, QLatin1Char('0')).arg(QStringLiteral("00"));
    QCOMPARE(rig.CodeOf(1, 8), code.toUpper());
    QCOMPARE(rig.Sent(), QStringList{QStringLiteral("40 05 01 1c 10 %1 %2 00")
                                         .arg(address >> 8, 2, 16, QLatin1Char('0'))
                                         .arg(address & 0xFF, 2, 16, QLatin1Char('0'))});

    // The macro is deleted: button 8 falls back to Win+D, on the label too.
    rig.ClearSent();
    QCOMPARE(rig.MacroFlows().DeleteDeviceMacro(0, ButtonView{rig.Editor().State().labels, 1}),
             MacroCommandResult::kDone);
    QCOMPARE(rig.Text(QStringLiteral("Key8")), QStringLiteral("Win+D"));
    QCOMPARE(rig.CodeOf(1, 8), QStringLiteral("02080700"));
    QVERIFY(rig.Sent().contains(QStringLiteral("40 05 01 1c 02 08 07 00")));
  }

  void shortMenuAndPageButtonsAfterALoss() {
    Rig rig(OneLeftKey);
    // Mice of variant 1 cut the main menu at 146 pixels: Macro is out of view.
    WindowAppUi ui(rig.Window());
    ui.SetMainMenuHeight(146);
    rig.Click(QStringLiteral("Key5"));
    QCOMPARE(rig.W(QStringLiteral("Pnl_Main"))->height(), 146);
    QVERIFY(!rig.Shown(QStringLiteral("Key_Macro")));
    QVERIFY(rig.Shown(QStringLiteral("Key_Assembly")));
    rig.Click(QStringLiteral("Img_P1"));

    // After the mouse is gone a page button says so before anything else.
    rig.Mouse().Unplug();
    QCOMPARE(rig.Poll(), PollOutcome::kLost);
    for (const char* button : {"Btn_Switch_1", "Btn_Main_1", "Btn_Adv_1"}) {
      rig.dialogs.messages.clear();
      rig.Click(QLatin1String(button));
      QCOMPARE(rig.dialogs.messages, QStringList{QStringLiteral("Not find the specified device")});
      QCOMPARE(rig.Window().CurrentPage(), PageId::kMain);
    }
  }

  void keysAreTakenByThePhysicalKey() {
    // On a French layout the key right of Tab prints A and Qt reports
    // Qt::Key_A with the text "a"; its key code is that of the US Q.
    Rig rig(OneLeftKey);
    rig.Click(QStringLiteral("Key6"));
    rig.Click(QStringLiteral("Key_Assembly"));
    auto* field = rig.Buttons().Dialog()->findChild<QLineEdit*>(QStringLiteral("Edt_Assembly"));
    QKeyEvent french_a(QEvent::KeyPress, Qt::Key_A, {}, 16 + 8, 0x61, 0, QStringLiteral("a"));
    QCoreApplication::sendEvent(field, &french_a);
    // A key event without a key code (synthetic) is no key of the table.
    QKeyEvent synthetic(QEvent::KeyPress, Qt::Key_B, {}, 0, 0, 0, QStringLiteral("b"));
    QCoreApplication::sendEvent(field, &synthetic);
    QCOMPARE(field->text(), QStringLiteral("Q+None"));
    QCOMPARE(rig.Buttons().Dialog()->Model().Confirm().code, std::string("02001400"));
    rig.Buttons().Dialog()->close();
  }
};

KORVEX48_GUI_TEST(ButtonMenusTest)

}  // namespace korvex48::gui

#include "button_menus_test.moc"
