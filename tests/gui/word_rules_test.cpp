// The rewriting rules of search words: ending-rule sets, character
// substitution pairs and the screen-word prefix.
#include <gtest/gtest.h>

#include "app/main_window/word_rules.h"
#include "engine/book/text_utils.h"

namespace morva {
namespace {

std::array<std::string, 10> Sets(std::initializer_list<std::pair<int, const char*>> sets) {
  std::array<std::string, 10> out{};
  for (const auto& [n, text] : sets) out[static_cast<size_t>(n)] = text;
  return out;
}

TEST(EndingRules, FirstMatchingRuleRewritesAndNamesTheNextSet) {
  const auto sets = Sets({{1, "ies,y,2;s,;ed,,3"}});
  std::string word = "Puppies";
  EndingResult r = ApplyEndingSet(&word, 1, sets);
  EXPECT_TRUE(r.applied);
  EXPECT_EQ(word, "Puppy");
  EXPECT_EQ(r.nextSet, 2);

  word = "cats";  // "ies" does not match; "s" does, with no next set
  r = ApplyEndingSet(&word, 1, sets);
  EXPECT_EQ(word, "cat");
  EXPECT_EQ(r.nextSet, -1);

  word = "WALKED";  // endings compare without case
  EXPECT_EQ(ApplyEndingSet(&word, 1, sets).nextSet, 3);
  EXPECT_EQ(word, "WALK");

  word = "dog";
  EXPECT_FALSE(ApplyEndingSet(&word, 1, sets).applied);
  EXPECT_EQ(word, "dog");
}

TEST(EndingRules, QuestionMarksMatchOneLetterTheSameEverywhere) {
  const auto sets = Sets({{2, "??ing,?;??ed,?,0"}});
  std::string word = "running";
  EXPECT_TRUE(ApplyEndingSet(&word, 2, sets).applied);
  EXPECT_EQ(word, "run");

  word = "walking";  // "lk" are two different letters
  EXPECT_FALSE(ApplyEndingSet(&word, 2, sets).applied);

  word = "stoPped";  // the letters compare without case; the digit 0 names no set
  const EndingResult r = ApplyEndingSet(&word, 2, sets);
  EXPECT_EQ(word, "stoP");
  EXPECT_EQ(r.nextSet, -1);
}

TEST(EndingRules, EmptyEndingMatchesEveryWord) {
  const auto sets = Sets({{0, ",e"}});
  std::string word = "hop";
  EXPECT_TRUE(ApplyEndingSet(&word, 0, sets).applied);
  EXPECT_EQ(word, "hope");
}

TEST(EndingRules, OnlyWordsOfLettersAndApostrophesAreRewritten) {
  const auto sets = Sets({{1, ",s"}});
  for (std::string word : {std::string("abc1"), std::string("two words"), Sjis("ねこ"), std::string("dogs*")}) {
    const std::string before = word;
    EXPECT_FALSE(ApplyEndingSet(&word, 1, sets).applied) << before;
    EXPECT_EQ(word, before);
  }
  std::string word = "o'clock";
  EXPECT_TRUE(ApplyEndingSet(&word, 1, sets).applied);
  EXPECT_FALSE(ApplyEndingSet(&word, -1, sets).applied);
  EXPECT_FALSE(ApplyEndingSet(&word, 10, sets).applied);
}

TEST(EndingRules, NeverGrowsAWordBeyondTheSearchBox) {
  // A set that appends and names itself would otherwise retry for ever.
  const auto sets = Sets({{1, ",xx,1"}});
  std::string word(126, 'a');
  EXPECT_FALSE(ApplyEndingSet(&word, 1, sets).applied);
  EXPECT_EQ(word.size(), 126u);
}

TEST(Translate, ReplacesCharactersAtEvenPositionsByTheirPartners) {
  EXPECT_EQ(Translate(Sjis("ぬこ"), Sjis("ぬねアa")), Sjis("ねこ"));
  EXPECT_EQ(Translate("ab", Sjis("aあ")), Sjis("あb"));
  // Each character is replaced once, by the pair it heads.
  EXPECT_EQ(Translate("ba", "abba"), "ab");
  EXPECT_EQ(Translate("a b", "ax"), "a b");
  EXPECT_EQ(Translate(Sjis("a　b"), "ax"), Sjis("a　b"));
  EXPECT_EQ(Translate("ab", ""), "ab");
  // A lone last character has no partner.
  EXPECT_EQ(Translate("abc", "abc"), "bbc");
}

TEST(Prefix, OnlyWhenTheWordStaysBelow128Bytes) {
  EXPECT_EQ(AddPrefix("word", "+"), "+word");
  EXPECT_EQ(AddPrefix(std::string(126, 'a'), "+"), "+" + std::string(126, 'a'));
  EXPECT_EQ(AddPrefix(std::string(127, 'a'), "+"), std::string(127, 'a'));
}

}  // namespace
}  // namespace morva
