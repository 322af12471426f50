// morva-shots entry: one entry of a book in a window with the content pane,
// and optionally a picture of the window (handy on the offscreen platform).
//
//   morva-shots entry BOOKDIR[:N] PAGE:OFFSET [--screenshot OUT.png] [--item]
//                     [--size WxH] [--bold N] [--wordwrap] [--line-space N]
//                     [--select-all] [--lines] [--special]
#include <QApplication>
#include <QPixmap>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <optional>
#include <string>

#include "engine/book/book_list.h"
#include "engine/book/tdisk.h"
#include "engine/decode/content.h"
#include "engine/text/unicode.h"
#include "tools/shots/shots.h"
#include "view/clipboard_adapter.h"
#include "view/display_fonts.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"

namespace morva::shots {

namespace {

constexpr const char* kUsage =
    "usage: morva-shots entry BOOKDIR[:N] PAGE:OFFSET [--screenshot OUT.png] [--item] [--size "
    "WxH]\n"
    "                         [--bold N] [--wordwrap] [--line-space N] [--select-all] [--lines]\n"
    "                         [--special]\n"
    "  --item        item display instead of continuous display\n"
    "  --select-all  select the whole entry before the picture is taken\n"
    "  --lines       print the shown lines' count and top line\n"
    "  --special     show line-end and end-of-text marks\n";

int Usage(const QString& why) {
  if (!why.isEmpty()) Complain(why);
  std::fputs(kUsage, stderr);
  return 2;
}

// The row of the book in the one-book bar (row 0 is a separator).
constexpr int kRow = 1;

// "DIR" or "DIR:N" (N counted from 1): the volume and its sub-book.
struct Volume {
  std::string directory;
  int subbook = 1;
};

Volume ParseVolume(const QString& arg) {
  const qsizetype colon = arg.lastIndexOf(QLatin1Char(':'));
  bool ok = false;
  const int n = colon > 0 ? arg.mid(colon + 1).toInt(&ok) : 0;
  if (ok && n >= 1 && n <= 65535) return {arg.left(colon).toStdString(), n};
  return {arg.toStdString(), 1};
}

// A decimal or 0x-hexadecimal number.
qlonglong ParseNumber(const QString& text, bool* ok) {
  if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
    return text.mid(2).toLongLong(ok, 16);
  return text.toLongLong(ok, 10);
}

// "PAGE:OFFSET".
std::optional<BookAddress> ParseAddress(const QString& arg) {
  const QStringList parts = arg.split(QLatin1Char(':'));
  if (parts.size() != 2) return std::nullopt;
  bool pageOk = false;
  bool offsetOk = false;
  const qlonglong page = ParseNumber(parts[0], &pageOk);
  const qlonglong offset = ParseNumber(parts[1], &offsetOk);
  if (!pageOk || !offsetOk || page < 1 || page > 0x7FFFFFFF || offset < 0 || offset > 2047)
    return std::nullopt;
  return BookAddress{static_cast<int32_t>(page), static_cast<int32_t>(offset)};
}

class StderrReporter final : public Reporter {
 public:
  void Fatal(std::string_view text) override { Complain(QString::fromStdString(SjisToUtf8(text))); }
  void Warning(std::string_view text) override {
    Complain(QString::fromStdString(SjisToUtf8(text)));
  }
  void RetryOrAbort(std::string_view text) override {
    Complain(QString::fromStdString(SjisToUtf8(text)));
  }
};

}  // namespace

int RunEntry(const QStringList& arguments) {
  QStringList args = arguments;
  auto option = [&](const char* name) -> std::optional<QString> {
    const qsizetype i = args.indexOf(QLatin1String(name));
    if (i < 0 || i + 1 >= args.size()) return std::nullopt;
    const QString value = args[i + 1];
    args.remove(i, 2);
    return value;
  };
  auto flag = [&](const char* name) { return args.removeAll(QLatin1String(name)) > 0; };
  const auto screenshot = option("--screenshot");
  const QString size = option("--size").value_or(QStringLiteral("800x600"));
  const auto bold = option("--bold");
  const auto lineSpace = option("--line-space");
  const bool item = flag("--item");
  const bool wordWrap = flag("--wordwrap");
  const bool selectAll = flag("--select-all");
  const bool printLines = flag("--lines");
  const bool special = flag("--special");
  for (const QString& a : args)
    if (a.startsWith(QLatin1String("--"))) return Usage(QStringLiteral("unknown option ") + a);
  if (args.size() != 2) return Usage({});
  const Volume volume = ParseVolume(args[0]);
  const auto at = ParseAddress(args[1]);
  if (!at) return Usage(QStringLiteral("bad address ") + args[1]);
  int width = 800;
  int height = 600;
  if (std::sscanf(size.toStdString().c_str(), "%dx%d", &width, &height) != 2)
    return Usage(QStringLiteral("bad --size"));

  StderrReporter reporter;
  TDisk disk(reporter);
  BookBar bar(2);
  bar[kRow].shortName = "book";
  bar[kRow].location = volume.directory;
  bar[kRow].subbook = static_cast<int16_t>(volume.subbook - 1);
  disk.SetBookList(&bar);
  if (!disk.SelectSubbook(kRow)) {
    Complain(QStringLiteral("cannot open sub-book %1 of %2")
                 .arg(volume.subbook)
                 .arg(QString::fromStdString(volume.directory)));
    return 1;
  }

  ViewSettings settings;
  settings.scroll = !item;
  settings.wordWrap = wordWrap;
  settings.showSpecialChars = special;
  if (bold) settings.bold = bold->toInt();
  if (lineSpace) settings.lineSpace = lineSpace->toInt();
  disk.settings().scroll = settings.scroll;
  DisplayFonts fonts(settings);

  QWidget window;
  window.setWindowTitle(QStringLiteral("morva-shots"));
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

  if (!settings.scroll) TContent(disk).FormatItem(kRow, *at);
  view.Show(kRow, at->page, at->offset);
  if (selectAll) view.SelectAll();
  if (printLines) {
    const QScrollBar* bar = pane->verticalScrollBar();
    std::printf("lines %d top %d visible %d columns %d target %d bar %d..%d visible %d %dx%d\n",
                view.LineCount(), view.TopLine(), view.VisibleLines(), view.Columns(),
                view.TargetLine(), bar->minimum(), bar->maximum(), bar->isVisible(), bar->width(),
                bar->height());
  }
  if (screenshot) {
    QApplication::processEvents();
    if (!window.grab().save(*screenshot)) {
      Complain(QStringLiteral("cannot write ") + *screenshot);
      return 1;
    }
    return 0;
  }
  return QApplication::exec();
}

}  // namespace morva::shots
