// The general search window as the 総合 tab opens it: the ways the open
// book's indexes allow, the full-text search under the progress box (pressed
// again while it runs it starts nothing), cancelling and resuming with the
// same hits, and the index condition search.
#include <QCheckBox>
#include <QMenu>
#include <QRadioButton>
#include <functional>
#include <optional>

#include "app/search_windows/tgeneral_search.h"
#include "app/search_windows/tprogress.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui/search_windows_support.h"

namespace morva::testing {
namespace {

// The window's progress box, which records what the box showed and clicks
// its cancel button when the nth hit is counted.
class WatchedProgress final : public ProgressBox {
 public:
  WatchedProgress(TProgress& box, const TMorvaForm& owner) : box_(box), owner_(owner) {}

  void Open(std::string_view caption, int maximum) override {
    box_.Open(caption, maximum);
    ownerDisabled = !owner_.isEnabled();
    busy = owner_.Busy();
    ++opens;
  }
  void SetCaption(std::string_view caption) override {
    box_.SetCaption(caption);
    captions.push_back(box_.Caption());
    if (cancelAtHit && ++hits_ == *cancelAtHit)
      QTest::mouseClick(box_.Box()->findChild<QPushButton*>(QStringLiteral("Button1")),
                        Qt::LeftButton);
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
  bool busy = false;
  int steps = 0;

 private:
  TProgress& box_;
  const TMorvaForm& owner_;
  int hits_ = 0;
};

// The compound book (no keyword or cross index) and the keyword book, the
// first open, on the 総合 tab.
class GeneralSearchTest : public MainWindowTest {
 protected:
  GeneralSearchTest() {
    UseBooks({{"複合試験", books_.books[SearchBooks::kCompoundBook].location},
              {"条件試験", books_.books[SearchBooks::kKeywordBook].location}});
    Open();
    watched_.emplace(main_->progress(), *form_);
    main_->UseProgressBox(&*watched_);
    Action("MenuGeneral")->trigger();
    EXPECT_NE(main_->generalSearch(), nullptr);
  }
  void OpenKeywordBook() { Find<QMenu>("MenuDic")->actions()[1]->trigger(); }
  template <typename T>
  T* In(const char* name) {
    return main_->generalSearch()->findChild<T*>(QLatin1String(name));
  }
  void SetKeyword(const QString& text) { In<QComboBox>("Keyword")->setEditText(text); }
  void Click(const char* button) { QTest::mouseClick(In<QPushButton>(button), Qt::LeftButton); }
  std::vector<BookAddress> Hits() {
    std::vector<BookAddress> hits;
    for (const WordlistItem& item : form_->wordlist().Items()) hits.push_back(item.body);
    return hits;
  }

  SearchBooks books_;
  std::optional<WatchedProgress> watched_;
};

TEST_F(GeneralSearchTest, WaysFollowTheBooksIndexes) {
  // Neither keyword nor cross index: only 全文検索, with its controls.
  EXPECT_FALSE(In<QRadioButton>("Joken")->isEnabled());
  EXPECT_FALSE(In<QRadioButton>("Cross")->isEnabled());
  EXPECT_TRUE(In<QRadioButton>("Zenbun")->isChecked());
  EXPECT_TRUE(In<QPushButton>("ButtonResume")->isEnabled());
  EXPECT_TRUE(In<QCheckBox>("Case")->isEnabled());
  EXPECT_TRUE(In<QLineEdit>("KeywordPresearch")->isEnabled());

  OpenKeywordBook();
  EXPECT_TRUE(In<QRadioButton>("Joken")->isChecked());
  EXPECT_FALSE(In<QRadioButton>("Cross")->isEnabled());
  EXPECT_FALSE(In<QPushButton>("ButtonResume")->isEnabled());
  EXPECT_FALSE(In<QCheckBox>("Case")->isEnabled());
  auto* presearch = In<QLineEdit>("KeywordPresearch");
  EXPECT_FALSE(presearch->isEnabled());
  EXPECT_EQ(presearch->palette().color(QPalette::Base),
            QApplication::palette().color(QPalette::Button));

  QTest::mouseClick(In<QRadioButton>("Zenbun"), Qt::LeftButton);
  EXPECT_TRUE(In<QPushButton>("ButtonResume")->isEnabled());
  EXPECT_TRUE(presearch->isEnabled());
  EXPECT_EQ(presearch->palette().color(QPalette::Base),
            QApplication::palette().color(QPalette::Base));
}

TEST_F(GeneralSearchTest, FullTextSearchFillsTheMainListUnderTheProgressBox) {
  // 検索 and 続行 pressed while the search runs start no second search.
  watched_->onStep = [&] {
    watched_->onStep = nullptr;
    In<QPushButton>("ButtonSearch")->click();
    In<QPushButton>("ButtonResume")->click();
  };
  SetKeyword(QStringLiteral("共通"));
  In<QLineEdit>("KeywordPresearch")
      ->setText(QStringLiteral("ない語"));  // finds nothing: from the start
  Click("ButtonSearch");
  EXPECT_EQ(form_->wordlist().Count(), books_.commonTopics);
  EXPECT_EQ(Status(0), std::to_string(books_.commonTopics) + " 項目");
  EXPECT_TRUE(watched_->ownerDisabled);
  EXPECT_TRUE(watched_->busy);
  EXPECT_EQ(watched_->opens, 1);
  EXPECT_GT(watched_->steps, SearchBooks::kFillerTopics);
  EXPECT_EQ(watched_->captions.back(),
            QStringLiteral("全文検索中(%1件該当)").arg(books_.commonTopics));
  EXPECT_FALSE(main_->progress().IsOpen());
  EXPECT_TRUE(form_->isEnabled());
  EXPECT_FALSE(form_->Busy());
  for (const WordlistItem& item : form_->wordlist().Items()) {
    EXPECT_EQ(item.heading, item.body);
    EXPECT_EQ(item.book, form_->CurrentBook());
  }

  SetKeyword(QStringLiteral("存在しない"));
  Click("ButtonSearch");
  EXPECT_EQ(form_->wordlist().Count(), 0);
  EXPECT_EQ(Status(0), "該当項目なし");
}

TEST_F(GeneralSearchTest, CancelKeepsTheHitsAndResumeCountsOn) {
  SetKeyword(QStringLiteral("共通"));
  Click("ButtonSearch");
  const std::vector<BookAddress> all = Hits();
  ASSERT_GT(all.size(), 5u);

  watched_->captions.clear();
  watched_->cancelAtHit = 3;
  Click("ButtonSearch");
  EXPECT_EQ(Hits(), std::vector<BookAddress>(all.begin(), all.begin() + 3));
  EXPECT_EQ(watched_->captions.back(), QStringLiteral("全文検索中(3件該当)"));
  EXPECT_TRUE(form_->isEnabled());

  watched_->cancelAtHit.reset();
  watched_->captions.clear();
  Click("ButtonResume");
  ASSERT_FALSE(watched_->captions.isEmpty());
  EXPECT_EQ(watched_->captions.front(), QStringLiteral("全文検索中(4件該当)"));
  EXPECT_EQ(watched_->captions.back(), QStringLiteral("全文検索中(%1件該当)").arg(all.size()));
  // The list holds the hits before the cancel and after it, in order.
  EXPECT_EQ(Hits(), all);
  EXPECT_EQ(Status(0), std::to_string(all.size()) + " 項目");
}

TEST_F(GeneralSearchTest, ConditionSearchUsesTheKeywordIndex) {
  OpenKeywordBook();
  SetKeyword(QStringLiteral("犬"));
  QTest::keyClick(In<QComboBox>("Keyword"), Qt::Key_Return);  // the default button
  EXPECT_EQ(Hits(), std::vector<BookAddress>{books_.keywordDog});
  EXPECT_EQ(Status(0), "1 項目");
  EXPECT_EQ(watched_->steps, 0);  // no progress box

  // The window searches the open book even when the book-access object was
  // moved on to another.
  ASSERT_TRUE(form_->disk().SelectSubbook(1));
  form_->wordlist().Empty();
  Click("ButtonSearch");
  EXPECT_EQ(Hits(), std::vector<BookAddress>{books_.keywordDog});
}

}  // namespace
}  // namespace morva::testing
