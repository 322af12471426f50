// morva-shots dialogs: pictures of the standalone windows for looking at them
// without a display: the image window with its hot spots, the dump window,
// every tab of the options dialog, the drive-search and editor dialogs and
// the help window. tools/screenshot-windows.sh runs it.
//
//   morva-shots dialogs OUT_DIR
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "app/dialogs/teditor_dlg.h"
#include "app/dialogs/toption_dlg.h"
#include "app/drive_search/tdrive_search.h"
#include "app/help/help_window.h"
#include "app/settings/settings.h"
#include "engine/book/report.h"
#include "engine/book/tdisk.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/image.h"
#include "tools/mkbook/index_page.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/subbook_pages.h"
#include "tools/mkbook/volume.h"
#include "tools/shots/shots.h"
#include "view/dump_window/tdump_form.h"
#include "view/graph_window/tgraph_form.h"

namespace morva::shots {

namespace {

// A sub-book with an entry and an image descriptor: a 160 x 120 picture of
// a frame with two hot spots. Returns the descriptor's address.
BookAddress WriteBook(const std::string& root) {
  using namespace mkbook;
  SubbookPages pages;
  const int32_t b = pages.NextFreePage();
  const BookAddress entry{b, 0};
  const BookAddress descriptor{b + 1, 0};
  const BookAddress data{b + 2, 0};
  BodyText body(entry);
  body.Indent(1)
      .Headword("地図の例")
      .Newline()
      .Indent(2)
      .BeginReference()
      .Text("地図")
      .EndPictureReference(descriptor);
  body.Newline();
  pages.AddSection(index_code::kBody, body.Bytes());

  Picture p(160, 120);
  for (int x = 0; x < 160; ++x) {
    p.Set(x, 0);
    p.Set(x, 119);
  }
  for (int y = 0; y < 120; ++y) {
    p.Set(0, y);
    p.Set(159, y);
  }
  for (int i = 10; i < 110; ++i) {
    p.Set(i + 20, i);
    p.Set(140 - i / 2, i);
  }
  mkbook::ImageDescriptor d;
  d.picture = data;
  d.width = 160;
  d.height = 120;
  d.relatedText = entry;
  d.hotSpots = {{60, 40, entry, false}, {120, 90, descriptor, true}};
  BodyText desc(descriptor);
  WriteImageDescriptor(desc, d);
  pages.file().Write(descriptor, desc.Bytes());
  pages.file().Write(data, p.Bytes());

  Subbook s;
  s.record.title = JisFromUtf8("画像の見本");
  s.record.directory = "sample";
  s.body = pages.Build();
  Volume volume(CatalogLayout::kCatalogs);
  volume.AddSubbook(std::move(s));
  volume.WriteTo(root);
  return descriptor;
}

bool Save(QWidget& w, const QString& dir, const char* name) {
  QApplication::processEvents();
  const QString path = dir + QLatin1Char('/') + QLatin1String(name);
  if (!w.grab().save(path)) {
    Complain(QStringLiteral("cannot write ") + path);
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

}  // namespace

int RunDialogs(const QStringList& args) {
  if (args.size() != 1) {
    std::fputs("usage: morva-shots dialogs OUT_DIR\n", stderr);
    return 2;
  }
  const QString out = args[0];
  QDir().mkpath(out);
  QTemporaryDir temp;
  const std::string root = temp.path().toStdString() + "/book";
  const BookAddress descriptor = WriteBook(root);

  QuietReporter reporter;
  TDisk disk(reporter);
  BookBar bar(2);
  bar[1].shortName = "sample";
  bar[1].location = root;
  bar[1].subbook = 0;
  disk.SetBookList(&bar);
  disk.settings().scroll = false;
  bool ok = true;

  TGraphForm graph(disk);
  graph.SetJumpColor(MakeColor(0, 128, 0));
  graph.SetZoom(200);
  char marker[32];
  std::snprintf(marker, sizeof marker, "\x02\x2EG%08X%04X", descriptor.page, descriptor.offset);
  graph.ShowImage(1, marker, "\x01\x92\x6e\x90\x7d");  // 地図
  graph.Image1MouseMove(120 * 2 - 10, 90 * 2);
  ok &= Save(graph, out, "graph-window.png");
  graph.hide();

  TDumpForm dump(disk);
  dump.ShowDump(1, {descriptor.page - 1, 0});
  ok &= Save(dump, out, "dump-window.png");
  dump.hide();

  Settings settings;
  settings.autoSearch = 5;
  TOptionDlg options;
  options.Fill(settings);
  options.show();
  const char* const tabs[] = {"options-1-kensaku.png", "options-2-hyoji.png",
                              "options-3-clipboard.png", "options-4-nyushutsuryoku.png"};
  for (int i = 0; i < 4; ++i) {
    options.pageControl()->setCurrentIndex(i);
    ok &= Save(options, out, tabs[i]);
  }
  options.hide();

  TDriveSearch drives;
  drives.Fill({settings.searchRoots, 2, true});
  drives.show();
  ok &= Save(drives, out, "drive-search.png");
  drives.hide();

  TEditorDlg editor;
  editor.SetFileName(QStringLiteral("/home/user/.config/morva/MORVA.$$$"));
  editor.show();
  ok &= Save(editor, out, "editor-dialog.png");
  editor.hide();

  HelpWindow help;
  help.ShowTopic(QStringLiteral("OptionClipboard"));
  ok &= Save(help, out, "help-window.png");
  help.ShowFinder();
  help.findChild<QWidget*>(QStringLiteral("Keyword"))
      ->setProperty("text", QString::fromUtf8("画像"));
  ok &= Save(help, out, "help-finder.png");
  return ok ? 0 : 1;
}

}  // namespace morva::shots
