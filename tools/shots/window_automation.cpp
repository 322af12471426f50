// morva-shots window: the main window, built as the program builds it, for
// automation and measurements.
//
//   morva-shots window [--book DIR] [--search WORD] [--size WxH]
//                      [--screenshot FILE] [--report] [--first-paint]
//
//   --book DIR          open the volume in DIR (its first sub-book) alone
//   --search WORD       search WORD (UTF-8) there and show the first entry
//   --size WxH          the window's size
//   --screenshot FILE   save a picture of the window to FILE and quit
//   --report            print the window system, the search-and-show time and
//                       the memory in use, and quit
//   --first-paint       print the wall-clock time (ns since the epoch) of the
//                       window's first paint and quit
//
// The settings file is read but never written, no start-up request is
// handled and no running window is looked for. Without --screenshot,
// --report or --first-paint the window stays open.
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>

#include "app/main_window/tmorva_form.h"
#include "app/main_window/window_wiring.h"
#include "tools/shots/shots.h"

namespace morva::shots {

namespace {

struct WindowOptions {
  QString book;
  QString word;
  QString screenshot;
  int width = 0;
  int height = 0;
  bool report = false;
  bool firstPaint = false;
};

// The options, or nothing (with a message) when one is unknown or lacks its
// value.
std::optional<WindowOptions> ParseOptions(const QStringList& args) {
  WindowOptions options;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    auto value = [&](QString* out) {
      if (i + 1 >= args.size()) return false;
      *out = args[++i];
      return true;
    };
    QString size;
    bool ok = true;
    if (a == QLatin1String("--book")) {
      ok = value(&options.book);
    } else if (a == QLatin1String("--search")) {
      ok = value(&options.word);
    } else if (a == QLatin1String("--screenshot")) {
      ok = value(&options.screenshot);
    } else if (a == QLatin1String("--size")) {
      ok = value(&size) &&
           std::sscanf(size.toStdString().c_str(), "%dx%d", &options.width, &options.height) == 2;
    } else if (a == QLatin1String("--report")) {
      options.report = true;
    } else if (a == QLatin1String("--first-paint")) {
      options.firstPaint = true;
    } else {
      Complain(QStringLiteral("unknown option ") + a);
      return std::nullopt;
    }
    if (!ok) {
      Complain(a + QStringLiteral(" lacks its value"));
      return std::nullopt;
    }
  }
  return options;
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

// Prints the time of the window's first paint and ends the event loop. The
// paint may come before the loop runs (while the window is being set up);
// printed() tells then that nothing is left to wait for.
class FirstPaintProbe final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!seen_ && event->type() == QEvent::Paint && qobject_cast<QWidget*>(watched) != nullptr) {
      seen_ = true;
      // After the paint has been drawn and flushed.
      QTimer::singleShot(0, this, [this] {
        std::printf("first-paint %lld\n", WallClockNs());
        std::fflush(stdout);
        printed_ = true;
        QApplication::quit();
      });
    }
    return false;
  }
  bool printed() const { return printed_; }

 private:
  bool seen_ = false;
  bool printed_ = false;
};

}  // namespace

int RunWindow(const QStringList& args) {
  const std::optional<WindowOptions> options = ParseOptions(args);
  if (!options) {
    std::fputs(
        "usage: morva-shots window [--book DIR] [--search WORD] [--size WxH] [--screenshot FILE]\n"
        "                          [--report] [--first-paint]\n",
        stderr);
    return 2;
  }
  FirstPaintProbe probe;
  if (options->firstPaint) qApp->installEventFilter(&probe);

  FormOptions formOptions;
  formOptions.readStartupRequest = false;
  formOptions.saveSettings = false;
  MorvaWindow window(formOptions);
  TMorvaForm& form = window.form();
  if (options->width > 0 && options->height > 0) form.resize(options->width, options->height);
  form.show();
  QApplication::processEvents();
  if (!options->book.isEmpty()) form.OpenSingleBook(options->book.toStdString());

  double searchMs = 0;
  if (!options->word.isEmpty()) {
    QElapsedTimer timer;
    timer.start();
    form.SetSearchText(options->word);
    form.SearchClicked(false);
    form.ShowItem(0);
    form.repaint();  // the list and the entry painted
    searchMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  }
  QApplication::processEvents();
  if (!options->screenshot.isEmpty() && !form.grab().save(options->screenshot)) {
    Complain(QStringLiteral("cannot write ") + options->screenshot);
    return 1;
  }
  if (options->report) {
    std::printf("platform %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("status %s\n", form.StatusText(0).toStdString().c_str());
    std::printf("search-and-show-ms %.2f\n", searchMs);
    std::printf("vmrss-kb %ld\n", ResidentKb());
  }
  if (!options->screenshot.isEmpty() || options->report || probe.printed()) return 0;
  return QApplication::exec();
}

}  // namespace morva::shots
