// The windows and commands wired into the main window: picture links and the
// image window, the options dialog, the drive search of the menu and of the
// start, the 複合 and 総合 tabs, and a walk over every item of the main menu.
#include <QCheckBox>
#include <QClipboard>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <algorithm>
#include <map>
#include <set>

#include "app/book_bar/book_bar_widget.h"
#include "app/clipboard/clipboard_watch.h"
#include "app/dialogs/radio_group.h"
#include "app/dialogs/toption_dlg.h"
#include "app/help/help_window.h"
#include "app/search_windows/tgeneral_search.h"
#include "engine/search/fulltext.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui/search_windows_support.h"
#include "tests/gui/windows_book.h"
#include "view/display_fonts.h"
#include "view/dump_window/tdump_form.h"
#include "view/graph_window/tgraph_form.h"
#include "view/tmyscrollbox.h"

namespace morva::testing {
namespace {

TEST_F(WiringTest, PictureLinkOpensTheImageWindowWhoseTextHotSpotShowsItsText) {
  const PictureBook book = WritePictureBook(dir_.path() / "pics");
  UseBooks({{"画像テスト", (dir_.path() / "pics").string()}});
  TMorvaForm& form = OpenWired();
  form.ShowAddress(1, book.entry());
  QApplication::processEvents();
  // Some place of the pane over a link of the shown text, by hit testing.
  const int lh = form.view()->LineHeight();
  QPoint link(-1, -1);
  for (int y = lh / 2; y < lh * 6 && link.x() < 0; y += lh)
    for (int x = 0; x < 600 && link.x() < 0; x += 2)
      if (form.view()->HitTest(x, y, false).onLink) link = {x + 4, y};
  ASSERT_GE(link.x(), 0);
  QTest::mouseClick(Find<TMyScrollBox>("MyScrollBox1")->viewport(), Qt::LeftButton, {}, link);
  TGraphForm* graph = main_->graphForm();
  ASSERT_NE(graph, nullptr);
  EXPECT_TRUE(graph->isVisible());
  EXPECT_EQ(graph->windowTitle(), QString::fromUtf8("地図 100×100"));
  EXPECT_EQ(graph->pictureAddress(), book.picture1());
  // A text hot spot shows its text in the main window's pane.
  graph->Image1MouseMove(28, 40);
  graph->Image1MouseDown(28, 40);
  EXPECT_EQ(Shown(), book.relatedText());
  // The window closes with the main window, its place kept in the settings.
  graph->move(form.frameGeometry().topLeft() + QPoint(30, 20));
  form.close();
  EXPECT_FALSE(graph->isVisible());
  EXPECT_EQ(form.settings().graphX, graph->frameGeometry().left() - form.frameGeometry().left());
}

TEST_F(WiringTest, OptionsReachThePaneTheEngineTheWatchTheSearchBoxAndTheSettingsFile) {
  UseOneBook(1);
  MorvaWindowOptions options;
  options.chooseColor = [](uint32_t) { return std::optional<uint32_t>(0x00FFFF); };  // yellow
  TMorvaForm& form = OpenWired(std::move(options));
  // Help asked for by the dialog belongs to it while it runs (so its
  // modality does not block the help) and stays open after it. Cancel
  // changes nothing.
  QWidget* helpOwner = nullptr;
  answerDialog_ = [&](QDialog& dialog) {
    qobject_cast<TOptionDlg*>(&dialog)->ButtonHelpClick();
    helpOwner = main_->helpWindow()->parentWidget();
    return static_cast<int>(QDialog::Rejected);
  };
  Action("Option1")->trigger();
  EXPECT_TRUE(form.disk().settings().zenpo);
  EXPECT_NE(helpOwner, nullptr);
  EXPECT_EQ(main_->helpWindow()->parentWidget(), nullptr);
  EXPECT_TRUE(main_->helpWindow()->isVisible());

  const char* boxes[] = {"WatchSelection", "ArrowShows", "SearchAsYouType"};
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
    for (const char* name : boxes) options->findChild<QCheckBox*>(name)->setChecked(true);
    options->findChild<QComboBox*>(QStringLiteral("Font1"))->setEditText(face);
    return static_cast<int>(QDialog::Accepted);
  };
  Action("Option1")->trigger();
  const QWidget* pane = Find<TMyScrollBox>("MyScrollBox1")->viewport();
  EXPECT_EQ(pane->palette().color(QPalette::Window), QColor(255, 255, 0));
  EXPECT_FALSE(form.disk().settings().zenpo);
  EXPECT_EQ(main_->clipboardWatch().autoSearch(), 5);
  EXPECT_TRUE(form.settings().arrowShows && form.settings().searchAsYouType);
  // The search box takes the face at once.
  EXPECT_EQ(Box()->font().family(), DisplayFonts::ResolveFace(Utf8ToSjis(face.toStdString())));
  // The options go into MORVA.INI and come back into the watch and the
  // dialog of the next window.
  Close();
  OpenWired();
  EXPECT_TRUE(main_->clipboardWatch().watchSelection());
  answerDialog_ = [&](QDialog& dialog) {
    for (const char* name : boxes)
      EXPECT_TRUE(dialog.findChild<QCheckBox*>(name)->isChecked()) << name;
    return static_cast<int>(QDialog::Rejected);
  };
  Action("Option1")->trigger();
}

TEST_F(WiringTest, DriveSearchFillsTheBarFromTheSearchRootsByMenuAndAtTheStart) {
  MakeBook("roots/one", "一の本", Many("ねこ", 1));
  MakeBook("roots/two", "二の本", Many("いぬ", 1));
  const std::string roots =
      "[Options]\nSearchRoots=" + (dir_.path() / "roots").string() + "\nSearchDepth=1\n";
  WriteIni(roots + "SearchDialog=no\n");
  TMorvaForm& form = Open();
  EXPECT_EQ(form.CurrentBook(), -1);
  Action("CDS1")->trigger();
  EXPECT_TRUE(dialogs_.empty());
  EXPECT_EQ(SjisToUtf8(progress_.caption()), "ﾄﾞﾗｲﾌﾞをｻｰﾁしています");
  EXPECT_EQ(Find<QMenu>("MenuDic")->actions().size(), 2);
  // The bar's first book is open on the 索引 tab, and no group.
  EXPECT_EQ(form.CurrentBook(), 1);
  EXPECT_EQ(form.ActiveTab(), kIndexTab);
  EXPECT_EQ(Status(1), "一の本");
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Morva"));
  SearchWired("いぬ");
  EXPECT_EQ(form.wordlist().Count(), 0);  // the open book only
  // With the dialog on, cancelling it leaves the bar as it is.
  form.settings().searchDialog = true;
  Action("N11")->trigger();
  EXPECT_EQ(dialogs_, std::vector<std::string>{"morva::TDriveSearch"});
  EXPECT_EQ(form.CurrentBook(), 1);

  // At the start, with no group named and a book open last time, the bar
  // is filled again without a dialog and that book opens: separator,
  // 一の本, separator, 二の本.
  Close();
  WriteIni(roots + "Book=3\n");
  TMorvaForm& again = OpenWired();
  EXPECT_EQ(again.CurrentBook(), 3);
  EXPECT_EQ(Status(1), "二の本");
  EXPECT_EQ(dialogs_.size(), 1u);
  EXPECT_TRUE(reporter_.boxes().empty());
}

// Every item of the main menu but the books and groups listed in 辞書 and
// ｸﾞﾙｰﾌﾟ does something visible; the items other tests drive are only named.
TEST_F(WiringTest, EveryMainMenuItemDoesItsWork) {
  UseOneBook(3, "", "", true);
  TMorvaForm& form = OpenWired();
  Activate(form);
  SearchWired("ねこ");
  form.ShowItem(1);
  const std::set<std::string> elsewhere = {
      "OpenFolder",  "CDS1",    "Copy1",     "MenuCopyContent", "Editor",   "MenuCondAndContent",
      "MenuContent", "MenuSeq", "MenuIndex", "MenuMulti",       "MenuMenu", "MenuEditDicInfo",
      "Option1",     "E1"};
  auto help = [&] { return main_->helpWindow(); };
  auto shown = [&](const char* name) { return Find<QWidget>(name)->isVisible(); };
  bool before = false;
  struct Check {
    std::function<void()> prepare;
    std::function<bool()> done;
  };
  const std::map<std::string, Check> checks = {
      {"Paste1",
       {[&] {
          QGuiApplication::clipboard()->setText(QStringLiteral("かめ"));
          Box()->setFocus();
          Box()->lineEdit()->clear();
        },
        [&] { return Box()->currentText() == QStringLiteral("かめ"); }}},
      {"SearchContent", {nullptr, [&] { return shown("FindDialog1"); }}},
      {"FindNext1",
       {[&] { Find<QWidget>("FindDialog1")->hide(); },
        [&] { return form.view()->HasSelection(); }}},
      {"MenuCondition",
       {nullptr,
        [&] {
          const bool ok = form.WindowLayout() == TMorvaForm::kConditionOnly;
          form.SetWindowLayout(TMorvaForm::kBothPanes);
          return ok;
        }}},
      {"Dump", {nullptr, [&] { return main_->dumpForm()->isVisible(); }}},
      {"MenuDicBar",
       {[&] { before = shown("Panel1"); }, [&] { return shown("Panel1") != before; }}},
      {"MenuMode",
       {[&] { before = shown("Panel21"); }, [&] { return shown("Panel21") != before; }}},
      {"MenuGeneral", {nullptr, [&] { return main_->generalSearch()->isVisible(); }}},
      {"MenuBack",
       {[&] {
          form.ActivateTab(kIndexTab);
          SearchWired("ねこ");
          form.ShowItem(0);
          form.ShowItem(2);
        },
        [&] { return Shown() == Body(0); }}},
      {"Contents1",
       {nullptr, [&] { return help()->isVisible() && help()->currentFile() == HelpFile::kMorva; }}},
      {"SearchforHelp",
       {[&] { help()->close(); },
        [&] {
          return help()->isVisible() && help()->findChild<QDockWidget*>("HelpFinder")->isVisible();
        }}},
      {"CDTitleHelp", {nullptr, [&] { return help()->currentFile() == HelpFile::kTitles; }}},
      {"About1", {nullptr, [&] { return dialogs_.back() == "morva::TAboutBox"; }}},
      {"Exit1",
       {nullptr,
        [&] {
          return !form.isVisible() && !help()->isVisible() && !main_->dumpForm()->isVisible() &&
                 !main_->generalSearch()->isVisible();
        }}},
  };

  std::vector<QAction*> items;
  for (QAction* title : form.menuBar()->actions()) {
    if (title->menu() == nullptr || title->menu()->objectName() == "MenuDic") continue;
    for (QAction* item : title->menu()->actions())
      if (!item->isSeparator() && !item->property("groupIndex").isValid()) items.push_back(item);
  }
  EXPECT_EQ(items.size(), checks.size() + elsewhere.size());
  std::stable_partition(items.begin(), items.end(),
                        [](QAction* item) { return item->objectName() != "Exit1"; });
  for (QAction* item : items) {
    const std::string name = item->objectName().toStdString();
    if (elsewhere.count(name)) continue;
    const auto check = checks.find(name);
    ASSERT_NE(check, checks.end()) << name << " has no expected behaviour";
    if (check->second.prepare) check->second.prepare();
    item->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(check->second.done()) << name;
  }
}

// The 複合 tab shows the book's forms and steps through them; the 総合 tab's
// window over the one full-text search closes when the tab is left and the
// search goes on from where it stopped; clicking the active tab brings it
// forward, and another book opened meanwhile gives it that book's ways.
TEST_F(WiringTest, CompoundAndGeneralTabs) {
  SearchBooks books;
  UseBooks({{"複合試験", books.books[SearchBooks::kCompoundBook].location},
            {"条件試験", books.books[SearchBooks::kKeywordBook].location}});
  TMorvaForm& form = Open();
  // Compound searches are all the book offers: the window opens on 複合.
  ASSERT_EQ(form.ActiveTab(), kMultiTab);
  auto shownLabels = [&] {
    QStringList shown;
    for (const QLabel* label : form.multiControls().labels)
      if (label->isVisibleTo(form.TabSheet(kMultiTab))) shown << label->text();
    return shown;
  };
  // Form 0 declares seven fields; five are shown, the word list under them.
  EXPECT_EQ(shownLabels(), (QStringList{"名前", "分類", "産地", "色", "大きさ"}));
  EXPECT_EQ(Status(1), "複合試験　【複合 1/2】");
  const QPushButton* search = Find<QPushButton>("MultiSearchButton");
  const int fiveRowsTop = Grid()->y();
  EXPECT_GT(fiveRowsTop, search->geometry().bottom());
  // 複合検索 on the active tab steps to the next form, after the last to the
  // first; the list follows the rows shown.
  Action("MenuMulti")->trigger();
  EXPECT_EQ(shownLabels(), (QStringList{"読み", "意味"}));
  EXPECT_EQ(Status(1), "複合試験　【複合 2/2】");
  EXPECT_GT(Grid()->y(), search->geometry().bottom());
  EXPECT_LT(Grid()->y(), fiveRowsTop);
  Action("MenuMulti")->trigger();
  EXPECT_EQ(shownLabels().size(), 5);
  Action("MenuGeneral")->trigger();
  TGeneralSearch* general = main_->generalSearch();
  general->findChild<QComboBox*>(QStringLiteral("Keyword"))->setEditText(QStringLiteral("共通"));
  progress_.cancelAfterSteps = 30;
  QTest::mouseClick(general->findChild<QPushButton*>(QStringLiteral("ButtonSearch")),
                    Qt::LeftButton);
  const int first = main_->fullText().HitCount();
  ASSERT_GT(first, 0);
  ASSERT_LT(first, books.commonTopics);
  Action("MenuMulti")->trigger();
  EXPECT_FALSE(general->isVisible());
  Action("MenuGeneral")->trigger();
  progress_.cancelAfterSteps = -1;
  QTest::mouseClick(general->findChild<QPushButton*>(QStringLiteral("ButtonResume")),
                    Qt::LeftButton);
  EXPECT_EQ(main_->fullText().HitCount(), books.commonTopics);
  EXPECT_EQ(form.wordlist().Count(), books.commonTopics - first);
  general->close();
  emit Find<QTabWidget>("PageControl1")->tabBarClicked(kGeneralTab);
  EXPECT_TRUE(general->isVisible());
  emit form.bookBarWidget()->bookClicked(2);
  EXPECT_TRUE(general->isVisible());
  EXPECT_TRUE(general->findChild<QRadioButton*>(QStringLiteral("Joken"))->isChecked());
}

}  // namespace
}  // namespace morva::testing
