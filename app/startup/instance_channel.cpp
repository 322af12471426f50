#include "app/startup/instance_channel.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <cerrno>
#include <csignal>

namespace morva {
namespace {

constexpr char kSocketPrefix[] = "window-";
constexpr qint64 kMaxLine = 4096;

// A directory that only the user can enter: created with mode 0700, and
// refused when it is a link, someone else's, or open to others.
bool SafeUserDirectory(const QByteArray& path) {
  if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) return false;
  if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0) return false;
  return true;
}

// Sends one request line and waits for one answer line, running a local
// event loop so that a server in the same thread can answer.
std::optional<QString> Exchange(const QString& socketPath, const QByteArray& request,
                                int timeoutMs) {
  QLocalSocket socket;
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  QByteArray buffer;
  bool finished = false;
  auto finish = [&] {
    finished = true;
    loop.quit();
  };
  QObject::connect(&socket, &QLocalSocket::connected, &loop, [&] { socket.write(request + '\n'); });
  QObject::connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
    buffer += socket.readAll();
    if (buffer.contains('\n') || buffer.size() > kMaxLine) finish();
  });
  QObject::connect(&socket, &QLocalSocket::errorOccurred, &loop, [&] { finish(); });
  QObject::connect(&socket, &QLocalSocket::disconnected, &loop, [&] { finish(); });
  QObject::connect(&timer, &QTimer::timeout, &loop, [&] { finish(); });
  timer.start(timeoutMs);
  socket.connectToServer(socketPath);
  // Connecting may already have failed (or even answered) by now.
  if (!finished) loop.exec();
  socket.abort();
  const qsizetype newline = buffer.indexOf('\n');
  if (newline < 0) return std::nullopt;
  return QString::fromUtf8(buffer.left(newline));
}

}  // namespace

QString DefaultChannelDirectory() {
  const QString uid = QString::number(::getuid());
  QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (base.isEmpty() || !QDir::isAbsolutePath(base) || !QDir(base).exists())
    base = QDir::tempPath();
  const QString dir = base + QStringLiteral("/morva-") + uid;
  return SafeUserDirectory(QFile::encodeName(dir)) ? dir : QString();
}

InstanceServer::InstanceServer(QString channelDirectory, std::function<QString()> title,
                               QObject* parent)
    : QObject(parent), directory_(std::move(channelDirectory)), title_(std::move(title)) {}

InstanceServer::~InstanceServer() = default;

QString InstanceServer::SocketPath() const {
  return directory_ + QLatin1Char('/') + QLatin1String(kSocketPrefix) +
         QString::number(QCoreApplication::applicationPid());
}

bool InstanceServer::Listen() {
  if (directory_.isEmpty()) return false;
  // Sockets left behind by processes that ended without closing them.
  const QDir dir(directory_);
  for (const QString& name : dir.entryList({QLatin1String(kSocketPrefix) + QLatin1Char('*')},
                                           QDir::System | QDir::Files | QDir::Hidden)) {
    bool ok = false;
    const qint64 pid = name.mid(static_cast<int>(sizeof kSocketPrefix) - 1).toLongLong(&ok);
    if (!ok || pid <= 0 || pid == QCoreApplication::applicationPid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
      QFile::remove(dir.filePath(name));
  }
  QLocalServer::removeServer(SocketPath());
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_.get(), &QLocalServer::newConnection, this, &InstanceServer::OnNewConnection);
  return server_->listen(SocketPath());
}

void InstanceServer::OnNewConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (socket->bytesAvailable() > 0) OnReadyRead(socket);
  }
}

void InstanceServer::OnReadyRead(QLocalSocket* socket) {
  while (socket->canReadLine()) {
    const QByteArray line = socket->readLine(kMaxLine).trimmed();
    if (line == "WHO") {
      const QString title = title_ ? title_() : QString();
      socket->write(QByteArray(kMainWindowClass) + '\t' + title.toUtf8() + '\n');
    } else if (line == QByteArray::number(kHandOverCommand)) {
      socket->write("OK\n");
      // The window acts after the answer is on its way, so a long start-up
      // search never makes the new start give up and open a window of its own.
      QMetaObject::invokeMethod(
          this, [this] { emit commandReceived(kHandOverCommand); }, Qt::QueuedConnection);
    } else {
      socket->write("ERR\n");
    }
    socket->flush();
  }
  // A line longer than any request: drop the connection.
  if (socket->bytesAvailable() > kMaxLine) socket->abort();
}

InstanceClient::InstanceClient(QString channelDirectory, int timeoutMs)
    : directory_(std::move(channelDirectory)), timeoutMs_(timeoutMs) {}

std::vector<RunningWindow> InstanceClient::RunningWindows() const {
  std::vector<RunningWindow> windows;
  if (directory_.isEmpty()) return windows;
  const QDir dir(directory_);
  for (const QString& name : dir.entryList({QLatin1String(kSocketPrefix) + QLatin1Char('*')},
                                           QDir::System | QDir::Files | QDir::Hidden, QDir::Name)) {
    const QString path = dir.filePath(name);
    std::optional<QString> answer = Exchange(path, "WHO", timeoutMs_);
    if (!answer) continue;
    const qsizetype tab = answer->indexOf(QLatin1Char('\t'));
    if (tab < 0) continue;
    windows.push_back({path, answer->left(tab), answer->mid(tab + 1)});
  }
  return windows;
}

bool InstanceClient::SendCommand(const QString& socketPath, int command, int timeoutMs) {
  const std::optional<QString> answer =
      Exchange(socketPath, QByteArray::number(command), timeoutMs);
  return answer && *answer == QLatin1String("OK");
}

bool InstanceClient::HandOver(int instanceRule, const QString& title) const {
  if (instanceRule != 1 && instanceRule != 2) return false;
  // Rule 1 without a group would look for a window without a title: there
  // is none to reuse.
  if (instanceRule == 1 && title.isEmpty()) return false;
  for (const RunningWindow& window : RunningWindows()) {
    if (window.windowClass != QLatin1String(kMainWindowClass)) continue;
    if (instanceRule == 1 && window.title != title) continue;
    if (SendCommand(window.socketPath, kHandOverCommand, timeoutMs_)) return true;
  }
  return false;
}

}  // namespace morva
