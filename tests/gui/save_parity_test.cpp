// The same edits made in the editor and through korvex48ctl end in the same
// saved profile, byte for byte: both save through the page editor's one
// call, from the settings the pages show. The editor is clicked as the user
// clicks it; korvex48ctl runs as a program against a simulated mouse of the
// same kind, one command per edit.
#include <QFile>
#include <QtTest>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../cli/cli_runner.h"
#include "core/editing/page_editor.h"
#include "editor_rig.h"
#include "gui/main_window.h"
#include "gui_tests.h"

namespace korvex48::gui {
namespace {

using test::EditorRig;

constexpr int kSwitchKeyTag = 1002;  // KB Switch Key

// One edit: what the user does in the editor, and the same edit as a
// korvex48ctl command.
struct Edit {
  std::function<void(EditorRig&)> in_editor;
  std::vector<std::string> command;
};

Edit Click(PageId page, const QString& control, std::vector<std::string> command,
           std::optional<QColor> colour = std::nullopt) {
  return {[page, control, colour](EditorRig& rig) {
            rig.Window().RequestPage(page);
            if (colour) rig.dialogs.colour_answers.push_back(*colour);
            rig.Click(control);
          },
          std::move(command)};
}

struct ParityCase {
  const char* name;
  std::vector<Edit> edits;
};

std::vector<ParityCase> Cases() {
  return {
      {"DpiValuesAndColours",
       {Click(PageId::kAdv, QStringLiteral("Img_DPI3_5"), {"set", "dpi-value", "3", "1000"}),
        Click(PageId::kAdv, QStringLiteral("Img_DPI7_12"), {"set", "dpi-value", "7", "6400"}),
        Click(PageId::kAdv, QStringLiteral("lbl_DPI2Col"), {"set", "dpi-color", "2", "255,254,0"},
              QColor(255, 254, 0))}},
      {"DpiLevelsAndActiveLevel",
       {Click(PageId::kAdv, QStringLiteral("lbl_DPI7"), {"set", "dpi-count", "6"}),
        Click(PageId::kAdv, QStringLiteral("Img_DPI2"), {"set", "dpi-active", "2"})}},
      {"LightingModeColourAndStepTime",
       {Click(PageId::kBreath, QStringLiteral("lbl_LED2"), {"set", "led-mode", "2"}),
        Click(PageId::kBreath, QStringLiteral("Img_Fall4"), {"set", "led-step", "4"}),
        Click(PageId::kBreath, QStringLiteral("lbl_Col3"), {"set", "led-color", "3", "128,64,255"},
              QColor(128, 64, 255))}},
      // The step time is not touched: the mouse's 60 is saved as it holds it.
      {"LightingOffAndReportRate",
       {Click(PageId::kBreath, QStringLiteral("lbl_Off"), {"set", "led-mode", "off"}),
        Click(PageId::kAdv, QStringLiteral("lbl_Rep2"), {"set", "report-rate", "250"})}},
      {"ActiveProfile",
       {{[](EditorRig& rig) { rig.Editor().AssignMenuItem(1, 4, kSwitchKeyTag); },
         {"set", "button", "1", "4", "KB Switch Key"}},
        {[](EditorRig& rig) { rig.Click(QStringLiteral("Btn_Switch_1")); },
         {"set", "active-profile", "2"}}}},
  };
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class SaveParityTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void editorAndCommandLineSaveTheSameProfile() {
    for (const ParityCase& c : Cases()) {
      EditorRig rig;
      korvex48::testing::CliRig cli;
      for (const Edit& edit : c.edits) {
        edit.in_editor(rig);
        const korvex48::testing::CliRun run = cli.Run(edit.command);
        QVERIFY2(run.status == 0, (std::string(c.name) + ": " + run.err).c_str());
      }
      QVERIFY2(rig.dialogs.messages.isEmpty(), c.name);

      const QString chosen = rig.dir.filePath(QStringLiteral("editor"));
      rig.dialogs.save_answers = {chosen};
      rig.App().SaveProfile();  // what every page's Save Profile button calls
      const QByteArray from_editor = ReadAll(chosen + QStringLiteral(".bin"));
      QVERIFY2(from_editor.size() == 768, c.name);

      const std::string path = cli.Path("cli.bin");
      QVERIFY2(cli.Run({"save-profile", path}).status == 0, c.name);
      const QByteArray from_cli = ReadAll(QString::fromStdString(path));
      QVERIFY2(from_cli.size() == from_editor.size(), c.name);
      for (qsizetype i = 0; i < from_editor.size(); ++i) {
        if (from_editor[i] != from_cli[i])
          QFAIL(qPrintable(QStringLiteral("%1: byte %2: editor %3, korvex48ctl %4")
                               .arg(QLatin1String(c.name))
                               .arg(i)
                               .arg(static_cast<std::uint8_t>(from_editor[i]))
                               .arg(static_cast<std::uint8_t>(from_cli[i]))));
      }
    }
  }
};

}  // namespace

KORVEX48_GUI_TEST(SaveParityTest)

}  // namespace korvex48::gui

#include "save_parity_test.moc"
