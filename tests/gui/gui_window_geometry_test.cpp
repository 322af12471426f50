// The wired main window's geometry: every window it places lies on the
// usable screen area, the content pane lays its text out for its present
// width, the book bar of a large group, and the word list's highlight after a
// search.

#include "app/book_bar/book_bar_widget.h"
#include "app/search_windows/tgeneral_search.h"
#include "tests/gui/main_window_fixture.h"
#include "view/window_place.h"

namespace morva::testing {
namespace {

TEST(FitRectTest, MovesAndShrinksAFrameOntoTheArea) {
  const QRect area(0, 30, 640, 400);
  const struct {
    QRect frame;
    QRect fitted;
  } cases[] = {
      {{10, 40, 200, 100}, {10, 40, 200, 100}},       // inside: unchanged
      {{0, 0, 1280, 900}, {0, 30, 640, 400}},         // the whole screen of another size
      {{600, 380, 200, 100}, {440, 330, 200, 100}},   // over the right and bottom edges
      {{-50, -50, 100, 100}, {0, 30, 100, 100}},      // over the left and top edges
      {{3000, 2000, 2560, 1800}, {0, 30, 640, 400}},  // another screen at twice the scale
  };
  for (const auto& c : cases)
    EXPECT_EQ(FitRect(c.frame, area), c.fitted) << c.frame.x() << "," << c.frame.y();
  EXPECT_EQ(FitRect(QRect(5, 5, 10, 10), QRect()), QRect(5, 5, 10, 10));
}

class GeometryTest : public WiringTest {
 protected:
  // Opens the wired window on a book of three entries "ねこ".
  TMorvaForm& OpenOn(QRect area, const std::string& options = "", const std::string& more = "") {
    main_.reset();
    screenArea_ = area;
    if (book_.empty()) book_ = MakeBook("a", "試験", Many("ねこ", 3));
    UseBooks({{"試験", book_}}, options, more);
    TMorvaForm& form = OpenWired();
    QApplication::processEvents();
    return form;
  }
  std::string book_;
};

TEST_F(GeometryTest, MainWindowFramesLieOnTheUsableAreaWhateverWasStored) {
  const char* stored[] = {
      "",                                   // nothing stored: the whole usable area
      "Main=0,0,1280,900\nKeyWidth=900\n",  // a larger screen, or twice the scale
      "Main=3000,2000,800,600\n",           // a screen no longer there
      "Main=500,300,300,200\n",             // partly over the bottom-right edges
  };
  for (const char* main : stored) {
    SCOPED_TRACE(main);
    // A small screen under a top panel.
    TMorvaForm& form = OpenOn({0, 30, 640, 400}, "", std::string("[Window]\n") + main);
    EXPECT_TRUE(screenArea_.contains(form.frameGeometry()));
    // The status bar and the 後退 button at the bottom are on the screen.
    const QWidget* back = Find<QWidget>("ButtonBack");
    EXPECT_TRUE(screenArea_.contains(QRect(back->mapToGlobal(QPoint(0, 0)), back->size())));
    EXPECT_GT(Find<QWidget>("MyScrollBox1")->width(), 100);  // the content pane kept room
  }
}

// The general search window goes beside the main window where there is
// room, else over the content pane, never over the word list where its hits
// appear.
TEST_F(GeometryTest, TheGeneralSearchWindowLiesOnTheAreaAndLeavesTheWordListInSight) {
  OpenOn({0, 0, 1024, 768}).ActivateTab(kGeneralTab);
  const QRect general = main_->generalSearch()->frameGeometry();
  EXPECT_TRUE(screenArea_.contains(general));
  EXPECT_FALSE(general.intersects(QRect(Grid()->mapToGlobal(QPoint(0, 0)), Grid()->size())));

  OpenOn({0, 0, 1024, 768}, "", "[Window]\nMain=0,0,500,400\n").ActivateTab(kGeneralTab);
  EXPECT_GE(main_->generalSearch()->frameGeometry().left(), form_->frameGeometry().right());
  EXPECT_TRUE(screenArea_.contains(main_->generalSearch()->frameGeometry()));
}

// The layout after showing an entry equals a fresh layout at the pane's
// present width, also when the pane was resized while it showed nothing; and
// every continuation line of a paragraph keeps its indent, word wrap or not.
TEST_F(GeometryTest, EntriesShownAfterAResizeWhileEmptyFitThePaneAndKeepTheirIndent) {
  // One entry with a long indented paragraph of half-width words.
  const std::string book = MakeBook("long", "長文", {{"ねこ", {"ねこ"}}}, false, [](auto& body) {
    body.Indent(3).BeginNarrow();
    for (int i = 0; i < 12; ++i) body.Text("the quick brown fox jumps over the lazy dog ");
    body.EndNarrow().Newline().Indent(1);
    for (int i = 0; i < 10; ++i) body.Text("吾輩は猫である名前はまだ無い");
    body.Newline();
  });
  for (const char* options :
       {"Scroll=yes", "Scroll=no", "Scroll=yes\nWordWrap=yes", "Scroll=no\nWordWrap=yes"}) {
    SCOPED_TRACE(options);
    UseBooks({{"長文", book}}, options);
    TMorvaForm& form = OpenWired();
    TTextView& view = *form.view();
    int wide = 0;
    for (const int width : {1000, 600}) {
      form.PageControl1Change(kIndexTab);  // the pane is emptied
      ASSERT_EQ(view.LineCount(), 0);
      form.resize(width, 600);
      QApplication::processEvents();
      SearchWired("ねこ");
      form.ShowItem(0);
      if (wide == 0) wide = view.Columns();
    }
    const int columns = view.Columns();
    const int lines = view.LineCount();
    EXPECT_LT(columns, wide);
    form.ApplyDisplaySettings();  // lays the shown entry out afresh
    EXPECT_EQ(view.Columns(), columns);
    EXPECT_EQ(view.LineCount(), lines);

    // The English paragraph wraps over several lines, each indented like
    // its first.
    std::vector<int> indents;
    for (int i = 0; i < view.LineCount(); ++i) {
      const std::string text(view.brows().GetLine(i).text);
      if (text.find("quick") != std::string::npos || text.find("lazy") != std::string::npos)
        indents.push_back(view.brows().GetLine(i).indent);
    }
    ASSERT_GT(indents.size(), 2u);
    EXPECT_GT(indents[0], 0);
    EXPECT_EQ(std::count(indents.begin(), indents.end(), indents[0]), std::ssize(indents));
    main_.reset();
  }
}

// Eight books: the open book stays in sight of a narrow bar, a wider window
// shows the hidden books again.
TEST_F(GeometryTest, TheBookBarOfALargeGroupKeepsTheOpenBookInSight) {
  const std::string book = MakeBook("a", "試験", Many("ねこ", 2));
  std::vector<GroupBook> books;
  for (int i = 1; i <= 8; ++i) books.push_back({"辞書" + std::to_string(i), book});
  UseBooks(books);
  TMorvaForm& form = OpenWired();
  BookBarWidget* bar = form.bookBarWidget();
  const BookBarMetrics& m = bar->Metrics();
  const auto openBookInSight = [&] {
    const int left = CellLeft(form.Bar(), m, bar->LeftColumn(), 8);
    return left >= 0 && left + m.bookColumnWidth <= bar->width();
  };
  for (const int width : {400, 900, 400}) {
    form.resize(width, 500);
    QApplication::processEvents();
    if (width == 400 && form.CurrentBook() != 8) form.OpenBook(8, kIndexTab);
    QApplication::processEvents();
    if (width == 900) EXPECT_EQ(bar->LeftColumn(), 0);
    else EXPECT_GT(bar->LeftColumn(), 1);
    EXPECT_TRUE(openBookInSight()) << width;
  }
}

TEST_F(GeometryTest, MarksFollowCtrlAlsoWhenAnotherWindowSawItsRelease) {
  OpenOn({0, 0, 1024, 768});
  BookBarWidget* bar = form_->bookBarWidget();
  QTest::keyPress(Box()->lineEdit(), Qt::Key_Control, Qt::ControlModifier);
  EXPECT_TRUE(bar->MarksShown());
  // Ctrl+F: the find box takes the keys; Ctrl is let go there, then Esc.
  Action("SearchContent")->trigger();
  auto* find = Find<QWidget>("FindDialog1");
  ASSERT_TRUE(find->isVisible());
  QWidget* findText = find->findChild<QLineEdit*>();
  QTest::keyRelease(findText, Qt::Key_Control);
  QTest::keyClick(findText, Qt::Key_Escape);
  EXPECT_FALSE(find->isVisible());
  EXPECT_FALSE(bar->MarksShown());
  // A key with Ctrl held anywhere shows the marks again.
  QTest::keyPress(Box()->lineEdit(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_TRUE(bar->MarksShown());
  QTest::keyRelease(Box()->lineEdit(), Qt::Key_Control);
  EXPECT_FALSE(bar->MarksShown());
}

// The rows the list paints lit (not in the base colour at their right end).
std::vector<int> LitRows(TWordGrid& grid) {
  const QImage image = grid.viewport()->grab().toImage();
  const QRgb base = grid.viewport()->palette().color(QPalette::Base).rgb();
  std::vector<int> lit;
  for (int row = 0; row < grid.RowCount(); ++row) {
    const QRect r = grid.RowRect(row);
    if (r.bottom() < image.height() && image.pixel(r.right() - 3, r.center().y()) != base)
      lit.push_back(row);
  }
  return lit;
}

TEST_F(GeometryTest, TheHighlightedRowIsTheShownEntryOrNone) {
  for (const char* options : {"Scroll=yes", "Scroll=no"}) {
    SCOPED_TRACE(options);
    TMorvaForm& form = OpenOn({0, 0, 1024, 768}, options);
    auto* grid = Find<TWordGrid>("DrawGrid1");
    SearchWired("ねこ");
    ASSERT_EQ(form.wordlist().Count(), 3);
    // Nothing of the list is shown yet (the title page is): nothing lit.
    EXPECT_EQ(LitRows(*grid), std::vector<int>{});
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->RowRect(1).center());
    EXPECT_EQ(LitRows(*grid), std::vector<int>{1});
    EXPECT_EQ(form.view()->ShownAddress(), form.wordlist().Item(1).body);
    // A new search: the old entry stays in the pane and no row is lit.
    SearchWired("ねこ");
    EXPECT_EQ(LitRows(*grid), std::vector<int>{});
    // Showing a row by other means (the start-up search, automation) lights it.
    form.ShowItem(2);
    EXPECT_EQ(LitRows(*grid), std::vector<int>{2});
    // The first arrow key brings the cursor out on the top row.
    SearchWired("ねこ");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(LitRows(*grid), std::vector<int>{0});
  }
}

}  // namespace
}  // namespace morva::testing
