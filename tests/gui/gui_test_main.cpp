// Runs every GUI test class on the offscreen platform with a private runtime
// folder (the single-instance socket lives there).
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "gui_tests.h"

int main(int argc, char** argv) {
  QTemporaryDir runtime;
  QFile::setPermissions(runtime.path(),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  qputenv("TMPDIR", runtime.path().toLocal8Bit());
  // The pointer bars must never reach the desktop or the settings of the
  // user who runs the tests.
  qputenv("XDG_CONFIG_HOME", runtime.path().toLocal8Bit());
  qputenv("GSETTINGS_BACKEND", "memory");
  qunsetenv("XDG_CURRENT_DESKTOP");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // KORVEX48_GUI_CLASS=PointerBarsTest runs that class alone (its functions
  // may then be named on the command line).
  const QByteArray only = qgetenv("KORVEX48_GUI_CLASS");
  int failed = 0;
  for (auto& make : korvex48::gui::test::Registry()) {
    std::unique_ptr<QObject> test = make();
    if (!only.isEmpty() && only != test->metaObject()->className() &&
        !QByteArray(test->metaObject()->className()).endsWith("::" + only))
      continue;
    failed += QTest::qExec(test.get(), argc, argv);
  }
  return failed == 0 ? 0 : 1;
}
