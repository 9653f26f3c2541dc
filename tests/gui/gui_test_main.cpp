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
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  int failed = 0;
  for (auto& make : korvex48::gui::test::Registry()) {
    std::unique_ptr<QObject> test = make();
    failed += QTest::qExec(test.get(), argc, argv);
  }
  return failed == 0 ? 0 : 1;
}
