// The query of a full-text search, read once and evaluated over every topic.
//
// Words, "and", "or", "not" and parentheses are read with the query token
// reader (query.h). Evaluation goes from left to right with no precedence
// among the operators: a word or a parenthesised part right after another
// means "and"; "a or b not c" is (a or b) and not c. "or" after a true value,
// and "and" or "not" after a false one, skip their operand. An empty query,
// and an empty pair of parentheses, are true. A closing parenthesis without
// an opening one ends the query; an operator with nothing after it is
// ignored.
//
// A word matches where it occurs in the text starting at a character
// boundary (the text is walked by whole Shift-JIS characters, or by bytes in
// a single-byte book), so a word never matches across a line break ("\n" in
// the text). Unless case matters, ASCII letters of single-byte characters
// compare upper-cased: the words are folded here, and the text must come
// folded the same way (TopicReader does it).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/search/query.h"

namespace morva {

class FullTextQuery {
 public:
  // Words hold at most this many bytes less one.
  static constexpr size_t kWordCapacity = 80;

  FullTextQuery(std::string_view query, bool matchCase, bool singleByte);

  bool Matches(std::string_view text) const;
  // The value for a text that holds none of the words (only empty words,
  // which are everywhere, count as found).
  bool MatchesWithoutWords() const;

  // The words as they are compared (folded unless case matters).
  const std::vector<std::string>& words() const { return words_; }

 private:
  // An operand is a word or a parenthesised group.
  struct Operand {
    bool group = false;
    int index = 0;
  };
  struct Term {
    QueryToken::Kind op = QueryToken::kAnd;  // kAnd, kOr or kNot; ignored for the first
    Operand operand;
  };
  using Group = std::vector<Term>;  // empty: true

  int ParseGroup(std::string_view& cursor, bool matchCase);
  Operand WordOperand(const std::string& text, bool matchCase);
  // found(word index) gives each word's value.
  template <typename Found>
  bool Evaluate(int group, const Found& found) const;
  template <typename Found>
  bool Evaluate(const Operand& operand, const Found& found) const;

  bool singleByte_;
  std::vector<std::string> words_;
  std::vector<Group> groups_;  // groups_[0] is the whole query
};

// Whether word occurs in text starting at a character boundary; an empty word
// always does.
bool ContainsAtCharacterBoundary(std::string_view text, std::string_view word, bool singleByte);

}  // namespace morva
