// Fast typing and clicking on the real widgets while earlier live writes wait
// their 100 ms: the clock delivers the next key or click inside those waits.
// Afterwards the simulated mouse holds the page's image, the fields show what
// was typed (also when the mouse is read again), and Save Profile writes the
// final values. A write the mouse refuses brings the mouse's value back with
// a short notice.
#include <QFile>
#include <QLineEdit>
#include <QtTest>
#include <algorithm>
#include <functional>

#include "core/editing/page_editor.h"
#include "core/image/config_image.h"
#include "editor_rig.h"
#include "gui/main_window.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;
using test::EditorRigOptions;

constexpr int kRightKeyTag = 901;

// A step time a step gives (the 60 of the default image is none), and Fire Key2 on
// buttons 2, 6 and 8 of profile 1, so that each change of its fields sends
// four reports: 400 ms.
void PrepareMouse(SimulatedMouse& mouse) {
  mouse.Parameters()[52] = mouse.Parameters()[53] = 50;
  for (std::ptrdiff_t at : {20, 28})
    std::copy_n(mouse.Profiles().begin() + 4, 4, mouse.Profiles().begin() + at);
}

// The user's actions, `ms` after the start of the sequence.
struct Player {
  EditorRig& rig;
  std::uint64_t start_us;

  void At(int ms, std::function<void()> action) {
    rig.clock.At(start_us + static_cast<std::uint64_t>(ms) * 1000, std::move(action));
  }
  // Selects the field's text, then types `keys` one every `ms_per_key`.
  void Type(const QString& field, const QString& keys, int ms_per_key) {
    auto* edit = rig.Get<QLineEdit>(field);
    QVERIFY(edit);
    edit->setFocus();
    edit->selectAll();
    for (int i = 0; i < keys.size(); ++i) {
      const char key = keys.at(i).toLatin1();
      At(i * ms_per_key, [edit, key] { QTest::keyClick(edit, key); });
    }
  }
  void ClickAt(int ms, const QString& name) {
    At(ms, [this, name] { rig.Click(name); });
  }
};

QByteArray Bytes(std::span<const std::uint8_t> bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

struct GuiRace {
  const char* name;
  std::function<void(Player&)> play;
  std::function<void(EditorRig&)> expect;
};

const std::vector<GuiRace>& Races() {
  static const std::vector<GuiRace> races = {
      {"fire count 12 at 120 ms per key",
       [](Player& p) { p.Type(QStringLiteral("Edt_Repeat2"), QStringLiteral("12"), 120); },
       [](EditorRig& rig) {
         QCOMPARE(rig.Text(QStringLiteral("Edt_Repeat2")), QStringLiteral("12"));
         QCOMPARE(rig.Editor().State().fire[1].repeatCount, 12);
       }},
      {"fire delay 2000 at 250 ms per key",
       [](Player& p) { p.Type(QStringLiteral("Edt_DelayTime2"), QStringLiteral("2000"), 250); },
       [](EditorRig& rig) {
         QCOMPARE(rig.Text(QStringLiteral("Edt_DelayTime2")), QStringLiteral("2000"));
         QCOMPARE(rig.Editor().State().fire[1].delay, 2000);
       }},
      {"DPI step then another level's mark 40 ms later",
       [](Player& p) {
         p.ClickAt(0, QStringLiteral("Img_DPI3_5"));
         p.ClickAt(40, QStringLiteral("Img_DPI2"));
       },
       [](EditorRig& rig) {
         QCOMPARE(rig.Picture(QStringLiteral("Img_DPI2")), QStringLiteral("CbS_E"));
         QCOMPARE(rig.Text(QStringLiteral("lbl_DPI3Value")), QStringLiteral("1000"));
         QCOMPARE(rig.Mouse().Parameters()[38] & 0x0F, 1);
       }},
      {"button function while a DPI write waits",
       [](Player& p) {
         p.ClickAt(0, QStringLiteral("Img_DPI1_12"));
         // What the button menu's entry calls.
         p.At(50, [&p] { p.rig.Editor().AssignMenuItem(1, 3, kRightKeyTag); });
         p.ClickAt(60, QStringLiteral("Img_DPI1_2"));
       },
       [](EditorRig& rig) {
         QCOMPARE(rig.Editor().State().labels[2], std::string("Right Key"));
         QCOMPARE(rig.Text(QStringLiteral("lbl_DPI1Value")), QStringLiteral("400"));
       }},
  };
  return races;
}

}  // namespace

class LiveWritesTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void fastEditsEndWithTheMouseHoldingThePage_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < Races().size(); ++i)
      QTest::newRow(Races()[i].name) << static_cast<int>(i);
  }

  void fastEditsEndWithTheMouseHoldingThePage() {
    QFETCH(int, index);
    const GuiRace& race = Races()[static_cast<std::size_t>(index)];
    EditorRig rig(EditorRigOptions().WithMouse(PrepareMouse));
    QVERIFY(rig.App().MouseShown());
    rig.Window().RequestPage(PageId::kAdv);
    Player player{rig, rig.clock.NowMicroseconds() + 1000};
    race.play(player);
    rig.clock.RunAll();

    QCOMPARE(Bytes(rig.Mouse().Parameters()), Bytes(rig.Core().Page().parameters));
    QCOMPARE(Bytes(rig.Mouse().Profiles()), Bytes(rig.Core().Page().profiles));
    race.expect(rig);

    // Save Profile writes what the mouse holds.
    rig.dialogs.save_answers.push_back(rig.dir.filePath(QStringLiteral("race")));
    rig.App().SaveProfile();
    QFile file(rig.dir.filePath(QStringLiteral("race.bin")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QVERIFY(saved.size() >= static_cast<qsizetype>(kImageHeadSize));
    QCOMPARE(saved.mid(1, kParameterChecksumOffset - 1),
             Bytes(rig.Mouse().Parameters()).mid(1, kParameterChecksumOffset - 1));
    QCOMPARE(saved.mid(kImageProfileOffset, kProfileChecksumOffset),
             Bytes(rig.Mouse().Profiles()).left(kProfileChecksumOffset));

    // Read again, the mouse shows the same.
    rig.Images().ReadConfiguration();
    race.expect(rig);
  }

  void refusedWriteShowsTheMousesValueWithANotice() {
    EditorRig rig;
    rig.Window().RequestPage(PageId::kBreath);
    auto* notice = rig.Window().findChild<QWidget*>(QStringLiteral("lbl_RefusalNotice"));
    QVERIFY(notice);
    QVERIFY(!notice->isVisible());
    const QByteArray before = Bytes(rig.Core().Page().parameters);
    const int step_before = rig.Editor().State().settings.lighting.fall_time / 5;

    rig.Mouse().Faults().refuse_command_code = 0x05;
    rig.Click(QStringLiteral("Img_Fall%1").arg(step_before == 9 ? 2 : 9));
    QVERIFY(notice->isVisible());
    QVERIFY(rig.dialogs.messages.isEmpty());  // nothing to close
    QCOMPARE(rig.Editor().State().settings.lighting.fall_time / 5, step_before);
    QCOMPARE(Bytes(rig.Core().Page().parameters), before);
    for (int k = 1; k <= 10; ++k) {
      QCOMPARE(rig.Picture(QStringLiteral("Img_Fall%1").arg(k)),
               k <= step_before ? QStringLiteral("Bar1_E") : QStringLiteral("Bar1_D"));
    }

    // The mouse takes the next click again.
    rig.Mouse().Faults().refuse_command_code = -1;
    rig.Click(QStringLiteral("Img_Fall2"));
    QCOMPARE(rig.Editor().State().settings.lighting.fall_time / 5, 2);
    QCOMPARE(rig.Mouse().Parameters()[53], std::uint8_t{10});
  }
};

KORVEX48_GUI_TEST(LiveWritesTest)

}  // namespace korvex48::gui

#include "live_writes_test.moc"
