// The web button hands the settings table's address to the desktop's handler
// for web addresses (QDesktopServices), with its pressed look.
#include <QDesktopServices>
#include <QUrl>
#include <QtTest>

#include "editor_rig.h"
#include "gui/main_window.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;
using test::EditorRigOptions;

// Stands in for the desktop's browser.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public Q_SLOTS:
  void open(const QUrl& url) { opened.append(url); }
};

class WebButtonTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void opensTheAddressOfTheSettingsTable() {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    EditorRig rig(EditorRigOptions().Unconnected());
    rig.Click(QStringLiteral("Btn_Web_1"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(catcher.opened, QList<QUrl>{QUrl(QStringLiteral("https://korvex48.org/guide"))});
    QCOMPARE(rig.Picture(QStringLiteral("Img_Web_1")), QStringLiteral("WebS_02"));
  }
};

}  // namespace

KORVEX48_GUI_TEST(WebButtonTest)

}  // namespace korvex48::gui

#include "web_button_test.moc"
