#include "engine/search/fulltext_query.h"

#include <string.h>  // memmem

#include "engine/text/sjis.h"

namespace morva {
namespace {

bool Ends(const QueryToken& token) {
  return token.kind == QueryToken::kEnd || token.kind == QueryToken::kClose;
}

std::string FoldWord(std::string_view word, bool singleByte) {
  if (!singleByte) return SjisAsciiUpper(word);
  std::string folded(word);
  for (char& c : folded)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
  return folded;
}

}  // namespace

bool ContainsAtCharacterBoundary(std::string_view text, std::string_view word, bool singleByte) {
  if (word.empty()) return true;
  const char* const base = text.data();
  const size_t size = text.size();
  size_t from = 0;
  size_t boundary = 0;  // a character boundary at or before every later candidate
  while (from < size && size - from >= word.size()) {
    const void* hit = memmem(base + from, size - from, word.data(), word.size());
    if (!hit) return false;
    const size_t at = static_cast<size_t>(static_cast<const char*>(hit) - base);
    if (singleByte) return true;
    while (boundary < at) boundary += IsSjisLead(static_cast<uint8_t>(base[boundary])) ? 2 : 1;
    if (boundary == at) return true;
    from = at + 1;  // the hit began on a trail byte
  }
  return false;
}

FullTextQuery::FullTextQuery(std::string_view query, bool matchCase, bool singleByte)
    : singleByte_(singleByte) {
  std::string_view cursor = query;
  ParseGroup(cursor, matchCase);
}

FullTextQuery::Operand FullTextQuery::WordOperand(const std::string& text, bool matchCase) {
  std::string word = matchCase ? text : FoldWord(text, singleByte_);
  for (size_t i = 0; i < words_.size(); ++i)
    if (words_[i] == word) return {false, static_cast<int>(i)};
  words_.push_back(std::move(word));
  return {false, static_cast<int>(words_.size() - 1)};
}

int FullTextQuery::ParseGroup(std::string_view& cursor, bool matchCase) {
  const int index = static_cast<int>(groups_.size());
  groups_.emplace_back();
  // A group is read up to the end or its closing parenthesis; groups_ may
  // grow meanwhile, so it is addressed by index.
  QueryToken token = ReadToken(cursor, kWordCapacity);
  if (Ends(token)) return index;
  // An operator word in the first place is a word.
  Term first;
  first.operand = token.kind == QueryToken::kOpen ? Operand{true, ParseGroup(cursor, matchCase)}
                                                  : WordOperand(token.text, matchCase);
  groups_[static_cast<size_t>(index)].push_back(first);
  for (;;) {
    token = ReadToken(cursor, kWordCapacity);
    if (Ends(token)) break;
    Term term;
    if (token.IsOperator()) {
      term.op = token.kind;
      token = ReadToken(cursor, kWordCapacity);
      if (Ends(token)) break;
    }
    term.operand = token.kind == QueryToken::kOpen ? Operand{true, ParseGroup(cursor, matchCase)}
                                                   : WordOperand(token.text, matchCase);
    groups_[static_cast<size_t>(index)].push_back(term);
  }
  return index;
}

template <typename Found>
bool FullTextQuery::Evaluate(const Operand& operand, const Found& found) const {
  return operand.group ? Evaluate(operand.index, found) : found(operand.index);
}

template <typename Found>
bool FullTextQuery::Evaluate(int group, const Found& found) const {
  const Group& terms = groups_[static_cast<size_t>(group)];
  if (terms.empty()) return true;
  bool value = Evaluate(terms.front().operand, found);
  for (size_t i = 1; i < terms.size(); ++i) {
    const Term& term = terms[i];
    switch (term.op) {
      case QueryToken::kOr:
        if (!value) value = Evaluate(term.operand, found);
        break;
      case QueryToken::kNot:
        if (value) value = !Evaluate(term.operand, found);
        break;
      default:
        if (value) value = Evaluate(term.operand, found);
        break;
    }
  }
  return value;
}

bool FullTextQuery::Matches(std::string_view text) const {
  return Evaluate(0, [&](int word) {
    return ContainsAtCharacterBoundary(text, words_[static_cast<size_t>(word)], singleByte_);
  });
}

bool FullTextQuery::MatchesWithoutWords() const {
  return Evaluate(0, [&](int word) { return words_[static_cast<size_t>(word)].empty(); });
}

}  // namespace morva
