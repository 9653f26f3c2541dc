// The button, Advanced and Breathing Light pages over a simulated mouse: what
// they show of a known image, the page commands and their rules, the clicks
// that reach the mouse, the placement maps, and re-translated button labels.
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>
#include <cstdio>
#include <functional>

#include "core/app/app_core.h"
#include "core/buttons/key_code_table.h"
#include "core/common/clock.h"
#include "core/device/command_set.h"
#include "core/device/simulated_mouse.h"
#include "core/device/transport.h"
#include "core/editing/page_editor.h"
#include "editor_rig.h"
#include "gui/control_index.h"
#include "gui/language_applier.h"
#include "gui/layout_applier.h"
#include "gui/main_window.h"
#include "gui/pages/button_page.h"
#include "gui/pages/page_commands.h"
#include "gui/scripted_dialogs.h"
#include "gui/skin.h"
#include "gui/skin_widgets.h"
#include "gui/window_app_ui.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;
using test::EditorRigOptions;

void SetCode(SimulatedMouse& mouse, int profile, int button, std::array<std::uint8_t, 4> code) {
  const std::size_t at = *KeyCodeOffset(profile, button);
  for (std::size_t i = 0; i < 4; ++i) mouse.Profiles()[at + i] = code[i];
}

// A known image: six DPI levels with level 3 active, 500 Hz, RGB lighting in
// mode LED3 with step 5, and fire, AIM and switch keys in profile 1.
void KnownImage(SimulatedMouse& mouse) {
  ParameterSection& p = mouse.Parameters();
  p[1] = 0x31;  // identity counts: Fire Key1 count 2, Fire Key2 count 4
  p[6] = static_cast<std::uint8_t>((p[6] & 0xCF) | 0x20);
  p[33] = 0;
  p[37] = 0x03;
  p[38] = 0x52;
  p[39] = 0x30;  // 200, 800
  p[40] = 0x74;  // 1000, 2000
  p[41] = 0xB9;  // 3200, 6400
  p[42] = 0xF5;  // 1200, none
  p[75] = 0x0F;  // level 1 red 15, level 2 red 0
  p[76] = 0x30;  // level 1 green 0, level 2 green 3
  p[77] = 0x08;  // level 1 blue 8
  p[52] = p[53] = 23;
  p[54] = 15;
  p[55] = 8;
  p[56] = 0;
  SetCode(mouse, 1, 1, {0x01, 0x01, 0x00, 0x00});  // Left Key
  SetCode(mouse, 1, 2, {0x06, 0x11, 0x00, 0x32});  // Fire Key1, count 2, delay 50
  SetCode(mouse, 1, 3, {0x05, 0x07, 0x00, 0x00});  // AIM Key at 2000
  SetCode(mouse, 1, 4, {0x07, 0x00, 0x00, 0x00});  // KB Switch Key
}

}  // namespace

class PagesTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void placementMaps_data() {
    QTest::addColumn<QString>("led");
    QTest::addColumn<QList<int>>("labels");  // label m placed by entry j = 1..12
    QTest::newRow("RGB") << QStringLiteral("RGB")
                         << QList<int>{1, 5, 9, 10, 11, 6, 7, 8, 12, 2, 3, 4};
    QTest::newRow("ZK") << QStringLiteral("ZK")
                        << QList<int>{1, 5, 9, 3, 7, 11, 2, 6, 10, 8, 12, 4};
  }
  void placementMaps() {
    QFETCH(QString, led);
    QFETCH(QList<int>, labels);
    EditorRig rig(EditorRigOptions().Unconnected());
    LayoutTable layout = rig.Window().Context().layout;
    ProductSettings settings = rig.Window().Context().settings;
    settings.led_type = led.toStdString();
    for (int j = 1; j <= 12; ++j) layout.key[j] = {1, 10 * j, 20 * j};
    layout.key[6].enable = 0;
    ApplyLayout(layout, settings, rig.Window().Controls());
    for (int j = 1; j <= 12; ++j) {
      const int m = labels[j - 1];
      QWidget* key = rig.W(QStringLiteral("Key%1").arg(m));
      QWidget* picture = rig.W(QStringLiteral("Img_Key%1").arg(m));
      QCOMPARE(!key->isHidden(), j != 6);
      if (j == 6) continue;
      QCOMPARE(key->pos(), QPoint(10 * j, 20 * j));
      QCOMPARE(picture->geometry(), key->geometry());
    }
  }

  void dpiStepOrientation() {
    EditorRig rig(EditorRigOptions().Unconnected());
    LayoutTable layout = rig.Window().Context().layout;
    for (int orientation : {0, 1}) {
      layout.dpi_orientation = orientation;
      layout.dpi[5].steps = {200, 300};
      layout.aim_dpi.steps = {400, 500};
      ApplyLayout(layout, rig.Window().Context().settings, rig.Window().Controls());
      for (const QString& prefix : {QStringLiteral("Img_DPI5_"), QStringLiteral("Img_AIMDPI_")}) {
        const QRect first = rig.W(prefix + QStringLiteral("1"))->geometry();
        const QRect last = rig.W(prefix + QStringLiteral("12"))->geometry();
        // Stacked upwards from the table's place, or side by side to its right.
        if (orientation == 0)
          QCOMPARE(last.topLeft(), first.topLeft() - QPoint(0, 11 * first.height()));
        else
          QCOMPARE(last.topLeft(), first.topLeft() + QPoint(11 * first.width(), 0));
      }
    }
  }

  void showsKnownImage() {
    EditorRig rig(EditorRigOptions().WithMouse(KnownImage));
    // Buttons: the names of profile 1.
    QCOMPARE(rig.Text(QStringLiteral("Key1")), QStringLiteral("Left Key"));
    QCOMPARE(rig.Text(QStringLiteral("Key2")), QStringLiteral("Fire Key1"));
    QCOMPARE(rig.Text(QStringLiteral("Key3")), QStringLiteral("AIM Key"));
    QCOMPARE(rig.Text(QStringLiteral("Key4")), QStringLiteral("KB Switch Key"));
    const ButtonTexts names = ProfileKeyNames(rig.Core().Codes(), 1, rig.Core().NameSources());
    for (int m = 1; m <= 12; ++m) {
      auto* key = rig.Window().Controls().Get<QLabel>(QStringLiteral("Key%1").arg(m));
      QCOMPARE(key->text(), QString::fromStdString(names[m - 1]));
      QVERIFY(key->isEnabled());
    }
    QVERIFY(rig.Checked(QStringLiteral("rb_1")));

    // DPI levels: six enabled, level 3 active, values and colours.
    // Level 8 has no value (nibble 15): it keeps what it showed before, the
    // default image's 6400.
    const QStringList values = {QStringLiteral("200"),  QStringLiteral("800"),
                                QStringLiteral("1000"), QStringLiteral("2000"),
                                QStringLiteral("3200"), QStringLiteral("6400"),
                                QStringLiteral("1200"), QStringLiteral("6400")};
    const QList<int> lit = {1, 4, 5, 8, 10, 12, 6, 12};
    for (int d = 1; d <= 8; ++d) {
      QCOMPARE(rig.Text(QStringLiteral("lbl_DPI%1Value").arg(d)), values[d - 1]);
      for (int k = 1; k <= 12; ++k)
        QCOMPARE(rig.Picture(QStringLiteral("Img_DPI%1_%2").arg(d).arg(k)),
                 k <= lit[d - 1] ? QStringLiteral("Bar2_E") : QStringLiteral("Bar2_D"));
      QCOMPARE(rig.W(QStringLiteral("Img_DPI%1_1").arg(d))->isEnabled(), d <= 6);
      QCOMPARE(rig.W(QStringLiteral("Img_DPI%1").arg(d))->isEnabled(), d <= 6);
      QCOMPARE(rig.Checked(QStringLiteral("rb_DPI%1").arg(d)), d == 3);
      QCOMPARE(rig.Picture(QStringLiteral("Img_DPI%1").arg(d)),
               d == 3 ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D"));
      const QColor expected = rig.Window().Context().layout.color_d_selected.r >= 0 && d <= 6
                                  ? ToQColor(rig.Window().Context().layout.color_d_selected)
                                  : ToQColor(rig.Window().Context().layout.color_d_not_selected);
      QCOMPARE(rig.W(QStringLiteral("lbl_DPI%1").arg(d))->palette().color(QPalette::WindowText),
               expected);
    }
    QCOMPARE(rig.Text(QStringLiteral("edt_DPI1ColR")), QStringLiteral("15"));
    QCOMPARE(rig.Text(QStringLiteral("edt_DPI2ColG")), QStringLiteral("3"));
    QCOMPARE(rig.W(QStringLiteral("cs_DPI1Col"))->palette().color(QPalette::Window),
             QColor(255, 0, 136));
    QCOMPARE(rig.W(QStringLiteral("cs_DPI2Col"))->palette().color(QPalette::Window),
             QColor(0, 51, 0));

    // Report rate 500 Hz.
    for (int r = 1; r <= 4; ++r) {
      QCOMPARE(rig.Checked(QStringLiteral("rb_Rep%1").arg(r)), r == 3);
      QCOMPARE(rig.Picture(QStringLiteral("Img_Rep%1").arg(r)),
               r == 3 ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"));
    }
    // Fire Key1 from its code, AIM DPI from the AIM key.
    QCOMPARE(rig.Text(QStringLiteral("Edt_Repeat1")), QStringLiteral("2"));
    QCOMPARE(rig.Text(QStringLiteral("Edt_DelayTime1")), QStringLiteral("50"));
    QCOMPARE(rig.Text(QStringLiteral("lbl_AIMDPIValue")), QStringLiteral("2000"));
    QCOMPARE(rig.Picture(QStringLiteral("Img_AIMDPI_8")), QStringLiteral("Bar2_E"));
    QCOMPARE(rig.Picture(QStringLiteral("Img_AIMDPI_9")), QStringLiteral("Bar2_D"));

    // Lighting: RGB, LED3, step 5, colour 1.
    for (const char* mode : {"Off", "LED1", "LED2", "LED3", "LED4", "LED5"}) {
      const bool chosen = QLatin1String(mode) == QLatin1String("LED3");
      QCOMPARE(rig.Checked(QStringLiteral("rb_") + QLatin1String(mode)), chosen);
      QVERIFY(!rig.W(QStringLiteral("lbl_") + QLatin1String(mode))->isHidden());
    }
    for (int k = 1; k <= 10; ++k) {
      QCOMPARE(rig.Picture(QStringLiteral("Img_Fall%1").arg(k)),
               k <= 5 ? QStringLiteral("Bar1_E") : QStringLiteral("Bar1_D"));
      QVERIFY(rig.W(QStringLiteral("Img_Fall%1").arg(k))->isEnabled());
    }
    QCOMPARE(rig.Text(QStringLiteral("Edt_Col1G")), QStringLiteral("8"));
    QCOMPARE(rig.W(QStringLiteral("cs_Col1"))->palette().color(QPalette::Window),
             QColor(255, 136, 0));

    // The pages show the editor's settings, and a save writes them.
    const PageSettings& shown = rig.Editor().State().settings;
    const ParameterSection saved = rig.Editor().SavedParameters();
    QCOMPARE(saved[38], 0x52);
    QCOMPARE(saved[40], 0x74);
    QCOMPARE(saved[75], 0x0F);
    QCOMPARE(shown.dpi_active_level, 3);
    QCOMPARE(shown.report_rate_hz, 500);
    QCOMPARE(int{shown.lighting.mode}, 3);
    QCOMPARE(shown.active_profile, 1);
  }

  void ledKindHidesModesAndColours() {
    // Sync offers Off, LED1, LED2 and no colours; NT has no LED4.
    EditorRig sync(
        EditorRigOptions().WithMouse([](SimulatedMouse& m) { m.Parameters()[37] = 0x44; }));
    for (const char* mode : {"LED3", "LED4", "LED5"})
      QVERIFY(sync.W(QStringLiteral("lbl_") + QLatin1String(mode))->isHidden());
    QVERIFY(sync.W(QStringLiteral("cs_Col1"))->isHidden());
    QVERIFY(sync.W(QStringLiteral("lbl_DPI1Col"))->isHidden());
    for (const char* mode : {"rb_Off", "rb_LED1", "rb_LED2", "rb_LED3", "rb_LED4", "rb_LED5"})
      QVERIFY(!sync.Checked(QLatin1String(mode)));  // mode 4 is not offered: nothing chosen

    EditorRig nt(
        EditorRigOptions().WithMouse([](SimulatedMouse& m) { m.Parameters()[37] = 0xF0; }));
    QVERIFY(nt.W(QStringLiteral("lbl_LED4"))->isHidden());
    QVERIFY(!nt.W(QStringLiteral("lbl_LED5"))->isHidden());
    QVERIFY(nt.Checked(QStringLiteral("rb_Off")));
    QVERIFY(!nt.W(QStringLiteral("Img_Fall1"))->isEnabled());  // Off: no step time
  }

  void pageCommandsWithoutMouse() {
    EditorRig rig(EditorRigOptions().Unconnected());
    for (const char* button : {"Btn_Switch_1", "Btn_Fixed_1", "Btn_Main_1", "Btn_Adv_1"}) {
      rig.dialogs.messages.clear();
      rig.Click(QLatin1String(button));
      QCOMPARE(rig.dialogs.messages, QStringList{QStringLiteral("Not find the specified device")});
      QCOMPARE(rig.Window().CurrentPage(), PageId::kMain);
    }
    QVERIFY(rig.Sent().isEmpty());
  }

  void alternateKeyNeedsSwitchKey() {
    EditorRig rig;  // the default image has no KB Switch Key in profile 1
    rig.Click(QStringLiteral("Btn_Switch_1"));
    QCOMPARE(rig.dialogs.messages,
             QStringList{QStringLiteral("Please select the keyboard mode switch button to take "
                                        "effect after the key definition interface")});
    QCOMPARE(rig.Window().CurrentPage(), PageId::kMain);
    QVERIFY(rig.Checked(QStringLiteral("rb_1")));
    QVERIFY(rig.Sent().isEmpty());
  }

  void resetControlWithResetKey() {
    EditorRig rig(EditorRigOptions().WithMouse([](SimulatedMouse& m) {
      for (int p = 1; p <= 3; ++p) SetCode(m, p, 4, {0x07, 0x00, 0x00, 0x00});  // KB Switch Key
      SetCode(m, 2, 6, {0x07, 0x01, 0x00, 0x00});  // KB Reset Key, profile 2
    }));
    rig.Click(QStringLiteral("Btn_Fixed_1"));
    QVERIFY(rig.dialogs.messages.isEmpty());
    QCOMPARE(rig.Window().CurrentPage(), PageId::kFixed);
    QCOMPARE(rig.Sent(), QStringList{QStringLiteral("40 05 00 21 02 00 00 01")});
    QCOMPARE(rig.Core().Page().parameters[33], 2);
    QVERIFY(rig.Checked(QStringLiteral("rb_3")));
    QWidget* overlay = rig.W(QStringLiteral("Disable"));
    QVERIFY(overlay->isVisible());
    const ButtonTexts names = ProfileKeyNames(rig.Core().Codes(), 3, rig.Core().NameSources());
    for (int m = 1; m <= 12; ++m) {
      auto* key = rig.Window().Controls().Get<QLabel>(QStringLiteral("Key%1").arg(m));
      QCOMPARE(key->text(), QString::fromStdString(names[m - 1]));
      QVERIFY(!key->isEnabled());
      // The overlay lies over every shown label and takes its clicks.
      if (key->isVisible()) QVERIFY(overlay->geometry().contains(key->geometry().center()));
    }

    // Alternate Key: byte 33 = 1, the overlay goes, the switch key and the
    // reset key of profile 2 cannot be clicked.
    rig.ClearSent();
    rig.Click(QStringLiteral("Btn_Switch_1"));
    QCOMPARE(rig.Sent(), QStringList{QStringLiteral("40 05 00 21 01 00 00 01")});
    QVERIFY(!overlay->isVisible());
    QVERIFY(!rig.W(QStringLiteral("Key4"))->isEnabled());
    QVERIFY(!rig.W(QStringLiteral("Key6"))->isEnabled());
    QVERIFY(rig.W(QStringLiteral("Key1"))->isEnabled());
  }

  void keyLabelHover() {
    EditorRig rig(EditorRigOptions().WithMouse([](SimulatedMouse& m) {
      for (int p = 1; p <= 3; ++p) SetCode(m, p, 4, {0x07, 0x00, 0x00, 0x00});
    }));
    rig.Click(QStringLiteral("Btn_Switch_1"));
    for (const auto& [key, runs] : {std::pair{"Key1", true}, std::pair{"Key4", false}}) {
      QWidget* label = rig.W(QLatin1String(key));
      const QString picture = QStringLiteral("Img_") + QLatin1String(key);
      QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
      QCoreApplication::sendEvent(label, &enter);
      QCOMPARE(rig.Picture(picture), QStringLiteral("KeyS_02"));
      // The caption runs only on a label that can be clicked.
      QCOMPARE(rig.Window().Marquee().Timer().isActive(), runs);
      QEvent leave(QEvent::Leave);
      QCoreApplication::sendEvent(label, &leave);
      QCOMPARE(rig.Picture(picture), QStringLiteral("KeyS_01"));
      QVERIFY(!rig.Window().Marquee().Timer().isActive());
    }
  }

  void readShowsTheActiveProfilesPage() {
    EditorRig rig(EditorRigOptions().WithMouse([](SimulatedMouse& m) {
      for (int p = 1; p <= 3; ++p) SetCode(m, p, 4, {0x07, 0x00, 0x00, 0x00});
      m.Parameters()[33] = 1;
    }));
    QCOMPARE(rig.Window().CurrentPage(), PageId::kSwitch);
    QVERIFY(rig.Checked(QStringLiteral("rb_2")));
    QCOMPARE(rig.Picture(QStringLiteral("Img_Switch_2")), QStringLiteral("SetS_02"));
    QVERIFY(!rig.W(QStringLiteral("Key4"))->isEnabled());
  }

  void clicksReachTheMouse() {
    EditorRig rig(EditorRigOptions().WithMouse(KnownImage));
    rig.Window().RequestPage(PageId::kAdv);
    QCOMPARE(rig.Window().CurrentPage(), PageId::kAdv);

    // Step 5 of level 1 (level 3 active): byte 39, then byte 38 twice.
    rig.Click(QStringLiteral("Img_DPI1_5"));
    QCOMPARE(rig.Text(QStringLiteral("lbl_DPI1Value")), QStringLiteral("1000"));
    QCOMPARE(rig.Sent(), (QStringList{QStringLiteral("40 05 00 27 34 00 00 01"),
                                      QStringLiteral("40 05 00 26 51 00 00 01"),
                                      QStringLiteral("40 05 00 26 52 00 00 01")}));

    // The label of level 7 enables it.
    rig.ClearSent();
    rig.Click(QStringLiteral("lbl_DPI7"));
    QVERIFY(rig.W(QStringLiteral("Img_DPI7_1"))->isEnabled());
    QCOMPARE(rig.Sent(), QStringList{QStringLiteral("40 05 00 26 62 00 00 01")});

    // A picked level colour is stored in four bits.
    rig.ClearSent();
    rig.dialogs.colour_answers.push_back(QColor(255, 254, 0));
    rig.Click(QStringLiteral("lbl_DPI2Col"));
    QCOMPARE(rig.Text(QStringLiteral("edt_DPI2ColG")), QStringLiteral("14"));
    QCOMPARE(rig.Sent(), QStringList{QStringLiteral("40 05 00 4b ff e0 08 03")});

    // An AIM DPI with no AIM key in profile 1 is refused and shows 200.
    SetCode(rig.mouse, 1, 3, {0x01, 0x02, 0x00, 0x00});
    KeyCodes codes = rig.Core().Codes();
    const auto aim = codes.Set(1, 3, "01020000");
    QVERIFY(aim);
    rig.Core().StoreButtonCodes(std::span(&*aim, 1));
    rig.Editor().SelectProfile(1);
    rig.dialogs.messages.clear();
    rig.Click(QStringLiteral("Img_AIMDPI_6"));
    QCOMPARE(rig.dialogs.messages,
             QStringList{QStringLiteral("Please select a AIM Key inMain Control")});
    QCOMPARE(rig.Text(QStringLiteral("lbl_AIMDPIValue")), QStringLiteral("200"));
    QCOMPARE(rig.Picture(QStringLiteral("Img_AIMDPI_2")), QStringLiteral("Bar2_D"));

    // Fire Key1's delay rewrites button 2 of profile 1.
    rig.ClearSent();
    auto* delay = rig.Window().Controls().Get<QLineEdit>(QStringLiteral("Edt_DelayTime1"));
    delay->setFocus();
    delay->selectAll();
    QTest::keyClicks(delay, QStringLiteral("9x9"));  // the letter is not taken
    QCOMPARE(delay->text(), QStringLiteral("99"));
    QVERIFY(rig.Sent().contains(QStringLiteral("40 05 01 04 06 11 00 63")));

    // Lighting off: byte 37 AND 0xF0; the step time cannot be chosen then.
    rig.Window().RequestPage(PageId::kBreath);
    rig.ClearSent();
    rig.Click(QStringLiteral("lbl_Off"));
    QCOMPARE(rig.Sent(), QStringList{QStringLiteral("40 05 00 25 00 00 00 01")});
    QVERIFY(!rig.W(QStringLiteral("Img_Fall3"))->isEnabled());
    rig.Click(QStringLiteral("lbl_LED5"));
    rig.ClearSent();
    rig.Click(QStringLiteral("Img_Fall3"));
    QCOMPARE(rig.Sent(), QStringList{QStringLiteral("40 05 00 34 0f 0f 00 02")});
  }

  void higherReportRateRestartsTheMouse() {
    EditorRig rig(EditorRigOptions().WithMouse(KnownImage));  // 500 Hz taken in
    rig.Window().RequestPage(PageId::kAdv);
    rig.Click(QStringLiteral("lbl_Rep4"));
    QCOMPARE(rig.mouse.Restarts(), 1);
    // The mouse was lost (Str100/Str101), found again and read at 1000 Hz;
    // the Advanced page stays open with its button selected.
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QVERIFY(rig.app->Core().Session().HandlesValid());
    QVERIFY(!rig.app->Core().Session().NoDevicePage);
    QVERIFY(rig.Checked(QStringLiteral("rb_Rep4")));
    QCOMPARE(rig.Window().CurrentPage(), PageId::kAdv);
    QVERIFY(rig.W(QStringLiteral("gbPage2"))->isVisible());
    QCOMPARE(rig.Picture(QStringLiteral("Img_Adv_1")), QStringLiteral("SetS_02"));
    QCOMPARE(rig.Picture(QStringLiteral("Img_Main_1")), QStringLiteral("SetS_01"));
    // A lower rate needs no restart.
    rig.Click(QStringLiteral("lbl_Rep2"));
    QCOMPARE(rig.mouse.Restarts(), 1);
  }

  void languageSwitchKeepsCombination() {
    // Languages that differ (the shipped ones say the same in all three).
    auto table = [](int index, const std::string& body) {
      const std::string text = "[lang" + std::to_string(index) + "]\n" + body;
      return *LanguageTable::Parse(
          ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), index);
    };
    LanguageSet languages({table(1,
                                 "\"Str210=Left Key\" \"Str211=Right Key\" \"Str242=KB Switch "
                                 "Key\" \"Str245=KB Reset Key\" \"Str004=Main Control\""),
                           table(2,
                                 "\"Str210=Linke Taste\" \"Str211=Rechte Taste\" "
                                 "\"Str242=Umschalttaste\" \"Str245=Ruecksetztaste\" "
                                 "\"Str004=Hauptseite\""),
                           table(3, "\"Str210=Gauche\"")});
    EditorRig rig(EditorRigOptions().WithLanguages(std::move(languages)));
    ButtonPage* page = rig.Window().Buttons();
    PageEditor& editor = rig.Editor();
    // Button 5 gets a combination; button 1 is the only Left Key.
    QVERIFY(editor.AssignKeyCombination(1, 5, "Ctrl+Q", "02011400").ok());
    page->ShowImage();
    QCOMPARE(page->KeyLabel(1)->text(), QStringLiteral("Left Key"));
    QCOMPARE(page->KeyLabel(5)->text(), QStringLiteral("Ctrl+Q"));

    rig.Window().SwitchLanguage(2);
    QCOMPARE(page->KeyLabel(1)->text(), QStringLiteral("Linke Taste"));
    QCOMPARE(page->KeyLabel(5)->text(), QStringLiteral("Ctrl+Q"));
    for (int m = 1; m <= 12; ++m)
      QCOMPARE(QString::fromStdString(editor.State().labels[m - 1]), page->KeyLabel(m)->text());
    // The rules now compare names of language 2: the last Left Key stays.
    const EditResult right = editor.AssignMenuItem(1, 1, 901);
    QCOMPARE(right.status, EditStatus::kRefused);
    QCOMPARE(rig.Core().Codes().Code(1, 1), std::string("01010000"));
  }
};

KORVEX48_GUI_TEST(PagesTest)

}  // namespace korvex48::gui

#include "pages_test.moc"
