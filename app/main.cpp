// Morva's window program: the entry of the start-up request (hand-over to a
// running window when the request asks for it), then the main window. A
// folder given as the only argument instead has its books added to the
// current group and opened (as ﾌｧｲﾙ > 辞書ﾌｫﾙﾀﾞを開く does). Automation and
// measurements of the window live in tools/shots (morva-shots).
//
// --prefer-x11 (the desktop entry's): start on X11 (XWayland) on a Wayland
// session unless QT_QPA_PLATFORM chooses the platform, so that the clipboard
// watch is told of changes made while Morva is not focused.
//
// SIGTERM (logout, shutdown), SIGINT and SIGHUP end the window the normal
// way, so the settings are saved; a second one of the same kind ends the
// program at once.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window/tmorva_form.h"
#include "app/main_window/window_wiring.h"
#include "app/settings/settings_store.h"
#include "app/startup/about_box.h"
#include "app/startup/instance_channel.h"
#include "app/startup/platform_choice.h"
#include "app/startup/qt_translations.h"
#include "app/startup/startup_flow.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace {

// The write end of the pipe through which a signal reaches the event loop;
// the handler may do nothing but write to it.
int quitSignalPipe = -1;

void OnQuitSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(quitSignalPipe, &byte, 1);
  errno = saved;
}

// Quits the application when SIGTERM, SIGINT or SIGHUP arrives: the signal
// only writes a byte, the event loop reads it and quits.
void QuitOnSignals(QApplication& app) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  quitSignalPipe = fds[1];
  auto* notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, &app);
  QObject::connect(notifier, &QSocketNotifier::activated, &app, [fd = fds[0]] {
    char buffer[16];
    while (::read(fd, buffer, sizeof buffer) > 0) {}
    QApplication::quit();
  });
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  // A second signal of the same kind takes its default course: a window that
  // no longer answers can still be ended.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (const int number : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(number, &action, nullptr);
}

// Takes --prefer-x11 out of the arguments and, as StartOnX11 decides, sets
// the platform before the application reads it.
void ChoosePlatform(int& argc, char** argv) {
  if (argc < 1) return;
  bool prefer = false;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], morva::kPreferX11Option) == 0) {
      prefer = true;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  argv[argc] = nullptr;
  if (morva::StartOnX11(prefer, std::getenv("QT_QPA_PLATFORM"), std::getenv("XDG_SESSION_TYPE"),
                        std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY")))
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
}

}  // namespace

int main(int argc, char** argv) {
  ChoosePlatform(argc, argv);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Morva"));
  QApplication::setWindowIcon(morva::MorvaIcon());
  morva::InstallJapaneseQtTranslations(app);
  QuitOnSignals(app);

  std::vector<char*> args(argv + 1, argv + argc);
  // An existing folder as the only argument is a volume (or a folder of
  // volumes) to open rather than a start-up request, whose first field names
  // a settings file and never a folder.
  QString folder;
  if (args.size() == 1) {
    const QFileInfo given(QString::fromLocal8Bit(args[0]));
    if (given.isDir()) {
      folder = given.absoluteFilePath();
      args.clear();
    }
  }

  using namespace morva;
  // Files a killed Morva left half written beside the settings.
  RemoveStaleTemporaryFiles(SettingsDirectory());
  std::vector<char*> requestArgs{argv[0]};
  requestArgs.insert(requestArgs.end(), args.begin(), args.end());
  const std::optional<std::string> argument =
      ArgumentFromCommandLine(static_cast<int>(requestArgs.size()), requestArgs.data());
  const QString channel = DefaultChannelDirectory();
  {
    SettingsStore entryStore(DefaultSettingsFilePath());
    if (RunEntry(entryStore, argument, channel).handedOver) return 0;
  }

  MorvaWindow window;
  TMorvaForm& form = window.form();
  InstanceServer server(channel, [&form] { return form.windowTitle(); });
  QObject::connect(&server, &InstanceServer::commandReceived, &form,
                   [&form](int) { form.StartupCommand(); });
  server.Listen();
  form.show();
  if (!folder.isEmpty()) form.AddBooksFromFolder(folder);
  return QApplication::exec();
}
