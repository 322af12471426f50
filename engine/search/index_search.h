// Index tree search: answers a query from the index trees of the books in the
// book list and leaves the hits in a Wordlist.
//
//   Search               one book, a group, or every marked book; returns the
//                        status line
//   EvaluateExpression   operands and and/or/not/parentheses, left to right
//   SearchWord           one operand: key preparation, descent, leaf scan
//   SearchIndex          descent through the branch pages to the first leaf
//   ScanLeaves           walks the leaf pages and appends the hits
//
// Index page layouts are described in docs/formats.md. Corrupt pages raise the
// fatal box through disk.reporter(); every function still returns normally
// afterwards (with what it found so far), so a recording reporter is safe.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/book/book_list.h"
#include "engine/search/search_key.h"

namespace morva {

class TDisk;
class Wordlist;
struct IndexKindRow;

// What one search run needs besides the query: the book, the book number that
// hits carry, and the first-hit-only switch (the full-text search's start
// position lookup sets it: the leaf scan then stops after the first hit).
struct SearchContext {
  TDisk& disk;
  int32_t book = 0;  // book-list position recorded in every hit
  bool firstHitOnly = false;
};

// SearchWord results.
inline constexpr int kWordFound = 0;
inline constexpr int kWordIndexAbsent = 1;
inline constexpr int kWordNotFound = -1;

// Searches query in the book at `position` of books (a book entry), in every
// book of the group whose header is at `position`, or, for -1, in every
// marked book of the whole list. books must be the list disk selects rows
// from (disk.BookList()). Fills main (emptied first), sorts it as
// settings().sort says, clears its marks, and returns the status line
// (Shift-JIS): "%d 項目", "該当項目なし" or "索引が存在しない". The disk stays on the
// last book searched. Only the first kMaxQueryBytes of the query count.
std::string Search(TDisk& disk, Wordlist& main, const BookBar& books, std::string_view query,
                   int position);

// Evaluates the expression at cursor (up to its end or an unmatched closing
// parenthesis, which is consumed) into target. Returns the result code of the
// last operand searched, 0 when there was none. An operator with no operand
// after it is ignored.
int EvaluateExpression(const SearchContext& context, Wordlist& target, std::string_view& cursor);

// Searches one operand into target (emptied first); sets
// disk.subbook().currentIndexRow to the chosen index. kWordFound, kWordIndexAbsent, or
// kWordNotFound (also for an empty key).
int SearchWord(const SearchContext& context, Wordlist& target, std::string_view operand);

// The first leaf page to scan for canonicalKey in the index of row, or 0
// (the key sorts after every key, a page cannot be read, the descent passed
// 101 pages (warning box) or a branch page is corrupt (fatal box)).
int32_t SearchIndex(TDisk& disk, const IndexKindRow& index, std::string_view canonicalKey);

// Scans the leaf pages from startPage and appends the hits of key to target,
// then completes the headings of hits that have none. Returns whether a hit
// was found.
bool ScanLeaves(const SearchContext& context, Wordlist& target, const PreparedKey& key,
                int32_t startPage);

}  // namespace morva
