// The 複合 and 総合 tabs of the wired main window: the compound forms of a
// book with their candidate window and search, and the general search window
// over the window's one full-text search.
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include "app/book_bar/book_bar_widget.h"
#include "app/search_windows/tgeneral_search.h"
#include "engine/search/fulltext.h"
#include "tests/gui/gui_wiring_fixture.h"
#include "tests/gui/search_windows_support.h"
#include "view/multi_refer/tmulti_refer.h"

namespace morva::testing {
namespace {

TEST_F(WiringTest, CompoundTabShowsTheBooksFormsStepsThroughThemAndSearches) {
  SearchBooks books;
  UseBooks({{"複合試験", books.books[SearchBooks::kCompoundBook].location}});
  TMorvaForm& form = OpenWired();
  // Compound searches are all the book offers: the window opens on 複合.
  ASSERT_EQ(form.ActiveTab(), kMultiTab);
  QWidget* page = form.TabSheet(kMultiTab);
  auto shownLabels = [&] {
    QStringList shown;
    for (const QLabel* label : form.multiControls().labels)
      if (label->isVisibleTo(page)) shown << label->text();
    return shown;
  };
  // Form 0 declares seven fields; five are shown, the word list under them.
  EXPECT_EQ(shownLabels(), (QStringList{"名前", "分類", "産地", "色", "大きさ"}));
  EXPECT_EQ(StatusOf(1), "複合試験　【複合 1/2】");
  const TWordGrid* grid = Child<TWordGrid>("DrawGrid1");
  const QPushButton* search = Child<QPushButton>("MultiSearchButton");
  EXPECT_GT(grid->y(), search->geometry().bottom());
  const int fiveRowsTop = grid->y();

  // 複合検索 on the active tab steps to the next form, after the last to the
  // first; the list follows the rows shown.
  Act("MenuMulti")->trigger();
  EXPECT_EQ(shownLabels(), (QStringList{"読み", "意味"}));
  EXPECT_EQ(StatusOf(1), "複合試験　【複合 2/2】");
  EXPECT_EQ(Child<QSpinBox>("UpDown1")->text(), QStringLiteral("2"));
  EXPECT_GT(grid->y(), search->geometry().bottom());
  EXPECT_LT(grid->y(), fiveRowsTop);
  Act("MenuMulti")->trigger();
  EXPECT_EQ(shownLabels().size(), 5);

  // Entering the field with candidates opens the candidate window; a typed
  // value and Enter search the book and close it.
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QTest::mouseClick(Child<QLineEdit>("MultiEdit2"), Qt::LeftButton);
  EXPECT_TRUE(window_->multiRefer().isVisible());
  QLineEdit* name = Child<QLineEdit>("MultiEdit1");
  QTest::mouseClick(name, Qt::LeftButton);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("猫"));
  QApplication::sendEvent(name, &commit);
  QTest::keyClick(name, Qt::Key_Return);
  EXPECT_FALSE(window_->multiRefer().isVisible());
  ASSERT_EQ(form.wordlist().Count(), 1);
  EXPECT_EQ(form.wordlist().Item(0).body, books.entries[1]);
  EXPECT_EQ(StatusOf(0), "1 項目");
  // 検索 does the same, once.
  form.wordlist().Empty();
  QTest::mouseClick(Child<QPushButton>("MultiSearchButton"), Qt::LeftButton);
  EXPECT_EQ(form.wordlist().Count(), 1);
}

TEST_F(WiringTest, GeneralTabSearchesTheFullTextAndResumesAfterTheWindowWasClosed) {
  SearchBooks books;
  UseBooks({{"複合試験", books.books[SearchBooks::kCompoundBook].location},
            {"条件試験", books.books[SearchBooks::kKeywordBook].location}});
  TMorvaForm& form = OpenWired();
  window_->UseProgressBox(&progress_);
  Act("MenuGeneral")->trigger();
  EXPECT_EQ(form.ActiveTab(), kGeneralTab);
  TGeneralSearch* general = window_->generalSearch();
  ASSERT_NE(general, nullptr);
  EXPECT_TRUE(general->isVisible());
  auto* keyword = general->findChild<QComboBox*>(QStringLiteral("Keyword"));
  EXPECT_EQ(keyword->font().family(), form.SearchBoxFont().family());
  // Neither a keyword nor a cross index: the full-text search is the way.
  EXPECT_TRUE(general->findChild<QRadioButton*>(QStringLiteral("Zenbun"))->isChecked());

  keyword->setEditText(QStringLiteral("共通"));
  progress_.cancelAfterSteps = 30;
  QTest::mouseClick(general->findChild<QPushButton*>(QStringLiteral("ButtonSearch")),
                    Qt::LeftButton);
  EXPECT_EQ(progress_.maximum(), FullTextSearch::kProgressMaximum);
  EXPECT_FALSE(form.Busy());
  const int first = window_->fullText().HitCount();
  ASSERT_GT(first, 0);
  ASSERT_LT(first, books.commonTopics);
  EXPECT_EQ(form.wordlist().Count(), first);
  EXPECT_EQ(Child<TWordGrid>("DrawGrid1")->RowCount(), first);
  EXPECT_EQ(StatusOf(0), std::to_string(first) + " 項目");

  // Leaving the tab closes the window; the search goes on from where it
  // stopped, counting on.
  Act("MenuMulti")->trigger();
  EXPECT_FALSE(general->isVisible());
  Act("MenuGeneral")->trigger();
  EXPECT_TRUE(general->isVisible());
  progress_.cancelAfterSteps = -1;
  QTest::mouseClick(general->findChild<QPushButton*>(QStringLiteral("ButtonResume")),
                    Qt::LeftButton);
  EXPECT_EQ(window_->fullText().HitCount(), books.commonTopics);
  EXPECT_EQ(form.wordlist().Count(), books.commonTopics - first);

  // Clicking the active tab brings the window forward again.
  general->close();
  emit Child<QTabWidget>("PageControl1")->tabBarClicked(kGeneralTab);
  EXPECT_TRUE(general->isVisible());
  // Another book opened while the window stands: its ways follow that
  // book's indexes.
  emit form.bookBarWidget()->bookClicked(2);
  ASSERT_EQ(form.CurrentBook(), 2);
  EXPECT_TRUE(general->isVisible());
  EXPECT_TRUE(general->findChild<QRadioButton*>(QStringLiteral("Joken"))->isChecked());
}

TEST_F(WiringTest, MainWindowSearchesReachTheGeneralWindowsHistory) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 1))}});
  OpenWired();
  SearchWired("ねこ");
  Act("MenuGeneral")->trigger();
  auto* keyword = window_->generalSearch()->findChild<QComboBox*>(QStringLiteral("Keyword"));
  EXPECT_EQ(keyword->itemText(0), QStringLiteral("ねこ"));
  Act("MenuIndex")->trigger();
  SearchWired("いぬ");
  EXPECT_EQ(keyword->itemText(0), QStringLiteral("いぬ"));
  EXPECT_EQ(keyword->itemText(1), QStringLiteral("ねこ"));
}

}  // namespace
}  // namespace morva::testing
