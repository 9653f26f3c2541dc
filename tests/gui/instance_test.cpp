// The single-instance rule and the command-line options.
#include <QtTest>

#include "gui/options.h"
#include "gui/single_instance.h"
#include "gui_tests.h"

namespace korvex48::gui {

class InstanceTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void secondStartRaisesTheFirst() {
    const QString key = QStringLiteral("Korvex48 test %1").arg(QCoreApplication::applicationPid());
    SingleInstance first(key);
    QVERIFY(first.Claim());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    SingleInstance second(key);
    QVERIFY(!second.Claim());
    QVERIFY(raised.wait(2000));
    QCOMPARE(first.ServerName().contains(QLatin1Char(' ')), false);
  }

  void staleSocketIsTakenOver() {
    const QString key = QStringLiteral("Korvex48 stale %1").arg(QCoreApplication::applicationPid());
    {
      SingleInstance gone(key);
      QVERIFY(gone.Claim());
    }
    SingleInstance next(key);
    QVERIFY(next.Claim());
  }

  void parsesOptions() {
    auto no_env = [](const char*) -> const char* { return nullptr; };
    auto ok = ParseGuiOptions({"--simulate=flash-flash:/tmp/s", "--library", "/tmp/M.bin"}, no_env);
    QVERIFY(ok.options);
    QVERIFY(ok.options->device.simulate.has_value());
    QCOMPARE(ok.options->device.simulate_state_file, std::string("/tmp/s"));
    QCOMPARE(ok.options->library_path, std::string("/tmp/M.bin"));
    QVERIFY(ParseGuiOptions({"--help"}, no_env).options->help);
    QVERIFY(ParseGuiOptions({"--version"}, no_env).options->version);
    for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
             {"--library"}, {"--frobnicate"}, {"stray"}, {"--simulate=bogus"}})
      QVERIFY(!ParseGuiOptions(bad, no_env).options);
  }
};

KORVEX48_GUI_TEST(InstanceTest)

}  // namespace korvex48::gui

#include "instance_test.moc"
