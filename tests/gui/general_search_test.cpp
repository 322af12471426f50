// The general search window: the ways a book's indexes allow, the full-text
// search with its progress box, cancelling and resuming, the index condition
// search, and the word box's history.
#include "app/search_windows/tgeneral_search.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

#include "app/search_windows/tprogress.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/search/fulltext.h"
#include "engine/search/wordlist.h"
#include "tests/gui/search_windows_support.h"
#include "tests/support/recording_reporter.h"

namespace morva {
namespace {

using testing::SearchBooks;

// The window's progress box, which records what the box showed and clicks
// its cancel button when the nth hit is counted.
class WatchedProgress final : public ProgressBox {
 public:
  WatchedProgress(TProgress& box, const QWidget& owner) : box_(box), owner_(owner) {}

  void Open(std::string_view caption, int maximum) override {
    box_.Open(caption, maximum);
    ownerDisabled = !owner_.isEnabled();
    ++opens;
  }
  void SetCaption(std::string_view caption) override {
    box_.SetCaption(caption);
    captions.push_back(box_.Caption());
    if (cancelAtHit && ++hits_ == *cancelAtHit)
      QTest::mouseClick(box_.Box()->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
  }
  bool Step(int position) override {
    ++steps;
    if (onStep) onStep();
    return box_.Step(position);
  }
  void Close() override { box_.Close(); }

  std::optional<int> cancelAtHit;
  std::function<void()> onStep;
  int opens = 0;
  QStringList captions;
  bool ownerDisabled = false;
  int steps = 0;

 private:
  TProgress& box_;
  const QWidget& owner_;
  int hits_ = 0;
};

class GeneralSearchTest : public ::testing::Test {
 protected:
  GeneralSearchTest() {
    disk_.SetBookList(&book_.books);
    mainWindow_.setGeometry(40, 40, 538, 417);
    mainWindow_.show();
    Open(SearchBooks::kCompoundBook);
  }

  void Open(int book) {
    ASSERT_TRUE(disk_.SelectSubbook(book));
    window_ = std::make_unique<TGeneralSearch>(disk_, main_, fullText_, watched_, &mainWindow_);
    QObject::connect(window_.get(), &TGeneralSearch::searchDone, [this](const TGeneralSearch::Done& done) { done_ = done; });
    window_->show();
  }
  template <typename T>
  T* Find(const char* name) const {
    return window_->findChild<T*>(QString::fromLatin1(name));
  }
  void SetKeyword(const QString& text) { Find<QComboBox>("Keyword")->setEditText(text); }
  void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

  SearchBooks book_;
  testing::RecordingReporter reporter_;
  TDisk disk_{reporter_};
  Wordlist main_{reporter_};
  FullTextSearch fullText_{disk_, main_};
  QWidget mainWindow_;
  TProgress progress_{&mainWindow_};
  WatchedProgress watched_{progress_, mainWindow_};
  std::unique_ptr<TGeneralSearch> window_;
  std::optional<TGeneralSearch::Done> done_;
};

TEST_F(GeneralSearchTest, WaysFollowTheBooksIndexes) {
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("総合検索"));
  // Neither keyword nor cross index: only 全文検索, with its controls.
  EXPECT_FALSE(Find<QRadioButton>("Joken")->isEnabled());
  EXPECT_FALSE(Find<QRadioButton>("Cross")->isEnabled());
  EXPECT_TRUE(Find<QRadioButton>("Zenbun")->isChecked());
  EXPECT_TRUE(Find<QPushButton>("ButtonResume")->isEnabled());
  EXPECT_TRUE(Find<QCheckBox>("Case")->isEnabled());
  EXPECT_TRUE(Find<QLineEdit>("KeywordPresearch")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("ButtonSearch")->isDefault());

  Open(SearchBooks::kKeywordBook);
  EXPECT_TRUE(Find<QRadioButton>("Joken")->isEnabled());
  EXPECT_TRUE(Find<QRadioButton>("Joken")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>("Cross")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("ButtonResume")->isEnabled());
  EXPECT_FALSE(Find<QCheckBox>("Case")->isEnabled());
  auto* presearch = Find<QLineEdit>("KeywordPresearch");
  EXPECT_FALSE(presearch->isEnabled());
  EXPECT_EQ(presearch->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Button));

  QTest::mouseClick(Find<QRadioButton>("Zenbun"), Qt::LeftButton);
  EXPECT_TRUE(Find<QPushButton>("ButtonResume")->isEnabled());
  EXPECT_TRUE(presearch->isEnabled());
  EXPECT_EQ(presearch->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
}

TEST_F(GeneralSearchTest, FullTextSearchFillsTheMainListUnderTheProgressBox) {
  std::vector<bool> busy;
  QObject::connect(window_.get(), &TGeneralSearch::busyChanged, [&](bool on) { busy.push_back(on); });
  // 検索 pressed again while the search runs starts no second search.
  watched_.onStep = [&] {
    watched_.onStep = nullptr;
    window_->ButtonSearchClick();
    window_->ButtonResumeClick();
  };
  SetKeyword(QStringLiteral("共通"));
  Find<QLineEdit>("KeywordPresearch")->setText(QStringLiteral("ない語"));  // finds nothing: from the start
  Click("ButtonSearch");
  ASSERT_TRUE(done_.has_value());
  EXPECT_TRUE(done_->fullText);
  EXPECT_EQ(done_->query, QStringLiteral("共通"));
  EXPECT_EQ(main_.Count(), book_.commonTopics);
  EXPECT_EQ(done_->status, Format("%d ", book_.commonTopics) + Sjis("項目"));
  EXPECT_TRUE(watched_.ownerDisabled);
  EXPECT_EQ(watched_.opens, 1);
  EXPECT_EQ(busy, (std::vector<bool>{true, false}));
  EXPECT_GT(watched_.steps, SearchBooks::kFillerTopics);
  EXPECT_EQ(watched_.captions.back(), QStringLiteral("全文検索中(%1件該当)").arg(book_.commonTopics));
  EXPECT_FALSE(progress_.IsOpen());
  EXPECT_TRUE(mainWindow_.isEnabled());
  EXPECT_TRUE(Find<QPushButton>("ButtonResume")->isEnabled());
  for (const WordlistItem& item : main_.Items()) {
    EXPECT_EQ(item.heading, item.body);
    EXPECT_EQ(item.book, SearchBooks::kCompoundBook);
  }

  SetKeyword(QStringLiteral("存在しない"));
  Click("ButtonSearch");
  EXPECT_EQ(main_.Count(), 0);
  EXPECT_EQ(done_->status, Sjis("該当項目なし"));
}

TEST_F(GeneralSearchTest, CancelKeepsTheHitsAndResumeCountsOn) {
  SetKeyword(QStringLiteral("共通"));
  Click("ButtonSearch");
  const std::vector<WordlistItem> all(main_.Items().begin(), main_.Items().end());
  ASSERT_GT(all.size(), 5u);

  watched_.captions.clear();
  watched_.cancelAtHit = 3;
  Click("ButtonSearch");
  EXPECT_EQ(main_.Count(), 3);
  EXPECT_EQ(watched_.captions.back(), QStringLiteral("全文検索中(3件該当)"));
  EXPECT_TRUE(mainWindow_.isEnabled());
  EXPECT_FALSE(progress_.IsOpen());

  watched_.cancelAtHit.reset();
  watched_.captions.clear();
  Click("ButtonResume");
  ASSERT_FALSE(watched_.captions.isEmpty());
  EXPECT_EQ(watched_.captions.front(), QStringLiteral("全文検索中(4件該当)"));
  EXPECT_EQ(watched_.captions.back(), QStringLiteral("全文検索中(%1件該当)").arg(all.size()));
  ASSERT_EQ(main_.Count(), static_cast<int>(all.size()));
  for (size_t i = 0; i < all.size(); ++i) EXPECT_EQ(main_.Item(static_cast<int>(i)).body, all[i].body) << i;
  EXPECT_EQ(done_->status, Format("%d ", static_cast<int>(all.size())) + Sjis("項目"));
}

TEST_F(GeneralSearchTest, ResumeInANewWindowGoesOnFromTheLastSearch) {
  SetKeyword(QStringLiteral("共通"));
  watched_.cancelAtHit = 2;
  Click("ButtonSearch");
  EXPECT_EQ(main_.Count(), 2);
  // Leaving the 総合 tab closes the window; the search state stays with the
  // main window.
  Open(SearchBooks::kCompoundBook);
  watched_.cancelAtHit.reset();
  SetKeyword(QStringLiteral("共通"));
  Click("ButtonResume");
  EXPECT_EQ(main_.Count(), book_.commonTopics);
}

TEST_F(GeneralSearchTest, ConditionSearchUsesTheKeywordIndex) {
  Open(SearchBooks::kKeywordBook);
  SetKeyword(QStringLiteral("犬"));
  QTest::keyClick(Find<QComboBox>("Keyword"), Qt::Key_Return);  // the default button
  ASSERT_TRUE(done_.has_value());
  EXPECT_FALSE(done_->fullText);
  ASSERT_EQ(main_.Count(), 1);
  EXPECT_EQ(main_.Item(0).body, book_.keywordDog);
  EXPECT_EQ(done_->status, "1 " + Sjis("項目"));
  EXPECT_EQ(watched_.steps, 0);  // no progress box

  // The window searches the open book even when the disk was moved on.
  window_->SetBookProvider([] { return SearchBooks::kKeywordBook; });
  ASSERT_TRUE(disk_.SelectSubbook(SearchBooks::kCompoundBook));
  main_.Empty();
  Click("ButtonSearch");
  EXPECT_EQ(main_.Count(), 1);
}

TEST_F(GeneralSearchTest, WordBoxFollowsTheHistoryRule) {
  window_->SetHistory({"a", "b", "c"});
  SetKeyword(QStringLiteral("typed"));
  window_->RememberWord(QStringLiteral("c"));  // lower down: to the top
  EXPECT_EQ(window_->History(), QStringList({"c", "a", "b"}));
  window_->RememberWord(QStringLiteral("c"));  // at the top: unchanged
  EXPECT_EQ(window_->History(), QStringList({"c", "a", "b"}));
  window_->RememberWord(QStringLiteral("d"));  // new: inserted at the top
  EXPECT_EQ(window_->History(), QStringList({"d", "c", "a", "b"}));
  EXPECT_EQ(Find<QComboBox>("Keyword")->currentText(), QStringLiteral("typed"));

  for (int i = 0; i < 60; ++i) window_->RememberWord(QString::number(i));
  const QStringList history = window_->History();
  ASSERT_EQ(history.size(), TGeneralSearch::kHistoryLimit);
  EXPECT_EQ(history.front(), QStringLiteral("59"));
  EXPECT_EQ(history.back(), QStringLiteral("10"));
}

}  // namespace
}  // namespace morva
