// Geometry of the book bar, without any widget: the size of its cells, which
// cell lies under an x position, which column must come first so that a cell
// is fully visible, and which books a separator stands for. Everything here
// works on the BookBar list alone and is pure, so it is shared by the bar
// widget, the main window and the tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_list.h"

namespace morva {

// The pixel sizes of the bar for one set of display settings.
struct BookBarMetrics {
  static constexpr int kSeparatorWidth = 10;

  int h = 12;               // font height of the bar
  int bookColumnWidth = 0;  // width of every book column
  bool dicColor = true;     // colour squares drawn
  int barDicName = 6;       // bytes of a short name shown

  // h is 12 when dicButtonSize is set, else charHeight. A book column is
  // h * 30 / 20 + (h + 1) * barDicName / 2 + 2 wide with colour squares and
  // h * 10 / 20 + (h + 1) * barDicName / 2 + 2 without (integer divisions).
  static BookBarMetrics Make(int charHeight, bool dicButtonSize, bool dicColor, int barDicName);

  int RowHeight() const { return h + 8; }
  int PanelHeight() const { return h + 10; }
  int ColumnWidth(const BookBarEntry& entry) const {
    return entry.IsSeparator() ? kSeparatorWidth : bookColumnWidth;
  }
  // Where the short name starts, from the cell's left edge.
  int NameLeft() const { return dicColor ? 2 * h / 4 + h * 4 / 5 : h / 4; }
  // The colour square, from the cell's top-left corner: side h * 4 / 5 at
  // (h / 4, 5 + h * 10 / 100).
  int SquareLeft() const { return h / 4; }
  int SquareTop() const { return 5 + h * 10 / 100; }
  int SquareSide() const { return h * 4 / 5; }
  static constexpr int kNameTop = 4;
};

// Left edge of a cell in widget coordinates when leftColumn is the first
// visible column; cells left of leftColumn give a negative position.
int CellLeft(const BookBar& bar, const BookBarMetrics& m, int leftColumn, int cell);

// The cell under x (widget coordinates), or -1 when x is left of the first
// visible cell or right of the last cell of the bar.
int CellAtX(const BookBar& bar, const BookBarMetrics& m, int leftColumn, int x);

// Total width of all columns.
int BarWidth(const BookBar& bar, const BookBarMetrics& m);

// The first visible column that makes cell fully visible in a view
// viewWidth wide: a cell left of leftColumn becomes the first column; else
// the first column moves right one at a time until the cell fits or the
// last column is reached.
int LeftColumnToShow(const BookBar& bar, const BookBarMetrics& m, int leftColumn, int cell,
                     int viewWidth);

// The books a separator stands for: the entries after it up to the next
// separator or the end. Empty for a book or an index out of range.
std::vector<int> SubGroupOf(const BookBar& bar, int separator);

// The part of a short name the bar shows: the first barDicName bytes, never
// half a double-byte character (Shift-JIS in, Shift-JIS out).
std::string_view BarName(std::string_view shortName, int barDicName);

// The k-th book of the bar (from 0, separators skipped), or -1; and the other
// way round, the book position of an entry, or -1 for a separator.
int NthBook(const BookBar& bar, int k);
int BookPosition(const BookBar& bar, int entry);

// The k-th separator ("group header") of the bar counted from 0, or -1. The
// leading separator, entry 0, is the first.
int NthSeparator(const BookBar& bar, int k);

}  // namespace morva
