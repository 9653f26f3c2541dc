// The Update page while a patch is written: the progress bar follows the bytes
// sent (patch code, then descriptor) and is gone when the flow ends; without a
// loaded patch it never shows.
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

#include "core/common/file_io.h"
#include "editor_rig.h"
#include "gui/main_window.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;
using test::EditorRigOptions;
using test::kFlashFlashImage;

class UpdateProgressTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void barFollowsTheWrites() {
    EditorRig rig(EditorRigOptions()
                      .WithStorage(SimulatedStorage::kFlashFlash)
                      .WithDefaultImage(kFlashFlashImage));
    rig.Window().RequestPage(PageId::kUpdate);
    auto* bar = rig.Get<QProgressBar>(QStringLiteral("pb_Program"));
    QVERIFY(bar);
    QVector<int> seen;
    bool hidden_while_writing = false;
    connect(bar, &QProgressBar::valueChanged, this, [&](int v) {
      seen.append(v);
      hidden_while_writing = hidden_while_writing || !bar->isVisible();
    });

    // Without a patch nothing is written and the bar stays away.
    rig.Click(QStringLiteral("Btn_Program"));
    QVERIFY(seen.isEmpty() || seen == QVector<int>{0});
    QVERIFY(bar->isHidden());

    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/fw.bin");
    QVERIFY(WriteFileAtomically(path.toStdString(), Bytes(0x8400, 0x5A)));
    rig.dialogs.open_answers.push_back(path);
    rig.Click(QStringLiteral("Btn_LoadBIN"));
    seen.clear();
    hidden_while_writing = false;
    rig.Click(QStringLiteral("Btn_Program"));
    QVERIFY(!hidden_while_writing);
    QCOMPARE(bar->maximum(), 1024 + 16);
    QVERIFY(seen.size() > 100);  // one step per 7-byte report
    QVERIFY(std::is_sorted(seen.begin(), seen.end()));
    QCOMPARE(seen.last(), 1024 + 16);
    QVERIFY(seen.contains(1024));  // the patch code, then the descriptor
    QVERIFY(bar->isHidden());
  }
};

}  // namespace

KORVEX48_GUI_TEST(UpdateProgressTest)

}  // namespace korvex48::gui

#include "update_progress_test.moc"
