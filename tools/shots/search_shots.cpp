// morva-shots search: pictures of the search windows, taken on any Qt
// platform (the offscreen one needs no display), for a look at their layout.
//
//   morva-shots search OUTDIR [BOOKDIR] [--query WORD]
//
//   OUTDIR/compound.png  a stand-in condition pane on its 複合 tab, a field's
//                        candidate window open under it (a small book with a
//                        compound search is written for it)
//   OUTDIR/compound-search.png  the same after a candidate was chosen and
//                        検索 pressed
//   OUTDIR/fulltext.png  a full-text search of BOOKDIR running: the general
//                        search window beside the main window and the
//                        progress box over it
//   OUTDIR/fulltext-done.png  the hits after the search was cancelled
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <cstdio>
#include <string>
#include <vector>

#include "app/search_windows/compound_tab.h"
#include "app/search_windows/tgeneral_search.h"
#include "app/search_windows/tprogress.h"
#include "engine/book/book_list.h"
#include "engine/book/tdisk.h"
#include "engine/search/candidate_list.h"
#include "engine/search/compound_search.h"
#include "engine/search/fulltext.h"
#include "engine/search/index_search.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/compound.h"
#include "tools/mkbook/font.h"
#include "tools/mkbook/index_page.h"
#include "tools/mkbook/index_tree.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/subbook_pages.h"
#include "tools/mkbook/volume.h"
#include "tools/shots/shots.h"
#include "view/display_fonts.h"
#include "view/multi_refer/tmulti_refer.h"

namespace morva::shots {

namespace {

// Book text for a plain list: external characters as low lines.
QString Plain(std::string_view sjis) {
  return QString::fromStdString(SjisToUtf8(CandidateDisplayText(sjis)));
}
constexpr int kPaneWidth = 161;

class StderrReporter final : public Reporter {
 public:
  void Fatal(std::string_view text) override { Print("fatal", text); }
  void Warning(std::string_view text) override { Print("warning", text); }
  void RetryOrAbort(std::string_view text) override { Print("error", text); }

 private:
  static void Print(const char* kind, std::string_view text) {
    std::fprintf(stderr, "morva-shots: %s: %s\n", kind, SjisToUtf8(text).c_str());
  }
};

// A book with one compound search whose 分類 field offers nested candidate
// lists and candidates with an external character.
void WriteCompoundBook(const std::string& root) {
  using namespace morva::mkbook;
  SubbookPages pages;
  BodyText body({pages.NextFreePage(), 0});
  std::vector<BookAddress> at;
  for (const char* word : {"柴犬", "三毛猫", "水晶", "文鳥"}) {
    at.push_back(body.Here());
    body.Indent(1).Headword(word).Newline().Text("説明。").Newline();
  }
  pages.AddSection(index_code::kBody, body.EndText().Bytes());
  auto index = [&](std::vector<TreeEntry> entries) {
    const IndexTree tree = BuildIndexTree(std::move(entries), pages.NextFreePage(),
                                          {.leaves = LeafLayout::kGroupedCompound});
    pages.file().AppendPages(tree.pages);
    return IndexOf(tree);
  };
  const auto J = [](const char* s) { return JisFromUtf8(s); };
  const CompoundIndex names = index({{J("柴犬"), at[0], at[0]}, {J("三毛猫"), at[1], at[1]}});
  const CompoundIndex kinds =
      index({{J("犬"), at[0], at[0]}, {J("猫"), at[1], at[1]}, {J("鉱物"), at[2], at[2]}});

  BodyText list({pages.NextFreePage(), 0});
  list.BeginKeyword().Text("動物").Escape(0x63);
  const Placeholder animals = list.ReserveAddress();
  list.Newline().Text("鉱物").Newline();
  list.Text("記号").Gaiji(0xA121).Text("付き").Newline();
  list.Text("半角").BeginNarrow().Gaiji(0xA121).EndNarrow().Text("付き").Newline().Newline();
  list.Patch(animals, WriteCandidateList(list, {{"犬"}, {"猫"}, {"鳥", {{"文鳥"}, {"鳩"}}}}));
  const int32_t kindList = pages.file().AppendPages(list.Bytes());

  AddCompoundSearch(pages, {{"名前", names}, {"分類", kinds, kindList}, {"産地", names}});
  AddCompoundSearch(pages, {{"読み", names}});

  Subbook s;
  s.record.title = J("複合検索見本");
  s.record.directory = "compound";
  s.body = pages.Build();
  Font full(16, 16);
  full.AddPattern({"................", ".....######.....", "...##......##...", "..#..........#..",
                   ".#.....##.....#.", ".#....###.....#.", "#.......#......#", "#.......#......#",
                   "#.......#......#", "#.......#......#", ".#......#.....#.", ".#....#####...#.",
                   "..#..........#..", "...##......##...", ".....######.....", "................"});
  Font half(8, 16);
  half.AddPattern({"........", "........", ".#####..", "........", "........", "..###...",
                   ".#...#..", ".#...#..", ".#...#..", ".#...#..", ".#...#..", "..###...",
                   "........", "........"});
  s.AddFont(0, "GAI16F", full.Build());
  s.AddFont(4, "GAI16H", half.Build());
  Volume v;
  v.AddSubbook(std::move(s));
  v.WriteTo(root);
}

// A stand-in for the main window: the condition pane with its four tabs and
// the word list, and the status bar.
struct MainStandIn {
  QWidget window;
  QTabWidget* tabs = nullptr;
  QWidget* multiPage = nullptr;
  QListWidget* list = nullptr;
  QLabel* status = nullptr;

  MainStandIn() {
    window.setWindowTitle(QStringLiteral("Morva"));
    window.setGeometry(40, 60, 538, 417);
    tabs = new QTabWidget(&window);
    tabs->setGeometry(0, 0, kPaneWidth, 395);
    for (const char* name : {"索引", "複合", "ﾒﾆｭｰ", "総合"}) {
      auto* page = new QWidget;
      tabs->addTab(page, QString::fromUtf8(name));
      if (std::string(name) == "複合") multiPage = page;
    }
    list = new QListWidget(&window);
    list->setObjectName(QStringLiteral("DrawGrid1"));
    status = new QLabel(&window);
    status->setFrameShape(QFrame::Panel);
    status->setFrameShadow(QFrame::Sunken);
    status->setGeometry(kPaneWidth + 4, 395, 538 - kPaneWidth - 8, 20);
    auto* content = new QLabel(&window);
    content->setGeometry(kPaneWidth + 4, 4, 538 - kPaneWidth - 8, 388);
    content->setAutoFillBackground(true);
    content->setFrameShape(QFrame::StyledPanel);
    QPalette white = content->palette();
    white.setColor(QPalette::Window, Qt::white);
    content->setPalette(white);
  }
};

int CompoundShot(const QString& out) {
  QTemporaryDir dir;
  const std::string root = dir.path().toStdString() + "/compound";
  WriteCompoundBook(root);
  StderrReporter reporter;
  BookBar books{{"COMP", root, "", 0, false}};
  TDisk disk(reporter);
  disk.SetBookList(&books);
  if (!disk.SelectSubbook(0)) return 1;
  CompoundSearch search(disk);
  DisplayFonts fonts{ViewSettings{}};

  MainStandIn main;
  CompoundTabWidgets widgets;
  for (int f = 0; f < CompoundSearch::kMaxFields; ++f) {
    widgets.labels[static_cast<size_t>(f)] = new QLabel(main.multiPage);
    widgets.edits[static_cast<size_t>(f)] = new QLineEdit(main.multiPage);
  }
  widgets.labels[0]->move(4, 4);
  widgets.upDown = new QSpinBox(main.multiPage);
  widgets.upDown->resize(40, 24);
  widgets.searchButton = new QPushButton(QStringLiteral("検索"), main.multiPage);
  widgets.searchButton->resize(64, 24);
  TMultiRefer refer(disk, search, fonts, &main.window);
  CompoundTab tab(search, refer, widgets);
  Wordlist hits(reporter);
  QObject::connect(&tab, &CompoundTab::statusChanged, [&](const std::string& text) {
    main.status->setText(QString::fromStdString(SjisToUtf8(text)));
  });
  // As in the main window, 検索 searches the book with the tab's query.
  QObject::connect(widgets.searchButton, &QPushButton::clicked,
                   [&] { Search(disk, hits, books, tab.BuildQuery(), 0); });
  const int ch = QFontMetrics(fonts.Set(0).list).height();
  tab.LayOut(QApplication::font(), ch);
  tab.Resize(kPaneWidth - 4);
  main.tabs->setCurrentWidget(main.multiPage);
  main.window.show();
  QApplication::processEvents();
  tab.TabShown();
  widgets.edits[0]->setText(QStringLiteral("柴犬"));
  tab.EnterField(1);
  QApplication::processEvents();
  const int listTop = widgets.searchButton->geometry().bottom() + 6;
  main.list->setParent(main.multiPage);
  main.list->setGeometry(2, listTop, kPaneWidth - 10, 360 - listTop);
  main.list->show();
  QApplication::processEvents();
  if (!SaveScreen({{&main.window, false}, {&refer, true}}, out + "/compound.png")) return 1;

  // 動物 -> 犬, then 検索: the window closes and the list shows the hit.
  refer.SetCurrentRow(0);
  refer.Button1Click();
  refer.SetCurrentRow(0);
  refer.Button1Click();
  widgets.searchButton->click();
  main.list->clear();
  for (int i = 0; i < hits.Count(); ++i)
    main.list->addItem(Plain(HeadingText(disk, hits, i, HeadingMode::kDisplay)));
  QApplication::processEvents();
  return SaveScreen({{&main.window, false}}, out + "/compound-search.png") ? 0 : 1;
}

// Passes the steps on and takes the picture once some hits were counted.
class ShootingProgress final : public ProgressBox {
 public:
  ShootingProgress(TProgress& box, QString path) : box_(box), path_(std::move(path)) {}
  void SetWindows(std::vector<Shown> windows) { windows_ = std::move(windows); }
  void Open(std::string_view caption, int maximum) override { box_.Open(caption, maximum); }
  void SetCaption(std::string_view caption) override {
    box_.SetCaption(caption);
    ++hits_;
  }
  bool Step(int position) override {
    const bool cancelled = box_.Step(position);
    if (!shot_ && hits_ >= 25 && position >= 150) {
      box_.Box()->setWindowTitle(box_.Caption());
      QApplication::processEvents();
      std::vector<Shown> all = windows_;
      all.push_back({box_.Box(), true});
      saved_ = SaveScreen(all, path_);
      shot_ = true;
      box_.Cancel();
    }
    return cancelled || shot_;
  }
  void Close() override { box_.Close(); }
  bool saved() const { return saved_; }

 private:
  TProgress& box_;
  std::vector<Shown> windows_;
  QString path_;
  int hits_ = 0;
  bool shot_ = false;
  bool saved_ = false;
};

int FullTextShot(const QString& out, const std::string& bookDir, const QString& query) {
  StderrReporter reporter;
  BookBar books{{"BOOK", bookDir, "", 0, false}};
  TDisk disk(reporter);
  disk.SetBookList(&books);
  if (!disk.SelectSubbook(0)) {
    Complain(QStringLiteral("cannot open ") + QString::fromStdString(bookDir));
    return 1;
  }
  Wordlist hits(reporter);
  FullTextSearch fullText(disk, hits);
  MainStandIn main;
  main.list->setGeometry(2, 30, kPaneWidth - 10, 360);
  main.list->setParent(main.tabs->widget(3));
  main.tabs->setCurrentIndex(3);
  main.status->setText(QString::fromStdString(SjisToUtf8(disk.subbook().title)));
  TProgress box(&main.window);
  ShootingProgress progress(box, out + "/fulltext.png");
  TGeneralSearch window(disk, hits, fullText, progress, &main.window);
  progress.SetWindows({{&main.window, false}, {&window, true}});
  window.move(main.window.geometry().right() + 8, main.window.y());
  window.findChild<QComboBox*>(QStringLiteral("Keyword"))->setEditText(query);
  window.findChild<QRadioButton*>(QStringLiteral("Zenbun"))->click();
  QObject::connect(&window, &TGeneralSearch::searchDone, [&](const TGeneralSearch::Done& done) {
    main.list->clear();
    for (int i = 0; i < hits.Count(); ++i)
      main.list->addItem(Plain(HeadingText(disk, hits, i, HeadingMode::kDisplay)));
    main.status->setText(
        QString::fromStdString(SjisToUtf8(disk.subbook().title + "  " + done.status)));
  });
  main.window.show();
  window.show();
  QApplication::processEvents();
  window.ButtonSearchClick();
  QApplication::processEvents();
  const bool done =
      SaveScreen({{&main.window, false}, {&window, true}}, out + "/fulltext-done.png");
  return progress.saved() && done ? 0 : 1;
}

}  // namespace

int RunSearch(const QStringList& arguments) {
  QStringList args = arguments;
  QString query = QStringLiteral("water");
  const int q = static_cast<int>(args.indexOf(QStringLiteral("--query")));
  if (q >= 0 && q + 1 < args.size()) {
    query = args[q + 1];
    args.remove(q, 2);
  }
  if (args.isEmpty() || args.size() > 2) {
    std::fputs("usage: morva-shots search OUTDIR [BOOKDIR] [--query WORD]\n", stderr);
    return 2;
  }
  const QString out = args[0];
  QDir().mkpath(out);
  const std::string book =
      args.size() > 1 ? args[1].toStdString() : std::string(MORVA_SHARED_BOOKS) + "/edict-small";
  const int compound = CompoundShot(out);
  const int fullText = FullTextShot(out, book, query);
  if (compound == 0 && fullText == 0)
    std::printf("wrote %s/compound.png, compound-search.png, fulltext.png, fulltext-done.png\n",
                qPrintable(out));
  return compound != 0 ? compound : fullText;
}

}  // namespace morva::shots
