// The 複合 and 総合 tabs of the wired main window: the compound forms of a
// book with their candidate window and search, and the general search window
// with a full-text search that shows the progress box, is cancelled, and
// resumes after the window was closed.
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include "app/book_bar/book_bar_widget.h"
#include "app/search_windows/compound_tab.h"
#include "app/search_windows/tgeneral_search.h"
#include "app/search_windows/tprogress.h"
#include "engine/search/fulltext.h"
#include "tests/gui/gui_wiring_fixture.h"
#include "tests/gui/search_windows_support.h"
#include "view/multi_refer/tmulti_refer.h"

namespace morva::testing {
namespace {

// Forwards to the window's progress box and notes what it showed; cancels
// at the nth step as the cancel button would.
class ObservedProgress final : public ProgressBox {
 public:
  ObservedProgress(TProgress& box, const QWidget& owner) : box_(box), owner_(owner) {}
  void Open(std::string_view caption, int maximum) override {
    box_.Open(caption, maximum);
    steps = 0;
    maximumSeen = maximum;
  }
  void SetCaption(std::string_view caption) override {
    box_.SetCaption(caption);
    lastCaption = box_.Caption().toStdString();
  }
  bool Step(int position) override {
    ++steps;
    boxShown = boxShown || (box_.Box() != nullptr && box_.Box()->isVisible());
    ownerDisabled = ownerDisabled || !owner_.isEnabled();
    if (steps == cancelAtStep) box_.Cancel();
    return box_.Step(position);
  }
  void Close() override { box_.Close(); }

  int cancelAtStep = -1;
  int steps = 0;
  int maximumSeen = 0;
  bool boxShown = false;
  bool ownerDisabled = false;
  std::string lastCaption;

 private:
  TProgress& box_;
  const QWidget& owner_;
};

// Commits text to a field as an input method does (the field counts as
// typed into).
void Commit(QLineEdit* edit, const QString& text) {
  QInputMethodEvent commit;
  commit.setCommitString(text);
  QApplication::sendEvent(edit, &commit);
}

TEST_F(WiringTest, CompoundTabShowsTheBooksFormsStepsThroughThemAndSearches) {
  SearchBooks books;
  UseBooks({{"複合試験", books.books[SearchBooks::kCompoundBook].location}});
  TMorvaForm& form = OpenWired();
  ASSERT_EQ(form.CurrentBook(), 1);
  // Compound searches are all the book offers: the window opens on 複合.
  EXPECT_EQ(form.ActiveTab(), kMultiTab);
  QWidget* page = form.TabSheet(kMultiTab);
  auto shownLabels = [&] {
    QStringList shown;
    for (int i = 1; i <= 5; ++i) {
      const QLabel* label = Child<QLabel>(QStringLiteral("MultiLabel%1").arg(i).toLatin1().constData());
      if (label->isVisibleTo(page)) shown << label->text();
    }
    return shown;
  };
  // Form 0 declares seven fields; five are shown.
  EXPECT_EQ(shownLabels(), (QStringList{"名前", "分類", "産地", "色", "大きさ"}));
  EXPECT_EQ(StatusOf(1), "複合試験　【複合 1/2】");
  // The word list stands under the search button of the shown rows.
  const TWordGrid* grid = Child<TWordGrid>("DrawGrid1");
  const QPushButton* search = Child<QPushButton>("MultiSearchButton");
  EXPECT_GT(grid->y(), search->geometry().bottom());
  const int fiveRowsTop = grid->y();

  // 複合検索 on the active tab steps to the next form, after the last to the first.
  Act("MenuMulti")->trigger();
  EXPECT_EQ(shownLabels(), (QStringList{"読み", "意味"}));
  EXPECT_EQ(StatusOf(1), "複合試験　【複合 2/2】");
  EXPECT_EQ(Child<QSpinBox>("UpDown1")->text(), QStringLiteral("2"));  // counted from 1, as the status
  // Two rows: the button and the list move up.
  EXPECT_GT(grid->y(), search->geometry().bottom());
  EXPECT_LT(grid->y(), fiveRowsTop);
  Act("MenuMulti")->trigger();
  EXPECT_EQ(shownLabels().size(), 5);
  EXPECT_EQ(Child<QSpinBox>("UpDown1")->value(), 0);

  // Entering the field with candidates opens the candidate window.
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QTest::mouseClick(Child<QLineEdit>("MultiEdit2"), Qt::LeftButton);
  EXPECT_TRUE(window_->multiRefer().isVisible());
  EXPECT_EQ(window_->multiRefer().Field(), 1);

  // A typed value and Enter: the book is searched and the window closes.
  QLineEdit* name = Child<QLineEdit>("MultiEdit1");
  QTest::mouseClick(name, Qt::LeftButton);
  Commit(name, QStringLiteral("猫"));
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

TEST_F(WiringTest, GeneralTabSearchesTheFullTextWithTheProgressBoxAndResumesLater) {
  SearchBooks books;
  UseBooks({{"複合試験", books.books[SearchBooks::kCompoundBook].location},
            {"条件試験", books.books[SearchBooks::kKeywordBook].location}});
  TMorvaForm& form = OpenWired();
  ObservedProgress progress(window_->progress(), form);
  window_->UseProgressBox(&progress);

  EXPECT_EQ(window_->generalSearch(), nullptr);
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
  progress.cancelAtStep = 30;
  QTest::mouseClick(general->findChild<QPushButton*>(QStringLiteral("ButtonSearch")), Qt::LeftButton);
  EXPECT_TRUE(progress.boxShown);
  EXPECT_TRUE(progress.ownerDisabled);
  EXPECT_EQ(progress.maximumSeen, FullTextSearch::kProgressMaximum);
  EXPECT_TRUE(form.isEnabled());
  EXPECT_FALSE(form.Busy());
  const int first = window_->fullText().HitCount();
  ASSERT_GT(first, 0);
  ASSERT_LT(first, books.commonTopics);
  EXPECT_EQ(form.wordlist().Count(), first);
  EXPECT_EQ(Child<TWordGrid>("DrawGrid1")->RowCount(), first);
  EXPECT_EQ(StatusOf(0), std::to_string(first) + " 項目");
  EXPECT_EQ(progress.lastCaption, "全文検索中(" + std::to_string(first) + "件該当)");

  // Leaving the tab closes the window (and empties the list); the search it
  // ran goes on from where it stopped, counting on.
  Act("MenuMulti")->trigger();
  EXPECT_FALSE(general->isVisible());
  Act("MenuGeneral")->trigger();
  EXPECT_TRUE(general->isVisible());
  progress.cancelAtStep = -1;
  QTest::mouseClick(general->findChild<QPushButton*>(QStringLiteral("ButtonResume")), Qt::LeftButton);
  EXPECT_EQ(window_->fullText().HitCount(), books.commonTopics);
  EXPECT_EQ(form.wordlist().Count(), books.commonTopics - first);
  EXPECT_EQ(progress.lastCaption, "全文検索中(" + std::to_string(books.commonTopics) + "件該当)");

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

}  // namespace
}  // namespace morva::testing
