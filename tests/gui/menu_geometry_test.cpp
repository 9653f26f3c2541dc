// Where the button function menus and the device macro list LB_Name open,
// for every label of the button page in the layout of each language and for
// every count of device macros a mouse can hold: each panel lies inside the
// window and its shape, and the middle of every entry is reached by a click
// there, so no other control of the window (the navigation bar below the
// mouse picture) lies above a menu.
#include <QListWidget>
#include <QScrollBar>
#include <QtTest>

#include "core/app/app_core.h"
#include "editor_rig.h"
#include "gui/main_window.h"
#include "gui/pages/function_menu.h"
#include "gui_tests.h"
#include "stored_macros.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;
using test::EditorRigOptions;

// The editor over a mouse of `storage` holding `macros` device macros, read.
EditorRigOptions WithMacros(SimulatedStorage storage, int macros) {
  return EditorRigOptions()
      .WithStorage(storage)
      .WithDefaultImage(storage == SimulatedStorage::kFlashFlash ? test::kFlashFlashImage
                                                                 : QString())
      .WithMouse([macros](SimulatedMouse& mouse) { test::StoreMacros(mouse, macros); });
}

// The panels that the categories of Pnl_Main open.
const std::pair<const char*, const char*> kCategories[] = {
    {"Key_Standard", "Pnl_MseKey"}, {"Key_Special", "Pnl_Special"}, {"Key_Media", "Pnl_Media"},
    {"Key_WWW", "Pnl_WWW"},         {"Key_MyPC", "Pnl_MyPC"},       {"Key_Macro", "LB_Name"}};

QPoint Centre(const QWidget* w, const MainWindow& window) {
  return w->mapTo(&window, w->rect().center());
}

void PointerOn(QWidget* entry) {
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QCoreApplication::sendEvent(entry, &enter);
}

// A click at `in_w` of `w`, sent to the window's native window as the
// user's would be: the window gives it to whatever control lies on top there.
void ClickThroughWindow(MainWindow& window, const QWidget* w, QPoint in_w) {
  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, w->mapTo(&window, in_w));
}

// What is wrong with the shown panel `name`: outside the window or its
// shape, or an entry (a row of LB_Name) that a click at its middle misses.
QStringList PanelFaults(EditorRig& rig, const QString& name) {
  MainWindow& window = rig.Window();
  QWidget* panel = rig.W(name);
  if (!panel || !panel->isVisible()) return {name + QStringLiteral(" not shown")};
  QStringList faults;
  const QRect at(panel->mapTo(&window, QPoint(0, 0)), panel->size());
  const QRegion shape = window.mask().isEmpty() ? QRegion(window.rect()) : window.mask();
  for (const QPoint corner : {at.topLeft(), at.topRight(), at.bottomLeft(), at.bottomRight()})
    if (!window.rect().contains(corner) || !shape.contains(corner))
      faults << QStringLiteral("%1 at (%2,%3 %4x%5) leaves the window")
                    .arg(name)
                    .arg(at.x())
                    .arg(at.y())
                    .arg(at.width())
                    .arg(at.height());
  auto covered = [&](const QString& what, QWidget* expected, QPoint middle) {
    QWidget* top = window.childAt(middle);
    if (top != expected)
      faults << QStringLiteral("%1 lies under %2")
                    .arg(what, top ? top->objectName() : QStringLiteral("nothing"));
  };
  if (auto* menu = qobject_cast<FunctionMenu*>(panel)) {
    for (MenuEntry* entry : menu->Entries())
      if (entry->isVisibleTo(menu)) covered(entry->objectName(), entry, Centre(entry, window));
    return faults;
  }
  auto* list = qobject_cast<QListWidget*>(panel);
  // Every macro of the packed layout shows at once; longer lists scroll.
  if (list->count() <= 15 && list->verticalScrollBar()->maximum() != 0)
    faults << QStringLiteral("LB_Name scrolls its %1 rows").arg(list->count());
  for (int row = 0; row < list->count(); ++row) {
    list->scrollToItem(list->item(row));
    const QRect item = list->visualItemRect(list->item(row));
    if (!list->viewport()->rect().contains(item))
      faults << QStringLiteral("row %1 of LB_Name is cut off").arg(row);
    covered(QStringLiteral("row %1 of LB_Name").arg(row), list->viewport(),
            list->viewport()->mapTo(&window, item.center()));
  }
  list->scrollToTop();
  return faults;
}

}  // namespace

class MenuGeometryTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void everyEntryLiesInsideTheWindowOnTop_data() {
    QTest::addColumn<int>("storage");
    QTest::addColumn<int>("macros");
    for (int n = 0; n <= 15; ++n)
      QTest::addRow("%d packed", n) << static_cast<int>(SimulatedStorage::kI2C) << n;
    // The slot layout holds up to 32: they scroll.
    QTest::addRow("32 in slots") << static_cast<int>(SimulatedStorage::kFlashFlash) << 32;
  }
  void everyEntryLiesInsideTheWindowOnTop() {
    QFETCH(int, storage);
    QFETCH(int, macros);
    EditorRig rig(WithMacros(static_cast<SimulatedStorage>(storage), macros));
    QCOMPARE(static_cast<int>(rig.Core().Macros().Count()), macros);
    MainWindow& window = rig.Window();
    QStringList faults;
    for (int language = 1; language <= 3; ++language) {
      window.SwitchLanguage(language);
      for (int m = 1; m <= 12; ++m) {
        const QString where = QStringLiteral("language %1, Key%2: ").arg(language).arg(m);
        QWidget* label = rig.W(QStringLiteral("Key%1").arg(m));
        QVERIFY2(label->isVisible() && label->isEnabled(), qPrintable(where));
        ClickThroughWindow(window, label, label->rect().center());
        QStringList found = PanelFaults(rig, QStringLiteral("Pnl_Main"));
        for (const auto& [category, panel] : kCategories) {
          PointerOn(rig.W(QLatin1String(category)));
          if (macros == 0 && QLatin1String(panel) == QLatin1String("LB_Name")) {
            if (rig.W(QLatin1String(panel))->isVisible()) found << QStringLiteral("empty LB_Name");
            continue;
          }
          found << PanelFaults(rig, QLatin1String(panel));
          if (QLatin1String(category) == QLatin1String("Key_Special")) {
            PointerOn(rig.W(QStringLiteral("Key_Fire")));
            found << PanelFaults(rig, QStringLiteral("Pnl_FireKey"));
          }
        }
        for (const QString& fault : found) faults << where + fault;
        rig.Click(QStringLiteral("Img_P1"));  // ClearAP
      }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
  }

  // The user's clicks at entries that lie over the navigation bar reach the
  // entries: the button gets the function, and no page button is pressed.
  void clicksOverTheNavigationBarPickTheEntry_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("macros");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("entry");  // empty: the last row of LB_Name
    QTest::addColumn<QString>("shown");
    QTest::newRow("Key8, 6 macros") << 8 << 6 << "Key_Macro"
                                    << ""
                                    << "Macro 6";
    QTest::newRow("Key4, 15 macros") << 4 << 15 << "Key_Macro"
                                     << ""
                                     << "Macro 15";
    QTest::newRow("Key9, 15 macros") << 9 << 15 << "Key_Macro"
                                     << ""
                                     << "Macro 15";
    QTest::newRow("Key4, My PC") << 4 << 9 << "Key_MyPC"
                                 << "Key_Desktop"
                                 << "Desktop";
    QTest::newRow("Key9, Media") << 9 << 9 << "Key_Media"
                                 << "Key_Mute"
                                 << "Mute";
  }
  void clicksOverTheNavigationBarPickTheEntry() {
    QFETCH(int, button);
    QFETCH(int, macros);
    QFETCH(QString, category);
    QFETCH(QString, entry);
    QFETCH(QString, shown);
    EditorRig rig(WithMacros(SimulatedStorage::kI2C, macros));
    MainWindow& window = rig.Window();
    QWidget* label = rig.W(QStringLiteral("Key%1").arg(button));
    ClickThroughWindow(window, label, label->rect().center());
    PointerOn(rig.W(category));
    if (entry.isEmpty()) {
      auto* list = rig.Get<QListWidget>(QStringLiteral("LB_Name"));
      QVERIFY(list->isVisible());
      ClickThroughWindow(window, list->viewport(),
                         list->visualItemRect(list->item(list->count() - 1)).center());
    } else {
      QWidget* target = rig.W(entry);
      PointerOn(target);
      ClickThroughWindow(window, target, target->rect().center());
    }
    QCOMPARE(rig.Text(QStringLiteral("Key%1").arg(button)), shown);
    QCOMPARE(window.CurrentPage(), PageId::kMain);
    QCOMPARE(rig.Sent().size(), 1);
    QVERIFY2(rig.Sent().front().startsWith(QStringLiteral("40 05 01 ")),
             qPrintable(rig.Sent().front()));
    QVERIFY(!rig.W(QStringLiteral("Pnl_Main"))->isVisible());
  }
};

KORVEX48_GUI_TEST(MenuGeometryTest)

}  // namespace korvex48::gui

#include "menu_geometry_test.moc"
