// The main window's keys and the word list's own events and drawing: the
// paging keys of the search box, the list's input method key, finding in the
// content, the colour squares of the rows, cut headings, the start-up
// request, and the boxes the window shows.
#include <QImage>

#include "app/main_window/find_dialog.h"
#include "app/main_window/gui_reporter.h"
#include "tests/gui/main_window_fixture.h"
#include "view/ttextview.h"

namespace morva::testing {
namespace {

// With ScrollKey the paging keys of the search box scroll the content (not
// with Shift); without it they stay with the box.
TEST_F(MainWindowTest, PagingKeysInTheSearchBoxScrollTheContentOnlyWithScrollKey) {
  for (const bool scrollKey : {true, false}) {
    SCOPED_TRACE(scrollKey);
    UseBooks({{"試験", MakeBook(scrollKey ? "a" : "b", "試験", Many("ねこ", 60))}}, "",
             scrollKey ? "[Keyboard]\nScrollKey=yes\n" : "");
    TMorvaForm& form = Open();
    Search("ねこ");
    ClickRow(0);
    ASSERT_GT(form.view()->LineCount(), form.view()->VisibleLines());
    QTest::keyClick(Box()->lineEdit(), Qt::Key_PageDown);
    EXPECT_EQ(form.view()->TopLine() > 0, scrollKey);
    if (!scrollKey) continue;
    const int top = form.view()->TopLine();
    QTest::keyClick(Box()->lineEdit(), Qt::Key_Up);
    EXPECT_EQ(form.view()->TopLine(), top - 1);
    QTest::keyClick(Box()->lineEdit(), Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(form.view()->TopLine(), top - 1);
    Close();
  }
}

TEST_F(MainWindowTest, InputMethodKeyOnTheListShowsTheCurrentRow) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 3))}});
  TMorvaForm& form = Open();
  Search("ねこ");
  Grid()->SetCurrentRow(2);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("あ"));
  QApplication::sendEvent(Grid(), &commit);
  EXPECT_EQ(form.view()->ShownAddress(), form.wordlist().Item(2).body);
  // Moving with the arrows does not show anything.
  QTest::keyClick(Grid(), Qt::Key_Up);
  EXPECT_EQ(Grid()->CurrentRow(), 1);
  EXPECT_EQ(form.view()->ShownAddress(), form.wordlist().Item(2).body);
}

TEST_F(MainWindowTest, FindDialogTakesTheSearchWordAndFindsInTheContent) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 2))}});
  TMorvaForm& form = Open();
  Search("ねこ");
  auto* find = form.findChild<TFindDialog*>(QStringLiteral("FindDialog1"));
  ASSERT_NE(find, nullptr);
  EXPECT_EQ(find->FindText(), QStringLiteral("ねこ"));

  ClickRow(0);
  Action("SearchContent")->trigger();
  EXPECT_TRUE(find->isVisible());
  find->SetFindText(QStringLiteral("本文"));
  Action("FindNext1")->trigger();
  ASSERT_TRUE(form.view()->HasSelection());
  EXPECT_EQ(SjisToUtf8(form.view()->SelectionText(true)), "本文");
  find->hide();
}

TEST_F(MainWindowTest, RowsCarryTheColourOfTheirBook) {
  const std::string a = MakeBook("a", "一", Many("ねこ", 1));
  const std::string b = MakeBook("b", "二", Many("ねこ", 1));
  UseBooks({{"一", a, true, "0000FF"}, {"二", b, true, "FF0000"}});  // red, blue
  Open();
  Search("ねこ", Qt::ControlModifier);
  ASSERT_EQ(BooksOfHits(), (std::vector<int>{1, 2}));
  const QImage picture = Grid()->viewport()->grab().toImage();
  const int h = QFontMetrics(form_->fonts().Set(0).list).height();
  const int side = h * 8 / 10;
  auto square = [&](int row) {
    const QRect rect = Grid()->RowRect(row);
    return picture.pixelColor(rect.left() + h * 2 / 10 + side / 2, rect.top() + h / 5 + side / 2);
  };
  EXPECT_EQ(square(0), QColor(255, 0, 0));
  EXPECT_EQ(square(1), QColor(0, 0, 255));
}

TEST_F(MainWindowTest, HeadingsCutAtTheListLimitEndInAnEllipsis) {
  std::string fits;  // 24 characters: 48 bytes, the most the list shows
  for (int i = 0; i < 24; ++i) fits += "漢";
  UseBooks({{"一", MakeBook("a", "一", {{fits, {"ねこ"}}, {fits + "漢漢", {"ねこ"}}})}}, "",
           "[Window]\nKeyWidth=700\n");
  Open();
  Search("ねこ");
  ASSERT_EQ(form_->wordlist().Count(), 2);
  // Both rows show the same 24 characters; only the cut one goes on.
  const QImage picture = Grid()->viewport()->grab().toImage();
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

TEST_F(MainWindowTest, StartupRequestSearchesTheWordAtTheFirstShowing) {
  const std::string a = MakeBook("a", "一", Many("ねこ", 2));
  UseBooks({{"一", a}});
  // Parm: settings file, instance rule, group, book, word.
  WriteIni("[Options]\nGroup=\nBook=-1\nParm=,0,G,1,ねこ\n");
  Open(true);
  EXPECT_EQ(form_->CurrentBook(), 1);
  EXPECT_EQ(form_->wordlist().Count(), 2);
  EXPECT_EQ(BoxText(), "ねこ");
  EXPECT_EQ(form_->windowTitle(), QStringLiteral("Morva - G"));
}

TEST(GuiReporter, BoxesGoThroughTheInjectedFunctionAndFatalEndsTheProgram) {
  GuiReporter reporter;
  std::vector<GuiReporter::Box> shown;
  std::vector<int> exits;
  bool answer = true;
  reporter.SetBoxFunction([&](GuiReporter::Box box, const QString&, const QString&) {
    shown.push_back(box);
    return answer;
  });
  reporter.SetExitFunction([&](int code) { exits.push_back(code); });
  reporter.Warning(Sjis("警告文"));
  reporter.RetryOrAbort(Sjis("開けない"));  // OK goes on
  EXPECT_TRUE(exits.empty());
  answer = false;
  reporter.RetryOrAbort(Sjis("開けない"));  // Cancel ends the program
  reporter.Fatal(Sjis("壊れている"));
  EXPECT_EQ(shown, (std::vector<GuiReporter::Box>{
                       GuiReporter::Box::kWarning, GuiReporter::Box::kRetryOrAbort,
                       GuiReporter::Box::kRetryOrAbort, GuiReporter::Box::kFatal}));
  EXPECT_EQ(exits, (std::vector<int>{1, 1}));
}

}  // namespace
}  // namespace morva::testing
