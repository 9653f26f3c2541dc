// The single-instance rule and the command-line options.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QtTest>
#include <cstring>

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
    QCOMPARE(first.Claim(), SingleInstance::Outcome::kListening);
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    SingleInstance second(key);
    QCOMPARE(second.Claim(), SingleInstance::Outcome::kRaisedOther);
    QVERIFY(raised.wait(2000));
    QCOMPARE(first.ServerName().contains(QLatin1Char(' ')), false);
  }

  void staleSocketIsTakenOver() {
    const QString key = QStringLiteral("Korvex48 stale %1").arg(QCoreApplication::applicationPid());
    {
      SingleInstance gone(key);
      QCOMPARE(gone.Claim(), SingleInstance::Outcome::kListening);
    }
    SingleInstance next(key);
    QCOMPARE(next.Claim(), SingleInstance::Outcome::kListening);
  }

  // What lies at the socket's path when the lock is free: a socket file left
  // by a crashed editor is replaced; anything else stays, and the start goes
  // on without a socket while later starts learn that an editor runs.
  void whatLiesAtThePath_data() {
    QTest::addColumn<QString>("found");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("second");
    QTest::newRow("nothing") << QString() << static_cast<int>(SingleInstance::Outcome::kListening)
                             << static_cast<int>(SingleInstance::Outcome::kRaisedOther);
    QTest::newRow("socket left by a crash")
        << QStringLiteral("socket") << static_cast<int>(SingleInstance::Outcome::kListening)
        << static_cast<int>(SingleInstance::Outcome::kRaisedOther);
    QTest::newRow("a file") << QStringLiteral("file")
                            << static_cast<int>(SingleInstance::Outcome::kNoSocket)
                            << static_cast<int>(SingleInstance::Outcome::kOtherSilent);
    QTest::newRow("a path too long")
        << QStringLiteral("long") << static_cast<int>(SingleInstance::Outcome::kNoSocket)
        << static_cast<int>(SingleInstance::Outcome::kOtherSilent);
    // Only a lock file can say whether an editor runs: with anything else at
    // its path no editor starts, or every start would.
    QTest::newRow("a folder at the lock's path")
        << QStringLiteral("lock folder")
        << static_cast<int>(SingleInstance::Outcome::kLockPathTaken)
        << static_cast<int>(SingleInstance::Outcome::kLockPathTaken);
    QTest::newRow("a link at the lock's path")
        << QStringLiteral("lock link") << static_cast<int>(SingleInstance::Outcome::kLockPathTaken)
        << static_cast<int>(SingleInstance::Outcome::kLockPathTaken);
  }
  void whatLiesAtThePath() {
    QFETCH(QString, found);
    QFETCH(int, outcome);
    QFETCH(int, second);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString folder = dir.path();
    if (found == QLatin1String("long")) {
      folder = dir.filePath(QString(120, QLatin1Char('d')));
      QVERIFY(QDir().mkpath(folder));
    }
    const QString key = QStringLiteral("Korvex48 path");
    const QString path = QDir(folder).filePath(QStringLiteral("Korvex48_path"));
    if (found == QLatin1String("socket")) {
      // Bound and never removed, as a crashed editor leaves it.
      const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      const QByteArray bytes = QFile::encodeName(path);
      std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
      QCOMPARE(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
      ::close(fd);
    } else if (found == QLatin1String("file")) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("keep");
    } else if (found == QLatin1String("lock folder")) {
      QVERIFY(QDir().mkpath(path + QStringLiteral(".lock")));
    } else if (found == QLatin1String("lock link")) {
      QVERIFY(QFile::link(QStringLiteral("elsewhere"), path + QStringLiteral(".lock")));
    }
    {
      SingleInstance first(key, folder);
      QCOMPARE(static_cast<int>(first.Claim()), outcome);
      QCOMPARE(first.Error().isEmpty(),
               outcome == static_cast<int>(SingleInstance::Outcome::kListening));
      if (found.startsWith(QLatin1String("lock")))
        QVERIFY2(first.Error().contains(QStringLiteral("not a lock file")),
                 qPrintable(first.Error()));
      SingleInstance next(key, folder);
      QCOMPARE(static_cast<int>(next.Claim()), second);
      QCOMPARE(next.Error().isEmpty(),
               second == static_cast<int>(SingleInstance::Outcome::kRaisedOther));
    }
    // An editor that ends takes its socket along; a file that was not its stays.
    if (found == QLatin1String("file")) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::ReadOnly));
      QCOMPARE(file.readAll(), QByteArray("keep"));
    } else {
      QVERIFY(!QFileInfo::exists(path));
    }
  }

  // The socket's file name keeps ASCII letters, digits, '.', '_' and '-';
  // each other character, one outside the BMP too, becomes one '_'.
  void socketNameIsMadeSafe_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::newRow("spaces") << QStringLiteral("Korvex48 test 1")
                            << QStringLiteral("Korvex48_test_1");
    QTest::newRow("kept as is") << QStringLiteral("v1.2_x-Y") << QStringLiteral("v1.2_x-Y");
    QTest::newRow("path separators") << QStringLiteral("../a/b\\c") << QStringLiteral(".._a_b_c");
    QTest::newRow("accented letter") << QString::fromUtf16(u"Café") << QStringLiteral("Caf_");
    QTest::newRow("outside the BMP") << QString::fromUtf16(u"x😀y") << QStringLiteral("x_y");
  }
  void socketNameIsMadeSafe() {
    QFETCH(QString, key);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const SingleInstance instance(key, dir.path());
    QCOMPARE(QFileInfo(instance.ServerName()).fileName(), name);
  }

  // Whatever else connects is not taken for a request to raise the window.
  void onlyARequestRaises() {
    QTemporaryDir dir;
    SingleInstance first(QStringLiteral("Korvex48 peers"), dir.path());
    QCOMPARE(first.Claim(), SingleInstance::Outcome::kListening);
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    auto send = [&first](const QByteArray& bytes) {
      const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      const QByteArray path = QFile::encodeName(first.ServerName());
      std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
      QCOMPARE(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
      QCOMPARE(::write(fd, bytes.constData(), static_cast<std::size_t>(bytes.size())),
               static_cast<ssize_t>(bytes.size()));
      ::close(fd);
    };
    send(QByteArray());
    send(QByteArray(100, 'x') + "raise\n");
    QTest::qWait(100);
    QCOMPARE(raised.count(), 0);
    send(QByteArrayLiteral("raise\n"));
    QVERIFY(raised.wait(2000));
  }

  // Connections that say nothing cannot keep a request out: each is dropped
  // after a second, and while more are open than are listened to, the
  // newest take the places of the oldest.
  void idleConnectionsCannotBlockTheRaise() {
    QTemporaryDir dir;
    SingleInstance first(QStringLiteral("Korvex48 idle"), dir.path());
    QCOMPARE(first.Claim(), SingleInstance::Outcome::kListening);
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    auto connect_to = [&first] {
      const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      const QByteArray path = QFile::encodeName(first.ServerName());
      std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
      if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
      }
      return fd;
    };
    std::vector<int> idle;
    for (int i = 0; i < 9; ++i) {
      idle.push_back(connect_to());
      QVERIFY(idle.back() >= 0);
      QCoreApplication::processEvents();
    }
    QCOMPARE(SingleInstance(QStringLiteral("Korvex48 idle"), dir.path()).Claim(),
             SingleInstance::Outcome::kRaisedOther);
    QVERIFY(raised.wait(2000));
    // The last idle connection is closed by the editor, not kept for ever.
    char byte;
    QTRY_VERIFY_WITH_TIMEOUT(::read(idle.back(), &byte, 1) == 0, 10000);
    for (int fd : idle) ::close(fd);
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
