// morva-shots all: pictures of the whole program — the real main window with
// its windows wired in — for a look at their layout without a display.
// tools/screenshot.sh --all runs it.
//
//   morva-shots all OUTDIR
//
// It writes a small book (entries with an index, two compound forms with
// candidate lists, a picture with hot spots, many topics for the full-text
// search) into a temporary folder, opens it in a MorvaWindow and saves:
//
//   main.png             a search on the 索引 tab with an entry shown
//   compound.png         the 複合 tab with the candidate window open
//   compound-form2.png   the book's second compound form
//   fulltext.png         a running full-text search: the general search
//                        window beside the main window, the progress box over it
//   image.png            the image window of a picture link, hot spots marked
//   dump.png             the dump window over the main window
//   options-N.png        each tab of the options dialog (N = 1..4)
//   about.png, drivesearch.png, editor.png, groups.png   the other dialogs
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window/window_wiring.h"
#include "app/search_windows/tgeneral_search.h"
#include "app/search_windows/tprogress.h"
#include "engine/book/tdisk.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/compound.h"
#include "tools/mkbook/font.h"
#include "tools/mkbook/image.h"
#include "tools/mkbook/index_page.h"
#include "tools/mkbook/index_tree.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/subbook_pages.h"
#include "tools/mkbook/volume.h"
#include "tools/shots/shots.h"
#include "view/dump_window/tdump_form.h"
#include "view/graph_window/tgraph_form.h"
#include "view/multi_refer/tmulti_refer.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"

namespace morva::shots {

namespace {

constexpr int kFillerTopics = 300;

// ---- The book ------------------------------------------------------------------

mkbook::Picture MapPicture() {
  mkbook::Picture p(200, 140);
  for (int x = 0; x < 200; ++x) {
    p.Set(x, 0);
    p.Set(x, 139);
  }
  for (int y = 0; y < 140; ++y) {
    p.Set(0, y);
    p.Set(199, y);
  }
  for (int i = 10; i < 130; ++i) {
    p.Set(i + 30, i);
    p.Set(180 - i / 2, i);
    p.Set(100, i);
  }
  return p;
}

void WriteBook(const std::string& root) {
  using namespace mkbook;
  const auto J = [](std::string_view s) { return JisFromUtf8(s); };
  SubbookPages pages;
  BodyText body({pages.NextFreePage(), 0});
  std::vector<BookAddress> at;
  std::vector<TreeEntry> words;
  const int entries = 5;
  const char* heads[entries] = {"柴犬", "三毛猫", "水晶", "文鳥", "地図"};
  const char* texts[entries] = {"日本原産の犬。忠実で賢い。", "三色の毛をもつ猫。",
                                "石英の透明な結晶。", "スズメ目の小鳥。",
                                "土地の様子を縮めて表した図。"};
  Placeholder mapLink{};
  for (int i = 0; i < entries; ++i) {
    at.push_back(body.Here());
    words.push_back({J(heads[i]), body.Here(), body.Here()});
    body.Indent(1).Headword(heads[i]).Newline().Indent(2).Text(texts[i]).Newline();
    if (i == 4) {
      // A picture link (1F42 ... 1F52) whose descriptor follows the body.
      body.Indent(2).Text("例：").BeginReference().Text("市街地図").Escape(0x52);
      mapLink = body.ReserveAddress();
      body.Newline();
    }
  }
  for (int i = 0; i < kFillerTopics; ++i) {
    body.Indent(1).Headword("項目" + std::to_string(i + 1)).Newline();
    body.Indent(2)
        .Text(i % 4 == 0 ? "これは共通の説明を含む本文。" : "これは別の説明の本文。")
        .Newline();
  }
  body.EndText();
  pages.AddSection(index_code::kBody, body.Bytes());

  // The picture: a descriptor with two hot spots, then the data.
  const int32_t descPage = pages.NextFreePage();
  const Picture picture = MapPicture();
  mkbook::ImageDescriptor d;
  d.picture = {descPage + 1, 0};
  d.width = picture.width();
  d.height = picture.height();
  d.relatedText = at[4];
  d.hotSpots = {{40, 30, at[0], false}, {150, 100, at[2], false}};
  BodyText desc({descPage, 0});
  WriteImageDescriptor(desc, d);
  pages.file().Write({descPage, 0}, desc.Bytes());
  pages.file().Write({descPage + 1, 0}, picture.Bytes());
  pages.file().Patch(mapLink, BookAddress{descPage, 0});

  words.push_back({J("しばいぬ"), at[0], at[0]});
  words.push_back({J("みけねこ"), at[1], at[1]});
  pages.AddSection(index_code::kForwardWord, BuildIndexTree(words, pages.NextFreePage()).pages);

  // Two compound forms; 分類 offers nested candidate lists.
  auto index = [&](std::vector<TreeEntry> list) {
    const IndexTree tree = BuildIndexTree(std::move(list), pages.NextFreePage(),
                                          {.leaves = LeafLayout::kGroupedCompound});
    pages.file().AppendPages(tree.pages);
    return IndexOf(tree);
  };
  const CompoundIndex names =
      index({{J("柴犬"), at[0], at[0]}, {J("三毛猫"), at[1], at[1]}, {J("水晶"), at[2], at[2]}});
  const CompoundIndex kinds =
      index({{J("犬"), at[0], at[0]}, {J("猫"), at[1], at[1]}, {J("鉱物"), at[2], at[2]}});
  BodyText list({pages.NextFreePage(), 0});
  list.BeginKeyword().Text("動物").Escape(0x63);
  const Placeholder animals = list.ReserveAddress();
  list.Newline().Text("鉱物").Newline();
  list.Text("記号").Gaiji(0xA121).Text("付き").Newline().Newline();
  list.Patch(animals, WriteCandidateList(list, {{"犬"}, {"猫"}, {"鳥", {{"文鳥"}, {"鳩"}}}}));
  const int32_t kindList = pages.file().AppendPages(list.Bytes());
  AddCompoundSearch(pages, {{"名前", names}, {"分類", kinds, kindList}, {"産地", names}});
  AddCompoundSearch(pages, {{"読み", names}, {"意味", kinds}});

  Subbook s;
  s.record.title = J("見本辞典");
  s.record.directory = "sample";
  s.body = pages.Build();
  Font full(16, 16);
  full.AddPattern(std::vector<std::string>(16, "..############.."));
  s.AddFont(0, "GAI16F", full.Build());
  Volume v;
  v.AddSubbook(std::move(s));
  v.WriteTo(root);
}

// ---- Pictures ------------------------------------------------------------------

// The first window was placed by its client area (the title bar goes above
// it); the others were moved, which places their frames.
bool SaveWindows(const std::vector<QWidget*>& windows, const QString& path) {
  std::vector<Shown> shown;
  for (QWidget* w : windows) shown.push_back({w, w != windows.front()});
  const bool saved = SaveScreen(shown, path);
  if (saved) std::printf("wrote %s\n", qPrintable(path));
  return saved;
}

// Passes the steps on and takes the picture once enough hits were counted.
class ShootingProgress final : public ProgressBox {
 public:
  ShootingProgress(TProgress& box, std::function<void()> shoot)
      : box_(box), shoot_(std::move(shoot)) {}
  void Open(std::string_view caption, int maximum) override { box_.Open(caption, maximum); }
  void SetCaption(std::string_view caption) override {
    box_.SetCaption(caption);
    ++hits_;
  }
  bool Step(int position) override {
    const bool cancelled = box_.Step(position);
    if (shot_ || hits_ < 40 || box_.Box() == nullptr) return cancelled;
    shot_ = true;
    box_.Box()->setWindowTitle(box_.Caption());
    if (auto* bar = box_.Box()->findChild<QProgressBar*>(QStringLiteral("ProgressBar1")))
      bar->setValue(position);
    QApplication::processEvents();
    shoot_();
    return true;
  }
  void Close() override { box_.Close(); }

 private:
  TProgress& box_;
  std::function<void()> shoot_;
  int hits_ = 0;
  bool shot_ = false;
};

int Run(const QString& out) {
  QTemporaryDir dir;
  const std::string book = dir.path().toStdString() + "/book";
  WriteBook(book);

  QuietReporter reporter;
  FormOptions formOptions;
  formOptions.settingsFile = dir.path().toStdString() + "/MORVA.INI";
  formOptions.readStartupRequest = false;
  formOptions.saveSettings = false;
  formOptions.reporter = &reporter;
  MorvaWindowOptions options;
  // Each dialog is pictured instead of being waited for.
  std::function<void(QDialog&)> onDialog;
  options.execDialog = [&](QDialog& dialog) {
    dialog.show();
    QApplication::processEvents();
    if (onDialog) onDialog(dialog);
    return static_cast<int>(QDialog::Rejected);
  };
  MorvaWindow window(std::move(formOptions), std::move(options));
  TMorvaForm& form = window.form();
  form.setGeometry(20, 40 + kTitleHeight, 760, 500);
  form.show();
  QApplication::processEvents();
  form.OpenSingleBook(book);
  QApplication::processEvents();
  int failures = 0;
  auto shot = [&](const std::vector<QWidget*>& windows, const char* name) {
    QApplication::processEvents();
    if (!SaveWindows(windows, out + "/" + QLatin1String(name))) ++failures;
  };

  // The 索引 tab with an entry.
  form.SetSearchText(QStringLiteral("柴犬"));
  form.SearchClicked(false);
  form.ShowItem(0);
  shot({&form}, "main.png");

  // The 複合 tab, the candidate window under 分類.
  form.ActivateTab(kMultiTab);
  form.findChild<QLineEdit*>(QStringLiteral("MultiEdit1"))->setText(QStringLiteral("柴犬"));
  form.activateWindow();
  QApplication::processEvents();
  form.findChild<QLineEdit*>(QStringLiteral("MultiEdit2"))->setFocus(Qt::OtherFocusReason);
  QApplication::processEvents();
  shot({&form, &window.multiRefer()}, "compound.png");
  // The second form (複合検索 again), its two rows, the stepper and 検索.
  form.findChild<QAction*>(QStringLiteral("MenuMulti"))->trigger();
  shot({&form}, "compound-form2.png");

  // A running full-text search.
  ShootingProgress progress(window.progress(), [&] {
    shot({&form, window.generalSearch(), window.progress().Box()}, "fulltext.png");
  });
  window.UseProgressBox(&progress);  // before the window takes it
  form.ActivateTab(kGeneralTab);
  TGeneralSearch* general = window.generalSearch();
  general->move(form.geometry().right() + 12, form.y());
  general->findChild<QRadioButton*>(QStringLiteral("Zenbun"))->click();
  general->findChild<QComboBox*>(QStringLiteral("Keyword"))->setEditText(QStringLiteral("共通"));
  general->ButtonSearchClick();
  window.UseProgressBox(nullptr);

  // The image window of the picture link.
  form.ActivateTab(kIndexTab);
  form.SetSearchText(QStringLiteral("地図"));
  form.SearchClicked(false);
  form.ShowItem(0);
  QApplication::processEvents();
  TTextView& view = *form.view();
  QWidget* pane = form.findChild<TMyScrollBox*>(QStringLiteral("MyScrollBox1"))->viewport();
  const int lh = view.LineHeight();
  for (int line = 0; line < 6 && window.graphForm() == nullptr; ++line) {
    for (int x = 0; x < pane->width(); x += 2) {
      const int y = line * lh + lh / 2;
      if (!view.HitTest(x, y, false).onLink) continue;
      view.MouseDown(x + 4, y, false);
      view.MouseUp(x + 4, y);
      break;
    }
  }
  if (TGraphForm* graph = window.graphForm()) {
    graph->move(form.geometry().right() - 180, form.y() + 160);
    graph->resize(260, 220);
    graph->Image1MouseMove(40, 30);
    shot({&form, graph}, "image.png");
    graph->hide();
  } else {
    Complain(QStringLiteral("no picture link found"));
    ++failures;
  }

  // The dump window of the shown entry.
  form.ShowItem(0);
  form.findChild<QAction*>(QStringLiteral("Dump"))->trigger();
  if (TDumpForm* dump = window.dumpForm()) {
    dump->move(form.x() + 60, form.y() + 80);
    shot({&form, dump}, "dump.png");
    dump->hide();
  }

  // The options dialog, tab by tab, and the other dialogs.
  onDialog = [&](QDialog& dialog) {
    auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    for (int i = 0; tabs != nullptr && i < tabs->count(); ++i) {
      tabs->setCurrentIndex(i);
      shot({&dialog}, qPrintable(QStringLiteral("options-%1.png").arg(i + 1)));
    }
  };
  form.findChild<QAction*>(QStringLiteral("Option1"))->trigger();
  const std::pair<const char*, const char*> dialogs[] = {{"About1", "about.png"},
                                                         {"CDS1", "drivesearch.png"},
                                                         {"Editor", "editor.png"},
                                                         {"E1", "groups.png"}};
  for (const auto& [action, name] : dialogs) {
    const std::string file = name;
    onDialog = [&](QDialog& dialog) { shot({&dialog}, file.c_str()); };
    form.findChild<QAction*>(QLatin1String(action))->trigger();
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

int RunMainWindow(const QStringList& args) {
  if (args.size() != 1) {
    std::fputs("usage: morva-shots all OUTDIR\n", stderr);
    return 2;
  }
  QDir().mkpath(args[0]);
  return Run(args[0]);
}

}  // namespace morva::shots
