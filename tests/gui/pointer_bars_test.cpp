// The Advanced page's pointer bars in the editor: the desktop's values shown
// once the window is on the screen, clicks that reach the settings file and
// the desktops, the tool tips, the refresh after a whole-image read, and the
// editor's own window taking the double-click time and wheel lines.
#include "gui/pages/pointer_bars.h"

#include <QFile>
#include <QGuiApplication>
#include <QStyleHints>
#include <QtTest>

#include "core/pointer/desktop_pointer.h"
#include "editor_rig.h"
#include "gui/main_window.h"
#include "gui/pages/advanced_page.h"
#include "gui/window_pointer.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;
using test::EditorRigOptions;

// Holds the pointer speed and double-click time, as GNOME's settings do.
class FakeGnome final : public DesktopPointer {
 public:
  std::string Name() const override { return "fake GNOME"; }
  bool Holds(PointerSetting s) const override { return s != PointerSetting::kWheelLines; }
  void Read(PointerValues& values) override {
    values.speed = 10;
    values.double_click = 400;
  }
  std::string Apply(const PointerValues& values) override {
    applied.push_back(values);
    return {};
  }
  std::vector<PointerValues> applied;
};

// Segments lit, as "1111110000".
QString Lit(EditorRig& rig, const QString& family) {
  QString lit;
  for (int k = 1; k <= 10; ++k)
    lit += rig.Picture(QStringLiteral("Img_%1%2").arg(family).arg(k)) == QLatin1String("Bar1_E")
               ? QLatin1Char('1')
               : QLatin1Char('0');
  return lit;
}

QString Stored(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class PointerBarsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // The desktop's values are shown at their nearest step; a click applies
  // the one setting clicked; only what no desktop keeps goes to the file.
  void desktopValuesAfterExposeThenClicks() {
    FakeGnome gnome;
    WindowPointer window;
    QStyleHints* hints = QGuiApplication::styleHints();
    const int lines = hints->wheelScrollLines();
    EditorRig rig(EditorRigOptions().WithPointerDesktops({&gnome, &window}));
    QFile stale(rig.PointerStorePath());
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("[Mouse]\nMouseSensitivity=4\nDoubleClickSpeed=410\n");  // an earlier run's
    stale.close();
    rig.Window().RequestPage(PageId::kAdv);
    rig.Window().Advanced()->Pointer()->Refresh();  // as after a whole-image read
    QTRY_COMPARE(Lit(rig, QStringLiteral("Spd")), QStringLiteral("1111110000"));
    QCOMPARE(Lit(rig, QStringLiteral("DbSpd")), QStringLiteral("1111111100"));  // 400 ms ~ 410
    const QString wheel_tip = rig.W(QStringLiteral("Img_ScrSpd1"))->toolTip();
    QVERIFY2(wheel_tip.contains(QStringLiteral("fake GNOME has no wheel scroll lines setting")),
             qPrintable(wheel_tip));

    rig.Click(QStringLiteral("Img_Spd7"));
    QCOMPARE(Lit(rig, QStringLiteral("Spd")), QStringLiteral("1111111000"));
    QCOMPARE(gnome.applied.size(), std::size_t{1});
    QCOMPARE(gnome.applied[0].speed, std::optional<int>(12));
    QCOMPARE(gnome.applied[0].double_click, std::optional<int>());  // not written back
    const QString speed_tip = rig.W(QStringLiteral("Img_Spd1"))->toolTip();
    QVERIFY2(speed_tip.startsWith(QStringLiteral(
                 "Pointer speed: step 7 of 10 (desktop value 12)\nApplied to: fake GNOME")),
             qPrintable(speed_tip));

    // The number over a segment takes the click for it. Only the editor's
    // window holds the wheel lines, and forgets them: the file keeps them.
    rig.Click(QStringLiteral("lbl_ScrSpd10"));
    QCOMPARE(Lit(rig, QStringLiteral("ScrSpd")), QStringLiteral("1111111111"));
    QCOMPARE(gnome.applied.size(), std::size_t{1});
    QCOMPARE(hints->wheelScrollLines(), 10);
    QCOMPARE(Stored(rig.PointerStorePath()),
             QStringLiteral("[Mouse]\nMouseSensitivity=4\nDoubleClickSpeed=410\n\n"
                            "[Desktop]\nWheelScrollLines=10\n"));
    const QString stored_tip = rig.W(QStringLiteral("Img_ScrSpd1"))->toolTip();
    QVERIFY2(stored_tip.contains(QStringLiteral("Stored in ") + rig.PointerStorePath()),
             qPrintable(stored_tip));
    hints->setWheelScrollLines(lines);
  }

  void wholeImageReadRefreshesFromTheFile() {
    EditorRig rig(EditorRigOptions().Unconnected());
    QFile file(rig.PointerStorePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "[Mouse]\nMouseSensitivity=4\nDoubleClickSpeed=fast\n[Desktop]\nWheelScrollLines=2\n");
    file.close();
    QTRY_COMPARE(Lit(rig, QStringLiteral("Spd")), QStringLiteral("1110000000"));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write("[Mouse]\nMouseSensitivity=18\n");
    file.close();
    QCOMPARE(rig.Poll(), PollOutcome::kOpened);  // reads the whole image
    QCOMPARE(Lit(rig, QStringLiteral("Spd")), QStringLiteral("1111111111"));
    QCOMPARE(Lit(rig, QStringLiteral("ScrSpd")), QStringLiteral("1100000000"));  // missing: kept
  }

  void theEditorsWindowTakesDoubleClickAndWheel() {
    QStyleHints* hints = QGuiApplication::styleHints();
    const int interval = hints->mouseDoubleClickInterval();
    const int lines = hints->wheelScrollLines();
    WindowPointer window;
    EditorRig rig(EditorRigOptions().WithPointerDesktops({&window}));
    rig.Window().RequestPage(PageId::kAdv);
    rig.Click(QStringLiteral("Img_DbSpd10"));
    rig.Click(QStringLiteral("Img_ScrSpd7"));
    QCOMPARE(hints->mouseDoubleClickInterval(), 270);
    QCOMPARE(hints->wheelScrollLines(), 7);
    hints->setMouseDoubleClickInterval(interval);
    hints->setWheelScrollLines(lines);
  }
};

}  // namespace

KORVEX48_GUI_TEST(PointerBarsTest)

}  // namespace korvex48::gui

#include "pointer_bars_test.moc"
