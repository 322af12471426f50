// A query over one book, a group of books, or every marked book.
#include <vector>

#include "engine/book/report.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/search/index_search.h"
#include "engine/search/query.h"
#include "engine/search/wordlist.h"
#include "engine/text/sjis.h"

namespace morva {
namespace {

// The books a search at `position` covers when it does not name one book:
// the books of the group whose header is there, or for -1 the marked books
// of the whole list.
std::vector<int> BooksToSearch(const BookBar& books, int position) {
  std::vector<int> rows;
  const int count = static_cast<int>(books.size());
  if (position == -1) {
    for (int i = 0; i < count; ++i) {
      if (!books[static_cast<size_t>(i)].IsSeparator() && books[static_cast<size_t>(i)].mark)
        rows.push_back(i);
    }
  } else if (position >= 0 && position < count) {
    for (int i = position + 1; i < count && !books[static_cast<size_t>(i)].IsSeparator(); ++i)
      rows.push_back(i);
  }
  return rows;
}

// Evaluates the query in one book into list: sorted by body address unless
// the settings say not to sort, without consecutive duplicates. Returns the
// result code of the last operand, or 0 when the book cannot be opened.
int SearchOneBook(TDisk& disk, Wordlist& list, std::string_view query, int row) {
  list.Empty();
  if (!disk.SelectSubbook(row)) return 0;
  const SearchContext context{disk, row};
  std::string_view cursor = query;
  const int result = EvaluateExpression(context, list, cursor);
  if (disk.settings().sort != 0) list.SortByBody();
  list.RemoveConsecutiveDuplicates();
  return result;
}

}  // namespace

std::string Search(TDisk& disk, Wordlist& main, const BookBar& books, std::string_view query,
                   int position) {
  WaitCursor wait(disk.reporter());
  const std::string cleaned = QueryPrePass(SjisCut(query, kMaxQueryBytes));
  main.Empty();

  int lastResult = 0;
  const bool oneBook = position >= 0 && position < static_cast<int>(books.size()) &&
                       !books[static_cast<size_t>(position)].IsSeparator();
  if (oneBook) {
    lastResult = SearchOneBook(disk, main, cleaned, position);
  } else {
    Wordlist bookHits(disk.reporter());
    for (const int row : BooksToSearch(books, position)) {
      lastResult = SearchOneBook(disk, bookHits, cleaned, row);
      if (!main.AppendAll(bookHits)) break;
    }
  }

  if (disk.settings().sort == 2) main.SortByName(disk);
  main.SetMarks(false);

  if (lastResult == kWordIndexAbsent) return Sjis("索引が存在しない");
  if (!main.IsEmpty()) return Format("%d ", main.Count()) + Sjis("項目");
  return Sjis("該当項目なし");
}

}  // namespace morva
