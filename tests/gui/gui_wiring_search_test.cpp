// The 複合 and 総合 tabs of the wired main window: the compound forms of a
// book, and the general search window over the window's one full-text search.
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

#include "app/book_bar/book_bar_widget.h"
#include "app/search_windows/tgeneral_search.h"
#include "engine/search/fulltext.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui/search_windows_support.h"

namespace morva::testing {
namespace {

TEST_F(WiringTest, CompoundTabShowsTheBooksFormsAndStepsThroughThem) {
  SearchBooks books;
  UseBooks({{"複合試験", books.books[SearchBooks::kCompoundBook].location}});
  TMorvaForm& form = OpenWired();
  // Compound searches are all the book offers: the window opens on 複合.
  ASSERT_EQ(form.ActiveTab(), kMultiTab);
  auto shownLabels = [&] {
    QStringList shown;
    for (const QLabel* label : form.multiControls().labels)
      if (label->isVisibleTo(form.TabSheet(kMultiTab))) shown << label->text();
    return shown;
  };
  // Form 0 declares seven fields; five are shown, the word list under them.
  EXPECT_EQ(shownLabels(), (QStringList{"名前", "分類", "産地", "色", "大きさ"}));
  EXPECT_EQ(StatusOf(1), "複合試験　【複合 1/2】");
  const QPushButton* search = Child<QPushButton>("MultiSearchButton");
  const int fiveRowsTop = Grid()->y();
  EXPECT_GT(fiveRowsTop, search->geometry().bottom());
  // 複合検索 on the active tab steps to the next form, after the last to the
  // first; the list follows the rows shown.
  Act("MenuMulti")->trigger();
  EXPECT_EQ(shownLabels(), (QStringList{"読み", "意味"}));
  EXPECT_EQ(StatusOf(1), "複合試験　【複合 2/2】");
  EXPECT_GT(Grid()->y(), search->geometry().bottom());
  EXPECT_LT(Grid()->y(), fiveRowsTop);
  Act("MenuMulti")->trigger();
  EXPECT_EQ(shownLabels().size(), 5);
}

// The window over the one full-text search: leaving the tab closes it and the
// search goes on from where it stopped; clicking the active tab brings it
// forward, and another book opened meanwhile gives it that book's ways.
TEST_F(WiringTest, GeneralTabClosesItsWindowAndTheSearchResumesAfterwards) {
  SearchBooks books;
  UseBooks({{"複合試験", books.books[SearchBooks::kCompoundBook].location},
            {"条件試験", books.books[SearchBooks::kKeywordBook].location}});
  TMorvaForm& form = Open();
  Act("MenuGeneral")->trigger();
  TGeneralSearch* general = window_->generalSearch();
  general->findChild<QComboBox*>(QStringLiteral("Keyword"))->setEditText(QStringLiteral("共通"));
  progress_.cancelAfterSteps = 30;
  QTest::mouseClick(general->findChild<QPushButton*>(QStringLiteral("ButtonSearch")),
                    Qt::LeftButton);
  const int first = window_->fullText().HitCount();
  ASSERT_GT(first, 0);
  ASSERT_LT(first, books.commonTopics);
  Act("MenuMulti")->trigger();
  EXPECT_FALSE(general->isVisible());
  Act("MenuGeneral")->trigger();
  progress_.cancelAfterSteps = -1;
  QTest::mouseClick(general->findChild<QPushButton*>(QStringLiteral("ButtonResume")),
                    Qt::LeftButton);
  EXPECT_EQ(window_->fullText().HitCount(), books.commonTopics);
  EXPECT_EQ(form.wordlist().Count(), books.commonTopics - first);
  general->close();
  emit Child<QTabWidget>("PageControl1")->tabBarClicked(kGeneralTab);
  EXPECT_TRUE(general->isVisible());
  emit form.bookBarWidget()->bookClicked(2);
  EXPECT_TRUE(general->isVisible());
  EXPECT_TRUE(general->findChild<QRadioButton*>(QStringLiteral("Joken"))->isChecked());
}

}  // namespace
}  // namespace morva::testing
