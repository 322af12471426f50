#include "cli/reading.h"

#include "cli/render.h"
#include "engine/book/tdisk.h"
#include "engine/decode/content.h"

namespace morva::cli {

void RenderMarked(TextFormat format, std::string_view marked, std::string* utf8,
                  const GaijiMap* map) {
  if (format == TextFormat::kMarked) {
    AppendMarked(marked, utf8);
  } else {
    AppendReadable(marked, utf8, map);
  }
}

BookAddress RenderItem(TContent& content, int row, BookAddress at, TextFormat format,
                       std::string* utf8, const GaijiMap* map) {
  std::string marked;
  const BookAddress next = content.FormatItemTo(row, at, &marked);
  RenderMarked(format, marked, utf8, map);
  return next;
}

void RenderBody(TDisk& disk, int row, BookAddress from, TextFormat format,
                const std::function<bool(std::string& itemUtf8)>& sink, const GaijiMap* map) {
  const int32_t endPage = disk.subbook().indexes.End(0x00);
  TContent content(disk);
  std::string marked;
  std::string text;
  BookAddress at = from;
  while (endPage == 0 || at.page <= endPage) {
    marked.clear();
    text.clear();
    const BookAddress next = content.FormatItemTo(row, at, &marked);
    RenderMarked(format, marked, &text, map);
    if (!sink(text)) break;
    if (TDisk::CompareAddresses(next, at) <= 0) break;  // the end of data
    at = next;
  }
}

}  // namespace morva::cli
