#include "app/main_window/search_session.h"

#include <algorithm>
#include <array>

#include "app/clipboard/clipboard_word.h"
#include "app/main_window/word_rules.h"
#include "engine/book/tdisk.h"
#include "engine/search/index_search.h"
#include "engine/search/wordlist.h"
#include "engine/text/sjis.h"

namespace morva {

const BookInfo* SearchSession::OpenBookInfo() {
  if (book_ < 0 || !disk_.SelectSubbook(book_)) return nullptr;
  return &disk_.info();
}

std::string SearchSession::Prepare(std::string_view typed) {
  std::string word(SjisCut(typed, kMaxSearchWord));
  if (const BookInfo* info = OpenBookInfo())
    word = std::string(SjisCut(Translate(word, info->translate), kMaxSearchWord));
  return word;
}

std::string SearchSession::ScreenWord(std::string_view selected, bool conditional) {
  std::string word(selected);
  if (const BookInfo* info = OpenBookInfo()) {
    word = AddPrefix(word, conditional ? info->sprestring : info->prestring);
    word = RemoveNeglected(word, info->neglect);
    ApplyEndingSet(&word, 0, info->endings);
  }
  return std::string(SjisCut(word, kMaxSearchWord));
}

SearchSession::Outcome SearchSession::Search(
    std::string word, int position, const std::function<void(const std::string&)>& retried) {
  // The ending rules are the open book's, whichever books are searched.
  std::array<std::string, 10> endings{};
  if (const BookInfo* info = OpenBookInfo()) endings = info->endings;

  Outcome outcome;
  int set = 1;
  for (int attempt = 0; attempt < kMaxTries; ++attempt) {
    outcome.status = morva::Search(disk_, list_, bar_, word, position);
    if (!list_.IsEmpty()) break;
    if (!word.empty() && word.back() == '*') word.pop_back();
    const EndingResult rule = ApplyEndingSet(&word, set, endings);
    if (!rule.applied) break;
    if (retried) retried(word);
    set = rule.nextSet;
  }
  outcome.word = std::move(word);
  return outcome;
}

SearchSession::Outcome SearchSession::SearchWord(
    int position, const std::function<void(const std::string&)>& retried) {
  Outcome outcome = Search(word_, position, retried);
  word_ = outcome.word;
  return outcome;
}

void SearchSession::SetHistory(std::vector<std::string> words) {
  if (words.size() > static_cast<size_t>(kMaxHistory)) words.resize(kMaxHistory);
  history_ = std::move(words);
}

bool SearchSession::Remember(const std::string& word) {
  if (word.empty() || (!history_.empty() && history_.front() == word)) return false;
  const auto present = std::find(history_.begin(), history_.end(), word);
  if (present != history_.end()) history_.erase(present);
  history_.insert(history_.begin(), word);
  if (history_.size() > static_cast<size_t>(kMaxHistory)) history_.resize(kMaxHistory);
  return true;
}

}  // namespace morva
