// Morva's window program: the entry of the start-up request (hand-over to a
// running window when the request asks for it), then the main window. A
// folder given as the only argument instead has its books added to the
// current group and opened (as ﾌｧｲﾙ > 辞書ﾌｫﾙﾀﾞを開く does).
//
// Developer options for automation and measurements (not shown anywhere in
// the program; see the README's developer section):
//   --book DIR          open the volume in DIR (its first sub-book) alone
//   --search WORD       search WORD (UTF-8) there and show the first entry
//   --size WxH          the window's size for this run
//   --screenshot FILE   save a picture of the window to FILE and quit
//   --report            print the window system, the search-and-show time and
//                       the memory in use, and quit
//   --first-paint       print the wall-clock time (ns since the epoch) of the
//                       window's first paint and quit
// With --book or --search the settings file is read but no start-up request
// is handled and no running window is looked for.
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
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPixmap>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
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
#include "engine/text/unicode.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "view/tmyscrollbox.h"

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
    while (::read(fd, buffer, sizeof buffer) > 0) {
    }
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

struct DeveloperOptions {
  std::string book;
  std::string word;
  std::string screenshot;
  int width = 0;
  int height = 0;
  bool report = false;
  bool firstPaint = false;
  bool Automated() const { return !book.empty() || !word.empty() || !screenshot.empty() || report; }
};

// Takes the developer options out of the arguments; what remains is the
// start-up request.
std::optional<DeveloperOptions> TakeDeveloperOptions(std::vector<char*>& args) {
  DeveloperOptions dev;
  std::vector<char*> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string a = args[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= args.size()) return false;
      *out = args[++i];
      return true;
    };
    std::string size;
    if (a == "--book") {
      if (!value(&dev.book)) return std::nullopt;
    } else if (a == "--search") {
      if (!value(&dev.word)) return std::nullopt;
    } else if (a == "--screenshot") {
      if (!value(&dev.screenshot)) return std::nullopt;
    } else if (a == "--size") {
      if (!value(&size) || std::sscanf(size.c_str(), "%dx%d", &dev.width, &dev.height) != 2) return std::nullopt;
    } else if (a == "--report") {
      dev.report = true;
    } else if (a == "--first-paint") {
      dev.firstPaint = true;
    } else {
      rest.push_back(args[i]);
    }
  }
  args = rest;
  return dev;
}

long long WallClockNs() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Resident memory of this process in kB (VmRSS), 0 when unknown.
long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return 0;
}

// Prints the time of the window's first paint and ends the program.
class FirstPaintProbe final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!done_ && event->type() == QEvent::Paint && qobject_cast<QWidget*>(watched) != nullptr) {
      done_ = true;
      // After the paint has been drawn and flushed.
      QTimer::singleShot(0, [] {
        std::printf("first-paint %lld\n", WallClockNs());
        std::fflush(stdout);
        QApplication::quit();
      });
    }
    return false;
  }

 private:
  bool done_ = false;
};

int RunAutomated(const DeveloperOptions& dev) {
  using namespace morva;
  FormOptions options;
  options.readStartupRequest = false;
  options.saveSettings = false;
  MorvaWindow window(options);
  TMorvaForm& form = window.form();
  if (dev.width > 0 && dev.height > 0) form.resize(dev.width, dev.height);
  form.show();
  QApplication::processEvents();
  if (!dev.book.empty()) form.OpenSingleBook(dev.book);

  double searchMs = 0;
  if (!dev.word.empty()) {
    QElapsedTimer timer;
    timer.start();
    form.SetSearchText(QString::fromUtf8(dev.word.c_str()));
    form.SearchClicked(false);
    form.ShowItem(0);
    form.repaint();  // the list and the entry painted
    searchMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  }
  QApplication::processEvents();
  if (!dev.screenshot.empty() && !form.grab().save(QString::fromStdString(dev.screenshot))) {
    std::fprintf(stderr, "morva: cannot write %s\n", dev.screenshot.c_str());
    return 1;
  }
  if (dev.report) {
    std::printf("platform %s\n", QGuiApplication::platformName().toStdString().c_str());
    std::printf("status %s\n", form.StatusText(0).toStdString().c_str());
    std::printf("search-and-show-ms %.2f\n", searchMs);
    std::printf("vmrss-kb %ld\n", ResidentKb());
  }
  if (!dev.screenshot.empty() || dev.report) return 0;
  return QApplication::exec();
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
  const std::optional<DeveloperOptions> dev = TakeDeveloperOptions(args);
  if (!dev) {
    std::fputs("morva: a developer option lacks its value\n", stderr);
    return 2;
  }
  if (dev->Automated()) return RunAutomated(*dev);

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

  FirstPaintProbe probe;
  if (dev->firstPaint) app.installEventFilter(&probe);

  MorvaWindow window;
  TMorvaForm& form = window.form();
  InstanceServer server(channel, [&form] { return form.windowTitle(); });
  QObject::connect(&server, &InstanceServer::commandReceived, &form, [&form](int) { form.StartupCommand(); });
  server.Listen();
  form.show();
  if (!folder.isEmpty()) form.AddBooksFromFolder(folder);
  return QApplication::exec();
}
