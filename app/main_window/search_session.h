// SearchSession: the state of the main window's searches, apart from any
// window: the open book, the search word, the search history, and the
// searches themselves with the retries the open book's ending rules call
// for. All text is Shift-JIS. The window shows what the session holds (the
// search box mirrors the word and the history).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_list.h"

namespace morva {

class TDisk;
class Wordlist;
struct BookInfo;

class SearchSession {
 public:
  // The history keeps this many words.
  static constexpr int kMaxHistory = 50;
  // Ending rules may name one another in a circle; a search is tried at most
  // this many times.
  static constexpr int kMaxTries = 32;

  // The hits go to list; book rows are rows of bar, which disk selects from.
  SearchSession(TDisk& disk, Wordlist& list, const BookBar& bar)
      : disk_(disk), list_(list), bar_(bar) {}

  // The open book's row in the bar, -1 when none is open. The book bar and
  // the book opener follow and change it through bookSlot().
  int book() const { return book_; }
  int& bookSlot() { return book_; }

  // The word last searched (or about to be).
  const std::string& word() const { return word_; }
  void SetWord(std::string word) { word_ = std::move(word); }

  // Selects the open book and gives its per-book values; null when no book
  // is open or it cannot be selected.
  const BookInfo* OpenBookInfo();

  // A typed word made ready to search: cut to the longest search word, the
  // open book's TRANSLATE= pairs applied, and cut again.
  std::string Prepare(std::string_view typed);
  // Text selected in the content pane made a search word with the open
  // book's rules: its PRESTRING= (SPRESTRING= for the conditional search)
  // before it, the NEGLECT= characters removed, ending-rule set 0 applied
  // once; cut to the longest search word.
  std::string ScreenWord(std::string_view selected, bool conditional);

  struct Outcome {
    std::string word;    // the word tried last
    std::string status;  // "%d 項目", "該当項目なし" or "索引が存在しない"
  };
  // Searches word in the book at `position` of the bar, the books of the
  // group whose separator is there, or every marked book (-1). While nothing
  // is found a trailing "*" is dropped and the open book's ending rules
  // rewrite the word (set 1 first, then the set each rule names); retried
  // gets every rewritten word. The list holds the hits of the last try.
  Outcome Search(std::string word, int position,
                 const std::function<void(const std::string&)>& retried = {});
  // Search of the session's word that keeps the word tried last.
  Outcome SearchWord(int position, const std::function<void(const std::string&)>& retried = {});

  // The search history, newest first.
  const std::vector<std::string>& history() const { return history_; }
  // Takes stored words (the first kMaxHistory of them).
  void SetHistory(std::vector<std::string> words);
  // Puts word first (moving it there when it is in the history already) and
  // drops the oldest beyond kMaxHistory. False when nothing changed: an
  // empty word or the newest one.
  bool Remember(const std::string& word);

 private:
  TDisk& disk_;
  Wordlist& list_;
  const BookBar& bar_;
  int book_ = -1;
  std::string word_;
  std::vector<std::string> history_;
};

}  // namespace morva
