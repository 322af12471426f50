// The rewriting rules of search words: ending-rule sets, character
// substitution pairs and the screen-word prefix.
#include "app/main_window/word_rules.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "engine/book/text_utils.h"

namespace morva {
namespace {

std::array<std::string, 10> Sets(std::initializer_list<std::pair<int, const char*>> sets) {
  std::array<std::string, 10> out{};
  for (const auto& [n, text] : sets) out[static_cast<size_t>(n)] = text;
  return out;
}

// The first matching rule of a set rewrites the word and names the next set
// (-1: none). Endings compare without case; "?" matches one letter, the same
// letter everywhere in the ending; an empty ending matches every word; only
// words of letters and apostrophes are rewritten.
TEST(EndingRules, FirstMatchingRuleRewritesTheWord) {
  const auto sets = Sets({{0, ",e"}, {1, "ies,y,2;s,;ed,,3"}, {2, "??ing,?;??ed,?,0"}, {3, ",s"}});
  const struct {
    int set;
    std::string word;
    const char* after;  // nullptr: not rewritten
    int next;
  } cases[] = {
      {1, "Puppies", "Puppy", 2}, {1, "cats", "cat", -1},       {1, "WALKED", "WALK", 3},
      {1, "dog", nullptr, 0},     {2, "running", "run", -1},    {2, "walking", nullptr, 0},
      {2, "stoPped", "stoP", -1}, {0, "hop", "hope", -1},       {3, "o'clock", "o'clocks", -1},
      {3, "abc1", nullptr, 0},    {3, "two words", nullptr, 0}, {3, Sjis("ねこ"), nullptr, 0},
      {3, "dogs*", nullptr, 0},   {-1, "word", nullptr, 0},     {10, "word", nullptr, 0},
  };
  for (const auto& c : cases) {
    std::string word = c.word;
    const EndingResult r = ApplyEndingSet(&word, c.set, sets);
    EXPECT_EQ(r.applied, c.after != nullptr) << c.word;
    EXPECT_EQ(word, c.after != nullptr ? c.after : c.word) << c.word;
    if (c.after != nullptr) {
      EXPECT_EQ(r.nextSet, c.next) << c.word;
    }
  }
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
