// morva-view: a developer harness for the content view. Opens a book, shows
// one entry in a window with the content pane, and optionally saves a picture
// of the window and exits (handy on the offscreen platform).
//
//   morva-view BOOKDIR[:N] PAGE:OFFSET [--screenshot OUT.png] [--item]
//              [--size WxH] [--bold N] [--wordwrap] [--line-space N]
//              [--select-all] [--lines] [--special]
#include <QApplication>
#include <QPixmap>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <string>

#include "cli/book_session.h"
#include "cli/cli_args.h"
#include "engine/decode/content.h"
#include "view/display_fonts.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"

namespace {

constexpr const char* kUsage =
    "usage: morva-view BOOKDIR[:N] PAGE:OFFSET [--screenshot OUT.png] [--item] [--size WxH]\n"
    "                  [--bold N] [--wordwrap] [--line-space N] [--select-all] [--lines]\n"
    "                  [--special]\n"
    "  --item        item display instead of continuous display\n"
    "  --select-all  select the whole entry before the picture is taken\n"
    "  --lines       print the shown lines' count and top line\n"
    "  --special     show line-end and end-of-text marks\n";

int Usage(const char* why) {
  if (why != nullptr) std::fprintf(stderr, "morva-view: %s\n", why);
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  using namespace morva;
  cli::Arguments args(argc, argv, 1);
  const auto screenshot = args.TakeOption("screenshot");
  const auto size = args.TakeOption("size").value_or("800x600");
  const auto bold = args.TakeOption("bold");
  const auto lineSpace = args.TakeOption("line-space");
  const bool item = args.TakeFlag("item");
  const bool wordWrap = args.TakeFlag("wordwrap");
  const bool selectAll = args.TakeFlag("select-all");
  const bool printLines = args.TakeFlag("lines");
  const bool special = args.TakeFlag("special");
  if (auto unknown = args.UnknownOption()) return Usage(("unknown option " + *unknown).c_str());
  if (args.positional().size() != 2) return Usage(nullptr);
  const auto volume = cli::ParseVolume(args.positional()[0]);
  const auto at = cli::ParseAddress(args.positional()[1]);
  if (!volume || !at) return Usage(nullptr);
  int width = 800;
  int height = 600;
  if (std::sscanf(size.c_str(), "%dx%d", &width, &height) != 2) return Usage("bad --size");

  std::string error;
  auto session = cli::BookSession::Open(*volume, "", &error);
  if (!session) {
    std::fprintf(stderr, "morva-view: %s\n", error.c_str());
    return 1;
  }
  TDisk& disk = session->disk();

  ViewSettings settings;
  settings.scroll = !item;
  settings.wordWrap = wordWrap;
  settings.showSpecialChars = special;
  if (bold) settings.bold = std::stoi(*bold);
  if (lineSpace) settings.lineSpace = std::stoi(*lineSpace);
  disk.settings().scroll = settings.scroll;
  DisplayFonts fonts(settings);

  QWidget window;
  window.setWindowTitle(QStringLiteral("morva-view"));
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* pane = new TMyScrollBox(&window);
  layout->addWidget(pane);
  TTextView view(disk, *pane, fonts, settings);
  QtClipboard clipboard;
  view.SetClipboard(&clipboard);
  window.resize(width, height);
  window.show();
  QApplication::processEvents();

  const int row = cli::BookSession::kRow;
  if (!settings.scroll) TContent(disk).FormatItem(row, *at);
  view.Show(row, at->page, at->offset);
  if (selectAll) view.SelectAll();
  if (printLines)
    std::printf("lines %d top %d visible %d columns %d target %d bar %d..%d visible %d %dx%d\n", view.LineCount(), view.TopLine(),
                view.VisibleLines(), view.Columns(), view.TargetLine(), pane->verticalScrollBar()->minimum(), pane->verticalScrollBar()->maximum(), pane->verticalScrollBar()->isVisible(), pane->verticalScrollBar()->width(), pane->verticalScrollBar()->height());

  if (screenshot) {
    QApplication::processEvents();
    if (!window.grab().save(QString::fromStdString(*screenshot))) {
      std::fprintf(stderr, "morva-view: cannot write %s\n", screenshot->c_str());
      return 1;
    }
    return 0;
  }
  return QApplication::exec();
}
