#pragma once
// One editor per user session. The first instance holds a lock file and
// listens on a local (AF_UNIX) socket named after the window title, both in
// the user's runtime folder; a second start finds the lock taken, connects to
// the socket, asks the running editor to restore and raise its window, and
// ends without creating one.
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace korvex48::gui {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  enum class Outcome {
    kListening,      // this process is the only instance and listens
    kRaisedOther,    // another instance took the request to raise itself
    kOtherSilent,    // another instance holds the lock but did not take the request
    kNoSocket,       // no lock or socket could be made (Error() says why)
    kLockPathTaken,  // something other than a lock file lies at the lock's path
                     // (a folder, a link, a pipe): no editor may start, as no
                     // lock can tell it whether another one runs
  };

  // `key` names the socket (the window title; made safe for a socket name).
  // The socket lies in the user's runtime folder ($XDG_RUNTIME_DIR).
  explicit SingleInstance(const QString& key, QObject* parent = nullptr);
  // The same in `folder` (tests use a folder of their own).
  SingleInstance(const QString& key, const QString& folder, QObject* parent = nullptr);
  // Closes the socket and removes its file (it is this instance's: the lock
  // was held since it was made).
  ~SingleInstance() override;

  // Takes the lock and listens, or asks the holder of the lock to raise
  // itself. A connection that sends no request within a second is dropped,
  // and the oldest connection makes room for a new one when all places are
  // taken: clients that say nothing cannot keep a request out. A socket file left by a crashed
  // instance is replaced (the lock dies with its process, so a socket file found while holding the
  // lock is stale); anything else at that path is left alone and reported. Call once.
  Outcome Claim();

  // Why the last Claim() did not end in kListening or kRaisedOther.
  const QString& Error() const { return error_; }

  // The socket's absolute path, derived from the key.
  const QString& ServerName() const { return server_name_; }

 Q_SIGNALS:
  // Another start asked this instance to show itself.
  void raiseRequested();

 private:
  struct Client;

  bool AskRunningInstance();
  bool Listen();
  void OnConnection();
  void OnClientData(Client* client);
  void DropClient(Client* client);

  QString server_name_;
  QString error_;
  int lock_fd_ = -1;
  int server_fd_ = -1;
  bool bound_ = false;
  QSocketNotifier* server_notifier_ = nullptr;
  std::vector<std::unique_ptr<Client>> clients_;
};

}  // namespace korvex48::gui
