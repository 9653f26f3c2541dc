#pragma once
// One editor per user session. The first instance listens on a local socket
// named after the window title; a second start connects to it, asks it to
// restore and raise its window, and ends without creating one.
#include <QLocalServer>
#include <QObject>
#include <QString>

namespace korvex48::gui {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // `key` names the socket (the window title; made safe for a socket name).
  // The socket lies in the user's runtime folder ($XDG_RUNTIME_DIR).
  explicit SingleInstance(const QString& key, QObject* parent = nullptr);

  // True when this process is the only instance and now listens; false when
  // another instance answered (it has been asked to raise itself). When the
  // socket cannot be created at all, the start goes on (true) rather than
  // leaving the user without an editor.
  bool Claim();

  // The socket's absolute path, derived from the key.
  const QString& ServerName() const { return server_name_; }

 Q_SIGNALS:
  // Another start asked this instance to show itself.
  void raiseRequested();

 private:
  bool AskRunningInstance();
  void OnNewConnection();

  QString server_name_;
  QLocalServer server_;
};

}  // namespace korvex48::gui
