// The book bar: geometry, drawing state, clicks and marks, the 辞書 menu and
// opening a book.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "app/book_bar/book_bar_layout.h"
#include "app/book_bar/book_bar_widget.h"
#include "app/book_bar/book_opener.h"
#include "app/book_bar/dic_menu.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"

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

TEST(BookBarLayoutTest, ColumnWidthsFollowFontHeightNameLengthAndColourSquares) {
  BookBarMetrics colour = BookBarMetrics::Make(16, false, true, 6);
  EXPECT_EQ(colour.h, 16);
  EXPECT_EQ(colour.bookColumnWidth, 16 * 30 / 20 + 17 * 6 / 2 + 2);
  EXPECT_EQ(colour.RowHeight(), 24);
  EXPECT_EQ(colour.PanelHeight(), 26);
  BookBarMetrics plain = BookBarMetrics::Make(16, false, false, 5);
  EXPECT_EQ(plain.bookColumnWidth, 16 * 10 / 20 + 17 * 5 / 2 + 2);
  // The fixed button size ignores the font.
  BookBarMetrics fixed = BookBarMetrics::Make(30, true, true, 6);
  EXPECT_EQ(fixed.h, 12);
  EXPECT_EQ(fixed.bookColumnWidth, 18 + 39 + 2);
  EXPECT_EQ(fixed.ColumnWidth(Separator()), 10);
  EXPECT_EQ(fixed.NameLeft(), 6 + 9);
  EXPECT_EQ(BookBarMetrics::Make(30, true, false, 6).NameLeft(), 3);
}

TEST(BookBarLayoutTest, HitTestingWalksTheColumnsFromTheFirstVisibleOne) {
  const BookBar bar = FiveCells();
  const BookBarMetrics m = BookBarMetrics::Make(16, false, true, 6);  // books 77 wide
  ASSERT_EQ(m.bookColumnWidth, 77);
  EXPECT_EQ(CellAtX(bar, m, 0, 0), 0);
  EXPECT_EQ(CellAtX(bar, m, 0, 9), 0);
  EXPECT_EQ(CellAtX(bar, m, 0, 10), 1);
  EXPECT_EQ(CellAtX(bar, m, 0, 86), 1);
  EXPECT_EQ(CellAtX(bar, m, 0, 87), 2);
  EXPECT_EQ(CellAtX(bar, m, 0, 164), 3);
  EXPECT_EQ(CellAtX(bar, m, 0, 174), 4);
  EXPECT_EQ(CellAtX(bar, m, 0, 250), 4);
  EXPECT_EQ(CellAtX(bar, m, 0, 251), -1);  // beyond the last entry
  EXPECT_EQ(CellAtX(bar, m, 0, -1), -1);
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

TEST_F(BookBarWidgetTest, IsTheBooksGridWithTheRowHeightOfItsFont) {
  EXPECT_EQ(widget_.objectName(), "BooksGrid");
  EXPECT_EQ(widget_.height(), 24);
  EXPECT_EQ(widget_.PanelHeight(), 26);
  EXPECT_EQ(widget_.CellAt(Centre(2).x()), 2);
}

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

// SelectBook over a recording host.
struct FakeSelectHost : SelectBookHost {
  int current = 1;
  int tab = kIndexTab;
  bool boxEmpty = false;
  std::vector<int> opened, searched;
  int CurrentBook() const override { return current; }
  int ActiveTab() const override { return tab; }
  void OpenBook(int entry, int) override { opened.push_back(entry); current = entry; }
  bool SearchBoxEmpty() const override { return boxEmpty; }
  void RunSearch(int entry) override { searched.push_back(entry); }
};

TEST(SelectBookTest, OpensOtherBooksAndSearchesOnTheIndexTab) {
  const BookBar bar = {Separator(), Separator(), Book("A"), Book("B")};
  FakeSelectHost host;
  host.current = 2;
  SelectBook(host, bar, 3);
  EXPECT_EQ(host.opened, std::vector<int>{3});
  EXPECT_EQ(host.searched, std::vector<int>{3});
  SelectBook(host, bar, 3);  // the open book is not opened again
  EXPECT_EQ(host.opened.size(), 1u);
  SelectBook(host, bar, 0);  // a separator searches its (empty) sub-group
  EXPECT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(host.searched.back(), 0);
  host.boxEmpty = true;
  SelectBook(host, bar, 2);
  EXPECT_EQ(host.opened.back(), 2);
  EXPECT_EQ(host.searched.size(), 3u);
  host.boxEmpty = false;
  host.tab = kMenuTab;
  SelectBook(host, bar, 3);
  EXPECT_EQ(host.searched.size(), 3u);
  SelectBook(host, bar, 4);  // beyond the bar
  EXPECT_EQ(host.opened.size(), 3u);
}

TEST(DicMenuTest, CaptionsUseAccessDigitsForTheFirstTenBooksOnly) {
  EXPECT_EQ(DicMenuCaption(0, Sjis("英和")), QStringLiteral("&1 英和"));
  EXPECT_EQ(DicMenuCaption(9, "Ten"), QStringLiteral("&0 Ten"));
  EXPECT_EQ(DicMenuCaption(10, "Eleven"), QStringLiteral("  Eleven"));
  EXPECT_EQ(DicMenuCaption(11, "Twelve"), QStringLiteral("  Twelve"));
}

TEST(DicMenuTest, ItemsRememberTheirEntryAndOneIsChecked) {
  QMenu menu;
  std::vector<DicMenuItem> items;
  for (int k = 0; k < 12; ++k) items.push_back({k + 2, "T" + std::to_string(k)});
  std::vector<int> chosen;
  FillDicMenu(menu, items, [&](int entry) { chosen.push_back(entry); });
  ASSERT_EQ(menu.actions().size(), 12);
  EXPECT_EQ(menu.actions()[11]->text(), QStringLiteral("  T11"));
  menu.actions()[4]->trigger();
  EXPECT_EQ(chosen, std::vector<int>{6});
  CheckDicMenuItem(menu, 13);
  EXPECT_TRUE(menu.actions()[11]->isChecked());
  EXPECT_FALSE(menu.actions()[4]->isChecked());
  CheckDicMenuItem(menu, -1);
  for (QAction* a : menu.actions()) EXPECT_FALSE(a->isChecked());
  FillDicMenu(menu, {}, {});
  EXPECT_TRUE(menu.actions().isEmpty());
}

TEST(ChooseTabTest, PreferredWhenShownElseTheFirstShown) {
  EXPECT_EQ(ChooseTab({true, true, true}, kMenuTab), kMenuTab);
  EXPECT_EQ(ChooseTab({true, false, false}, kMenuTab), kIndexTab);
  EXPECT_EQ(ChooseTab({false, true, true}, kIndexTab), kMultiTab);
  EXPECT_EQ(ChooseTab({false, false, true}, kMultiTab), kMenuTab);
  EXPECT_EQ(ChooseTab({false, false, false}, kMenuTab), kIndexTab);
  EXPECT_EQ(ChooseTab({false, false, false}, kGeneralTab), kGeneralTab);
}

struct FakeOpenView : BookOpenView {
  BookTabs tabs;
  int tab = -1;
  std::string face;
  int ime = -2;
  int checked = -1;
  bool listEmpty = true;
  int titlePages = 0;
  int scrolledTo = -1;
  void ShowSearchTabs(const BookTabs& t) override { tabs = t; }
  void ActivateTab(int t) override { tab = t; }
  void SetSearchBoxFace(const std::string& f) override { face = f; }
  void SetSearchBoxImeMode(int mode) override { ime = mode; }
  void CheckDicMenuItem(int entry) override { checked = entry; }
  bool WordListEmpty() const override { return listEmpty; }
  void ShowTitlePage() override { ++titlePages; }
  void ScrollBarToCell(int entry) override { scrolledTo = entry; }
};

class OpenBookTest : public ::testing::Test {
 protected:
  int Open(int index, int preferred) {
    disk_.SetBookList(&bar_);
    return OpenBook(disk_, bar_, current_, index, preferred, faces_, view_, reporter_);
  }
  BookBar bar_;
  int current_ = 5;
  OpenBookFaces faces_{"Mincho", "Fixed"};
  FakeOpenView view_;
  testing::RecordingReporter reporter_;
  TDisk disk_{reporter_};
};

TEST_F(OpenBookTest, AMissingVolumeIsReportedAndLeavesNoBookOpen) {
  BookBarEntry gone = Book("無");
  gone.location = "/nonexistent/cdrom";
  bar_ = {Separator(), gone};
  EXPECT_EQ(Open(-1, kMenuTab), -1);
  EXPECT_EQ(current_, -1);
  EXPECT_EQ(view_.tab, kIndexTab);
  EXPECT_EQ(reporter_.Last(testing::RecordedBox::kWarning),
            "ﾄﾞﾗｲﾌﾞ /nonexistent/cdrom に辞書が入っていません。");
  EXPECT_EQ(view_.checked, -1);
  EXPECT_EQ(view_.titlePages, 0);
}

TEST_F(OpenBookTest, SeparatorsAndEntriesBeyondTheBarOpenNothing) {
  bar_ = {Separator(), Separator()};
  EXPECT_EQ(Open(-1, kIndexTab), -1);
  EXPECT_EQ(Open(7, kIndexTab), -1);
  EXPECT_EQ(current_, -1);
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(OpenBookTest, ARealBookShowsTheTabsItOffers) {
  MORVA_REQUIRE_SHARED_BOOKS();
  BookBarEntry sample = Book("ｻﾝﾌﾟﾙ");
  sample.location = (testing::SharedBooks() / "ebstudio-sample").string();
  BookBarEntry edict = Book("EDICT");
  edict.location = (testing::SharedBooks() / "edict-small").string();
  bar_ = {Separator(), sample, Separator(), edict};

  // A word index but no menu: the menu tab is not shown, 索引 is chosen.
  EXPECT_EQ(Open(-1, kMenuTab), 1);
  EXPECT_EQ(current_, 1);
  EXPECT_EQ(view_.tabs, (BookTabs{true, false, false}));
  EXPECT_EQ(view_.tab, kIndexTab);
  EXPECT_EQ(view_.face, "Mincho");
  EXPECT_EQ(view_.checked, 1);
  EXPECT_EQ(view_.titlePages, 1);
  EXPECT_EQ(view_.scrolledTo, 1);
  EXPECT_EQ(bar_[1].fontFlag, 1);

  // A menu as well: the preferred menu tab stands.
  view_.listEmpty = false;
  EXPECT_EQ(Open(3, kMenuTab), 3);
  EXPECT_TRUE(view_.tabs.index);
  EXPECT_TRUE(view_.tabs.menu);
  EXPECT_EQ(view_.tab, kMenuTab);
  EXPECT_EQ(view_.titlePages, 1);  // the word list was not empty
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST(ImeModeTest, ClosedPrefersLatinInputOpenClearsIt) {
  QWidget box;
  ApplyImeMode(box, 0);
  EXPECT_TRUE(box.inputMethodHints() & Qt::ImhPreferLatin);
  EXPECT_EQ(box.property("morvaImeMode").toInt(), 0);
  ApplyImeMode(box, -1);
  EXPECT_TRUE(box.inputMethodHints() & Qt::ImhPreferLatin);
  ApplyImeMode(box, 1);
  EXPECT_FALSE(box.inputMethodHints() & Qt::ImhPreferLatin);
  EXPECT_EQ(box.property("morvaImeMode").toInt(), 1);
}

}  // namespace
}  // namespace morva
