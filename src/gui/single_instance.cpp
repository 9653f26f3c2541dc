#include "gui/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <cstring>

namespace korvex48::gui {
namespace {

const QByteArray kRaise = QByteArrayLiteral("raise\n");
// A request is one short line; a peer that sends more, or keeps this many
// connections open, is not another editor and is not listened to.
constexpr qsizetype kMaxRequestBytes = 64;
constexpr std::size_t kMaxClients = 8;
constexpr int kBacklog = 8;
// How long a connection may stay without sending its request.
constexpr int kClientIdleMs = 1000;
// How long a second start waits for the running editor to take its request.
constexpr int kAnswerTimeoutMs = 500;

// The user's own runtime folder: $XDG_RUNTIME_DIR when it is an absolute
// path to a folder, else Qt's per-user fallback (created with mode 0700).
QString RuntimeFolder() {
  const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg) && QFileInfo(xdg).isDir()) return xdg;
  return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString SystemError(const QString& what, int error) {
  return QStringLiteral("%1: %2").arg(what, qt_error_string(error));
}

// The socket address of `path`; false when the path does not fit.
bool SocketAddress(const QByteArray& path, sockaddr_un* address) {
  std::memset(address, 0, sizeof *address);
  address->sun_family = AF_UNIX;
  if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address->sun_path)
    return false;
  std::memcpy(address->sun_path, path.constData(), static_cast<std::size_t>(path.size()));
  return true;
}

bool IsSocketNameChar(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') ||
         u == u'.' || u == u'_' || u == u'-';
}

// `key` with every character but ASCII letters, digits, '.', '_' and '-'
// replaced by one '_' (a character outside the BMP, a surrogate pair, is one).
// Runs before the window maps: plain code, no pattern to compile.
QString SocketSafeName(const QString& key) {
  QString name;
  name.reserve(key.size());
  for (qsizetype i = 0; i < key.size(); ++i) {
    const QChar c = key[i];
    if (IsSocketNameChar(c)) {
      name += c;
      continue;
    }
    name += u'_';
    if (c.isHighSurrogate() && i + 1 < key.size() && key[i + 1].isLowSurrogate()) ++i;
  }
  return name;
}

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

struct SingleInstance::Client {
  int fd = -1;
  QSocketNotifier* notifier = nullptr;
  QTimer* idle = nullptr;
  QByteArray received;
};

namespace {
// Why the node at the lock's path is no lock file; empty when it is one.
QString NotALockFile(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return QStringLiteral("is a directory, not a lock file");
  if (S_ISLNK(mode)) return QStringLiteral("is a symbolic link, not a lock file");
  return QStringLiteral("is not a lock file");
}
}  // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : SingleInstance(key, RuntimeFolder(), parent) {}

SingleInstance::SingleInstance(const QString& key, const QString& folder, QObject* parent)
    : QObject(parent) {
  const QString name = SocketSafeName(key);
  // A full path keeps the socket out of the shared /tmp, where another user
  // could take the name first.
  server_name_ = folder.isEmpty() ? name : QDir(folder).filePath(name);
}

SingleInstance::~SingleInstance() {
  for (auto& client : clients_) CloseFd(client->fd);
  CloseFd(server_fd_);
  // Removed while the lock is still held: the file is this instance's.
  if (bound_) ::unlink(QFile::encodeName(server_name_).constData());
  CloseFd(lock_fd_);
}

SingleInstance::Outcome SingleInstance::Claim() {
  error_.clear();
  const QByteArray lock_path = QFile::encodeName(server_name_ + QStringLiteral(".lock"));
  // Only a lock file can tell whether an editor runs: whatever else lies at
  // its path (a folder would let every start go on) stops the start.
  auto not_a_lock_file = [&](mode_t mode) {
    const QString why = NotALockFile(mode);
    if (why.isEmpty()) return false;
    error_ = QStringLiteral("%1: %2").arg(QFile::decodeName(lock_path), why);
    CloseFd(lock_fd_);
    return true;
  };
  struct stat found;
  if (::lstat(lock_path.constData(), &found) == 0 && not_a_lock_file(found.st_mode))
    return Outcome::kLockPathTaken;
  lock_fd_ =
      ::open(lock_path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
  if (lock_fd_ < 0) {
    const int error = errno;
    // Put there between the look and the open.
    if (::lstat(lock_path.constData(), &found) == 0 && not_a_lock_file(found.st_mode))
      return Outcome::kLockPathTaken;
    error_ = SystemError(QFile::decodeName(lock_path), error);
    return Outcome::kNoSocket;
  }
  if (::fstat(lock_fd_, &found) == 0 && not_a_lock_file(found.st_mode))
    return Outcome::kLockPathTaken;
  // The lock lives as long as the instance, and the kernel drops it when the
  // process ends however it ends: whoever holds it is the running editor.
  int locked;
  do {
    locked = ::flock(lock_fd_, LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    const int error = errno;
    CloseFd(lock_fd_);
    if (error != EWOULDBLOCK) {
      error_ = SystemError(QFile::decodeName(lock_path), error);
      return Outcome::kNoSocket;
    }
    return AskRunningInstance() ? Outcome::kRaisedOther : Outcome::kOtherSilent;
  }
  // The lock stays held even when listening fails: a later start then says
  // that an editor runs rather than starting a second one.
  return Listen() ? Outcome::kListening : Outcome::kNoSocket;
}

bool SingleInstance::AskRunningInstance() {
  sockaddr_un address;
  if (!SocketAddress(QFile::encodeName(server_name_), &address)) {
    error_ = QStringLiteral("%1: the path is too long for a socket").arg(server_name_);
    return false;
  }
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error_ = SystemError(QStringLiteral("socket"), errno);
    return false;
  }
  // Bounds the connect (a full backlog) and the write.
  timeval timeout{kAnswerTimeoutMs / 1000, (kAnswerTimeoutMs % 1000) * 1000};
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  bool sent = false;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    qsizetype done = 0;
    while (done < kRaise.size()) {
      const ssize_t n = ::send(fd, kRaise.constData() + done,
                               static_cast<std::size_t>(kRaise.size() - done), MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += n;
    }
    sent = done == kRaise.size();
  }
  if (!sent)
    error_ = SystemError(QStringLiteral("another editor runs, but its socket %1").arg(server_name_),
                         errno);
  CloseFd(fd);
  return sent;
}

bool SingleInstance::Listen() {
  const QByteArray path = QFile::encodeName(server_name_);
  sockaddr_un address;
  if (!SocketAddress(path, &address)) {
    error_ = QStringLiteral("%1: the path is too long for a socket").arg(server_name_);
    return false;
  }
  // Holding the lock, a socket file found here was left by an instance that
  // crashed. Anything else is not ours to remove.
  struct stat found;
  if (::lstat(path.constData(), &found) == 0) {
    if (!S_ISSOCK(found.st_mode)) {
      error_ = QStringLiteral("%1: exists and is not a socket").arg(server_name_);
      return false;
    }
    if (::unlink(path.constData()) != 0 && errno != ENOENT) {
      error_ = SystemError(server_name_, errno);
      return false;
    }
  }
  server_fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (server_fd_ < 0) {
    error_ = SystemError(QStringLiteral("socket"), errno);
    return false;
  }
  if (::bind(server_fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    error_ = SystemError(server_name_, errno);
    CloseFd(server_fd_);
    return false;
  }
  bound_ = true;
  // Only the current user may talk to the socket (the runtime folder is the
  // user's own already; a fallback folder may not be).
  if (::chmod(path.constData(), 0600) != 0 || ::listen(server_fd_, kBacklog) != 0) {
    error_ = SystemError(server_name_, errno);
    CloseFd(server_fd_);
    ::unlink(path.constData());
    bound_ = false;
    return false;
  }
  server_notifier_ = new QSocketNotifier(server_fd_, QSocketNotifier::Read, this);
  connect(server_notifier_, &QSocketNotifier::activated, this, &SingleInstance::OnConnection);
  return true;
}

void SingleInstance::OnConnection() {
  for (;;) {
    const int fd = ::accept4(server_fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;  // EAGAIN: all taken; anything else: the next notification retries
    }
    // The newest connection is the likeliest to carry a request: the oldest
    // has had its chance.
    if (clients_.size() >= kMaxClients) DropClient(clients_.front().get());
    auto client = std::make_unique<Client>();
    client->fd = fd;
    client->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    client->idle = new QTimer(this);
    client->idle->setSingleShot(true);
    Client* raw = client.get();
    connect(client->notifier, &QSocketNotifier::activated, this,
            [this, raw] { OnClientData(raw); });
    connect(client->idle, &QTimer::timeout, this, [this, raw] { DropClient(raw); });
    client->idle->start(kClientIdleMs);
    clients_.push_back(std::move(client));
  }
}

void SingleInstance::OnClientData(Client* client) {
  char chunk[kMaxRequestBytes];
  for (;;) {
    const ssize_t n = ::read(client->fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;  // more may come
    if (n <= 0) break;                                               // closed or failed
    client->received.append(chunk, n);
    if (client->received.size() > kMaxRequestBytes) break;
    if (client->received.contains("raise")) {
      DropClient(client);
      Q_EMIT raiseRequested();
      return;
    }
  }
  DropClient(client);
}

void SingleInstance::DropClient(Client* client) {
  // Called from the notifier's or the timer's own signal: they are stopped
  // now, deleted later.
  client->notifier->setEnabled(false);
  client->notifier->deleteLater();
  client->idle->stop();
  client->idle->deleteLater();
  CloseFd(client->fd);
  std::erase_if(clients_, [client](const auto& c) { return c.get() == client; });
}

}  // namespace korvex48::gui
