#include "gui/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QStandardPaths>

namespace korvex48::gui {
namespace {

constexpr int kConnectTimeoutMs = 500;
const QByteArray kRaise = QByteArrayLiteral("raise\n");

// The user's own runtime folder: $XDG_RUNTIME_DIR when it is an absolute
// path to a folder, else Qt's per-user fallback (created with mode 0700).
QString RuntimeFolder() {
  const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg) && QFileInfo(xdg).isDir()) return xdg;
  return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

}  // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent) {
  QString name = key;
  name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
  // A full path keeps the socket out of the shared /tmp, where another user
  // could take the name first.
  const QString folder = RuntimeFolder();
  server_name_ = folder.isEmpty() ? name : QDir(folder).filePath(name);
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
}

bool SingleInstance::AskRunningInstance() {
  QLocalSocket socket;
  socket.connectToServer(server_name_);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(kRaise);
  socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::Claim() {
  if (AskRunningInstance()) return false;
  // Only the current user may talk to the socket.
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (server_.listen(server_name_)) return true;
  // A socket file left by a crashed instance: nobody answered above, so it is
  // stale and may be removed.
  if (server_.serverError() == QAbstractSocket::AddressInUseError) {
    QLocalServer::removeServer(server_name_);
    if (server_.listen(server_name_)) return true;
  }
  return true;
}

void SingleInstance::OnNewConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (socket->readAll().contains("raise")) Q_EMIT raiseRequested();
    });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  }
}

}  // namespace korvex48::gui
