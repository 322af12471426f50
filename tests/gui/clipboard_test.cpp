// The clipboard watch: taking words from clipboard text and every AutoSearch
// value, the program's own changes, activation and the end of a search.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>

#include "app/clipboard/clipboard_watch.h"
#include "app/clipboard/clipboard_word.h"
#include "engine/book/text_utils.h"

namespace morva {
namespace {

// ---- Taking a word -------------------------------------------------------------------

TEST(ClipboardWord, OneWordWithTrailingBlanksAndControlBytes) {
  EXPECT_EQ(TakeClipboardWord("word", ""), "word");
  EXPECT_EQ(TakeClipboardWord("  word \r\n", ""), "word");
  EXPECT_EQ(TakeClipboardWord(Sjis("　猫　"), ""), Sjis("猫"));
  EXPECT_EQ(TakeClipboardWord("two words", ""), std::nullopt);
  EXPECT_EQ(TakeClipboardWord(Sjis("猫　犬"), ""), std::nullopt);
  EXPECT_EQ(TakeClipboardWord("line\nnext", ""), std::nullopt);
  EXPECT_EQ(TakeClipboardWord("", ""), std::nullopt);
  EXPECT_EQ(TakeClipboardWord("   ", ""), std::nullopt);
  // 127 bytes at most, never half a character.
  const std::string longWord = std::string(126, 'a') + Sjis("あ");
  EXPECT_EQ(TakeClipboardWord(longWord, ""), std::string(126, 'a'));
}

TEST(ClipboardWord, NeglectWithABlankTakesTheTextAsItStands) {
  EXPECT_EQ(TakeClipboardWord("two words", " -"), "two words");
  EXPECT_EQ(RemoveNeglected("two words", " -"), "twowords");
  EXPECT_EQ(RemoveNeglected(Sjis("ねこ・いぬ"), Sjis("・")), Sjis("ねこいぬ"));
  // A pair is compared whole: the trail byte of ・ (0x81 0x45) is not "E".
  EXPECT_EQ(RemoveNeglected(Sjis("E・E"), "E"), Sjis("・"));
}

// ---- The watch ---------------------------------------------------------------------------

class ClipboardWatchTest : public ::testing::Test {
 protected:
  ClipboardWatchTest() {
    watch_.hooks.indexTabActive = [this] { return indexTab_; };
    watch_.hooks.neglect = [this] { return neglect_; };
    watch_.hooks.applyEndingSet0 = [](const std::string& w) { return w; };
    watch_.hooks.putInSearchBox = [this](const std::string& w) { box_ = w; };
    watch_.hooks.runSearch = [this] {
      ++searches_;
      startedByWatch_ = watch_.SearchStartedByWatch();
      watch_.SearchFinished(found_);
    };
    watch_.hooks.bringToFront = [this] { ++fronts_; };
    watch_.hooks.copyAll = [this] {
      ++copies_;
      watch_.SetOwnChange();
      QApplication::clipboard()->setText(QStringLiteral("result"));
    };
    // Joining the watch: its own notice is ignored.
    watch_.CheckClipboard();
  }

  void Copy(const QString& text) { QApplication::clipboard()->setText(text); }

  ClipboardWatch watch_{nullptr, false};
  bool indexTab_ = true;
  std::string neglect_;
  std::string box_;
  int searches_ = 0;
  int fronts_ = 0;
  int copies_ = 0;
  int found_ = 3;
  bool startedByWatch_ = false;
};

TEST_F(ClipboardWatchTest, OffDoesNothing) {
  watch_.SetAutoSearch(0);
  Copy(QStringLiteral("alpha"));
  watch_.FormActivate();
  EXPECT_TRUE(box_.empty());
  EXPECT_EQ(searches_, 0);
}

TEST_F(ClipboardWatchTest, ActivationTimings) {
  // 1: the word goes into the box; activation does not search.
  watch_.SetAutoSearch(1);
  Copy(QStringLiteral("alpha"));
  EXPECT_EQ(box_, "alpha");
  EXPECT_TRUE(watch_.searchPending());
  watch_.FormActivate();
  EXPECT_EQ(searches_, 0);
  EXPECT_FALSE(watch_.searchPending());

  // 2: activation searches; the found result brings the window forward.
  watch_.SetAutoSearch(2);
  Copy(QStringLiteral("beta"));
  EXPECT_EQ(box_, "beta");
  EXPECT_EQ(searches_, 0);
  watch_.FormActivate();
  EXPECT_EQ(searches_, 1);
  EXPECT_TRUE(startedByWatch_);
  EXPECT_EQ(fronts_, 1);
  EXPECT_EQ(copies_, 0);
  watch_.FormActivate();
  EXPECT_EQ(searches_, 1);

  // 3: activation searches and copies the result, whose notice is ignored.
  watch_.SetAutoSearch(3);
  Copy(QStringLiteral("gamma"));
  EXPECT_TRUE(watch_.copyResultPending());
  watch_.FormActivate();
  EXPECT_EQ(searches_, 2);
  EXPECT_EQ(copies_, 1);
  EXPECT_EQ(box_, "gamma");
  EXPECT_FALSE(watch_.ownChange());
  EXPECT_FALSE(watch_.copyResultPending());
}

TEST_F(ClipboardWatchTest, CopyTimings) {
  watch_.SetAutoSearch(4);
  Copy(QStringLiteral("delta"));
  EXPECT_EQ(box_, "delta");
  EXPECT_EQ(searches_, 0);
  watch_.FormActivate();
  EXPECT_EQ(searches_, 0);

  watch_.SetAutoSearch(5);
  Copy(QStringLiteral("epsilon  "));
  EXPECT_EQ(box_, "epsilon");
  EXPECT_EQ(searches_, 1);
  EXPECT_EQ(fronts_, 1);
  EXPECT_EQ(copies_, 0);
  EXPECT_FALSE(watch_.searchPending());

  watch_.SetAutoSearch(6);
  Copy(QStringLiteral("zeta"));
  EXPECT_EQ(searches_, 2);
  EXPECT_EQ(copies_, 1);
  EXPECT_EQ(box_, "zeta");  // the copied result was not taken as a word

  // Nothing found: the window stays behind and nothing is copied.
  found_ = 0;
  Copy(QStringLiteral("eta"));
  EXPECT_EQ(searches_, 3);
  EXPECT_EQ(fronts_, 2);
  EXPECT_EQ(copies_, 1);
}

TEST_F(ClipboardWatchTest, RefusedTextsOwnCopiesAndOtherTabs) {
  watch_.SetAutoSearch(5);
  Copy(QStringLiteral("two words"));
  EXPECT_TRUE(box_.empty());
  EXPECT_EQ(searches_, 0);

  watch_.SetOwnChange();
  Copy(QStringLiteral("own"));
  EXPECT_TRUE(box_.empty());
  EXPECT_FALSE(watch_.ownChange());
  Copy(QStringLiteral("next"));
  EXPECT_EQ(box_, "next");

  indexTab_ = false;
  Copy(QStringLiteral("menu"));
  EXPECT_EQ(box_, "next");

  // The book's NEGLECT= characters are removed from the word.
  indexTab_ = true;
  neglect_ = Sjis("・");
  Copy(QString::fromUtf8("ねこ・いぬ"));
  EXPECT_EQ(box_, Sjis("ねこいぬ"));
}

TEST_F(ClipboardWatchTest, EndingRulesAreAppliedOnce) {
  watch_.SetAutoSearch(4);
  watch_.hooks.applyEndingSet0 = [](const std::string& w) { return w + "!"; };
  Copy(QStringLiteral("cats"));
  EXPECT_EQ(box_, "cats!");
}

}  // namespace
}  // namespace morva
