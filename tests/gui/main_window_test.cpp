// The main window: shape and title, page navigation and its looks, language
// switching, layout rules and the busy pop-up placement.
#include "gui/main_window.h"

#include <QComboBox>
#include <QtTest>

#include "gui/busy_popup.h"
#include "gui/layout_applier.h"
#include "gui/page_group.h"
#include "gui/png_decode.h"
#include "gui/scripted_dialogs.h"
#include "gui/skin.h"
#include "gui/skin_widgets.h"
#include "gui/window_app_ui.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

QString PictureOf(const MainWindow& w, const QString& name) {
  auto* picture = w.Controls().Get<PictureLabel>(name);
  return picture ? picture->picture() : QStringLiteral("<missing %1>").arg(name);
}

void Hover(QWidget* widget, bool enter) {
  if (enter) {
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(widget, &event);
  } else {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &event);
  }
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

  ScriptedDialogs dialogs_;
  std::unique_ptr<MainWindow> window_;

  QWidget* W(const char* name) const { return window_->Controls().Find(QLatin1String(name)); }

 private Q_SLOTS:
  void init() {
    std::string error;
    window_ = MainWindow::Create(&dialogs_, nullptr, &error);
    QVERIFY2(window_, error.c_str());
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void cleanup() { window_.reset(); }

  void windowIsShapedAndTitled() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("Korvex48 Gaming Mouse v1.0"));
    QCOMPARE(window_->size(), QSize(800, 600));
    QVERIFY(window_->windowFlags() & Qt::FramelessWindowHint);
    // The key-coloured pixels of the background file are left out of the mask
    // and drawn fully transparent, the others are kept as they are.
    const QImage file = DecodePng(EmbeddedPicture("L1_BackGround"));
    const QImage drawn = Skin().Image(QStringLiteral("L1_BackGround"));
    QVERIFY(window_->testAttribute(Qt::WA_TranslucentBackground));
    const QRegion mask = window_->mask();
    QVERIFY(!mask.isEmpty());
    for (QPoint p : {QPoint(0, 0), QPoint(799, 599), QPoint(400, 300), QPoint(5, 300)}) {
      const bool key = file.pixel(p) == qRgb(128, 0, 0);
      QCOMPARE(mask.contains(p), !key);
      QCOMPARE(drawn.pixel(p), key ? QRgb(0) : file.pixel(p));
    }
    QVERIFY(!mask.contains(QPoint(0, 0)));  // the corners are cut away
    QVERIFY(!mask.contains(QPoint(799, 599)));
  }

  void startsOnMainControl() {
    QCOMPARE(window_->CurrentPage(), PageId::kMain);
    QVERIFY(W("gbPage1")->isVisible());
    for (const char* hidden : {"gbPage2", "gbPage3", "gbPage4", "gbPage5"})
      QVERIFY(!W(hidden)->isVisible());
    for (int k = 1; k <= 5; ++k) {
      QCOMPARE(PictureOf(*window_, QStringLiteral("Img_Main_%1").arg(k)),
               QStringLiteral("SetS_02"));
      QCOMPARE(PictureOf(*window_, QStringLiteral("Img_Lang1_%1").arg(k)),
               QStringLiteral("SetS_02"));
    }
    QCOMPARE(qobject_cast<QLabel*>(W("Btn_Main_3"))->text(), QStringLiteral("Main Control"));
  }

  void navigatesByClickingEveryCopy_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("group");
    QTest::newRow("Advanced from group 1") << "Btn_Adv_1" << 4 << 2;
    QTest::newRow("Breathing Light") << "Btn_Breath_1" << 5 << 3;
    QTest::newRow("Macro") << "Btn_Macro_1" << 6 << 4;
    QTest::newRow("Update") << "Btn_Update_1" << 7 << 5;
  }
  void navigatesByClickingEveryCopy() {
    QFETCH(QString, button);
    QFETCH(int, page);
    QFETCH(int, group);
    QTest::mouseClick(window_->Controls().Find(button), Qt::LeftButton);
    QCOMPARE(static_cast<int>(window_->CurrentPage()), page);
    for (int k = 1; k <= 5; ++k) QCOMPARE(window_->Group(k)->isVisible(), k == group);
    const QString nav = NavNameOf(static_cast<PageId>(page));
    for (int k = 1; k <= 5; ++k) {
      QCOMPARE(PictureOf(*window_, QStringLiteral("Img_%1_%2").arg(nav).arg(k)),
               QStringLiteral("SetS_02"));
      QCOMPARE(PictureOf(*window_, QStringLiteral("Img_Main_%1").arg(k)),
               QStringLiteral("SetS_01"));
    }
    QVERIFY(
        qobject_cast<QRadioButton*>(W(qPrintable(QStringLiteral("rb_%1").arg(page))))->isChecked());
    // The copy in the group now shown brings the user back.
    QTest::mouseClick(window_->Controls().Find(QStringLiteral("Btn_Main_%1").arg(group)),
                      Qt::LeftButton);
    QCOMPARE(window_->CurrentPage(), PageId::kMain);
    QVERIFY(window_->Group(1)->isVisible());
  }

  void resetControlShowsOverlay() {
    window_->ShowPage(PageId::kFixed);
    QVERIFY(W("Disable")->isVisible());
    window_->ShowPage(PageId::kSwitch);
    QVERIFY(!W("Disable")->isVisible());
  }

  void pageRulesCanRefuse() {
    struct Refuse : PageRules {
      bool BeforePageChange(PageId) override { return false; }
    } refuse;
    window_->SetPageRules(&refuse);
    QTest::mouseClick(W("Btn_Adv_1"), Qt::LeftButton);
    QCOMPARE(window_->CurrentPage(), PageId::kMain);
    window_->SetPageRules(nullptr);
  }

  void noDevicePageIgnoresPageButtons() {
    window_->ShowNoDevicePages();
    QTest::mouseClick(W("Btn_Adv_1"), Qt::LeftButton);
    QCOMPARE(window_->CurrentPage(), PageId::kMain);
    QVERIFY(window_->Group(1)->isVisible());
  }

  void hoverFamilyB() {
    window_->ShowPage(PageId::kMain);
    Hover(W("Btn_Main_2"), true);
    QCOMPARE(PictureOf(*window_, QStringLiteral("Img_Main_2")), QStringLiteral("SetS_03"));
    QCOMPARE(PictureOf(*window_, QStringLiteral("Img_Main_1")), QStringLiteral("SetS_02"));
    QVERIFY(window_->Marquee().Timer().isActive());
    Hover(W("Btn_Main_2"), false);
    QVERIFY(!window_->Marquee().Timer().isActive());
    for (int k = 1; k <= 5; ++k)
      QCOMPARE(PictureOf(*window_, QStringLiteral("Img_Main_%1").arg(k)),
               QStringLiteral("SetS_02"));
    // Family A changes all five copies.
    Hover(W("Btn_Exit_3"), true);
    for (int k = 1; k <= 5; ++k)
      QCOMPARE(PictureOf(*window_, QStringLiteral("Img_Exit_%1").arg(k)),
               QStringLiteral("BtnS_02"));
    Hover(W("Btn_Exit_3"), false);
    QCOMPARE(PictureOf(*window_, QStringLiteral("Img_Exit_5")), QStringLiteral("BtnS_01"));
  }

  void languageSwitchKeepsPageAndSelection() {
    window_->ShowPage(PageId::kMacro);
    auto* insert = qobject_cast<QComboBox*>(W("CB_Insert"));
    insert->setCurrentIndex(3);
    QSignalSpy changed(window_.get(), &MainWindow::languageChanged);
    window_->SwitchLanguage(3);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(window_->Language(), 3);
    QCOMPARE(window_->CurrentPage(), PageId::kMacro);
    QVERIFY(window_->Group(4)->isVisible());
    QCOMPARE(insert->currentIndex(), 3);
    QVERIFY(qobject_cast<QRadioButton*>(W("rb_Lang3"))->isChecked());
    for (int k = 1; k <= 5; ++k) {
      QCOMPARE(PictureOf(*window_, QStringLiteral("Img_Lang3_%1").arg(k)),
               QStringLiteral("SetS_02"));
      QCOMPARE(PictureOf(*window_, QStringLiteral("Img_Lang1_%1").arg(k)),
               QStringLiteral("SetS_01"));
      QCOMPARE(PictureOf(*window_, QStringLiteral("Img_Base_%1").arg(k)),
               QStringLiteral("L3_BackGround"));
    }
    QCOMPARE(PictureOf(*window_, QStringLiteral("Img_P4")), QStringLiteral("L3_Back4"));
    QCOMPARE(window_->windowTitle(), QStringLiteral("Korvex48 Gaming Mouse v1.0"));
  }

  void layoutRules() {
    LayoutTable layout = window_->Context().layout;
    ProductSettings settings = window_->Context().settings;
    layout.key[4] = {1, 11, 22};
    layout.btn_b[9].enable = 0;
    layout.dpi_orientation = 0;
    layout.dpi[2].steps = {300, 400};
    settings.led_type = "ZK";
    ApplyLayout(layout, settings, window_->Controls());
    QCOMPARE(W("Key3")->pos(), QPoint(11, 22));
    QCOMPARE(W("Img_Key3")->pos(), QPoint(11, 22));
    QCOMPARE(W("Key3")->size(), W("Img_Key3")->size());
    for (int k = 1; k <= 5; ++k) {
      QVERIFY(W(qPrintable(QStringLiteral("Btn_Lang2_%1").arg(k)))->isHidden());
      QVERIFY(W(qPrintable(QStringLiteral("Img_Lang2_%1").arg(k)))->isHidden());
    }
    const int h = W("Img_DPI2_1")->height();
    QCOMPARE(W("Img_DPI2_1")->pos(), QPoint(300, 400));
    QCOMPARE(W("Img_DPI2_12")->pos(), QPoint(300, 400 - 11 * h));

    settings.led_type = "RGB";
    layout.key[4] = {1, 33, 44};
    layout.dpi_orientation = 1;
    ApplyLayout(layout, settings, window_->Controls());
    QCOMPARE(W("Key10")->pos(), QPoint(33, 44));
    const int w = W("Img_DPI2_1")->width();
    QCOMPARE(W("Img_DPI2_12")->pos(), QPoint(300 + 11 * w, 400));
  }

  void busyPopupPlacement() {
    QCOMPARE(BusyPopup::PlaceOver(QRect(112, 84, 800, 600)), QPoint(112 + 297, 84 + 202 + 40));
    QCOMPARE(BusyPopup::PlaceOver(QRect(0, 0, 801, 601)), QPoint(297, 242));
    BusyPopup* busy = window_->Busy();
    QCOMPARE(busy->size(), QSize(206, 196));
    // Drawn in the window, where no display server can put it elsewhere.
    QVERIFY(!busy->isWindow());
    QCOMPARE(busy->parentWidget(), window_.get());
    BusyUi& ui = *busy;
    // Transfers show it before every reply and hide it once.
    ui.Show();
    ui.Show();
    QVERIFY(busy->isVisible());
    QCOMPARE(busy->pos(), QPoint(297, 242));
    // Above everything else in the window, the page blockers too.
    window_->LockPages();
    QCOMPARE(window_->childAt(400, 340), busy);
    window_->UnlockPages();
    ui.Hide();
    QVERIFY(!busy->isVisible());
  }

  void appUiMessagesAndStorageLooks() {
    WindowAppUi ui(*window_);
    AppMessage lost;
    lost.keys = {"Str100", "Str101"};
    ui.ShowMessage(lost);
    QCOMPARE(dialogs_.messages.last(),
             QStringLiteral("No Device Found\nPlease check your device is attached to USB port"));
    QCOMPARE(dialogs_.captions.last(), window_->ApplicationTitle());
    AppMessage refused;
    refused.keys = {"Str107"};
    refused.kind = MessageBoxKind::kOkBox;
    ui.ShowMessage(refused);
    QCOMPARE(dialogs_.captions.last(), QString());

    ui.ShowNoDevicePages();
    QVERIFY(window_->NoDeviceLook());
    ui.RefreshStoragePages(StorageLayout::kPacked);
    QVERIFY(!window_->NoDeviceLook());
    QVERIFY(W("Btn_Update_3")->isHidden());
    ui.RefreshStoragePages(StorageLayout::kSlot);
    QVERIFY(!W("Btn_Update_3")->isHidden());
    ui.StopPolling();
    QVERIFY(!window_->DevicePolling().isActive());
    ui.StartPolling();
    QCOMPARE(window_->DevicePolling().interval(), 3500);
    QVERIFY(window_->DevicePolling().isActive());
  }

  // The chip variant's menu height is a thing to show: a window whose menus
  // are not made yet keeps it for them and makes nothing when it is told.
  void mainMenuHeightWaitsForTheMenus() {
    std::string error;
    auto later = MainWindow::Create(&dialogs_, nullptr, &error, {}, MainWindow::PagesBuilt::kLater);
    QVERIFY2(later, error.c_str());
    WindowAppUi ui(*later);
    ui.SetMainMenuHeight(146);
    QVERIFY(!later->LaterPagesBuilt());
    later->BuildLaterPages();
    QCOMPARE(later->Controls().Find(QStringLiteral("Pnl_Main"))->height(), 146);
    ui.SetMainMenuHeight(170);
    QCOMPARE(later->Controls().Find(QStringLiteral("Pnl_Main"))->height(), 170);
  }

  void exitClosesWindow() {
    QSignalSpy closing(window_.get(), &MainWindow::closing);
    QTest::mouseClick(W("Btn_Exit_1"), Qt::LeftButton);
    QVERIFY(!window_->isVisible());
    QCOMPARE(closing.count(), 1);
  }
};

KORVEX48_GUI_TEST(MainWindowTest)

}  // namespace korvex48::gui

#include "main_window_test.moc"
