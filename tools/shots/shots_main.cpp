// morva-shots: pictures and measurements of Morva's windows, for developers
// and the tests that drive the real window. See usage below.
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/startup/about_box.h"
#include "app/startup/qt_translations.h"
#include "tools/shots/shots.h"

namespace {

constexpr const char* kUsage =
    "usage: morva-shots COMMAND ARGS...\n"
    "  window [--book DIR] [--search WORD] [--size WxH] [--screenshot FILE] [--report] "
    "[--first-paint]\n"
    "                                 the main window, for automation and measurements\n"
    "  all OUTDIR                     the main window and every window it opens, on a book written "
    "for it\n"
    "  dialogs OUTDIR                 the image, dump, options, drive-search, editor and help "
    "windows\n"
    "  search OUTDIR [BOOKDIR] [--query WORD]\n"
    "                                 the compound tab and a running full-text search\n"
    "  entry BOOKDIR[:N] PAGE:OFFSET [OPTIONS]\n"
    "                                 one entry in the content view (entry --help for its "
    "options)\n";

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Morva"));
  QApplication::setWindowIcon(morva::MorvaIcon());
  morva::InstallJapaneseQtTranslations(app);
  QStringList args = QApplication::arguments().mid(1);
  if (args.isEmpty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const QString command = args.takeFirst();
  using namespace morva::shots;
  if (command == QLatin1String("window")) return RunWindow(args);
  if (command == QLatin1String("all")) return RunMainWindow(args);
  if (command == QLatin1String("dialogs")) return RunDialogs(args);
  if (command == QLatin1String("search")) return RunSearch(args);
  if (command == QLatin1String("entry")) return RunEntry(args);
  Complain(QStringLiteral("unknown command ") + command);
  std::fputs(kUsage, stderr);
  return 2;
}
