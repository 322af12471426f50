// The clipboard watch: taking words from clipboard text and every AutoSearch
// value, the program's own changes and activation. What the window does with
// the search (showing and copying the result) is tested through the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>

#include <vector>

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
    QObject::connect(&watch_, &ClipboardWatch::wordTaken, [this](const std::string& w) { box_ = w; });
    QObject::connect(&watch_, &ClipboardWatch::searchRequested,
                     [this](bool copyResult) { searches_.push_back(copyResult); });
    // Joining the watch: its own notice is ignored.
    watch_.CheckClipboard();
  }

  void Copy(const QString& text) { QApplication::clipboard()->setText(text); }

  ClipboardWatch watch_{nullptr, false};
  bool indexTab_ = true;
  std::string neglect_;
  std::string box_;
  std::vector<bool> searches_;  // one per search run: whether its result is to be copied
};

// Every AutoSearch value: when the copied word is searched, and whether the
// result is copied; the flags never outlive the search.
TEST_F(ClipboardWatchTest, EveryAutoSearchValue) {
  struct Case {
    int autoSearch;
    std::vector<bool> onCopy;        // searches at the copy
    std::vector<bool> onActivation;  // searches added by the next activation
  };
  const Case cases[] = {
      {0, {}, {}},           {1, {}, {}},           {2, {}, {false}}, {3, {}, {true}},
      {4, {}, {}},           {5, {false}, {}},      {6, {true}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.autoSearch);
    watch_.SetAutoSearch(c.autoSearch);
    box_.clear();
    searches_.clear();
    Copy(QStringLiteral("word%1  ").arg(c.autoSearch));
    EXPECT_EQ(box_, c.autoSearch == 0 ? "" : "word" + std::to_string(c.autoSearch));
    EXPECT_EQ(searches_, c.onCopy);
    std::vector<bool> all = c.onCopy;
    all.insert(all.end(), c.onActivation.begin(), c.onActivation.end());
    watch_.FormActivate();
    EXPECT_EQ(searches_, all);
    watch_.FormActivate();  // the pending search ran once
    EXPECT_EQ(searches_, all);
    EXPECT_FALSE(watch_.searchPending());
    EXPECT_FALSE(watch_.copyResultPending());
  }
}

TEST_F(ClipboardWatchTest, RefusedTextsOwnCopiesAndOtherTabs) {
  watch_.SetAutoSearch(5);
  Copy(QStringLiteral("two words"));
  EXPECT_TRUE(box_.empty());
  EXPECT_TRUE(searches_.empty());

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
