// The session bus address the editor names before Qt starts: the session's
// own socket, escaped as bus addresses are, so that no bus is autolaunched on
// the way to the first paint.
#include "gui/session_bus.h"

#include <QtTest>
#include <string>

#include "gui_tests.h"

namespace korvex48::gui {

class SessionBusTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void namesTheUsersOwnSocket_data() {
    QTest::addColumn<QString>("runtime_dir");
    QTest::addColumn<QString>("address");
    QTest::newRow("runtime folder")
        << QStringLiteral("/run/user/1000") << QStringLiteral("unix:path=/run/user/1000/bus");
    QTest::newRow("no runtime folder") << QString() << QStringLiteral("unix:path=/run/user/42/bus");
    // ',' ends an address entry, ';' the address, '=' and spaces need escaping.
    QTest::newRow("bytes an address reserves")
        << QStringLiteral("/tmp/a b,c;d=e%")
        << QStringLiteral("unix:path=/tmp/a%20b%2cc%3bd%3de%25/bus");
  }
  void namesTheUsersOwnSocket() {
    QFETCH(QString, runtime_dir);
    QFETCH(QString, address);
    QCOMPARE(QString::fromStdString(UserSessionBusAddress(runtime_dir.toStdString(), 42)), address);
  }
};

KORVEX48_GUI_TEST(SessionBusTest)

}  // namespace korvex48::gui

#include "session_bus_test.moc"
