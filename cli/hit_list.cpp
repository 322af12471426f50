#include "cli/hit_list.h"

#include <cstdio>

#include "cli/commands.h"
#include "cli/reading.h"
#include "cli/render.h"
#include "engine/book/text_utils.h"
#include "engine/decode/content.h"
#include "engine/search/index_search.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"

namespace morva::cli {

void PrintHits(TDisk& disk, const Wordlist& hits, const BookBar& books,
               const HitListOptions& options, Output& out) {
  TContent content(disk);
  for (int i = 0; i < hits.Count(); ++i) {
    const WordlistItem& item = hits.Item(i);
    std::string& text = out.buffer();
    if (options.bookNames && item.book >= 0 && item.book < static_cast<int>(books.size())) {
      text += SjisToUtf8(books[static_cast<size_t>(item.book)].shortName);
      text += '\t';
    }
    text += Format("%d:%d\t", item.body.page, item.body.offset);
    // The whole heading line: scripts get what the window's list cuts short.
    // Headings keep external characters as markers, which read as "[hA121]".
    AppendReadable(HeadingText(disk, hits, i, HeadingMode::kDisplay, kWholeHeading), &text,
                   options.map);
    text += '\n';
    if (options.entries) {
      RenderItem(content, item.book, item.body, TextFormat::kReadable, &text, options.map);
      text += '\n';
    }
    out.MaybeFlush();
  }
}

void PrintStatus(const std::string& sjisStatus) {
  std::fprintf(stderr, "%s\n", SjisToUtf8(sjisStatus).c_str());
}

int SearchAndPrint(TDisk& disk, const BookBar& books, const std::string& sjisQuery, int position,
                   const HitListOptions& options) {
  Wordlist hits(disk.reporter());
  PrintStatus(Search(disk, hits, books, sjisQuery, position));
  Output out;
  PrintHits(disk, hits, books, options, out);
  return hits.IsEmpty() ? kExitNoHits : kExitOk;
}

}  // namespace morva::cli
