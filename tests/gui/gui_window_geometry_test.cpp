// The wired main window's geometry: every window it places lies on the
// usable screen area, the content pane lays its text out for its present
// width, the book bar of a large group, and the word list's highlight after a
// search.
#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>

#include "app/book_bar/book_bar_widget.h"
#include "app/help/help_window.h"
#include "app/main_window/word_grid.h"
#include "app/search_windows/tgeneral_search.h"
#include "tests/gui/gui_wiring_fixture.h"
#include "tools/mkbook/body_text.h"
#include "view/dump_window/tdump_form.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"
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
  QRect GridOnScreen() {
    auto* grid = Child<TWordGrid>("DrawGrid1");
    return QRect(grid->mapToGlobal(QPoint(0, 0)), grid->size());
  }
  // A book whose one entry ("ねこ") has a long indented paragraph of
  // half-width words under its headword, and a long Japanese line.
  std::string MakeLongBook(const std::string& name) {
    return MakeBook(name, "長文", {{"ねこ", {"ねこ"}}}, false, [](mkbook::BodyText& body) {
      body.Indent(3).BeginNarrow();
      for (int i = 0; i < 12; ++i) body.Text("the quick brown fox jumps over the lazy dog ");
      body.EndNarrow().Newline().Indent(1);
      for (int i = 0; i < 10; ++i) body.Text("吾輩は猫である名前はまだ無い");
      body.Newline();
    });
  }
};

// ---- Placement ------------------------------------------------------------------

TEST_F(GeometryTest, MainWindowFramesLieOnTheUsableAreaWhateverWasStored) {
  const std::string book = MakeBook("a", "試験", Many("ねこ", 3));
  screenArea_ = QRect(0, 30, 640, 400);  // a small screen under a top panel
  const char* stored[] = {
      "",                                   // nothing stored: the whole usable area
      "Main=0,0,1280,900\nKeyWidth=900\n",  // a larger screen, or twice the scale
      "Main=3000,2000,800,600\n",           // a screen no longer there
      "Main=500,300,300,200\n",             // partly over the bottom-right edges
  };
  for (const char* main : stored) {
    UseBooks({{"試験", book}}, "", std::string("[Window]\n") + main);
    TMorvaForm& form = OpenWired();
    QApplication::processEvents();
    EXPECT_TRUE(screenArea_.contains(form.frameGeometry())) << main;
    // The status bar and the 後退 button at the bottom are on the screen.
    auto* back = Child<QWidget>("ButtonBack");
    EXPECT_TRUE(screenArea_.contains(QRect(back->mapToGlobal(QPoint(0, 0)), back->size()))) << main;
    EXPECT_GT(Child<QWidget>("MyScrollBox1")->width(), 100) << main;  // the content pane kept room
    window_.reset();
  }
}

TEST_F(GeometryTest, HelpDumpAndGeneralSearchWindowsLieOnTheAreaAndLeaveTheWordListInSight) {
  const std::string book = MakeBook("a", "試験", Many("ねこ", 3));
  screenArea_ = QRect(0, 30, 640, 400);
  UseBooks({{"試験", book}}, "Scroll=no");
  TMorvaForm& form = OpenWired();
  Act("Contents1")->trigger();
  QApplication::processEvents();
  ASSERT_NE(window_->helpWindow(), nullptr);
  EXPECT_TRUE(screenArea_.contains(window_->helpWindow()->frameGeometry()));
  SearchWired("ねこ");
  form.ShowItem(0);
  Act("Dump")->trigger();
  ASSERT_NE(window_->dumpForm(), nullptr);
  EXPECT_TRUE(screenArea_.contains(window_->dumpForm()->frameGeometry()));
  window_.reset();

  // The main window fills the screen: the general search window goes over
  // the content pane, not over the word list where its hits appear.
  screenArea_ = QRect(0, 0, 1024, 768);
  UseBooks({{"試験", book}});
  OpenWired().ActivateTab(kGeneralTab);
  TGeneralSearch* general = window_->generalSearch();
  ASSERT_NE(general, nullptr);
  EXPECT_TRUE(screenArea_.contains(general->frameGeometry()));
  EXPECT_FALSE(general->frameGeometry().intersects(GridOnScreen()));
  window_.reset();

  // With room beside the main window it goes there.
  screenArea_ = QRect(0, 0, 1024, 768);
  UseBooks({{"試験", book}}, "", "[Window]\nMain=0,0,500,400\n");
  OpenWired().ActivateTab(kGeneralTab);
  general = window_->generalSearch();
  EXPECT_GE(general->frameGeometry().left(), Form().frameGeometry().right());
  EXPECT_TRUE(screenArea_.contains(general->frameGeometry()));
}

// ---- Line width after resizing ---------------------------------------------------

// The layout after showing an entry equals a fresh layout at the pane's
// present width, also when the pane was resized while it showed nothing; and
// every continuation line of a paragraph keeps its indent, word wrap or not.
TEST_F(GeometryTest, EntriesShownAfterAResizeWhileEmptyFitThePaneAndKeepTheirIndent) {
  const std::string book = MakeLongBook("long");
  for (const char* options :
       {"Scroll=yes", "Scroll=no", "Scroll=yes\nWordWrap=yes", "Scroll=no\nWordWrap=yes"}) {
    UseBooks({{"長文", book}}, options);
    TMorvaForm& form = OpenWired();
    form.resize(1000, 600);
    QApplication::processEvents();
    SearchWired("ねこ");
    form.ShowItem(0);
    TTextView& view = *form.view();
    const int wide = view.Columns();
    form.PageControl1Change(kIndexTab);  // the pane is emptied
    ASSERT_EQ(view.LineCount(), 0);
    form.resize(600, 600);
    QApplication::processEvents();
    SearchWired("ねこ");
    form.ShowItem(0);
    const int columns = view.Columns();
    const int lines = view.LineCount();
    EXPECT_LT(columns, wide) << options;
    form.ApplyDisplaySettings();  // lays the shown entry out afresh
    EXPECT_EQ(view.Columns(), columns) << options;
    EXPECT_EQ(view.LineCount(), lines) << options;

    // The English paragraph wraps over several lines, each indented like
    // its first.
    int paragraph = 0;
    int indent = -1;
    for (int i = 0; i < view.LineCount(); ++i) {
      const std::string text(view.brows().GetLine(i).text);
      if (text.find("quick") == std::string::npos && text.find("lazy") == std::string::npos)
        continue;
      ++paragraph;
      if (indent < 0) indent = view.brows().GetLine(i).indent;
      EXPECT_EQ(view.brows().GetLine(i).indent, indent) << options << " line " << i << ": " << text;
    }
    EXPECT_GT(indent, 0) << options;
    EXPECT_GT(paragraph, 2) << options;
    window_.reset();
  }
}

// ---- The book bar of a large group ----------------------------------------------

class BookBarGeometryTest : public GeometryTest {
 protected:
  // Eight books, the seventh white.
  TMorvaForm& OpenEight() {
    const std::string book = MakeBook("a", "試験", Many("ねこ", 2));
    std::vector<GroupBook> books;
    for (int i = 1; i <= 8; ++i)
      books.push_back({"辞書" + std::to_string(i) + "の長い題名", book, true,
                       i == 7 ? "FFFFFF" : "0000FF", "本" + std::to_string(i)});
    UseBooks(books);
    return OpenWired();
  }
  BookBarWidget* Bar() { return Form().bookBarWidget(); }
};

TEST_F(BookBarGeometryTest, AWiderWindowShowsTheHiddenBooksAgainAndTheOpenOneStaysInSight) {
  TMorvaForm& form = OpenEight();
  BookBarWidget* bar = Bar();
  const auto openBookInSight = [&] {
    const int left = CellLeft(form.Bar(), bar->Metrics(), bar->LeftColumn(), 8);
    return left >= 0 && left + bar->Metrics().bookColumnWidth <= bar->width();
  };
  form.resize(400, 500);
  QApplication::processEvents();
  ASSERT_LT(bar->width(), BarWidth(form.Bar(), bar->Metrics()));
  form.OpenBook(8, kIndexTab);
  QApplication::processEvents();
  ASSERT_GT(bar->LeftColumn(), 1);
  EXPECT_TRUE(openBookInSight());
  form.resize(900, 500);
  QApplication::processEvents();
  EXPECT_EQ(bar->LeftColumn(), 0);
  // Narrow again: the open book is scrolled into sight.
  form.resize(400, 500);
  QApplication::processEvents();
  const int left = bar->LeftColumn();
  EXPECT_GT(left, 1);
  EXPECT_TRUE(openBookInSight());
  // The wheel scrolls the bar by columns.
  QWheelEvent up(QPointF(5, 5), bar->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, 120), Qt::NoButton,
                 Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(bar, &up);
  EXPECT_EQ(bar->LeftColumn(), left - 1);
}

TEST_F(BookBarGeometryTest, CellsTellTitleAndFolderAndWhiteSquaresHaveAnOutline) {
  TMorvaForm& form = OpenEight();
  form.resize(900, 500);
  QApplication::processEvents();
  BookBarWidget* bar = Bar();
  const QString tip = bar->ToolTipOf(3);
  EXPECT_TRUE(tip.contains(QString::fromUtf8("辞書3の長い題名"))) << tip.toStdString();
  EXPECT_TRUE(tip.contains(QString::fromStdString((dir_.path() / "a").string())))
      << tip.toStdString();
  EXPECT_TRUE(bar->ToolTipOf(0).isEmpty());
  const QPoint over(CellLeft(form.Bar(), bar->Metrics(), bar->LeftColumn(), 3) + 4, 4);
  QHelpEvent help(QEvent::ToolTip, over, bar->mapToGlobal(over));
  QApplication::sendEvent(bar, &help);
  EXPECT_EQ(QToolTip::text(), tip);
  QToolTip::hideText();

  // The white square of the seventh book: its edge is dark on the light bar.
  const QImage image = bar->grab().toImage();
  const BookBarMetrics& m = bar->Metrics();
  const int left = CellLeft(form.Bar(), m, bar->LeftColumn(), 7) + m.SquareLeft();
  EXPECT_LT(qGray(image.pixel(left, m.SquareTop())), 128);
  EXPECT_LT(qGray(image.pixel(left + m.SquareSide() - 1, m.SquareTop() + m.SquareSide() - 1)), 128);
  EXPECT_EQ(qGray(image.pixel(left + m.SquareSide() / 2, m.SquareTop() + m.SquareSide() / 2)), 255);

  // So in the word list of a search over every book.
  SearchWired("ねこ");
  form.SearchClicked(true);
  int row = -1;
  for (int i = 0; i < form.wordlist().Count() && row < 0; ++i)
    if (form.wordlist().Item(i).book == 7) row = i;
  ASSERT_GE(row, 0);
  auto* grid = Child<TWordGrid>("DrawGrid1");
  const QImage list = grid->viewport()->grab().toImage();
  const QRect cell = grid->RowRect(row);
  // Left of the heading only the square is drawn.
  int dark = 0;
  for (int y = cell.top(); y <= cell.bottom(); ++y)
    for (int x = 0; x < cell.height() * 10 / 12; ++x) dark += qGray(list.pixel(x, y)) < 128 ? 1 : 0;
  EXPECT_GT(dark, 4);
}

TEST_F(BookBarGeometryTest, MarksFollowCtrlAlsoWhenAnotherWindowSawItsRelease) {
  TMorvaForm& form = OpenEight();
  BookBarWidget* bar = Bar();
  QTest::keyPress(Box()->lineEdit(), Qt::Key_Control, Qt::ControlModifier);
  EXPECT_TRUE(bar->MarksShown());
  // Ctrl+F: the find box takes the keys; Ctrl is let go there, then Esc.
  Act("SearchContent")->trigger();
  auto* find = Child<QWidget>("FindDialog1");
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
  (void)form;
}

// ---- The word list's highlight ------------------------------------------------

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
  const std::string book = MakeBook("a", "試験", Many("ねこ", 3));
  for (const char* options : {"Scroll=yes", "Scroll=no"}) {
    UseBooks({{"試験", book}}, options);
    TMorvaForm& form = OpenWired();
    auto* grid = Child<TWordGrid>("DrawGrid1");
    SearchWired("ねこ");
    ASSERT_EQ(form.wordlist().Count(), 3) << options;
    // Nothing of the list is shown yet (the title page is): nothing lit.
    EXPECT_EQ(LitRows(*grid), std::vector<int>{}) << options;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, grid->RowRect(1).center());
    EXPECT_EQ(LitRows(*grid), std::vector<int>{1}) << options;
    EXPECT_EQ(form.view()->ShownAddress(), form.wordlist().Item(1).body) << options;
    // A new search: the old entry stays in the pane and no row is lit.
    SearchWired("ねこ");
    EXPECT_EQ(LitRows(*grid), std::vector<int>{}) << options;
    // Showing a row by other means (the start-up search, automation) lights it.
    form.ShowItem(2);
    EXPECT_EQ(LitRows(*grid), std::vector<int>{2}) << options;
    // The first arrow key brings the cursor out on the top row.
    SearchWired("ねこ");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(LitRows(*grid), std::vector<int>{0}) << options;
    window_.reset();
  }
}

}  // namespace
}  // namespace morva::testing
