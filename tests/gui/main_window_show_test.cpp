// Showing entries and laying the main window out: display modes, all marked
// items with the progress box, pane layouts and Esc, tabs and the menu list,
// status and title, and the settings kept from one window to the next.
#include <QMenu>
#include <QSplitter>

#include "engine/book/tdisk.h"
#include "tests/gui/main_window_fixture.h"
#include "view/ttextview.h"

namespace morva::testing {
namespace {

TEST_F(MainWindowTest, ChoosingAnEntryInConditionLayoutShowsTheContentAndEscReturns) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 2))}}, "",
           "[Window]\nWindow=1\n[Keyboard]\nEscKey=yes\n");
  TMorvaForm& form = Open();
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kConditionOnly);
  EXPECT_FALSE(Find<QWidget>("Panel3")->isVisible());
  EXPECT_TRUE(Action("MenuCondition")->isChecked());

  Search("ねこ");
  ClickRow(0);
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kContentOnly);
  EXPECT_TRUE(Find<QWidget>("Panel3")->isVisible());
  EXPECT_FALSE(Find<QWidget>("Panel2")->isVisible());
  EXPECT_TRUE(Action("MenuContent")->isChecked());

  QTest::keyClick(Find<QWidget>("MyScrollBox1"), Qt::Key_Escape);
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kConditionOnly);
  QTest::keyClick(Box()->lineEdit(), Qt::Key_Escape);
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kContentOnly);
}

TEST_F(MainWindowTest, EscDoesNothingWithoutTheEscKeySetting) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 1))}});
  TMorvaForm& form = Open();
  QTest::keyClick(Box()->lineEdit(), Qt::Key_Escape);
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kBothPanes);
}

TEST_F(MainWindowTest, BothPanesKeepTheConditionWidthAcrossLayouts) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 1))}}, "", "[Window]\nKeyWidth=250\n");
  TMorvaForm& form = Open();
  EXPECT_EQ(Find<QWidget>("Panel2")->width(), 250);
  Find<QSplitter>("SplitterEx1")->setSizes({300, 600});
  Action("MenuContent")->trigger();
  EXPECT_EQ(form.KeyWidth(), 300);
  Action("MenuCondAndContent")->trigger();
  EXPECT_EQ(Find<QWidget>("Panel2")->width(), 300);
}

TEST_F(MainWindowTest, ShowingAllMarkedItemsUsesTheProgressBoxAboveOneHundred) {
  std::vector<BookEntry> entries = Many("ねこ", 101);
  for (BookEntry& e : Many("いぬ", 100)) entries.push_back(e);
  UseBooks({{"試験", MakeBook("a", "試験", entries)}}, "Scroll=no");
  TMorvaForm& form = Open();
  auto* all = Find<QPushButton>("ButtonAll");
  ASSERT_TRUE(all->isEnabled());

  Search("いぬ");
  QTest::mouseClick(all, Qt::LeftButton);
  EXPECT_EQ(progress_.maximum(), 0);  // never opened
  EXPECT_EQ(EntriesInMarkedText(), 100);
  EXPECT_EQ(form.wordlist().MarkedCount(), 100);

  Search("ねこ");
  QTest::mouseClick(all, Qt::LeftButton);
  EXPECT_EQ(progress_.maximum(), 101);
  EXPECT_EQ(progress_.caption(), Sjis("内容を一時ﾌｧｲﾙへ出力中"));
  EXPECT_EQ(progress_.steps(), 101);
  EXPECT_FALSE(progress_.open());
  EXPECT_FALSE(form.Busy());
  EXPECT_EQ(EntriesInMarkedText(), 101);
  EXPECT_EQ(form.view()->ShownAddress(), form.wordlist().Item(0).body);

  // Cancel keeps what was written so far.
  progress_.cancelAfterSteps = 3;
  QTest::mouseClick(all, Qt::LeftButton);
  EXPECT_EQ(EntriesInMarkedText(), 3);
}

TEST_F(MainWindowTest, DisplayModeButtonsSwitchBetweenContinuousAndItemDisplay) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 3))}});
  TMorvaForm& form = Open();
  auto* item = Find<QPushButton>("ButtonItem");
  auto* all = Find<QPushButton>("ButtonAll");
  EXPECT_TRUE(form.ContinuousDisplay());
  EXPECT_EQ(item->text(), QStringLiteral("連続表示"));
  EXPECT_FALSE(all->isEnabled());
  EXPECT_TRUE(Action("MenuSeq")->isChecked());

  Search("ねこ");
  ClickRow(1);
  // Continuous display lays out the body from the entry onward.
  EXPECT_EQ(form.view()->ShownAddress(), form.wordlist().Item(1).body);
  EXPECT_EQ(Status(1), "試験");

  QTest::mouseClick(item, Qt::LeftButton);
  EXPECT_FALSE(form.ContinuousDisplay());
  EXPECT_EQ(item->text(), QStringLiteral("項目表示"));
  EXPECT_TRUE(all->isEnabled());
  EXPECT_FALSE(Action("MenuSeq")->isChecked());
  EXPECT_FALSE(form.disk().settings().scroll);

  ClickRow(2);
  EXPECT_EQ(EntriesInMarkedText(), 1);  // the one item alone
  // Space on the list shows the current row.
  Grid()->setFocus();
  Grid()->SetCurrentRow(0);
  QTest::keyClick(Grid(), Qt::Key_Space);
  EXPECT_EQ(form.view()->ShownAddress(), form.wordlist().Item(0).body);

  Action("MenuSeq")->trigger();
  EXPECT_TRUE(form.ContinuousDisplay());
  // 連続表示 in the menu refreshes the whole layout: list and view cleared.
  EXPECT_EQ(form.wordlist().Count(), 0);
}

TEST_F(MainWindowTest, BackReturnsToTheEntryShownBefore) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 3))}});
  TMorvaForm& form = Open();
  Search("ねこ");
  auto* back = Find<QPushButton>("ButtonBack");
  ClickRow(0);
  EXPECT_FALSE(back->isEnabled());  // the title page is never recorded
  ClickRow(2);
  EXPECT_TRUE(back->isEnabled());
  QTest::mouseClick(back, Qt::LeftButton);
  EXPECT_EQ(form.view()->ShownAddress(), form.wordlist().Item(0).body);
  EXPECT_FALSE(back->isEnabled());
}

TEST_F(MainWindowTest, TabsClearTheListAndTheMenuTabListsTheMenu) {
  UseBooks(
      {{"試験", MakeBook("a", "試験", {{"ねこ", {"ねこ"}}, {"いぬ", {"いぬ"}}, {"とり", {"とり"}}},
                         true)}});
  TMorvaForm& form = Open();
  auto* tabs = Find<QTabWidget>("PageControl1");
  EXPECT_TRUE(tabs->isTabVisible(kMenuTab));
  EXPECT_FALSE(tabs->isTabVisible(kMultiTab));  // no compound search in this book
  Search("ねこ");
  EXPECT_EQ(form.wordlist().Count(), 1);

  Action("MenuMenu")->trigger();
  EXPECT_EQ(form.ActiveTab(), kMenuTab);
  EXPECT_EQ(tabs->currentIndex(), kMenuTab);
  EXPECT_TRUE(Action("MenuMenu")->isChecked());
  EXPECT_EQ(Status(0), "");
  EXPECT_EQ(Status(1), "試験");
  ASSERT_EQ(form.wordlist().Count(), 3);  // one line, one choice each: no whole-menu item
  EXPECT_EQ(Grid()->RowCount(), 3);
  EXPECT_EQ(Grid()->parentWidget(), form.TabSheet(kMenuTab));
  EXPECT_EQ(SjisToUtf8(HeadingText(form.disk(), form.wordlist(), 1, HeadingMode::kDisplay)),
            "いぬ");
  ClickRow(1);
  EXPECT_EQ(form.view()->ShownSubbook(), 1);

  tabs->setCurrentIndex(kIndexTab);
  EXPECT_EQ(form.ActiveTab(), kIndexTab);
  EXPECT_EQ(form.wordlist().Count(), 0);
  EXPECT_EQ(Grid()->RowCount(), 1);
  EXPECT_EQ(Grid()->parentWidget(), form.TabSheet(kIndexTab));
  EXPECT_TRUE(Action("MenuIndex")->isChecked());
  EXPECT_EQ(form.view()->ShownSubbook(), -1);

  // A tab the book does not offer cannot be chosen.
  Action("MenuMulti")->trigger();
  EXPECT_EQ(form.ActiveTab(), kIndexTab);
}

TEST_F(MainWindowTest, StatusAndTitleNameTheBookAndTheGroup) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 1))}});
  TMorvaForm& form = Open();
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Morva - G"));
  EXPECT_EQ(Status(1), "試験");
  form.SetStatus(Sjis("3/5"));
  EXPECT_EQ(Status(1), "試験　【3/5】");
  form.SetStatus({});
  EXPECT_EQ(Status(1), "試験");
}

TEST_F(MainWindowTest, NoGroupMeansAPlainTitleAndNoBook) {
  WriteIni("[Options]\nBook=-1\n");
  TMorvaForm& form = Open();
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Morva"));
  EXPECT_EQ(form.CurrentBook(), -1);
  Search("ねこ");
  EXPECT_EQ(form.wordlist().Count(), 0);
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(MainWindowTest, SettingsAreSavedAtDestructionAndLoadedAtCreation) {
  const std::string book = MakeBook("a", "試験", Many("ねこ", 2));
  UseBooks({{"試験", book}}, "", "[Window]\nMain=10,20,800,560\nKeyWidth=240\n");
  TMorvaForm& form = Open();
  EXPECT_EQ(form.size(), QSize(800, 560));
  EXPECT_EQ(form.CurrentBook(), 1);
  Search("ねこ");
  Search("いぬ");
  Action("MenuSeq")->trigger();
  Action("MenuByName")->trigger();
  Action("MenuContent")->trigger();
  Close();

  const std::string ini = SjisToUtf8(ReadFile(IniPath()));
  EXPECT_NE(ini.find("History=いぬ.ねこ\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Scroll=no\n"), std::string::npos);
  EXPECT_NE(ini.find("Sort=2\n"), std::string::npos);
  EXPECT_NE(ini.find("Window=2\n"), std::string::npos);
  EXPECT_NE(ini.find("KeyWidth=240\n"), std::string::npos);
  EXPECT_NE(ini.find("Group=G\n"), std::string::npos);
  EXPECT_NE(ini.find("Book=1\n"), std::string::npos);
  EXPECT_NE(ini.find(",800,560\n"), std::string::npos);

  TMorvaForm& again = Open();
  EXPECT_EQ(again.WindowLayout(), TMorvaForm::kContentOnly);
  EXPECT_FALSE(again.ContinuousDisplay());
  EXPECT_TRUE(Action("MenuByName")->isChecked());
  ASSERT_EQ(Box()->count(), 2);
  EXPECT_EQ(Box()->itemText(0), QStringLiteral("いぬ"));
  EXPECT_EQ(Box()->itemText(1), QStringLiteral("ねこ"));
  EXPECT_EQ(Box()->currentText(), QString());
}

// The 辞書 menu lists the group's books and opens the one chosen, searching
// the last word again; a book whose volume is missing is reported and leaves
// no book open.
TEST_F(MainWindowTest, BookMenuOpensTheChosenBookAndAMissingVolumeIsReported) {
  UseBooks({{"無", "/nonexistent/cdrom"}, {"試験", MakeBook("a", "試験", Many("ねこ", 1))}});
  TMorvaForm& form = Open();
  EXPECT_EQ(form.CurrentBook(), -1);
  EXPECT_EQ(reporter_.Last(RecordedBox::kWarning),
            "ﾄﾞﾗｲﾌﾞ /nonexistent/cdrom に辞書が入っていません。");
  auto* menu = Find<QMenu>("MenuDic");
  ASSERT_EQ(menu->actions().size(), 2);
  Search("ねこ");  // with no book open nothing is found; the chosen book searches the word again
  menu->actions()[1]->trigger();
  EXPECT_EQ(form.CurrentBook(), 2);
  EXPECT_TRUE(menu->actions()[1]->isChecked());
  EXPECT_FALSE(menu->actions()[0]->isChecked());
  EXPECT_EQ(Status(0), "1 項目");
}

// A book's IME=OFF asks for Latin input in the search box, IME=ON for the
// input method again.
TEST_F(MainWindowTest, TheOpenBooksImeSettingReachesTheSearchBox) {
  UseBooks(
      {{"一", MakeBook("a", "一", Many("ねこ", 1))}, {"二", MakeBook("b", "二", Many("ねこ", 1))}});
  WriteDat("[一]\nIME=OFF\n[二]\nIME=ON\n");
  Open();
  EXPECT_TRUE(Box()->inputMethodHints() & Qt::ImhPreferLatin);
  Find<QMenu>("MenuDic")->actions()[1]->trigger();
  EXPECT_FALSE(Box()->inputMethodHints() & Qt::ImhPreferLatin);
}

}  // namespace
}  // namespace morva::testing
