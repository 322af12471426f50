// The book bar: hit testing and scrolling over its columns, names cut to the
// cell, clicks, marks, hovering and drawing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "app/book_bar/book_bar_layout.h"
#include "app/book_bar/book_bar_widget.h"
#include "engine/book/text_utils.h"

namespace morva {
namespace {

BookBarEntry Book(const char* utf8Name, uint32_t colour = 0xFF) {
  BookBarEntry e;
  e.shortName = Sjis(utf8Name);
  e.location = "/books/x";
  e.subbook = 0;
  e.colour = colour;
  return e;
}
BookBarEntry Separator() { return BookBarEntry{}; }

// separator, A, B, separator, C
BookBar FiveCells() { return {Separator(), Book("A"), Book("B"), Separator(), Book("C")}; }

TEST(BookBarLayoutTest, HitTestingWalksTheColumnsFromTheFirstVisibleOne) {
  const BookBar bar = FiveCells();
  const BookBarMetrics m = BookBarMetrics::Make(16, false, true, 6);  // books 77 wide
  ASSERT_EQ(m.bookColumnWidth, 77);
  // Separators 10 wide, books 77; x beyond the last entry or left of the bar: none.
  const std::pair<int, int> hits[] = {{0, 0},   {9, 0},   {10, 1},  {86, 1},   {87, 2},
                                      {164, 3}, {174, 4}, {250, 4}, {251, -1}, {-1, -1}};
  for (const auto& [x, cell] : hits) EXPECT_EQ(CellAtX(bar, m, 0, x), cell) << x;
  EXPECT_EQ(CellAtX(bar, m, 2, 0), 2);
  EXPECT_EQ(CellLeft(bar, m, 2, 4), 87);
  EXPECT_EQ(CellLeft(bar, m, 2, 1), -77);
  EXPECT_EQ(BarWidth(bar, m), 10 + 77 * 3 + 10);
}

TEST(BookBarLayoutTest, ScrollingMovesRightUntilTheCellFits) {
  const BookBar bar = FiveCells();
  const BookBarMetrics m = BookBarMetrics::Make(16, false, true, 6);
  EXPECT_EQ(LeftColumnToShow(bar, m, 0, 1, 100), 0);  // already visible
  EXPECT_EQ(LeftColumnToShow(bar, m, 0, 4, 100), 3);  // separator 3 + C fit in 100
  EXPECT_EQ(LeftColumnToShow(bar, m, 0, 4, 50), 4);   // never fits: up to the cell
  EXPECT_EQ(LeftColumnToShow(bar, m, 4, 1, 400), 1);  // a cell left of the view
  EXPECT_EQ(LeftColumnToShow(bar, m, 2, 9, 400), 2);  // no such cell
}

TEST(BookBarLayoutTest, SubGroupsBooksAndHeadersAreCountedInBarOrder) {
  const BookBar bar = {Separator(), Separator(), Book("A"), Book("B"), Separator(), Book("C")};
  EXPECT_TRUE(SubGroupOf(bar, 0).empty());  // a section that begins with an empty line
  EXPECT_EQ(SubGroupOf(bar, 1), (std::vector<int>{2, 3}));
  EXPECT_EQ(SubGroupOf(bar, 4), (std::vector<int>{5}));
  EXPECT_TRUE(SubGroupOf(bar, 2).empty());
  EXPECT_EQ(NthBook(bar, 0), 2);
  EXPECT_EQ(NthBook(bar, 2), 5);
  EXPECT_EQ(NthBook(bar, 3), -1);
  EXPECT_EQ(BookPosition(bar, 5), 2);
  EXPECT_EQ(BookPosition(bar, 4), -1);
  EXPECT_EQ(NthSeparator(bar, 1), 1);
  EXPECT_EQ(NthSeparator(bar, 2), 4);
  EXPECT_EQ(NthSeparator(bar, 3), -1);
}

TEST(BookBarLayoutTest, ShortNamesAreCutAtWholeCharacters) {
  const std::string name = Sjis("英和辞");  // three double-byte characters
  EXPECT_EQ(BarName(name, 6), name);
  EXPECT_EQ(BarName(name, 5), Sjis("英和"));
  EXPECT_EQ(BarName(Sjis("ｴｲﾜ辞典"), 5), Sjis("ｴｲﾜ辞"));
  EXPECT_EQ(BarName(name, 0), "");
}

class BookBarWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widget_.ApplyDisplay({16, false, true, 6, {}});
    widget_.resize(600, widget_.Metrics().RowHeight());
    widget_.show();
  }
  // A plain mouse move (QTest::mouseMove may carry modifiers of earlier tests).
  void MoveTo(QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, widget_.mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget_, &move);
  }
  QPoint Centre(int cell) const {
    return {CellLeft(bar_, widget_.Metrics(), widget_.LeftColumn(), cell) +
                widget_.Metrics().ColumnWidth(bar_[static_cast<size_t>(cell)]) / 2,
            5};
  }
  BookBar bar_ = FiveCells();
  int current_ = 1;
  BookBarWidget widget_{bar_, current_};
};

TEST_F(BookBarWidgetTest, PlainClicksOpenBooksAndSeparatorsNameTheirSubGroup) {
  QSignalSpy books(&widget_, &BookBarWidget::bookClicked);
  QSignalSpy separators(&widget_, &BookBarWidget::separatorClicked);
  QTest::mouseClick(&widget_, Qt::LeftButton, Qt::NoModifier, Centre(2));
  ASSERT_EQ(books.count(), 1);
  EXPECT_EQ(books.at(0).at(0).toInt(), 2);
  QTest::mouseClick(&widget_, Qt::LeftButton, Qt::NoModifier, Centre(3));
  ASSERT_EQ(separators.count(), 1);
  EXPECT_EQ(separators.at(0).at(0).toInt(), 3);
  EXPECT_EQ(separators.at(0).at(1).value<QList<int>>(), QList<int>{4});
  // Beyond the last entry nothing happens.
  QTest::mouseClick(&widget_, Qt::LeftButton, Qt::NoModifier, QPoint(590, 5));
  EXPECT_EQ(books.count() + separators.count(), 2);
}

TEST_F(BookBarWidgetTest, CtrlClickMarksTheOpenBookWithoutReopeningIt) {
  QSignalSpy books(&widget_, &BookBarWidget::bookClicked);
  QSignalSpy marks(&widget_, &BookBarWidget::markToggled);
  EXPECT_EQ(widget_.EdgeOf(1), BookBarWidget::Edge::kSunken);  // the open book
  QTest::mouseClick(&widget_, Qt::LeftButton, Qt::ControlModifier, Centre(1));
  EXPECT_TRUE(bar_[1].mark);
  EXPECT_EQ(books.count(), 0);
  ASSERT_EQ(marks.count(), 1);
  EXPECT_EQ(marks.at(0).at(0).toInt(), 1);
  EXPECT_TRUE(marks.at(0).at(1).toBool());
  // Marks are shown as while Ctrl is held: the marked books are sunken.
  EXPECT_TRUE(widget_.MarksShown());
  QTest::mouseClick(&widget_, Qt::LeftButton, Qt::ControlModifier, Centre(4));
  EXPECT_EQ(widget_.EdgeOf(4), BookBarWidget::Edge::kSunken);
  EXPECT_EQ(widget_.EdgeOf(2), BookBarWidget::Edge::kFlat);
  // Releasing Ctrl shows the open book alone again.
  widget_.ShowMarks(false);
  EXPECT_EQ(widget_.EdgeOf(1), BookBarWidget::Edge::kSunken);
  EXPECT_EQ(widget_.EdgeOf(4), BookBarWidget::Edge::kFlat);
  // Ctrl+click again unmarks.
  QTest::mouseClick(&widget_, Qt::LeftButton, Qt::ControlModifier, Centre(1));
  EXPECT_FALSE(bar_[1].mark);
  EXPECT_EQ(books.count(), 0);
}

TEST_F(BookBarWidgetTest, HoveringRaisesACellOrASeparatorsWholeSubGroup) {
  MoveTo(Centre(2));
  EXPECT_EQ(widget_.RaisedCells(), QList<int>{2});
  EXPECT_EQ(widget_.EdgeOf(2), BookBarWidget::Edge::kRaised);
  EXPECT_EQ(widget_.cursor().shape(), Qt::PointingHandCursor);
  MoveTo(Centre(0));
  EXPECT_EQ(widget_.RaisedCells(), (QList<int>{1, 2}));
  EXPECT_EQ(widget_.EdgeOf(1), BookBarWidget::Edge::kRaised);
  QMouseEvent ctrlMove(QEvent::MouseMove, Centre(2), widget_.mapToGlobal(Centre(2)), Qt::NoButton,
                       Qt::NoButton, Qt::ControlModifier);
  QApplication::sendEvent(&widget_, &ctrlMove);  // Ctrl held: no hand cursor
  EXPECT_NE(widget_.cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(widget_.RaisedCells(), QList<int>{2});
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&widget_, &leave);
  EXPECT_TRUE(widget_.RaisedCells().isEmpty());
  EXPECT_EQ(widget_.EdgeOf(1), BookBarWidget::Edge::kSunken);
  EXPECT_EQ(widget_.EdgeOf(2), BookBarWidget::Edge::kFlat);
}

TEST_F(BookBarWidgetTest, ScrollingShowsTheOpenCellWhole) {
  widget_.resize(100, widget_.height());
  widget_.ScrollToCell(4);
  EXPECT_EQ(widget_.LeftColumn(), 3);
  EXPECT_EQ(widget_.FocusCell(), 4);
  EXPECT_EQ(widget_.CellAt(15), 4);
  widget_.ScrollToCell(1);
  EXPECT_EQ(widget_.LeftColumn(), 1);
}

TEST_F(BookBarWidgetTest, PaintsEveryKindOfCell) {
  bar_[2].mark = true;
  widget_.ShowMarks(true);
  widget_.setFocus();
  const QImage image = widget_.grab().toImage();
  ASSERT_FALSE(image.isNull());
  // The colour square of cell 1 (red: 0x0000FF in the file's order is red).
  const BookBarMetrics& m = widget_.Metrics();
  const QPoint square(10 + m.SquareLeft() + m.SquareSide() / 2, m.SquareTop() + m.SquareSide() / 2);
  EXPECT_EQ(image.pixelColor(square * image.devicePixelRatio()), QColor(255, 0, 0));
}

}  // namespace
}  // namespace morva
