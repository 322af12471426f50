// Searching from the main window: the search box and 検索, the book choice,
// the ending-rule retries, character substitution, the history, the keyword
// log and showing all hits.
#include "engine/search/index_search.h"
#include "tests/gui/main_window_fixture.h"

namespace morva::testing {
namespace {

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
  EXPECT_EQ(Grid()->RowCount(), expected.Count());
  EXPECT_EQ(HeadingText(form.disk(), form.wordlist(), 2, HeadingMode::kDisplay),
            HeadingText(disk, expected, 2, HeadingMode::kDisplay));
  // The box's text is selected for the next word.
  EXPECT_EQ(Box()->lineEdit()->selectedText(), QStringLiteral("あい"));
  // Choosing a row shows that entry from its body address on.
  ClickRow(2);
  EXPECT_EQ(Shown(), Body(2));
  EXPECT_EQ(reporter_.boxes().size(), 0u);
}

TEST_F(MainWindowTest, CtrlSearchesEveryMarkedBook) {
  UseBooks({{"一", MakeBook("a", "一", {{"ねこ", {"ねこ"}}})},
            {"二", MakeBook("b", "二", {{"ねこぜ", {"ねこぜ"}}})}});
  Open();
  Search("ねこ");
  EXPECT_EQ(BooksOfHits(), (std::vector<int>{1}));
  Search("ねこ", Qt::ControlModifier);
  EXPECT_EQ(BooksOfHits(), (std::vector<int>{1, 2}));
  // Ctrl+Enter in the search box; plain Enter searches the open book.
  QTest::keyClick(Box()->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(BooksOfHits(), (std::vector<int>{1}));
  QTest::keyClick(Box()->lineEdit(), Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(BooksOfHits(), (std::vector<int>{1, 2}));
}

// A trailing star is dropped when nothing is found; English words walk the
// book's ending sets until found; TRANSLATE pairs rewrite the word first.
TEST_F(MainWindowTest, EndingRulesAndTranslatePairsRewriteTheWord) {
  UseBooks({{"試験", MakeBook("a", "試験", {{"猫", {"ＣＡＴ"}}, {"ねこ", {"ねこ"}}})}});
  WriteDat("[試験]\nENDING1=ies,y,2;s,\nENDING2=??y,?,3\nENDING3=t,x\nTRANSLATE=ぬね\n");
  Open();
  const struct {
    const char *typed, *found, *box;
  } cases[] = {
      {"cats*", "1 項目", "cat"},
      // catties -> catty (set 1, names set 2) -> cat (set 2: both ? are "t").
      {"catties", "1 項目", "cat"},
      {"dogs", "該当項目なし", "dog"},     // the box shows the word searched last
      {"cats1", "該当項目なし", "cats1"},  // words with digits are never rewritten
      {"ぬこ", "1 項目", "ねこ"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Search(c.typed);
    EXPECT_EQ(Status(0), c.found);
    EXPECT_EQ(BoxText(), c.box);
    EXPECT_EQ(SjisToUtf8(form_->CurrentWord()), c.box);
  }
  EXPECT_EQ(Grid()->RowCount(), 1);
}

// The history keeps the fifty newest words, newest first; found words go to
// the keyword log (one that cannot be opened is skipped without a word); the
// box takes at most 127 bytes of Shift-JIS.
TEST_F(MainWindowTest, HistoryKeywordLogAndTheBoxLength) {
  UseOneBook(1, "KeywordFile=keys.log");
  Open();
  for (int i = 1; i <= 51; ++i) Search("w" + std::to_string(i));
  ASSERT_EQ(Box()->count(), 50);
  EXPECT_EQ(Box()->itemText(0), QStringLiteral("w51"));
  // A word already there moves to the top; one at the top stays.
  Search("w30");
  EXPECT_EQ(Box()->itemText(1), QStringLiteral("w51"));
  Search("w30");
  EXPECT_EQ(Box()->count(), 50);
  EXPECT_EQ(Box()->findText(QStringLiteral("w30")), 0);

  Search("ねこ");
  Search("いぬ");
  Search("ねこ");
  EXPECT_EQ(ReadFile(SettingsDir() / "keys.log"), Sjis("ねこ\nねこ\n"));
  std::filesystem::create_directories(SettingsDir() / "dir.log");
  form_->settings().keywordFile = "dir.log";
  Search("ねこ");
  EXPECT_EQ(Status(0), "1 項目");
  EXPECT_TRUE(reporter_.boxes().empty());

  Box()->lineEdit()->clear();
  Type(QString(130, QLatin1Char('a')));
  EXPECT_EQ(Box()->currentText().size(), 127);
  Box()->lineEdit()->clear();
  Type(QString(70, QChar(0x3042)));  // あ: two bytes each
  EXPECT_EQ(Box()->currentText().size(), 63);
}

TEST_F(MainWindowTest, AutoAllShowsEveryHitOnlyInItemDisplay) {
  for (const bool continuous : {false, true}) {
    UseOneBook(3, std::string("AutoAll=yes\nScroll=") + (continuous ? "yes" : "no"));
    Open();
    Search("ねこ");
    // Continuous display shows nothing by itself: the title page stays.
    if (continuous) EXPECT_EQ(Shown().page, 0);
    else EXPECT_EQ(EntriesInMarkedText(), 3);
    Close();
  }
}

TEST_F(MainWindowTest, ScreenWordSearchTakesTheSelectionWithoutNeglectedCharacters) {
  UseOneBook(2);
  WriteDat("[試験]\nNEGLECT=１２\n");
  TMorvaForm& form = Open();
  Search("ねこ");
  ClickRow(1);
  form.view()->SelectAll();  // the first line reads ねこ２ (digits are full width in the book)
  Action("N3")->trigger();
  EXPECT_EQ(BoxText(), "ねこ");
  EXPECT_EQ(Status(0), "2 項目");
}

}  // namespace
}  // namespace morva::testing
