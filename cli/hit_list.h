// Printing the hits of a search: one line per word-list item with its body
// address and heading, optionally followed by the entry's text.
#pragma once

#include "cli/book_session.h"
#include "engine/book/book_list.h"

namespace morva {
class TDisk;
class Wordlist;
}  // namespace morva

namespace morva::cli {

struct HitListOptions {
  bool bookNames = false;         // lead each line with the short name of the hit's book
  bool entries = false;           // print each entry's text after its line
  const GaijiMap* map = nullptr;  // external characters as Unicode text
};

// "[NAME TAB] PAGE:OFFSET TAB heading" per item, as UTF-8. Selects the items'
// books on disk, whose book list must be `books`.
void PrintHits(TDisk& disk, const Wordlist& hits, const BookBar& books,
               const HitListOptions& options, Output& out);

// The search's status line on stderr.
void PrintStatus(const std::string& sjisStatus);

// Runs an index search (Shift-JIS query) at `position` of books, prints the
// status line and the hits; returns kExitOk with hits, else kExitNoHits.
int SearchAndPrint(TDisk& disk, const BookBar& books, const std::string& sjisQuery, int position,
                   const HitListOptions& options);

}  // namespace morva::cli
