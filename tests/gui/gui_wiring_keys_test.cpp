// The word list's keys and searching as the word is typed, in the wired
// main window: Enter shows a row as Space does, ArrowShows shows the row the
// keys move to, SearchAsYouType searches the open book after a pause without
// touching the history.
#include <QInputMethodEvent>

#include "tests/gui/gui_wiring_fixture.h"
#include "view/ttextview.h"

namespace morva::testing {
namespace {

class ListKeysTest : public WiringTest {
 protected:
  TWordGrid* List() { return Child<TWordGrid>("DrawGrid1"); }
  BookAddress Shown() { return Form().view()->ShownAddress(); }
  BookAddress Body(int row) { return Form().wordlist().Item(row).body; }
  void Key(QWidget* target, Qt::Key key) { QTest::keyClick(target, key); }
  // Japanese as an input method commits it, one character at a time.
  void Commit(const QString& text) {
    for (const QChar c : text) {
      QInputMethodEvent commit;
      commit.setCommitString(QString(c));
      QApplication::sendEvent(Box()->lineEdit(), &commit);
    }
  }
  std::string Text() { return Box()->currentText().toStdString(); }
  // Waits (at most five seconds) for the list to hold n hits; the count then.
  int CountOnceItIs(int n) {
    const bool reached = QTest::qWaitFor([&] { return Form().wordlist().Count() == n; });
    return reached ? n : Form().wordlist().Count();
  }
  // Two books holding ねこ; the first also has CAT (found through an ending
  // rule from "cats").
  void TwoBooks(const std::string& options) {
    std::vector<BookEntry> first = Many("ねこ", 3);
    first.push_back({"猫", {"ＣＡＴ"}});
    UseBooks({{"一", MakeBook("a", "一", first)}, {"二", MakeBook("b", "二", Many("ねこ", 2))}},
             "KeywordFile=keys.log\n" + options);
    WriteDat("[一]\nENDING1=s,\n");
  }
};

TEST_F(ListKeysTest, EnterShowsTheRowInBothDisplayModesAndArrowsOnlyMove) {
  TwoBooks("");
  TMorvaForm& form = OpenWired();
  SearchWired("ねこ");
  ASSERT_EQ(form.wordlist().Count(), 3);
  const QStringList history = form.SearchHistory();
  for (const bool continuous : {true, false}) {
    SCOPED_TRACE(continuous ? "continuous" : "item");
    if (form.ContinuousDisplay() != continuous)
      QTest::mouseClick(Child<QPushButton>("ButtonItem"), Qt::LeftButton);
    ASSERT_EQ(form.ContinuousDisplay(), continuous);
    List()->setFocus();
    List()->SetCurrentRow(0);
    const BookAddress before = Shown();
    Key(List(), Qt::Key_Down);
    Key(List(), Qt::Key_Down);
    EXPECT_EQ(List()->HighlightedRow(), 2);
    EXPECT_EQ(Shown(), before);  // the arrows moved the highlight only
    Key(List(), Qt::Key_Return);
    EXPECT_EQ(Shown(), Body(2));
    Key(List(), Qt::Key_Up);
    Key(List(), Qt::Key_Enter);  // the keypad's Enter
    EXPECT_EQ(Shown(), Body(1));
  }
  // Enter on the list searched nothing and added nothing.
  EXPECT_EQ(form.SearchHistory(), history);
  EXPECT_EQ(form.wordlist().Count(), 3);
}

TEST_F(ListKeysTest, ArrowShowsShowsTheRowTheKeysMoveToAndKeepsTheKeysOnTheList) {
  TwoBooks("ArrowShows=yes\n[Keyboard]\nFocusReturn=yes\n[Window]\nWindow=1\n");  // the list alone
  TMorvaForm& form = OpenWired();
  ASSERT_TRUE(form.settings().arrowShows);
  SearchWired("ねこ");
  List()->setFocus();
  Key(List(), Qt::Key_Down);  // brings the highlight out on the first row
  EXPECT_EQ(Shown(), Body(0));
  Key(List(), Qt::Key_Down);
  EXPECT_EQ(Shown(), Body(1));
  EXPECT_TRUE(List()->hasFocus());
  Key(List(), Qt::Key_End);
  EXPECT_EQ(Shown(), Body(2));

  // On a list with nothing found the keys leave the pane as it is.
  SearchWired("いぬ");
  ASSERT_EQ(form.wordlist().Count(), 0);
  const BookAddress before = Shown();
  const int lines = form.view()->LineCount();
  List()->setFocus();
  Key(List(), Qt::Key_Down);
  EXPECT_EQ(Shown(), before);
  EXPECT_EQ(form.view()->LineCount(), lines);

  // The keys leave the list alone on screen; Enter turns to the content.
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kConditionOnly);
  SearchWired("ねこ");
  List()->setFocus();
  Key(List(), Qt::Key_Down);
  EXPECT_EQ(Shown(), Body(0));
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kConditionOnly);
  Key(List(), Qt::Key_Return);
  EXPECT_EQ(form.WindowLayout(), TMorvaForm::kContentOnly);
}

TEST_F(ListKeysTest, SearchAsYouTypeSearchesTheOpenBookAndLeavesTheHistoryToEnter) {
  struct Case {
    const char* name;
    bool on;
  };
  for (const Case& c : {Case{"off", false}, Case{"on", true}}) {
    SCOPED_TRACE(c.name);
    // Kusizasi would make 検索 search every book: the typed search still
    // keeps to the open one.
    TwoBooks(std::string("Kusizasi=yes\nSearchAsYouType=") + (c.on ? "yes" : "no") + "\n");
    TMorvaForm& form = OpenWired();
    const QStringList history = form.SearchHistory();
    Box()->setFocus();
    Commit(QStringLiteral("ねこ"));
    if (!c.on) {
      QTest::qWait(1000);
      EXPECT_EQ(form.wordlist().Count(), 0);
      window_.reset();
      continue;
    }
    ASSERT_EQ(CountOnceItIs(3), 3);
    for (const WordlistItem& item : form.wordlist().Items()) EXPECT_EQ(item.book, 1);
    EXPECT_EQ(form.SearchHistory(), history);
    EXPECT_EQ(form.CurrentWord(), "");
    EXPECT_FALSE(std::filesystem::exists(SettingsDir() / "keys.log"));

    // An ending rule finds the word; the box keeps what was typed.
    Box()->lineEdit()->clear();
    QTest::keyClicks(Box()->lineEdit(), "cats");
    ASSERT_EQ(CountOnceItIs(1), 1);
    EXPECT_EQ(Text(), "cats");

    // Emptying the box empties the list and leaves the pane.
    List()->setFocus();
    Key(List(), Qt::Key_Space);
    const BookAddress shown = Shown();
    ASSERT_EQ(shown, Body(0));
    Box()->setFocus();
    Box()->lineEdit()->selectAll();
    Key(Box()->lineEdit(), Qt::Key_Backspace);
    ASSERT_EQ(CountOnceItIs(0), 0);
    EXPECT_EQ(Shown(), shown);
    EXPECT_EQ(form.SearchHistory(), history);

    // Enter confirms: every book (Kusizasi), the history once, the log.
    Commit(QStringLiteral("ねこ"));
    Key(Box()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(form.wordlist().Count(), 5);
    QTest::qWait(1000);  // a pending pause must not search again
    EXPECT_EQ(form.wordlist().Count(), 5);
    ASSERT_EQ(form.SearchHistory().size(), history.size() + 1);
    EXPECT_EQ(form.SearchHistory().front(), QStringLiteral("ねこ"));
    EXPECT_EQ(SjisToUtf8(ReadFile((SettingsDir() / "keys.log").string())), "ねこ\n");
    window_.reset();
  }
}

}  // namespace
}  // namespace morva::testing
