// The windows and commands wired into the main window: picture links and the
// image window, the options dialog, the drive search of the menu and of the
// start, and a walk over every item of the main menu.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QMenu>
#include <QRadioButton>
#include <map>

#include "app/clipboard/clipboard_watch.h"
#include "app/dialogs/radio_group.h"
#include "app/dialogs/toption_dlg.h"
#include "app/help/help_window.h"
#include "app/search_windows/tgeneral_search.h"
#include "tests/gui/gui_wiring_fixture.h"
#include "tests/gui/windows_book.h"
#include "view/display_fonts.h"
#include "view/dump_window/tdump_form.h"
#include "view/graph_window/tgraph_form.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"

namespace morva::testing {
namespace {

// Some place of the pane over a link of the shown text, found by hit
// testing along the first lines; (-1, -1) when there is none.
QPoint FindLink(TTextView& view) {
  const int lh = view.LineHeight();
  for (int line = 0; line < 6; ++line)
    for (int x = 0; x < 600; x += 2)
      if (view.HitTest(x, line * lh + lh / 2, false).onLink) return {x + 4, line * lh + lh / 2};
  return {-1, -1};
}

TEST_F(WiringTest, PictureLinkOpensTheImageWindowWhoseTextHotSpotShowsItsText) {
  const PictureBook book = WritePictureBook(dir_.path() / "pics");
  UseBooks({{"画像テスト", (dir_.path() / "pics").string()}});
  TMorvaForm& form = OpenWired();
  ASSERT_EQ(form.CurrentBook(), 1);
  form.ShowAddress(1, book.entry());
  QApplication::processEvents();
  TTextView& view = *form.view();
  const QPoint link = FindLink(view);
  ASSERT_GE(link.x(), 0);
  QTest::mouseClick(Child<TMyScrollBox>("MyScrollBox1")->viewport(), Qt::LeftButton, Qt::NoModifier,
                    link);

  TGraphForm* graph = window_->graphForm();
  ASSERT_NE(graph, nullptr);
  EXPECT_TRUE(graph->isVisible());
  EXPECT_EQ(graph->windowTitle(), QString::fromUtf8("地図 100×100"));
  EXPECT_EQ(graph->pictureAddress(), book.picture1());
  // A text hot spot shows its text in the main window's pane.
  graph->Image1MouseMove(28, 40);
  graph->Image1MouseDown(28, 40);
  EXPECT_EQ(view.ShownAddress(), book.relatedText());

  // The window closes with the main window, its place kept in the settings.
  graph->move(form.frameGeometry().topLeft() + QPoint(30, 20));
  form.close();
  EXPECT_FALSE(graph->isVisible());
  EXPECT_EQ(form.settings().graphX, graph->frameGeometry().left() - form.frameGeometry().left());
}

TEST_F(WiringTest, OptionsReachThePaneTheEngineTheWatchTheSearchBoxAndTheSettingsFile) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 1))}});
  MorvaWindowOptions options;
  options.chooseColor = [](uint32_t) { return std::optional<uint32_t>(0x00FFFF); };  // yellow
  TMorvaForm& form = OpenWired(std::move(options));
  // Help asked for by the dialog belongs to it while it runs (so its
  // modality does not block the help) and stays open after it. Cancel
  // changes nothing.
  QWidget* helpOwner = nullptr;
  answerDialog_ = [&](QDialog& dialog) {
    qobject_cast<TOptionDlg*>(&dialog)->ButtonHelpClick();
    helpOwner = window_->helpWindow()->parentWidget();
    return static_cast<int>(QDialog::Rejected);
  };
  Act("Option1")->trigger();
  EXPECT_EQ(dialogs_, std::vector<std::string>{"morva::TOptionDlg"});
  EXPECT_TRUE(form.disk().settings().zenpo);
  EXPECT_NE(helpOwner, nullptr);
  ASSERT_NE(window_->helpWindow(), nullptr);
  EXPECT_EQ(window_->helpWindow()->parentWidget(), nullptr);
  EXPECT_TRUE(window_->helpWindow()->isVisible());

  const QString face = Box()->font().family() == QStringLiteral("IPAGothic")
                           ? QStringLiteral("DejaVu Sans")
                           : QStringLiteral("IPAGothic");
  answerDialog_ = [&](QDialog& dialog) {
    auto* options = qobject_cast<TOptionDlg*>(&dialog);
    options->ColorButtonClick(1);  // 背景
    options->findChild<QCheckBox*>(QStringLiteral("CheckBoxZenpo"))->setChecked(false);
    options->findChild<QRadioButton*>(QStringLiteral("RadioButton2"))->click();
    options->findChild<RadioGroup*>(QStringLiteral("ClipTiming"))->setItemIndex(0);
    options->findChild<RadioGroup*>(QStringLiteral("ClipAction"))->setItemIndex(1);
    for (const char* name : {"WatchSelection", "ArrowShows", "SearchAsYouType"})
      options->findChild<QCheckBox*>(QLatin1String(name))->setChecked(true);
    options->findChild<QComboBox*>(QStringLiteral("Font1"))->setEditText(face);
    return static_cast<int>(QDialog::Accepted);
  };
  Act("Option1")->trigger();
  const QWidget* pane = Child<TMyScrollBox>("MyScrollBox1")->viewport();
  EXPECT_EQ(pane->palette().color(QPalette::Window), QColor(255, 255, 0));
  EXPECT_FALSE(form.disk().settings().zenpo);
  EXPECT_EQ(window_->clipboardWatch().autoSearch(), 5);
  EXPECT_TRUE(window_->clipboardWatch().watchSelection());
  EXPECT_TRUE(form.settings().arrowShows);
  EXPECT_TRUE(form.settings().searchAsYouType);
  // The search box takes the face at once.
  EXPECT_EQ(Box()->font().family(), DisplayFonts::ResolveFace(Utf8ToSjis(face.toStdString())));

  // The options go into MORVA.INI and come back into the watch and the
  // dialog of the next window.
  window_.reset();
  const std::string saved = ReadFile(IniPath());
  for (const char* line : {"WatchSelection=yes", "ArrowShows=yes", "SearchAsYouType=yes"})
    EXPECT_NE(saved.find(line), std::string::npos) << line;
  OpenWired();
  EXPECT_TRUE(window_->clipboardWatch().watchSelection());
  answerDialog_ = [](QDialog& dialog) {
    for (const char* name : {"WatchSelection", "ArrowShows", "SearchAsYouType"})
      EXPECT_TRUE(dialog.findChild<QCheckBox*>(QLatin1String(name))->isChecked()) << name;
    return static_cast<int>(QDialog::Rejected);
  };
  Act("Option1")->trigger();
}

TEST_F(WiringTest, DriveSearchFillsTheBarFromTheSearchRootsByMenuAndAtTheStart) {
  MakeBook("roots/one", "一の本", Many("ねこ", 1));
  MakeBook("roots/two", "二の本", Many("いぬ", 1));
  const std::string roots =
      "[Options]\nSearchRoots=" + (dir_.path() / "roots").string() + "\nSearchDepth=1\n";
  WriteIni(roots + "SearchDialog=no\n");
  TMorvaForm& form = OpenWired();
  window_->UseProgressBox(&progress_);
  EXPECT_EQ(form.CurrentBook(), -1);

  Act("CDS1")->trigger();
  EXPECT_TRUE(dialogs_.empty());
  EXPECT_EQ(SjisToUtf8(progress_.caption()), "ﾄﾞﾗｲﾌﾞをｻｰﾁしています");
  std::vector<std::string> titles;
  for (const BookBarEntry& entry : form.Bar())
    if (!entry.IsSeparator()) titles.push_back(SjisToUtf8(entry.shortName));
  EXPECT_EQ(titles, (std::vector<std::string>{"一の本", "二の本"}));
  EXPECT_EQ(Child<QMenu>("MenuDic")->actions().size(), 2);
  // The bar's first book is open on the 索引 tab, and no group.
  EXPECT_EQ(form.CurrentBook(), 1);
  EXPECT_EQ(form.ActiveTab(), kIndexTab);
  EXPECT_EQ(StatusOf(1), "一の本");
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Morva"));
  SearchWired("いぬ");
  EXPECT_EQ(form.wordlist().Count(), 0);  // the open book only

  // With the dialog on, cancelling it leaves the bar as it is.
  form.settings().searchDialog = true;
  Act("N11")->trigger();
  EXPECT_EQ(dialogs_, std::vector<std::string>{"morva::TDriveSearch"});
  EXPECT_EQ(form.CurrentBook(), 1);

  // At the start, with no group named and a book open last time, the bar
  // is filled again without a dialog and that book opens: separator,
  // 一の本, separator, 二の本.
  window_.reset();
  WriteIni(roots + "Book=3\n");
  dialogs_.clear();
  TMorvaForm& again = OpenWired();
  EXPECT_EQ(again.CurrentBook(), 3);
  EXPECT_EQ(StatusOf(1), "二の本");
  EXPECT_TRUE(dialogs_.empty());
  EXPECT_TRUE(reporter_.boxes().empty());
}

// Every item of the main menu but the books and groups listed in 辞書 and
// ｸﾞﾙｰﾌﾟ does something visible.
TEST_F(WiringTest, EveryMainMenuItemDoesItsWork) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 3), true)}});
  std::vector<QStringList> started;
  MorvaWindowOptions options;
  options.editorRun.starter = [&](const QString& program, const QStringList& arguments) {
    started.push_back(QStringList{program} + arguments);
    return 33;
  };
  options.editorRun.warning = [](const QString&, const QString&) {};
  int foldersAsked = 0;
  options.chooseFolder = [&](const QString&) { return ++foldersAsked, std::optional<QString>(); };
  TMorvaForm& form = OpenWired(std::move(options));
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  SearchWired("ねこ");
  ASSERT_EQ(form.wordlist().Count(), 3);
  form.ShowItem(1);

  auto lastDialog = [&] { return dialogs_.empty() ? std::string() : dialogs_.back(); };
  auto help = [&] { return window_->helpWindow(); };
  bool before = false;
  struct Check {
    std::function<void()> prepare;
    std::function<bool()> done;
  };
  const std::map<std::string, Check> checks = {
      {"OpenFolder", {nullptr, [&] { return foldersAsked == 1; }}},
      {"CDS1", {nullptr, [&] { return lastDialog() == "morva::TDriveSearch"; }}},
      {"Copy1",
       {[&] {
          Box()->setFocus();
          Box()->lineEdit()->setText(QStringLiteral("うさぎ"));
          Box()->lineEdit()->selectAll();
        },
        [&] { return QGuiApplication::clipboard()->text() == QStringLiteral("うさぎ"); }}},
      {"Paste1",
       {[&] {
          QGuiApplication::clipboard()->setText(QStringLiteral("かめ"));
          Box()->setFocus();
          Box()->lineEdit()->clear();
        },
        [&] { return Box()->currentText() == QStringLiteral("かめ"); }}},
      {"MenuCopyContent",
       {nullptr,
        [&] { return QGuiApplication::clipboard()->text().startsWith(QStringLiteral("ねこ２")); }}},
      {"Editor", {nullptr, [&] { return lastDialog() == "morva::TEditorDlg"; }}},
      {"SearchContent", {nullptr, [&] { return Child<QWidget>("FindDialog1")->isVisible(); }}},
      {"FindNext1",
       {[&] { Child<QWidget>("FindDialog1")->hide(); },
        [&] { return form.view()->HasSelection(); }}},
      {"MenuCondAndContent",
       {nullptr, [&] { return form.WindowLayout() == TMorvaForm::kBothPanes; }}},
      {"MenuCondition",
       {nullptr, [&] { return form.WindowLayout() == TMorvaForm::kConditionOnly; }}},
      {"MenuContent",
       {nullptr,
        [&] {
          const bool ok = form.WindowLayout() == TMorvaForm::kContentOnly;
          form.SetWindowLayout(TMorvaForm::kBothPanes);
          return ok;
        }}},
      {"Dump",
       {nullptr,
        [&] { return window_->dumpForm() != nullptr && window_->dumpForm()->isVisible(); }}},
      {"MenuSeq",
       {[&] { before = form.ContinuousDisplay(); },
        [&] { return form.ContinuousDisplay() != before; }}},
      {"MenuDicBar",
       {[&] { before = Child<QWidget>("Panel1")->isVisible(); },
        [&] { return Child<QWidget>("Panel1")->isVisible() != before; }}},
      {"MenuMode",
       {[&] { before = Child<QWidget>("Panel21")->isVisible(); },
        [&] { return Child<QWidget>("Panel21")->isVisible() != before; }}},
      {"MenuIndex",
       {[&] { form.ActivateTab(kMenuTab); }, [&] { return form.ActiveTab() == kIndexTab; }}},
      // This book has no compound search: the item is not offered.
      {"MenuMulti",
       {nullptr, [&] { return !Act("MenuMulti")->isEnabled() && form.ActiveTab() == kIndexTab; }}},
      {"MenuMenu",
       {nullptr, [&] { return form.ActiveTab() == kMenuTab && form.wordlist().Count() == 3; }}},
      {"MenuGeneral",
       {nullptr,
        [&] {
          return window_->generalSearch() != nullptr && window_->generalSearch()->isVisible();
        }}},
      {"MenuBack",
       {[&] {
          form.ActivateTab(kIndexTab);
          SearchWired("ねこ");
          form.ShowItem(0);
          form.ShowItem(2);
        },
        [&] { return form.view()->ShownAddress() == form.wordlist().Item(0).body; }}},
      {"MenuEditDicInfo",
       {nullptr,
        [&] {
          return !started.empty() && started.back().size() == 2 &&
                 started.back()[1] == QString::fromStdString(form.settings().dicInfo);
        }}},
      {"Option1", {nullptr, [&] { return lastDialog() == "morva::TOptionDlg"; }}},
      {"E1", {nullptr, [&] { return lastDialog() == "morva::TGroupEditDlg"; }}},
      {"Contents1",
       {nullptr,
        [&] {
          return help() != nullptr && help()->isVisible() &&
                 help()->currentFile() == HelpFile::kMorva;
        }}},
      {"SearchforHelp",
       {[&] { help()->close(); },
        [&] {
          return help()->isVisible() && help()->findChild<QDockWidget*>("HelpFinder")->isVisible();
        }}},
      {"CDTitleHelp", {nullptr, [&] { return help()->currentFile() == HelpFile::kTitles; }}},
      {"About1", {nullptr, [&] { return lastDialog() == "morva::TAboutBox"; }}},
      {"Exit1",
       {nullptr,
        [&] {
          return !form.isVisible() && !help()->isVisible() && !window_->dumpForm()->isVisible() &&
                 !window_->generalSearch()->isVisible();
        }}},
  };

  std::vector<QAction*> items;
  QAction* exit = nullptr;
  for (QAction* title : form.menuBar()->actions()) {
    if (title->menu() == nullptr || title->menu()->objectName() == "MenuDic") continue;
    for (QAction* item : title->menu()->actions()) {
      if (item->isSeparator() || item->property("groupIndex").isValid()) continue;
      if (item->objectName() == "Exit1") exit = item;
      else items.push_back(item);
    }
  }
  ASSERT_NE(exit, nullptr);
  items.push_back(exit);  // last
  EXPECT_EQ(items.size(), checks.size());
  for (QAction* item : items) {
    const std::string name = item->objectName().toStdString();
    const auto check = checks.find(name);
    ASSERT_NE(check, checks.end()) << name << " has no expected behaviour";
    if (check->second.prepare) check->second.prepare();
    item->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(check->second.done()) << name;
  }
}

}  // namespace
}  // namespace morva::testing
