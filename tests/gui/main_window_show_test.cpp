// Showing entries and laying the main window out: display modes, all marked
// items with the progress box, pane layouts and Esc, tabs and the menu list,
// the book menu, the settings kept from one window to the next, and the
// progress box itself.

#include <QMenu>
#include <QSplitter>

#include "app/search_windows/tprogress.h"
#include "tests/gui/main_window_fixture.h"

namespace morva::testing {
namespace {

// Choosing an entry in the condition layout shows the content; Esc returns.
TEST_F(MainWindowTest, ChoosingAnEntryInConditionLayoutShowsTheContentAndEscReturns) {
  UseOneBook(2, "", "[Window]\nWindow=1\n[Keyboard]\nEscKey=yes\n");
  TMorvaForm& form = Open();
  Search("ねこ");
  ClickRow(0);
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kContentOnly);
  EXPECT_FALSE(Find<QWidget>("Panel2")->isVisible());
  QTest::keyClick(Find<QWidget>("MyScrollBox1"), Qt::Key_Escape);
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kConditionOnly);
  QTest::keyClick(Box()->lineEdit(), Qt::Key_Escape);
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kContentOnly);
}

TEST_F(MainWindowTest, ShowingAllMarkedItemsUsesTheProgressBoxAboveOneHundred) {
  std::vector<BookEntry> entries = Many("ねこ", 101);
  for (BookEntry& e : Many("いぬ", 100)) entries.push_back(e);
  UseBooks({{"試験", MakeBook("a", "試験", entries)}}, "Scroll=no");
  Open();
  auto* all = Find<QPushButton>("ButtonAll");
  Search("いぬ");
  QTest::mouseClick(all, Qt::LeftButton);
  EXPECT_EQ(progress_.maximum(), 0);  // never opened
  EXPECT_EQ(EntriesInMarkedText(), 100);
  Search("ねこ");
  QTest::mouseClick(all, Qt::LeftButton);
  EXPECT_EQ(progress_.steps(), 101);
  EXPECT_FALSE(progress_.open());
  EXPECT_EQ(EntriesInMarkedText(), 101);
  // Cancel keeps what was written so far.
  progress_.cancelAfterSteps = 3;
  QTest::mouseClick(all, Qt::LeftButton);
  EXPECT_EQ(EntriesInMarkedText(), 3);
}

// The display mode buttons, Space on the list, 後退 and the tabs; Esc does
// nothing without the EscKey setting.
TEST_F(MainWindowTest, DisplayModesBackAndTabs) {
  UseOneBook(3, "", "", true);
  TMorvaForm& form = Open();
  QTest::keyClick(Box()->lineEdit(), Qt::Key_Escape);
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kBothPanes);
  auto* back = Find<QPushButton>("ButtonBack");
  EXPECT_FALSE(Find<QPushButton>("ButtonAll")->isEnabled());
  Search("ねこ");
  ClickRow(1);
  EXPECT_EQ(Shown(), Body(1));
  EXPECT_FALSE(back->isEnabled());  // the title page is never recorded
  QTest::mouseClick(Find<QPushButton>("ButtonItem"), Qt::LeftButton);
  EXPECT_FALSE(form.disk().settings().scroll);
  EXPECT_TRUE(Find<QPushButton>("ButtonAll")->isEnabled());
  ClickRow(2);
  EXPECT_EQ(EntriesInMarkedText(), 1);  // the one item alone
  QTest::mouseClick(back, Qt::LeftButton);
  EXPECT_EQ(Shown(), Body(1));
  Grid()->setFocus();
  Grid()->SetCurrentRow(0);
  QTest::keyClick(Grid(), Qt::Key_Space);
  EXPECT_EQ(Shown(), Body(0));

  // The menu tab lists the menu, one line, one choice each: no whole-menu
  // item; back on the index tab the list and the pane are empty.
  auto* tabs = Find<QTabWidget>("PageControl1");
  EXPECT_FALSE(tabs->isTabVisible(kMultiTab));  // no compound search in this book
  Action("MenuMenu")->trigger();
  EXPECT_EQ(Status(0), "");
  ASSERT_EQ(Grid()->RowCount(), 3);
  EXPECT_EQ(Grid()->parentWidget(), form.TabSheet(kMenuTab));
  ClickRow(1);
  EXPECT_EQ(Shown(), Body(1));
  tabs->setCurrentIndex(kIndexTab);
  EXPECT_EQ(form.wordlist().Count(), 0);
  EXPECT_EQ(form.view()->ShownSubbook(), -1);
  // A tab the book does not offer cannot be chosen.
  Action("MenuMulti")->trigger();
  EXPECT_EQ(form.ActiveTab(), kIndexTab);
  // 連続表示 in the menu refreshes the whole layout: list and view cleared.
  Search("ねこ");
  Action("MenuSeq")->trigger();
  EXPECT_TRUE(form.ContinuousDisplay());
  EXPECT_EQ(form.wordlist().Count(), 0);
}

TEST_F(MainWindowTest, SettingsAreSavedAtDestructionAndLoadedAtCreation) {
  UseOneBook(2, "", "[Window]\nMain=10,20,800,560\nKeyWidth=240\n");
  TMorvaForm& form = Open();
  EXPECT_EQ(form.size(), QSize(800, 560));
  EXPECT_EQ(Find<QWidget>("Panel2")->width(), 240);
  // Both panes keep the condition width across layouts.
  Find<QSplitter>("SplitterEx1")->setSizes({300, 600});
  Action("MenuContent")->trigger();
  Action("MenuCondAndContent")->trigger();
  EXPECT_EQ(Find<QWidget>("Panel2")->width(), 300);
  Search("ねこ");
  Search("いぬ");
  Action("MenuSeq")->trigger();
  Action("MenuByName")->trigger();
  Action("MenuContent")->trigger();
  Close();

  const std::string ini = SjisToUtf8(ReadFile(IniPath()));
  for (const char* line : {"History=いぬ.ねこ\n", "Scroll=no\n", "Sort=2\n", "Window=2\n",
                           "KeyWidth=300\n", "Group=G\n", "Book=1\n", ",800,560\n"})
    EXPECT_NE(ini.find(line), std::string::npos) << line << ini;
  TMorvaForm& again = Open();
  EXPECT_EQ(again.WindowLayout(), TMorvaForm::kContentOnly);
  EXPECT_FALSE(again.ContinuousDisplay());
  EXPECT_TRUE(Action("MenuByName")->isChecked());
  EXPECT_EQ(again.SearchHistory(), (QStringList{"いぬ", "ねこ"}));
  EXPECT_EQ(Box()->currentText(), QString());
}

// A book whose volume is missing is reported and leaves no book open; the
// 辞書 menu opens the book chosen, searching the last word again, and the
// book's IME line reaches the search box.
TEST_F(MainWindowTest, BookMenuOpensTheChosenBookAndAMissingVolumeIsReported) {
  UseBooks({{"一", MakeBook("a", "一", Many("ねこ", 1))},
            {"無", "/nonexistent/cdrom"},
            {"二", MakeBook("b", "二", Many("ねこ", 1))}});
  WriteIni("[Options]\nGroup=G\nBook=2\n");
  WriteDat("[一]\nIME=OFF\n[二]\nIME=ON\n");
  TMorvaForm& form = Open();
  EXPECT_EQ(form.CurrentBook(), -1);
  EXPECT_EQ(reporter_.Last(RecordedBox::kWarning),
            "ﾄﾞﾗｲﾌﾞ /nonexistent/cdrom に辞書が入っていません。");
  Search("ねこ");
  auto* menu = Find<QMenu>("MenuDic");
  ASSERT_EQ(menu->actions().size(), 3);
  menu->actions()[0]->trigger();
  EXPECT_EQ(form.CurrentBook(), 1);
  EXPECT_EQ(Status(0), "1 項目");
  EXPECT_TRUE(Box()->inputMethodHints() & Qt::ImhPreferLatin);
  menu->actions()[2]->trigger();
  EXPECT_TRUE(menu->actions()[2]->isChecked());
  EXPECT_FALSE(Box()->inputMethodHints() & Qt::ImhPreferLatin);
}

// The progress box: one at a time over the disabled owner; the cancel
// button, Escape and the close button cancel instead of closing, and every
// step then reports the cancel until the operation closes the box.
TEST(TProgressTest, OneBoxOverTheDisabledOwnerThatCancelsInsteadOfClosing) {
  QWidget owner;
  owner.show();
  TProgress progress(&owner);
  for (const int how : {0, 1, 2}) {
    SCOPED_TRACE(how);
    progress.Open("a", 10);
    progress.Open(Sjis("全文検索中"), 1000);
    ASSERT_EQ(owner.findChildren<QDialog*>().size(), 1);
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_FALSE(progress.Step(5000));  // beyond the maximum: the bar stays full
    EXPECT_EQ(progress.Position(), 1000);
    if (how == 0)
      QTest::mouseClick(progress.Box()->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    else if (how == 1) QTest::keyClick(progress.Box(), Qt::Key_Escape);
    else EXPECT_FALSE(progress.Box()->close());
    EXPECT_TRUE(progress.Cancelled());
    EXPECT_TRUE(owner.isEnabled() || how != 0);
    EXPECT_TRUE(progress.Step(1));
    progress.Close();
    EXPECT_TRUE(owner.isEnabled());
  }
}

}  // namespace
}  // namespace morva::testing
