// The single-instance channel: how a new start finds a running main window
// and hands it the request (the "window command 111").
//
// Every main window listens on a local socket of its own,
//   <channel dir>/window-<pid>,
// where the channel directory belongs to the user alone
// ($XDG_RUNTIME_DIR/morva, else <temp>/morva-<uid>, mode 0700, checked to be
// the user's own directory) and the server accepts only the user
// (QLocalServer::UserAccessOption).
//
// The line protocol (UTF-8, one request per line, answers one line):
//   "WHO"  -> "TMorvaForm\t<window title>"
//   "111"  -> "OK"; the window reads Parm again and runs the start-up search
//   anything else -> "ERR"
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace morva {

inline constexpr char kMainWindowClass[] = "TMorvaForm";
inline constexpr int kHandOverCommand = 111;

// The user's channel directory, created when missing; empty when it cannot
// be made safely (then no window can be found and none listens).
QString DefaultChannelDirectory();

class InstanceServer final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(InstanceServer)

 public:
  // title() gives the window's present title for "WHO".
  InstanceServer(QString channelDirectory, std::function<QString()> title,
                 QObject* parent = nullptr);
  ~InstanceServer() override;

  // Starts listening; also removes sockets of processes that no longer run.
  bool Listen();
  QString SocketPath() const;

 signals:
  // Command 111 arrived.
  void commandReceived(int command);

 private:
  void OnNewConnection();
  void OnReadyRead(QLocalSocket* socket);

  QString directory_;
  std::function<QString()> title_;
  std::unique_ptr<QLocalServer> server_;
};

// What a running window answered.
struct RunningWindow {
  QString socketPath;
  QString windowClass;
  QString title;
};

// The new start's side. Both calls run a local event loop while waiting, so a
// server in the same thread (tests) still answers. timeoutMs bounds each
// exchange. REQUIRES: a QCoreApplication (QApplication) exists.
class InstanceClient {
 public:
  explicit InstanceClient(QString channelDirectory, int timeoutMs = 2000);

  // Every window that answers "WHO".
  std::vector<RunningWindow> RunningWindows() const;
  // Rule 2: any main window; rule 1: a window whose title is title; rule 0:
  // none. Sends command 111 to the first that matches; true when it was
  // acknowledged (the new process then ends).
  bool HandOver(int instanceRule, const QString& title) const;

  static bool SendCommand(const QString& socketPath, int command, int timeoutMs);

 private:
  QString directory_;
  int timeoutMs_;
};

}  // namespace morva
