// The main window's keys and the word list's own events and drawing: the
// paging keys of the search box, Enter, the input method key and ArrowShows
// on the list, searching as the word is typed, the
// cut headings, the start-up request and the
// boxes the window shows.
#include <QImage>

#include "app/main_window/gui_reporter.h"
#include "tests/gui/main_window_fixture.h"

namespace morva::testing {
namespace {

class KeysTest : public MainWindowTest {
 protected:
  void Key(QWidget* target, Qt::Key key) { QTest::keyClick(target, key); }
  // Waits (at most five seconds) for the list to hold n hits; the count then.
  int CountOnceItIs(int n) {
    const bool reached = QTest::qWaitFor([&] { return form_->wordlist().Count() == n; });
    return reached ? n : form_->wordlist().Count();
  }
  // Two books holding ねこ.
  void TwoBooks(const std::string& options) {
    UseBooks({{"一", MakeBook("a", "一", Many("ねこ", 3))},
              {"二", MakeBook("b", "二", Many("ねこ", 2))}},
             "KeywordFile=keys.log\n" + options);
  }
};

// With ScrollKey the paging keys of the search box scroll the content (not
// with Shift); without it they stay with the box.
TEST_F(KeysTest, PagingKeysInTheSearchBoxScrollTheContentOnlyWithScrollKey) {
  for (const bool scrollKey : {true, false}) {
    SCOPED_TRACE(scrollKey);
    UseOneBook(60, "", scrollKey ? "[Keyboard]\nScrollKey=yes\n" : "");
    TMorvaForm& form = Open();
    Search("ねこ");
    ClickRow(0);
    ASSERT_GT(form.view()->LineCount(), form.view()->VisibleLines());
    Key(Box()->lineEdit(), Qt::Key_PageDown);
    const int top = form.view()->TopLine();
    EXPECT_EQ(top > 0, scrollKey);
    Key(Box()->lineEdit(), Qt::Key_Up);
    QTest::keyClick(Box()->lineEdit(), Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(form.view()->TopLine(), scrollKey ? top - 1 : 0);
    Close();
  }
}

// Enter shows a row as Space does in both display modes; the arrows only
// move; a key of the input method shows the current row.
TEST_F(KeysTest, EnterAndTheInputMethodKeyShowTheRowAndArrowsOnlyMove) {
  TwoBooks("");
  TMorvaForm& form = Open();
  Search("ねこ");
  ASSERT_EQ(form.wordlist().Count(), 3);
  const QStringList history = form.SearchHistory();
  for (const bool continuous : {true, false}) {
    SCOPED_TRACE(continuous ? "continuous" : "item");
    if (form.ContinuousDisplay() != continuous)
      QTest::mouseClick(Find<QPushButton>("ButtonItem"), Qt::LeftButton);
    Grid()->setFocus();
    Grid()->SetCurrentRow(0);
    const BookAddress before = Shown();
    Key(Grid(), Qt::Key_Down);
    Key(Grid(), Qt::Key_Down);
    EXPECT_EQ(Grid()->HighlightedRow(), 2);
    EXPECT_EQ(Shown(), before);  // the arrows moved the highlight only
    Key(Grid(), Qt::Key_Return);
    EXPECT_EQ(Shown(), Body(2));
    Key(Grid(), Qt::Key_Up);
    Key(Grid(), Qt::Key_Enter);  // the keypad's Enter
    EXPECT_EQ(Shown(), Body(1));
    Key(Grid(), Qt::Key_Down);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("あ"));
    QApplication::sendEvent(Grid(), &commit);
    EXPECT_EQ(Shown(), Body(2));
  }
  // Enter on the list searched nothing and added nothing.
  EXPECT_EQ(form.SearchHistory(), history);
  EXPECT_EQ(form.wordlist().Count(), 3);
}

TEST_F(KeysTest, ArrowShowsShowsTheRowTheKeysMoveToAndKeepsTheKeysOnTheList) {
  TwoBooks("ArrowShows=yes\n[Keyboard]\nFocusReturn=yes\n[Window]\nWindow=1\n");  // the list alone
  TMorvaForm& form = Open();
  // On a list with nothing found the keys leave the pane as it is.
  Search("いぬ");
  const int lines = form.view()->LineCount();
  Grid()->setFocus();
  Key(Grid(), Qt::Key_Down);
  EXPECT_EQ(form.view()->LineCount(), lines);
  Search("ねこ");
  Grid()->setFocus();
  Key(Grid(), Qt::Key_Down);  // brings the highlight out on the first row
  EXPECT_EQ(Shown(), Body(0));
  Key(Grid(), Qt::Key_Down);
  EXPECT_EQ(Shown(), Body(1));
  Key(Grid(), Qt::Key_End);
  EXPECT_EQ(Shown(), Body(2));
  // The keys leave the list alone on screen; Enter turns to the content.
  EXPECT_TRUE(Grid()->hasFocus());
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kConditionOnly);
  Key(Grid(), Qt::Key_Return);
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kContentOnly);
}

// SearchAsYouType searches the open book after a pause without touching the
// history; Enter confirms.
TEST_F(KeysTest, SearchAsYouTypeSearchesTheOpenBookAndLeavesTheHistoryToEnter) {
  // Kusizasi would make 検索 search every book: the typed search still keeps
  // to the open one.
  TwoBooks("Kusizasi=yes\nSearchAsYouType=yes\n");
  TMorvaForm& form = Open();
  const QStringList history = form.SearchHistory();
  Box()->setFocus();
  Type(QStringLiteral("ねこ"));
  ASSERT_EQ(CountOnceItIs(3), 3);
  EXPECT_EQ(BooksOfHits(), (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(form.SearchHistory(), history);
  EXPECT_FALSE(std::filesystem::exists(SettingsDir() / "keys.log"));
  // Emptying the box empties the list and leaves the pane.
  ClickRow(0);
  const BookAddress shown = Shown();
  Box()->setFocus();
  Box()->lineEdit()->selectAll();
  Key(Box()->lineEdit(), Qt::Key_Backspace);
  ASSERT_EQ(CountOnceItIs(0), 0);
  EXPECT_EQ(Shown(), shown);
  // Enter confirms: every book (Kusizasi), the history once, the log.
  Type(QStringLiteral("ねこ"));
  Key(Box()->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(form.wordlist().Count(), 5);
  QTest::qWait(1000);  // a pending pause must not search again
  EXPECT_EQ(form.wordlist().Count(), 5);
  ASSERT_EQ(form.SearchHistory().size(), history.size() + 1);
  EXPECT_EQ(SjisToUtf8(ReadFile((SettingsDir() / "keys.log").string())), "ねこ\n");
  // With the setting off typing searches nothing.
  form.settings().searchAsYouType = false;
  Type(QStringLiteral("い"));
  QTest::qWait(1000);
  EXPECT_EQ(form.wordlist().Count(), 5);
}

// Headings cut at the list's limit end in an ellipsis.
TEST_F(KeysTest, HeadingsCutAtTheListLimitEndInAnEllipsis) {
  // 24 characters: 48 bytes, the most the list shows.
  const std::string fits = QString(24, QChar(0x6F22)).toStdString();
  const std::string a = MakeBook("a", "一", {{fits, {"ねこ"}}});
  const std::string b = MakeBook("b", "二", {{fits + "漢漢", {"ねこ"}}});
  UseBooks({{"一", a}, {"二", b}}, "", "[Window]\nKeyWidth=700\n");
  Open();
  Search("ねこ", Qt::ControlModifier);
  ASSERT_EQ(BooksOfHits(), (std::vector<int>{1, 2}));
  const QImage picture = Grid()->viewport()->grab().toImage();
  // Both rows show the same 24 characters; only the cut one goes on.
  auto rightmostInk = [&](int row) {
    const QRect rect = Grid()->RowRect(row);
    const QColor background = picture.pixelColor(rect.right() - 1, rect.center().y());
    for (int x = rect.right() - 1; x > rect.left(); --x)
      for (int y = rect.top() + 1; y < rect.bottom(); ++y)
        if (picture.pixelColor(x, y) != background) return x;
    return rect.left();
  };
  ASSERT_LT(rightmostInk(0), Grid()->RowRect(0).right() - 40);  // room for the ellipsis
  EXPECT_GT(rightmostInk(1), rightmostInk(0) + 3);
}

TEST_F(KeysTest, StartupRequestSearchesTheWordAtTheFirstShowing) {
  UseOneBook(2);
  // Parm: settings file, instance rule, group, book, word.
  WriteIni("[Options]\nGroup=\nBook=-1\nParm=,0,G,1,ねこ\n");
  Open(true);
  EXPECT_EQ(form_->CurrentBook(), 1);
  EXPECT_EQ(form_->wordlist().Count(), 2);
  EXPECT_EQ(BoxText(), "ねこ");
  EXPECT_EQ(form_->windowTitle(), QStringLiteral("Morva - G"));
}

// Retry-or-abort goes on with OK and ends the program with Cancel, as a
// fatal box does.
TEST(GuiReporter, CancelledRetryAndFatalEndTheProgram) {
  GuiReporter reporter;
  bool answer = true;
  reporter.SetBoxFunction([&](GuiReporter::Box, const QString&, const QString&) { return answer; });
  std::vector<int> exits;
  reporter.SetExitFunction([&](int code) { exits.push_back(code); });
  reporter.RetryOrAbort(Sjis("開けない"));
  EXPECT_TRUE(exits.empty());
  answer = false;
  reporter.RetryOrAbort(Sjis("開けない"));
  reporter.Fatal(Sjis("壊れている"));
  EXPECT_EQ(exits, (std::vector<int>{1, 1}));
}

}  // namespace
}  // namespace morva::testing
