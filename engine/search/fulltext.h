// The general search window's engine: the keyword-condition and cross
// searches, which become index queries, and the full-text search, which
// reads the current sub-book's body text topic by topic (topic_reader.h) and
// keeps the topics that satisfy the query (fulltext_query.h).
//
// A FullTextSearch borrows the TDisk and the main word list; it keeps the
// position where the next topic begins and the hit count across searches so
// that a search can be resumed. Texts are Shift-JIS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/book/book_address.h"
#include "engine/book/book_list.h"
#include "engine/search/query.h"
#include "engine/search/topic_reader.h"

namespace morva {

class ProgressBox;
class TDisk;
class Wordlist;

// The index query of what the user typed, for the keyword index (cross =
// false: each word becomes "+word") or the cross index (cross = true:
// "@word"). and/or/not and parentheses are kept; every piece is followed by
// a space; pieces stop before the query would reach 128 bytes. Words hold at
// most 77 bytes.
std::string BuildIndexConditionQuery(std::string_view typed, bool cross);

// Runs that query with Search (index_search.h) on the book at `position`;
// returns the status line.
std::string IndexConditionSearch(TDisk& disk, Wordlist& main, const BookBar& books,
                                 std::string_view typed, bool cross, int position);

class FullTextSearch {
 public:
  // The progress box's range.
  static constexpr int kProgressMaximum = 1000;

  FullTextSearch(TDisk& disk, Wordlist& main);

  // Searches the current sub-book from the beginning of its body text, or,
  // when `presearch` finds an entry through the indexes (its first hit), from
  // that entry's body. Empties the main list first. Every topic that
  // satisfies the query is appended to the main list (heading and body
  // address both the topic's start). Returns false when the topic buffer
  // cannot be obtained (after the warning box); the search then does not run.
  // Queries and start conditions count up to kMaxQueryBytes.
  bool Search(std::string_view query, bool matchCase, std::string_view presearch,
              ProgressBox& progress);

  // Goes on from the topic after the last one read, appending to the main
  // list as it is and counting on from the last hit count. Without an
  // earlier search in this sub-book it starts at the beginning with a count
  // of 0.
  bool Resume(std::string_view query, bool matchCase, ProgressBox& progress);

  int HitCount() const { return hits_; }
  BookAddress Position() const { return position_; }

  // For tests of the failure path: caps the topic buffer's size.
  void LimitBufferCapacity(size_t bytes) { buffer_.LimitCapacity(bytes); }

 private:
  bool ObtainBuffer();
  void Scan(std::string_view query, bool matchCase, ProgressBox& progress);

  TDisk& disk_;
  Wordlist& main_;
  TopicBuffer buffer_;
  BookAddress position_;
  int hits_ = 0;
  int book_ = -1;  // the sub-book position_ belongs to; -1 before any search
};

}  // namespace morva
