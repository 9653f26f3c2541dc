// The golden mice through the editor's Save Profile: the binary and the text
// form it writes are the files korvex48ctl shows, and loading its own text
// form sends nothing to the mouse.
#include <QFile>
#include <QtTest>

#include "core/config/config_diff.h"
#include "core/config/config_text.h"
#include "core/editing/page_editor.h"
#include "editor_rig.h"
#include "golden_cases.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using korvex48::testing::GoldenCase;
using test::EditorRig;
using test::EditorRigOptions;

std::string ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

class GoldenSaveTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void editorSavesTheGoldenFiles() {
    for (const GoldenCase& c : korvex48::testing::GoldenCases()) {
      const std::string image = korvex48::testing::ReadGolden(c, "mouse.bin");
      QVERIFY2(image.size() >= kPackedImageSize, c.name.c_str());
      EditorRigOptions options;
      options.WithStorage(c.storage).WithMouse(
          [&image](SimulatedMouse& m) { korvex48::testing::PutImage(m, image); });
      if (!korvex48::testing::GoldenDefaultImage(c).empty())
        options.WithDefaultImage(QString::fromStdString(korvex48::testing::GoldenDefaultImage(c)));
      EditorRig rig(options);
      QVERIFY2(rig.start_messages.isEmpty(), c.name.c_str());

      rig.dialogs.save_answers = {rig.dir.filePath(QStringLiteral("editor"))};
      rig.App().SaveProfile();
      const QString json = rig.dir.filePath(QStringLiteral("editor.json"));
      rig.dialogs.save_answers = {json};
      rig.App().SaveProfile();
      QVERIFY2(rig.dialogs.messages.isEmpty(), c.name.c_str());
      QVERIFY2(rig.Sent().isEmpty(), c.name.c_str());
      QVERIFY2(ReadAll(rig.dir.filePath(QStringLiteral("editor.bin"))) == image, c.name.c_str());
      const std::string text = ReadAll(json);
      QVERIFY2(text == korvex48::testing::ReadGolden(c, "config.json"), c.name.c_str());

      TextProblem problem;
      const std::optional<Configuration> saved = ConfigurationFromText(text, &problem);
      QVERIFY2(saved.has_value(), problem.Line().c_str());
      QVERIFY2(ConfigurationDifferences(rig.Editor().CurrentConfiguration(), *saved).empty(),
               c.name.c_str());
      rig.dialogs.open_answers = {json};
      rig.App().LoadProfile();
      QVERIFY2(rig.Sent().isEmpty(), qPrintable(rig.Sent().join(QLatin1Char('\n'))));
      QCOMPARE(rig.dialogs.messages,
               QStringList{QStringLiteral("The mouse already holds this configuration.")});
    }
  }
};

}  // namespace

KORVEX48_GUI_TEST(GoldenSaveTest)

}  // namespace korvex48::gui

#include "golden_test.moc"
