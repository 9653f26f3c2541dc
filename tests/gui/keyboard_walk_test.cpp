// The editor by keyboard alone and through a screen reader's eyes: where the
// focus goes after each dialog, menu, pop-up and page change; the Macro
// page's commands from its lists' keys; Tab order by the page's columns; and
// the names, roles, states and values QAccessible hands a screen reader.
#include <QAccessible>
#include <QFileInfo>
#include <QKeySequence>
#include <QListWidget>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "core/buttons/function_menus.h"
#include "editor_rig.h"
#include "gui/key_combination_dialog.h"
#include "gui/main_window.h"
#include "gui/message_panel.h"
#include "gui/page_group.h"
#include "gui/pages/advanced_page.h"
#include "gui/pages/button_commands.h"
#include "gui/pages/button_menus.h"
#include "gui/pages/button_page.h"
#include "gui/pages/lighting_page.h"
#include "gui/pages/macro_event_list.h"
#include "gui/pages/macro_library_list.h"
#include "gui/pages/macro_page.h"
#include "gui/pages/macro_recorder_panel.h"
#include "gui/pages/page_commands.h"
#include "gui/record_input.h"
#include "gui/refusal_notice.h"
#include "gui/step_bar.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;

QWidget* Focused() { return QApplication::focusWidget(); }

QString FocusName() {
  QWidget* w = Focused();
  return w ? w->objectName() : QStringLiteral("<none>");
}

// A key as the user presses it: to the focused control.
void Press(EditorRig& rig, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QWidget* to = Focused() ? Focused() : &rig.Window();
  QTest::keyClick(to, Qt::Key(key), mods);
}

bool Activate(EditorRig& rig) {
  rig.Window().activateWindow();
  return QTest::qWaitForWindowActive(&rig.Window());
}

void FocusOn(EditorRig& rig, const QString& name) {
  QWidget* w = rig.W(name);
  QVERIFY2(w && w->isVisible(), qPrintable(name));
  w->setFocus(Qt::TabFocusReason);
  QTRY_VERIFY2(w->hasFocus(), qPrintable(name));
}

bool IsWindowCommand(const QWidget* w) {
  const QString name = w ? w->objectName() : QString();
  return name.startsWith(QLatin1String("Btn_Reset_")) ||
         name.startsWith(QLatin1String("Btn_Exit_"));
}

// Keys and buttons as a test script sends them, as the desktop's input.
class ScriptedInput final : public RecordInput {
 public:
  bool Start() override { return running = true; }
  void Stop() override { running = false; }
  bool Global() const override { return true; }
  void Key(int scan, bool down, quint32 t) { Q_EMIT key(scan, down, t); }
  bool running = false;
};

constexpr int kScanA = 30;
constexpr int kScanB = 48;
constexpr int kScanSpace = 57;

QStringList EventLines(EditorRig& rig) {
  QStringList lines;
  auto* list = rig.Get<QListWidget>(QStringLiteral("LB_macro"));
  for (int i = 0; i < list->count(); ++i)
    lines.append(list->item(i)->data(kMacroLineRole).toString());
  return lines;
}

// The controls a screen reader can reach on the page on show: shown,
// enabled, reached with Tab or focusable for the reader.
QList<QWidget*> ReachableControls(QWidget& window) {
  QList<QWidget*> found;
  for (QWidget* w : window.findChildren<QWidget*>()) {
    if (!w->isVisible() || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus)) continue;
    if (w->window() != &window) continue;
    found.append(w);
  }
  return found;
}

// A user at the keyboard: each key goes to the focused control, and is
// written down as it was pressed, for the record.
struct KeyScript {
  EditorRig& rig;
  QStringList log;

  static QString Name(int key, Qt::KeyboardModifiers mods) {
    return QKeySequence(QKeyCombination(mods, Qt::Key(key))).toString();
  }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, int times = 1) {
    for (int i = 0; i < times; ++i) Press(rig, key, mods);
    log << (times > 1 ? QStringLiteral("%1 x%2").arg(Name(key, mods)).arg(times) : Name(key, mods));
  }
  // Tab (Shift+Tab with `back`) until `name` has the focus.
  bool TabTo(const QString& name, bool back = false) {
    int n = 0;
    for (; n < 400 && FocusName() != name; ++n)
      Press(rig, Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
    if (FocusName() != name) return false;
    if (n > 0)
      log << QStringLiteral("%1 x%2 (%3)")
                 .arg(back ? QStringLiteral("Shift+Tab") : QStringLiteral("Tab"))
                 .arg(n)
                 .arg(name);
    return true;
  }
  void Type(const QString& text) {
    QTest::keyClicks(Focused(), text);
    log << QStringLiteral("type \"%1\"").arg(text);
  }
  // A key by its place on the keyboard (evdev code), as the window system
  // passes it: the key-combination field takes keys by their place.
  void PlaceKey(int evdev, const QString& label) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent key(type, Qt::Key_A, Qt::NoModifier, quint32(evdev + 8), 0, 0, label);
      QCoreApplication::sendEvent(Focused(), &key);
    }
    log << label.toUpper();
  }
  QString Take() {
    const QString line = log.join(QStringLiteral(", "));
    log.clear();
    return line;
  }
};

}  // namespace

class KeyboardWalkTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // After each dialog, menu, pop-up and page change the focus is on the
  // control that opened it, or on the new page's first control; never on
  // Reset or Exit.
  void focusComesBack() {
    struct Case {
      const char* what;
      PageId page;
      const char* start;                      // focused before
      std::function<void(EditorRig&)> steps;  // what the user does
      const char* expected;                   // nullptr: the page's first control
    };
    const Case cases[] = {
        {"function menu, Escape", PageId::kMain, "Key2",
         [](EditorRig& rig) {
           Press(rig, Qt::Key_Return);
           QVERIFY(rig.W(QStringLiteral("Pnl_Main"))->isVisible());
           Press(rig, Qt::Key_Escape);
         },
         "Key2"},
        {"key-combination dialog, Escape from a box", PageId::kMain, "Key2",
         [](EditorRig& rig) {
           for (int key : {Qt::Key_Return, Qt::Key_Up, Qt::Key_Up, Qt::Key_Return}) Press(rig, key);
           QVERIFY(rig.App().Commands().Buttons().Dialog());
           QTRY_COMPARE(FocusName(), QStringLiteral("Edt_Assembly"));
           Press(rig, Qt::Key_Tab, Qt::ControlModifier);
           QVERIFY2(FocusName().startsWith(QLatin1String("CB_")), qPrintable(FocusName()));
           Press(rig, Qt::Key_Escape);
         },
         "Key2"},
        {"key-combination dialog, Confirm", PageId::kMain, "Key3",
         [](EditorRig& rig) {
           for (int key : {Qt::Key_Return, Qt::Key_Up, Qt::Key_Up, Qt::Key_Return}) Press(rig, key);
           KeyCombinationDialog* dialog = rig.App().Commands().Buttons().Dialog();
           QVERIFY(dialog);
           dialog->KeyDown(30, Qt::NoModifier);  // A
           auto* confirm = dialog->findChild<QWidget*>(QStringLiteral("IB_Confirm"));
           confirm->setFocus(Qt::TabFocusReason);
           Press(rig, Qt::Key_Space);
         },
         "Key3"},
        {"macro name dialog from Insert, Escape", PageId::kMacro, "LB_PCMacroName",
         [](EditorRig& rig) {
           Press(rig, Qt::Key_Insert);
           QVERIFY(rig.Window().Macros()->LibraryList().NameDialog());
           QTRY_COMPARE(FocusName(), QStringLiteral("Edt_MacroName"));
           Press(rig, Qt::Key_Escape);
         },
         "LB_PCMacroName"},
        {"library commands from the Menu key, Escape", PageId::kMacro, "LB_PCMacroName",
         [](EditorRig& rig) {
           Press(rig, Qt::Key_Menu);
           QCOMPARE(FocusName(), QStringLiteral("Pnl_PCMacro"));
           Press(rig, Qt::Key_Escape);
         },
         "LB_PCMacroName"},
        {"page change by Space", PageId::kMain, "Btn_Adv_1",
         [](EditorRig& rig) { Press(rig, Qt::Key_Space); }, nullptr},
        {"page change by a click", PageId::kMain, "Key2",
         [](EditorRig& rig) { rig.Click(QStringLiteral("Btn_Breath_1")); }, nullptr},
        {"page change back by Return", PageId::kAdv, "Btn_Main_2",
         [](EditorRig& rig) { Press(rig, Qt::Key_Return); }, nullptr},
    };
    for (const Case& c : cases) {
      EditorRig rig;
      QVERIFY(Activate(rig));
      rig.Window().RequestPage(c.page);
      if (c.page == PageId::kMacro) rig.ClickRow(QStringLiteral("LB_PCMacroName"), 0);
      FocusOn(rig, QLatin1String(c.start));
      c.steps(rig);
      if (QTest::currentTestFailed()) QFAIL(c.what);
      QWidget* now = Focused();
      QVERIFY2(now && now->isVisible(), c.what);
      QVERIFY2(!IsWindowCommand(now), c.what);
      if (c.expected) {
        QVERIFY2(FocusName() == QLatin1String(c.expected),
                 qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(c.what), FocusName())));
      } else {
        // The first control of the page now on show, not of its navigation bar.
        QWidget* page = rig.Window().Group(GroupOf(rig.Window().CurrentPage()))->Page();
        QVERIFY2(page->isAncestorOf(now),
                 qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(c.what), FocusName())));
      }
    }
  }

  // Reset asks first, No by default; only Yes sends anything.
  void resetAsksFirst() {
    EditorRig rig;
    QVERIFY(Activate(rig));
    FocusOn(rig, QStringLiteral("Btn_Reset_1"));
    rig.ClearSent();
    Press(rig, Qt::Key_Space);  // no answer queued: No
    QCOMPARE(rig.dialogs.irreversible.size(), 1);
    QVERIFY(rig.dialogs.irreversible[0].contains(QStringLiteral("macro")));
    QVERIFY(rig.Sent().isEmpty());
    rig.dialogs.confirm_answers = {true};
    Press(rig, Qt::Key_Space);
    QVERIFY(!rig.Sent().isEmpty());
  }

  // The skinned messages: drawn in the window, the default answer focused
  // (No for what cannot be undone), a long text scrolling inside a card no
  // taller than the window, the focus back where it was afterwards.
  void messagesInTheWindow() {
    struct Case {
      const char* what;
      MessagePanel::Kind kind;
      int key;
      bool expected;
    };
    const Case cases[] = {
        {"message, Return", MessagePanel::Kind::kMessage, Qt::Key_Return, true},
        {"question, Return is OK", MessagePanel::Kind::kQuestion, Qt::Key_Return, true},
        {"question, Escape is Cancel", MessagePanel::Kind::kQuestion, Qt::Key_Escape, false},
        {"irreversible, Return is No", MessagePanel::Kind::kRiskyQuestion, Qt::Key_Return, false},
        {"irreversible, Right then Return is Yes", MessagePanel::Kind::kRiskyQuestion,
         Qt::Key_Right, true},
    };
    QString long_text;
    for (int i = 0; i < 80; ++i)
      long_text += QStringLiteral("Changed on the mouse: line %1\n").arg(i);
    for (const Case& c : cases) {
      EditorRig rig;
      QVERIFY(Activate(rig));
      FocusOn(rig, QStringLiteral("Key4"));
      // Checked inside the panel's wait; the keys are sent whatever the
      // checks found, so that the wait always ends.
      QStringList problems;
      bool ran = false;
      QTimer::singleShot(0, [&] {
        ran = true;
        auto* card = rig.Window().findChild<QWidget*>(QStringLiteral("Dlg_Message"));
        if (!card || !card->isVisible()) problems << QStringLiteral("no card");
        if (card && card->height() > rig.Window().height()) problems << QStringLiteral("too tall");
        QAccessibleInterface* access = card ? QAccessible::queryAccessibleInterface(card) : nullptr;
        if (!access || access->role() != QAccessible::AlertMessage)
          problems << QStringLiteral("not an alert");
        auto* scroll = card ? card->findChild<QScrollArea*>() : nullptr;
        if (!scroll || scroll->verticalScrollBar()->maximum() == 0)
          problems << QStringLiteral("does not scroll");
        const QString default_button = c.kind == MessagePanel::Kind::kRiskyQuestion
                                           ? QStringLiteral("IB_Cancel")
                                           : QStringLiteral("IB_Confirm");
        if (FocusName() != default_button) problems << QStringLiteral("default ") + FocusName();
        // Tab goes round the card only.
        for (int i = 0; i < 4 && Focused(); ++i) {
          QTest::keyClick(Focused(), Qt::Key_Tab);
          if (!card || !card->isAncestorOf(Focused())) problems << QStringLiteral("Tab left");
        }
        for (int i = 0; i < 6 && Focused() && FocusName() != default_button; ++i)
          QTest::keyClick(Focused(), Qt::Key_Tab);
        QWidget* to = Focused() ? Focused() : card;
        QTest::keyClick(to, Qt::Key(c.key));
        if (c.key == Qt::Key_Right && Focused()) QTest::keyClick(Focused(), Qt::Key_Return);
      });
      const bool answer = MessagePanel::Ask(&rig.Window(), c.kind, {}, long_text);
      QVERIFY2(ran, c.what);
      QVERIFY2(problems.isEmpty(), qPrintable(QLatin1String(c.what) + QStringLiteral(": ") +
                                              problems.join(QStringLiteral(", "))));
      QVERIFY2(answer == c.expected, c.what);
      QVERIFY2(FocusName() == QLatin1String("Key4"), c.what);
      QTRY_VERIFY(!rig.Window().findChild<QWidget*>(QStringLiteral("Dlg_Message")));
    }
  }

  // The Macro page's commands from the keyboard, at the focused row.
  void listCommandsByKeys() {
    struct Case {
      const char* what;
      const char* list;
      int key;
      Qt::KeyboardModifiers mods;
      std::function<bool(EditorRig&, int rows_before)> done;
    };
    auto popup_focused = [](const char* name) {
      return [name](EditorRig& rig, int) {
        QWidget* popup = rig.W(QLatin1String(name));
        return popup && popup->isVisible() && popup->hasFocus();
      };
    };
    const Case cases[] = {
        {"Menu key on a library row",
         "LB_PCMacroName",
         Qt::Key_Menu,
         {},
         popup_focused("Pnl_PCMacro")},
        {"Shift+F10 on a library row", "LB_PCMacroName", Qt::Key_F10, Qt::ShiftModifier,
         popup_focused("Pnl_PCMacro")},
        {"Menu key on an event", "LB_macro", Qt::Key_Menu, {}, popup_focused("Pnl_DevContent")},
        {"F2 renames a library macro",
         "LB_PCMacroName",
         Qt::Key_F2,
         {},
         [](EditorRig& rig, int) {
           return rig.Window().Macros()->LibraryList().NameDialog() != nullptr;
         }},
        {"Delete deletes a library macro",
         "LB_PCMacroName",
         Qt::Key_Delete,
         {},
         [](EditorRig& rig, int before) {
           return rig.Rows(QStringLiteral("LB_PCMacroName")).size() == before - 1;
         }},
        {"Delete deletes an event",
         "LB_macro",
         Qt::Key_Delete,
         {},
         [](EditorRig& rig, int before) {
           return rig.Rows(QStringLiteral("LB_macro")).size() < before;
         }},
        {"Insert opens the insert panel",
         "LB_macro",
         Qt::Key_Insert,
         {},
         [](EditorRig& rig, int) { return rig.Window().Macros()->InsertMode(); }},
    };
    for (const Case& c : cases) {
      EditorRig rig;
      QVERIFY(Activate(rig));
      rig.Window().RequestPage(PageId::kMacro);
      rig.ClickRow(QStringLiteral("LB_PCMacroName"), 0);
      auto* list = rig.Get<QListWidget>(QLatin1String(c.list));
      QVERIFY2(list->count() > 1, c.what);
      list->setCurrentRow(0);
      FocusOn(rig, QLatin1String(c.list));
      const int before = list->count();
      Press(rig, c.key, c.mods);
      QVERIFY2(c.done(rig, before), c.what);
    }
  }

  // The key that stops a recording is not recorded, though the desktop's
  // input saw it before the window did.
  void stopKeyIsNotRecorded() {
    EditorRig rig;
    QVERIFY(Activate(rig));
    rig.Window().RequestPage(PageId::kMacro);
    auto input = std::make_unique<ScriptedInput>();
    ScriptedInput* keys = input.get();
    rig.Window().Macros()->Recorder().SetInput(std::move(input));
    rig.ClickRow(QStringLiteral("LB_PCMacroName"), 0);
    FocusOn(rig, QStringLiteral("Btn_Start"));
    keys->Key(kScanSpace, true, 900);  // the Space that starts it, seen first
    Press(rig, Qt::Key_Space);
    keys->Key(kScanSpace, false, 950);
    QVERIFY(keys->running);
    keys->Key(kScanA, true, 1000);
    keys->Key(kScanA, false, 1100);
    keys->Key(kScanB, true, 1200);
    keys->Key(kScanB, false, 1300);
    keys->Key(kScanSpace, true, 7614);
    Press(rig, Qt::Key_Space);
    QVERIFY(!keys->running);
    QCOMPARE(EventLines(rig), QStringList({QStringLiteral("1 A CODE:8204"), QStringLiteral("0 100"),
                                           QStringLiteral("2 A CODE:0204"), QStringLiteral("0 100"),
                                           QStringLiteral("1 B CODE:8205"), QStringLiteral("0 100"),
                                           QStringLiteral("2 B CODE:0205")}));
  }

  // Advanced: the whole DPI column first (per level colour, mark, caption,
  // bar), then the report rate, the fire keys and the pointer bars.
  void advancedTabFollowsColumns() {
    EditorRig rig;
    QVERIFY(Activate(rig));
    rig.Window().RequestPage(PageId::kAdv);
    QStringList expected;
    for (int d = 1; d <= 8; ++d)
      for (const QString& name : {QStringLiteral("lbl_DPI%1Col"), QStringLiteral("Img_DPI%1"),
                                  QStringLiteral("lbl_DPI%1"), QStringLiteral("Bar_DPI%1")})
        expected << name.arg(d);
    expected << QStringLiteral("Bar_AIMDPI");
    for (int r = 1; r <= 4; ++r) expected << QStringLiteral("lbl_Rep%1").arg(r);
    for (int f = 1; f <= 3; ++f)
      expected << QStringLiteral("Edt_Repeat%1").arg(f) << QStringLiteral("Edt_DelayTime%1").arg(f)
               << QStringLiteral("lbl_Fire%1Continue").arg(f);
    expected << QStringLiteral("Bar_Spd") << QStringLiteral("Bar_DbSpd")
             << QStringLiteral("Bar_ScrSpd");
    QWidget* page = rig.Window().Advanced();
    QVERIFY(rig.Window().FocusPage());
    QStringList walked;
    for (int i = 0; i < 200; ++i) {
      QWidget* now = Focused();
      if (!page->isAncestorOf(now)) break;
      walked << now->objectName();
      Press(rig, Qt::Key_Tab);
    }
    // Bars of disabled levels (and pointer bars without a desktop) are not
    // reached; the rest comes in the column order.
    QStringList reachable;
    for (const QString& name : expected)
      if (walked.contains(name)) reachable << name;
    QCOMPARE(walked, reachable);
    QVERIFY(walked.size() > 30);
    // Then the navigation bar, in its rows; the web link after Save Profile;
    // Reset and Exit last.
    QStringList nav;
    for (int i = 0; i < 40 && !page->isAncestorOf(Focused()); ++i) {
      nav << FocusName();
      Press(rig, Qt::Key_Tab);
    }
    const auto at = [&](const char* name) { return nav.indexOf(QLatin1String(name)); };
    QVERIFY2(at("Btn_Main_2") >= 0 && at("Btn_Main_2") < at("Btn_Macro_2"),
             qPrintable(nav.join(u' ')));
    QVERIFY2(at("Btn_Save_2") < at("Btn_Web_2"), qPrintable(nav.join(u' ')));
    QVERIFY2(at("Btn_Web_2") < at("Btn_Reset_2") && at("Btn_Reset_2") < at("Btn_Exit_2"),
             qPrintable(nav.join(u' ')));
  }

  // What a screen reader hears: names, roles, states and values.
  void accessibilityTree_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");       // NoRole: the role Qt gives
    QTest::addColumn<QString>("name");   // "prefix*" matches the start only
    QTest::addColumn<QString>("state");  // "checked", "unchecked", "selected", "" or "popup"
    QTest::addColumn<QString>("value");  // "" for none; "=lbl_x DPI": lbl_x's text + " DPI"
    auto row = [](const char* tag, PageId page, const char* control, QAccessible::Role role,
                  const char* name, const char* state = "", const char* value = "") {
      QTest::newRow(tag) << int(page) << QString::fromLatin1(control) << int(role)
                         << QString::fromLatin1(name) << QString::fromLatin1(state)
                         << QString::fromLatin1(value);
    };
    row("button label says its button", PageId::kMain, "Key5", QAccessible::ButtonMenu,
        "Button 5: *");
    row("current page", PageId::kAdv, "Btn_Adv_2", QAccessible::PageTab, "Advanced", "selected");
    row("other page", PageId::kAdv, "Btn_Main_2", QAccessible::PageTab, "Main Control",
        "unselected");
    row("DPI colour", PageId::kAdv, "lbl_DPI3Col", QAccessible::Button, "DPI level 3 colour");
    row("lighting colour", PageId::kBreath, "lbl_Col7", QAccessible::Button, "Lighting colour 7");
    row("fire count", PageId::kAdv, "Edt_Repeat2", QAccessible::EditableText, "Fire key 2 count");
    row("fire delay", PageId::kAdv, "Edt_DelayTime3", QAccessible::EditableText,
        "Fire key 3 delay in milliseconds");
    row("continuous fire", PageId::kAdv, "lbl_Fire3Continue", QAccessible::CheckBox,
        "Fire key 3 continuous fire", "unchecked");
    row("DPI value as shown", PageId::kAdv, "Bar_DPI1", QAccessible::Slider, "DPI level 1 value",
        "", "=lbl_DPI1Value DPI");
    row("record delay chosen", PageId::kMacro, "IB_RecDelay", QAccessible::RadioButton,
        "Record Delay*", "checked");
    row("no delay not chosen", PageId::kMacro, "IB_NoDelay", QAccessible::RadioButton, "*",
        "unchecked");
    row("the mark beside it is named", PageId::kMacro, "LED_RecDelay", QAccessible::NoRole,
        "Record Delay*");
    row("refusal notice", PageId::kMain, "lbl_RefusalNotice", QAccessible::AlertMessage, "*");
    row("function menu", PageId::kMain, "Pnl_Main", QAccessible::PopupMenu, "Button functions");
    row("submenu entry", PageId::kMain, "Key_Special", QAccessible::MenuItem, "*", "popup");
  }
  void accessibilityTree() {
    QFETCH(int, page);
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, state);
    QFETCH(QString, value);
    EditorRig rig;
    rig.Window().RequestPage(static_cast<PageId>(page));
    QWidget* w = rig.W(control);
    if (!w) w = rig.Window().findChild<QWidget*>(control);  // made after the window
    QVERIFY2(w, qPrintable(control));
    if (auto* notice = qobject_cast<RefusalNotice*>(w)) notice->ShowRefusal(1);
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(w);
    QVERIFY(access);
    if (role != QAccessible::NoRole) QCOMPARE(int(access->role()), role);
    const QString heard = access->text(QAccessible::Name);
    QVERIFY2(!heard.isEmpty(), "no name");
    if (name.endsWith(u'*'))
      QVERIFY2(heard.startsWith(name.chopped(1)), qPrintable(heard));
    else
      QCOMPARE(heard, name);
    const QAccessible::State s = access->state();
    if (state == QLatin1String("checked")) QVERIFY(s.checkable && s.checked);
    if (state == QLatin1String("unchecked")) QVERIFY(s.checkable && !s.checked);
    if (state == QLatin1String("selected")) QVERIFY(s.selected);
    if (state == QLatin1String("unselected")) QVERIFY(!s.selected);
    if (state == QLatin1String("popup")) QVERIFY(s.hasPopup);
    if (value.startsWith(u'=')) {
      const QStringList parts = value.mid(1).split(u' ');
      QCOMPARE(access->text(QAccessible::Value),
               rig.Text(parts[0]) + QStringLiteral(" ") + parts[1]);
      QCOMPARE(access->valueInterface()->currentValue().toInt(), rig.Text(parts[0]).toInt());
    }
  }

  // The function menus as menus: the lit entry is the focused one, entry by
  // entry as the arrows move; the category says it opens a submenu and
  // whether it is open. Printed for the record, as a screen reader reads it.
  void menuReadEntryByEntry() {
    EditorRig rig;
    QVERIFY(Activate(rig));
    FocusOn(rig, QStringLiteral("Key2"));
    Press(rig, Qt::Key_Return);
    FunctionMenu* menu = rig.Window().Buttons()->Menus()->Main();
    QVERIFY(menu->isVisible());
    QStringList heard;
    int selectable = 0;
    for (std::size_t i = 0; i < menu->Entries().size(); ++i)
      if (menu->Selectable(static_cast<int>(i))) ++selectable;
    for (int i = 0; i < selectable; ++i) {
      Press(rig, Qt::Key_Down);
      const MenuEntry* lit = menu->Entries()[static_cast<std::size_t>(menu->Current())];
      QAccessibleInterface* access =
          QAccessible::queryAccessibleInterface(const_cast<MenuEntry*>(lit));
      QCOMPARE(int(access->role()), int(QAccessible::MenuItem));
      QVERIFY(access->state().focused);
      QVERIFY(access->state().selected);
      heard << access->text(QAccessible::Name) +
                   (access->state().hasPopup ? QStringLiteral(" (submenu)") : QString());
    }
    qInfo("Pnl_Main read out: %s", qPrintable(heard.join(QStringLiteral(" | "))));
    QCOMPARE(heard.size(), selectable);
    QVERIFY(!heard.contains(QString()));
    // Right opens the first category's submenu: expanded, its entry focused.
    Press(rig, Qt::Key_Home);
    const MenuEntry* category = menu->Entries()[static_cast<std::size_t>(menu->Current())];
    Press(rig, Qt::Key_Right);
    QAccessibleInterface* cat =
        QAccessible::queryAccessibleInterface(const_cast<MenuEntry*>(category));
    QVERIFY(cat->state().expanded);
    auto* submenu = qobject_cast<FunctionMenu*>(Focused());
    QVERIFY(submenu);
    QCOMPARE(QAccessible::queryAccessibleInterface(submenu)->text(QAccessible::Name),
             category->FunctionName());
    QStringList sub;
    for (const MenuEntry* entry : submenu->Entries())
      if (!entry->isHidden())
        sub << QAccessible::queryAccessibleInterface(const_cast<MenuEntry*>(entry))
                   ->text(QAccessible::Name);
    qInfo("%s read out: %s", qPrintable(category->FunctionName()),
          qPrintable(sub.join(QStringLiteral(" | "))));
  }

  // Every task of the editor by keys alone, from the start; the keys are
  // printed for the record.
  void everyTaskByKeysAlone() {
    EditorRig rig;
    QVERIFY(Activate(rig));
    QVERIFY(rig.Window().FocusPage());
    QCOMPARE(FocusName(), QStringLiteral("Key1"));
    KeyScript keys{rig, {}};
    auto done = [&](const char* task) { qInfo("%s: %s", task, qPrintable(keys.Take())); };

    // A function from each category of the main menu, on buttons 3..7.
    ButtonMenus* menus = rig.Window().Buttons()->Menus();
    FunctionMenu* main = menus->Main();
    int button = 3;
    for (int index = 0; index < static_cast<int>(main->Entries().size()); ++index) {
      const MenuEntry* category = main->Entries()[static_cast<std::size_t>(index)];
      if (category->EntryKind() != MenuEntry::Kind::kCategory ||
          category->Tag() == kMenuCategoryMacro || !main->Selectable(index))
        continue;
      const QString label = QStringLiteral("Key%1").arg(button++);
      QVERIFY(keys.TabTo(label));
      keys.Key(Qt::Key_Return);
      keys.Key(Qt::Key_Down, Qt::NoModifier, index + 1);
      keys.Key(Qt::Key_Right);
      auto* submenu = qobject_cast<FunctionMenu*>(Focused());
      QVERIFY(submenu);
      // Past a category inside the submenu (the fire keys), to a function.
      while (submenu->Entries()[static_cast<std::size_t>(submenu->Current())]->EntryKind() !=
             MenuEntry::Kind::kFunction)
        keys.Key(Qt::Key_Down);
      const QString function =
          submenu->Entries()[static_cast<std::size_t>(submenu->Current())]->FunctionName();
      rig.ClearSent();
      keys.Key(Qt::Key_Return);
      QCOMPARE(rig.Text(label), function);
      QVERIFY(!rig.Sent().isEmpty());
      QCOMPARE(FocusName(), label);
      done(qPrintable(QStringLiteral("%1 from %2").arg(function, category->FunctionName())));
    }

    // A key combination: Ctrl+A on button 8.
    QVERIFY(keys.TabTo(QStringLiteral("Key8")));
    keys.Key(Qt::Key_Return);
    keys.Key(Qt::Key_Up, Qt::NoModifier, 2);
    keys.Key(Qt::Key_Return);
    QTRY_COMPARE(FocusName(), QStringLiteral("Edt_Assembly"));
    keys.Key(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(FocusName(), QStringLiteral("CB_Ctrl"));
    keys.Key(Qt::Key_Space);
    QCOMPARE(FocusName(), QStringLiteral("CB_Ctrl"));  // the ticked box keeps the focus
    keys.Key(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(FocusName(), QStringLiteral("Edt_Assembly"));
    keys.PlaceKey(30, QStringLiteral("a"));
    keys.Key(Qt::Key_Tab, Qt::ControlModifier);  // in the field Tab is a key
    QVERIFY(keys.TabTo(QStringLiteral("IB_Confirm")));
    rig.ClearSent();
    keys.Key(Qt::Key_Space);
    QVERIFY(rig.Text(QStringLiteral("Key8")).contains(QStringLiteral("A")));
    QVERIFY(!rig.Sent().isEmpty());
    QCOMPARE(FocusName(), QStringLiteral("Key8"));
    done("key combination");

    // Advanced: a DPI value and the report rate.
    QVERIFY(keys.TabTo(QStringLiteral("Btn_Adv_1")));
    keys.Key(Qt::Key_Space);
    QVERIFY(keys.TabTo(QStringLiteral("Bar_DPI2")));
    rig.ClearSent();
    keys.Key(Qt::Key_Right);
    QVERIFY(!rig.Sent().isEmpty());
    done("DPI value");
    QVERIFY(keys.TabTo(QStringLiteral("lbl_Rep2")));
    rig.ClearSent();
    keys.Key(Qt::Key_Space);
    QVERIFY(!rig.Sent().isEmpty());
    done("report rate");

    // Breathing Light: the mode and a colour.
    QVERIFY(keys.TabTo(QStringLiteral("Btn_Breath_2")));
    keys.Key(Qt::Key_Space);
    QVERIFY(keys.TabTo(QStringLiteral("lbl_LED2")));
    rig.ClearSent();
    keys.Key(Qt::Key_Space);
    QVERIFY(!rig.Sent().isEmpty());
    QVERIFY(keys.TabTo(QStringLiteral("lbl_Col1")));
    rig.dialogs.colour_answers.push_back(QColor(10, 200, 30));
    rig.ClearSent();
    keys.Key(Qt::Key_Space);
    QCOMPARE(rig.dialogs.colour_requests.size(), 1);
    QVERIFY(!rig.Sent().isEmpty());
    done("lighting mode and colour");

    // Macro: New Macro, record, Add to Mouse.
    QVERIFY(keys.TabTo(QStringLiteral("Btn_Macro_3")));
    keys.Key(Qt::Key_Space);
    auto input = std::make_unique<ScriptedInput>();
    ScriptedInput* desktop = input.get();
    rig.Window().Macros()->Recorder().SetInput(std::move(input));
    QVERIFY(keys.TabTo(QStringLiteral("LB_PCMacroName")));
    const int library_rows = rig.Rows(QStringLiteral("LB_PCMacroName")).size();
    keys.Key(Qt::Key_Insert);
    QTRY_COMPARE(FocusName(), QStringLiteral("Edt_MacroName"));
    keys.Type(QStringLiteral("KEYS"));
    keys.Key(Qt::Key_Return);
    QCOMPARE(rig.Rows(QStringLiteral("LB_PCMacroName")).size(), library_rows + 1);
    QCOMPARE(FocusName(), QStringLiteral("LB_PCMacroName"));
    done("New Macro");
    QVERIFY(keys.TabTo(QStringLiteral("Btn_Start")));
    keys.Key(Qt::Key_Space);
    QVERIFY(desktop->running);
    desktop->Key(kScanA, true, 1000);
    desktop->Key(kScanA, false, 1100);
    desktop->Key(kScanSpace, true, 5000);  // the stop key, seen first by the desktop
    keys.log << QStringLiteral("type \"a\"");
    keys.Key(Qt::Key_Space);
    QVERIFY(!desktop->running);
    QCOMPARE(EventLines(rig), QStringList({QStringLiteral("1 A CODE:8204"), QStringLiteral("0 100"),
                                           QStringLiteral("2 A CODE:0204")}));
    done("record");
    QVERIFY(keys.TabTo(QStringLiteral("LB_PCMacroName"), true));
    const int device_rows = rig.Rows(QStringLiteral("LB_MacroName")).size();
    keys.Key(Qt::Key_Menu);
    QCOMPARE(FocusName(), QStringLiteral("Pnl_PCMacro"));
    keys.Key(Qt::Key_End);
    keys.Key(Qt::Key_Return);
    QCOMPARE(rig.Rows(QStringLiteral("LB_MacroName")).size(), device_rows + 1);
    done("Add to Mouse");

    // The device macro on button 9 (the Macro entry, last of the main menu).
    QVERIFY(keys.TabTo(QStringLiteral("Btn_Main_4")));
    keys.Key(Qt::Key_Space);
    QVERIFY(keys.TabTo(QStringLiteral("Key9")));
    keys.Key(Qt::Key_Return);
    keys.Key(Qt::Key_Up);
    keys.Key(Qt::Key_Right);
    QCOMPARE(FocusName(), QStringLiteral("LB_Name"));
    keys.Key(Qt::Key_End);
    rig.ClearSent();
    keys.Key(Qt::Key_Return);
    QCOMPARE(rig.Text(QStringLiteral("Key9")), QStringLiteral("KEYS"));
    QVERIFY(!rig.Sent().isEmpty());
    done("device macro on a button");

    // Delete the new library macro.
    QVERIFY(keys.TabTo(QStringLiteral("Btn_Macro_1")));
    keys.Key(Qt::Key_Space);
    QVERIFY(keys.TabTo(QStringLiteral("LB_PCMacroName")));
    keys.Key(Qt::Key_End);
    keys.Key(Qt::Key_Delete);
    QCOMPARE(rig.Rows(QStringLiteral("LB_PCMacroName")).size(), library_rows);
    done("Delete");

    // Save Profile.
    const QString file = rig.dir.filePath(QStringLiteral("profile"));
    rig.dialogs.save_answers.push_back(file);
    QVERIFY(keys.TabTo(QStringLiteral("Btn_Save_4")));
    keys.Key(Qt::Key_Space);
    QVERIFY(QFileInfo::exists(file + QStringLiteral(".bin")));
    done("Save Profile");
  }

  // Every control a user can reach on each page has a name and a role; the
  // counts are printed for the record.
  void screenReaderWalk() {
    EditorRig rig;
    QVERIFY(Activate(rig));
    for (PageId page : {PageId::kMain, PageId::kAdv, PageId::kBreath, PageId::kMacro}) {
      rig.Window().RequestPage(page);
      QCOMPARE(rig.Window().CurrentPage(), page);
      int named = 0;
      QStringList nameless;
      for (QWidget* w : ReachableControls(rig.Window())) {
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(w);
        const bool has_role = access && access->role() != QAccessible::NoRole &&
                              access->role() != QAccessible::Client;
        if (access && has_role && !access->text(QAccessible::Name).trimmed().isEmpty())
          ++named;
        else
          nameless << w->objectName();
      }
      qInfo("page %s: %d named focusable controls with a role, %lld nameless",
            qPrintable(NavNameOf(page)), named, static_cast<long long>(nameless.size()));
      QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(u' ')));
      QVERIFY(named > 10);
    }
  }
};

KORVEX48_GUI_TEST(KeyboardWalkTest)

}  // namespace korvex48::gui

#include "keyboard_walk_test.moc"
