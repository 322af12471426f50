// Draws the rows of the word list (DrawGrid1): the colour square of the
// item's book, the first DicName bytes of the book's short name, and the
// item's heading text in the list font of the book's kind, with external
// characters drawn from the book's own bitmaps.
//
// Headings are decoded once per row and kept until the list changes
// (Invalidate), since decoding selects the item's book on the disk. The
// painter borrows the disk, the list, the bar and the fonts; they must
// outlive it.
#pragma once

#include <QImage>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/book/book_list.h"
#include "engine/book/gaiji_map.h"
#include "view/gaiji_glyphs.h"

class QPainter;
class QRect;

namespace morva {

class DisplayFonts;
class TDisk;
class Wordlist;

struct WordListLook {
  bool dicColor = true;  // colour squares
  int dicName = 0;       // bytes of the short name shown
  int charHeight = 14;   // character height of the list
};

class WordListPainter {
 public:
  WordListPainter(TDisk& disk, const Wordlist& list, const BookBar& bar, const DisplayFonts& fonts);

  // The list (or the fonts) changed: forget every decoded heading and glyph.
  void Invalidate();
  // The heading of a row as Shift-JIS display text (external characters as
  // 0B w hi lo markers), at most kListHeadingBytes, decoded on first use.
  const std::string& Heading(int row);
  // Whether the row's heading line is longer than what Heading gives: the
  // row then ends in an ellipsis.
  bool HeadingCut(int row);

  // current: the grid's current row; focused: the grid has the focus.
  void Paint(QPainter& painter, int row, const QRect& rect, bool current, bool focused,
             const WordListLook& look);

 private:
  TDisk& disk_;
  const Wordlist& list_;
  const BookBar& bar_;
  const DisplayFonts& fonts_;
  struct RowHeading {
    std::string text;
    bool cut = false;
  };
  const RowHeading& Row(int row);

  std::vector<std::optional<RowHeading>> headings_;
  GaijiGlyphs glyphs_;
};

}  // namespace morva
