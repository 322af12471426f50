// The book bar: hit testing and scrolling over its columns, names cut to the
// cell, clicks and marks.
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

BookBarEntry Book(const char* name) {
  BookBarEntry e;
  e.shortName = name;
  e.location = "/books/x";
  e.subbook = 0;
  e.colour = 0xFF;
  return e;
}

// separator, A, B, separator, C
BookBar FiveCells() { return {{}, Book("A"), Book("B"), {}, Book("C")}; }

TEST(BookBarLayoutTest, HitTestingAndScrollingWalkTheColumnsFromTheFirstVisibleOne) {
  const BookBar bar = FiveCells();
  const BookBarMetrics m = BookBarMetrics::Make(16, false, true, 6);  // books 77 wide
  // Separators 10 wide, books 77; x beyond the last entry or left of the bar: none.
  const std::pair<int, int> hits[] = {{0, 0},   {9, 0},   {10, 1},  {86, 1},   {87, 2},
                                      {164, 3}, {174, 4}, {250, 4}, {251, -1}, {-1, -1}};
  for (const auto& [x, cell] : hits) EXPECT_EQ(CellAtX(bar, m, 0, x), cell) << x;
  EXPECT_EQ(CellAtX(bar, m, 2, 0), 2);
  EXPECT_EQ(CellLeft(bar, m, 2, 4), 87);
  EXPECT_EQ(BarWidth(bar, m), 10 + 77 * 3 + 10);
  // {left column, cell, view width} -> the left column that shows the cell.
  const int scrolls[][4] = {{0, 1, 100, 0},   // already visible
                            {0, 4, 100, 3},   // separator 3 + C fit in 100
                            {0, 4, 50, 4},    // never fits: up to the cell
                            {4, 1, 400, 1},   // a cell left of the view
                            {2, 9, 400, 2}};  // no such cell
  for (const auto& s : scrolls) EXPECT_EQ(LeftColumnToShow(bar, m, s[0], s[1], s[2]), s[3]) << s[1];
}

TEST(BookBarLayoutTest, SubGroupsAndNamesCutAtWholeCharacters) {
  const BookBar bar = {{}, {}, Book("A"), Book("B"), {}, Book("C")};
  EXPECT_TRUE(SubGroupOf(bar, 0).empty());  // a section that begins with an empty line
  EXPECT_EQ(SubGroupOf(bar, 1), (std::vector<int>{2, 3}));
  EXPECT_EQ(SubGroupOf(bar, 4), (std::vector<int>{5}));
  EXPECT_TRUE(SubGroupOf(bar, 2).empty());

  const std::string name = Sjis("英和辞");  // three double-byte characters
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
  QPoint Centre(int cell) const {
    return {CellLeft(bar_, widget_.Metrics(), widget_.LeftColumn(), cell) +
                widget_.Metrics().ColumnWidth(bar_[static_cast<size_t>(cell)]) / 2,
            5};
  }
  void Click(int cell, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QTest::mouseClick(&widget_, Qt::LeftButton, keys, Centre(cell));
  }
  BookBar bar_ = FiveCells();
  int current_ = 1;
  BookBarWidget widget_{bar_, current_};
};

// Plain clicks open books and name a separator's sub-group; Ctrl+click marks
// without reopening, and the marked books are sunken while Ctrl is held.
TEST_F(BookBarWidgetTest, ClicksOpenBooksAndCtrlClicksMarkThem) {
  using Edge = BookBarWidget::Edge;
  QSignalSpy books(&widget_, &BookBarWidget::bookClicked);
  QSignalSpy separators(&widget_, &BookBarWidget::separatorClicked);
  QSignalSpy marks(&widget_, &BookBarWidget::markToggled);
  Click(2);
  Click(3);
  QTest::mouseClick(&widget_, Qt::LeftButton, Qt::NoModifier, QPoint(590, 5));  // beyond the end
  EXPECT_EQ(books, QList<QVariantList>{{2}});
  ASSERT_EQ(separators.count(), 1);
  EXPECT_EQ(separators.at(0).at(1).value<QList<int>>(), QList<int>{4});

  Click(1, Qt::ControlModifier);  // the open book
  EXPECT_TRUE(bar_[1].mark);
  ASSERT_EQ(marks.count(), 1);
  EXPECT_EQ(marks.at(0), (QVariantList{1, true}));
  EXPECT_TRUE(widget_.MarksShown());
  Click(4, Qt::ControlModifier);
  EXPECT_EQ(widget_.EdgeOf(4), Edge::kSunken);
  EXPECT_EQ(widget_.EdgeOf(2), Edge::kFlat);
  widget_.ShowMarks(false);  // Ctrl released: the open book alone
  EXPECT_EQ(widget_.EdgeOf(1), Edge::kSunken);
  EXPECT_EQ(widget_.EdgeOf(4), Edge::kFlat);
  Click(1, Qt::ControlModifier);
  EXPECT_FALSE(bar_[1].mark);
  EXPECT_EQ(books.count(), 1);
}

}  // namespace
}  // namespace morva
