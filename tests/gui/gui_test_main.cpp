// Runs every GUI test class on the offscreen platform with a private runtime
// folder (the single-instance socket lives there).
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "gui_tests.h"

namespace {

// The offscreen platform cannot shape or raise windows and says so on every
// window; those notes are expected and would bury real warnings.
QtMessageHandler g_default_handler = nullptr;
void FilterPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("This plugin does not support"))) return;
  g_default_handler(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
  g_default_handler = qInstallMessageHandler(FilterPlatformNotes);
  QTemporaryDir runtime;
  QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner);
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
