// Searching from the main window: the search box and 検索, the book choice,
// the ending-rule retries, character substitution, the history and the
// keyword log.
#include "engine/book/tdisk.h"
#include "engine/search/index_search.h"
#include "tests/gui/main_window_fixture.h"
#include "view/ttextview.h"

namespace morva::testing {
namespace {

std::string Utf8(const QString& text) { return text.toStdString(); }

TEST_F(MainWindowTest, TypedSearchShowsTheCountAndTheRowsOfARealBook) {
  MORVA_REQUIRE_SHARED_BOOKS();
  UseBooks({{"EDICT", (SharedBooks() / "edict-small").string()}});
  TMorvaForm& form = Open();
  Search("あい");

  // The same search straight through the engine.
  BookBar bar = form.Bar();
  RecordingReporter reporter;
  TDisk disk(reporter);
  disk.SetBookList(&bar);
  Wordlist expected(reporter);
  const std::string status = morva::Search(disk, expected, bar, Sjis("あい"), 1);

  ASSERT_GT(expected.Count(), 0);
  EXPECT_EQ(Status(0), SjisToUtf8(status));
  EXPECT_EQ(Status(0), std::to_string(expected.Count()) + " 項目");
  EXPECT_EQ(form.wordlist().Count(), expected.Count());
  EXPECT_EQ(Grid()->RowCount(), expected.Count());
  EXPECT_EQ(Grid()->TopRow(), 0);
  EXPECT_EQ(HeadingText(form.disk(), form.wordlist(), 0, HeadingMode::kDisplay),
            HeadingText(disk, expected, 0, HeadingMode::kDisplay));
  // The box's text is selected for the next word, and the word is in the history.
  EXPECT_EQ(Box()->lineEdit()->selectedText(), QStringLiteral("あい"));
  EXPECT_EQ(Utf8(Box()->itemText(0)), "あい");

  // Choosing a row shows that entry from its body address on.
  ClickRow(2);
  EXPECT_EQ(form.view()->ShownAddress(), form.wordlist().Item(2).body);
  EXPECT_EQ(form.view()->ShownSubbook(), 1);
  EXPECT_GT(form.view()->LineCount(), 0);
  EXPECT_EQ(reporter_.boxes().size(), 0u);
}

TEST_F(MainWindowTest, CtrlOrKusizasiSearchesEveryMarkedBook) {
  const std::string a = MakeBook("a", "一", {{"ねこ", {"ねこ"}}});
  const std::string b = MakeBook("b", "二", {{"ねこぜ", {"ねこぜ"}}});
  UseBooks({{"一", a}, {"二", b}});
  Open();
  Search("ねこ");
  EXPECT_EQ(BooksOfHits(), (std::vector<int>{1}));
  Search("ねこ", Qt::ControlModifier);
  EXPECT_EQ(BooksOfHits(), (std::vector<int>{1, 2}));
  EXPECT_EQ(Status(0), "2 項目");

  // Ctrl+Enter in the search box; plain Enter searches the open book.
  Box()->lineEdit()->selectAll();
  QTest::keyClick(Box()->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(BooksOfHits(), (std::vector<int>{1}));
  QTest::keyClick(Box()->lineEdit(), Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(BooksOfHits(), (std::vector<int>{1, 2}));

  Close();
  UseBooks({{"一", a}, {"二", b}}, "Kusizasi=yes");
  Open();
  Search("ねこ");
  EXPECT_EQ(BooksOfHits(), (std::vector<int>{1, 2}));
}

TEST_F(MainWindowTest, TrailingStarIsDroppedWhenNothingIsFound) {
  UseBooks({{"試験", MakeBook("a", "試験", {{"猫", {"ＣＡＴ"}}})}});
  WriteDat("[試験]\nENDING1=s,\n");
  Open();
  Search("zzq*");
  EXPECT_EQ(Status(0), "該当項目なし");
  EXPECT_EQ(CurrentWordUtf8(), "zzq");

  // Without the star an ending rule applies and the rewritten word is found.
  Search("cats*");
  EXPECT_EQ(Status(0), "1 項目");
  EXPECT_EQ(CurrentWordUtf8(), "cat");
  EXPECT_EQ(BoxText(), "cat");
}

TEST_F(MainWindowTest, EnglishWordWalksTheEndingSetsUntilFound) {
  UseBooks({{"試験", MakeBook("a", "試験", {{"猫", {"ＣＡＴ"}}})}});
  WriteDat("[試験]\nENDING1=ies,y,2;s,\nENDING2=??y,?,3\nENDING3=t,x\n");
  Open();
  // catties -> catty (set 1, names set 2) -> cat (set 2: both ? are "t").
  Search("catties");
  EXPECT_EQ(Status(0), "1 項目");
  EXPECT_EQ(BoxText(), "cat");

  // A word the rules cannot rescue: the box shows the word searched last.
  Search("dogs");
  EXPECT_EQ(Status(0), "該当項目なし");
  EXPECT_EQ(BoxText(), "dog");
  EXPECT_EQ(form_->wordlist().Count(), 0);
  EXPECT_EQ(Grid()->RowCount(), 1);  // one empty row

  // Words with digits or Japanese are never rewritten.
  Search("cats1");
  EXPECT_EQ(BoxText(), "cats1");
}

TEST_F(MainWindowTest, TranslatePairsRewriteTheWordBeforeSearching) {
  UseBooks({{"試験", MakeBook("a", "試験", {{"ねこ", {"ねこ"}}})}});
  WriteDat("[試験]\nTRANSLATE=ぬね\n");
  Open();
  Search("ぬこ");
  EXPECT_EQ(Status(0), "1 項目");
  EXPECT_EQ(BoxText(), "ねこ");
}

TEST_F(MainWindowTest, HistoryKeepsTheFiftyNewestWordsNewestFirst) {
  UseBooks({{"試験", MakeBook("a", "試験", {{"ねこ", {"ねこ"}}})}});
  Open();
  for (int i = 1; i <= 51; ++i) Search("w" + std::to_string(i));
  ASSERT_EQ(Box()->count(), 50);
  EXPECT_EQ(Utf8(Box()->itemText(0)), "w51");
  EXPECT_EQ(Utf8(Box()->itemText(49)), "w2");
  EXPECT_EQ(Box()->findText(QStringLiteral("w1")), -1);

  // A word already there moves to the top; one at the top stays.
  Search("w30");
  EXPECT_EQ(Utf8(Box()->itemText(0)), "w30");
  EXPECT_EQ(Utf8(Box()->itemText(1)), "w51");
  Search("w30");
  EXPECT_EQ(Box()->count(), 50);
  EXPECT_EQ(Box()->findText(QStringLiteral("w30")), 0);
  EXPECT_EQ(Box()->findText(QStringLiteral("w30"), Qt::MatchExactly), 0);
}

TEST_F(MainWindowTest, FoundWordsGoToTheKeywordLog) {
  UseBooks({{"試験", MakeBook("a", "試験", {{"ねこ", {"ねこ"}}})}}, "KeywordFile=keys.log");
  Open();
  Search("ねこ");
  Search("いぬ");  // not found: not logged
  Search("ねこ");
  EXPECT_EQ(ReadFile(SettingsDir() / "keys.log"), Sjis("ねこ\nねこ\n"));

  // A log that cannot be opened is skipped without a word.
  Close();
  std::filesystem::create_directories(SettingsDir() / "dir.log");
  UseBooks({{"試験", MakeBook("b", "試験", {{"ねこ", {"ねこ"}}})}}, "KeywordFile=dir.log");
  Open();
  Search("ねこ");
  EXPECT_EQ(Status(0), "1 項目");
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(MainWindowTest, AutoAllShowsEveryHitOnlyInItemDisplay) {
  const std::string book = MakeBook("a", "試験", Many("ねこ", 3));
  UseBooks({{"試験", book}}, "Scroll=no\nAutoAll=yes");
  TMorvaForm& form = Open();
  Search("ねこ");
  EXPECT_EQ(EntriesInMarkedText(), 3);
  EXPECT_EQ(form.view()->ShownAddress(), form.wordlist().Item(0).body);

  Close();
  UseBooks({{"試験", book}}, "Scroll=yes\nAutoAll=yes");
  TMorvaForm& continuous = Open();
  Search("ねこ");
  // Continuous display shows nothing by itself: the title page stays.
  EXPECT_EQ(continuous.view()->ShownAddress().page, 0);
}

TEST_F(MainWindowTest, ScreenWordSearchTakesTheSelectionWithoutNeglectedCharacters) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 2))}});
  WriteDat("[試験]\nNEGLECT=１２\n");
  TMorvaForm& form = Open();
  Search("ねこ");
  ClickRow(1);
  form.view()->SelectAll();  // the first line reads ねこ２ (digits are full width in the book)
  Action("N3")->trigger();
  EXPECT_EQ(CurrentWordUtf8(), "ねこ");
  EXPECT_EQ(BoxText(), "ねこ");
  EXPECT_EQ(Status(0), "2 項目");
}

TEST_F(MainWindowTest, SortMenuReordersTheList) {
  UseBooks({{"試験",
             MakeBook("a", "試験",
                      {{"うし", {"どうぶつ"}}, {"あり", {"どうぶつ"}}, {"いぬ", {"どうぶつ"}}})}});
  TMorvaForm& form = Open();
  Search("どうぶつ");
  auto headings = [&form] {
    std::vector<std::string> out;
    for (int i = 0; i < form.wordlist().Count(); ++i)
      out.push_back(
          SjisToUtf8(HeadingText(form.disk(), form.wordlist(), i, HeadingMode::kDisplay)));
    return out;
  };
  EXPECT_EQ(headings(), (std::vector<std::string>{"うし", "あり", "いぬ"}));
  EXPECT_TRUE(Action("MenuByAddress")->isChecked());

  Action("MenuByName")->trigger();
  EXPECT_EQ(headings(), (std::vector<std::string>{"あり", "いぬ", "うし"}));
  EXPECT_EQ(form.settings().sort, 2);
  EXPECT_TRUE(Action("MenuByName")->isChecked());
  EXPECT_FALSE(Action("MenuByAddress")->isChecked());

  Action("MenuByAddress")->trigger();
  EXPECT_EQ(headings(), (std::vector<std::string>{"うし", "あり", "いぬ"}));
  EXPECT_EQ(form.settings().sort, 1);
}

TEST_F(MainWindowTest, SearchBoxTakesAtMost127BytesOfShiftJis) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 1))}});
  Open();
  Type(QString(130, QLatin1Char('a')));
  EXPECT_EQ(Box()->currentText().size(), 127);
  Box()->lineEdit()->clear();
  Type(QString(70, QChar(0x3042)));  // あ: two bytes each
  EXPECT_EQ(Box()->currentText().size(), 63);
}

}  // namespace
}  // namespace morva::testing
