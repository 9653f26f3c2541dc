// Runs every GUI test class on the offscreen platform with a private runtime
// folder (the single-instance socket lives there). A class that skipped cases
// (QSKIP) makes the program end as skipped (skip_status.h): each class also
// writes its log to a file whose "Totals:" line is read back. A report of a
// shape the mouse was never shown, refused by a strict simulated mouse, fails
// the running test function.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <string>
#include <string_view>

#include "core/device/simulated_mouse.h"
#include "gui_tests.h"
#include "skip_status.h"

namespace {

struct Totals {
  int passed = 0;
  int failed = 0;
  int skipped = 0;
};

// The counts of the "Totals: 3 passed, 0 failed, 1 skipped, ..." line of a
// QtTest text log; all zero when there is none.
Totals ReadTotals(const QString& path) {
  Totals totals;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return totals;
  static const QRegularExpression line(
      QStringLiteral("^Totals: (\\d+) passed, (\\d+) failed, (\\d+) skipped"),
      QRegularExpression::MultilineOption);
  const QRegularExpressionMatch m = line.match(QString::fromUtf8(file.readAll()));
  if (m.hasMatch()) totals = {m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()};
  return totals;
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir runtime;
  QFile::setPermissions(runtime.path(),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  qputenv("TMPDIR", runtime.path().toLocal8Bit());
  // The pointer bars must never reach the desktop or the settings of the
  // user who runs the tests.
  qputenv("XDG_CONFIG_HOME", runtime.path().toLocal8Bit());
  // Nor the backups the editor keeps before larger changes.
  qputenv("XDG_STATE_HOME", runtime.path().toLocal8Bit());
  qputenv("GSETTINGS_BACKEND", "memory");
  qunsetenv("XDG_CURRENT_DESKTOP");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  korvex48::SimulatedMouse::SetRefusedShapeHook([](std::string_view shape) {
    const std::string text =
        "the simulated mouse refused a report of another shape: " + std::string(shape);
    QTest::qFail(text.c_str(), __FILE__, __LINE__);
  });
  // KORVEX48_GUI_CLASS=PointerBarsTest runs that class alone (its functions
  // may then be named on the command line).
  const QByteArray only = qgetenv("KORVEX48_GUI_CLASS");

  const QString log = runtime.filePath(QStringLiteral("class.log"));
  QStringList args = QCoreApplication::arguments();
  args << QStringLiteral("-o") << log + QStringLiteral(",txt") << QStringLiteral("-o")
       << QStringLiteral("-,txt");
  int failed = 0;
  int selected = 0;
  int skipped = 0;
  for (auto& make : korvex48::gui::test::Registry()) {
    std::unique_ptr<QObject> test = make();
    if (!only.isEmpty() && only != test->metaObject()->className() &&
        !QByteArray(test->metaObject()->className()).endsWith("::" + only))
      continue;
    const int status = QTest::qExec(test.get(), args);
    const Totals totals = ReadTotals(log);
    failed += status != 0 ? 1 : 0;
    selected += totals.passed + totals.failed + totals.skipped;
    skipped += totals.skipped;
  }
  return korvex48::testing::ExitStatus(failed, selected, skipped);
}
