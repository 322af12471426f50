#include "app/book_bar/book_bar_layout.h"

#include <algorithm>

#include "engine/text/sjis.h"

namespace morva {

BookBarMetrics BookBarMetrics::Make(int charHeight, bool dicButtonSize, bool dicColor,
                                    int barDicName) {
  BookBarMetrics m;
  m.h = dicButtonSize ? 12 : std::max(1, charHeight);
  m.dicColor = dicColor;
  m.barDicName = std::max(0, barDicName);
  int name = (m.h + 1) * m.barDicName / 2 + 2;
  m.bookColumnWidth = (dicColor ? m.h * 30 / 20 : m.h * 10 / 20) + name;
  return m;
}

namespace {
int Count(const BookBar& bar) { return static_cast<int>(bar.size()); }
const BookBarEntry& At(const BookBar& bar, int i) { return bar[static_cast<size_t>(i)]; }
}  // namespace

int CellLeft(const BookBar& bar, const BookBarMetrics& m, int leftColumn, int cell) {
  int x = 0;
  if (cell >= leftColumn) {
    for (int i = leftColumn; i < cell && i < Count(bar); ++i) x += m.ColumnWidth(At(bar, i));
  } else {
    for (int i = cell; i < leftColumn && i < Count(bar); ++i) x -= m.ColumnWidth(At(bar, i));
  }
  return x;
}

int CellAtX(const BookBar& bar, const BookBarMetrics& m, int leftColumn, int x) {
  if (x < 0 || leftColumn < 0) return -1;
  int left = 0;
  for (int i = leftColumn; i < Count(bar); ++i) {
    int right = left + m.ColumnWidth(At(bar, i));
    if (x < right) return i;
    left = right;
  }
  return -1;
}

int BarWidth(const BookBar& bar, const BookBarMetrics& m) {
  int w = 0;
  for (const BookBarEntry& e : bar) w += m.ColumnWidth(e);
  return w;
}

int LeftColumnToShow(const BookBar& bar, const BookBarMetrics& m, int leftColumn, int cell,
                     int viewWidth) {
  int last = Count(bar) - 1;
  if (cell < 0 || cell > last) return std::clamp(leftColumn, 0, std::max(0, last));
  int left = std::clamp(leftColumn, 0, last);
  if (cell < left) return cell;
  auto fits = [&](int first) {
    return CellLeft(bar, m, first, cell) + m.ColumnWidth(At(bar, cell)) <= viewWidth;
  };
  while (!fits(left) && left < last && left < cell) ++left;
  return left;
}

std::vector<int> SubGroupOf(const BookBar& bar, int separator) {
  std::vector<int> books;
  if (separator < 0 || separator >= Count(bar) || !At(bar, separator).IsSeparator()) return books;
  for (int i = separator + 1; i < Count(bar) && !At(bar, i).IsSeparator(); ++i) books.push_back(i);
  return books;
}

std::string_view BarName(std::string_view shortName, int barDicName) {
  return SjisCut(shortName, static_cast<size_t>(std::max(0, barDicName)));
}

int NthBook(const BookBar& bar, int k) {
  if (k < 0) return -1;
  for (int i = 0; i < Count(bar); ++i) {
    if (At(bar, i).IsSeparator()) continue;
    if (k-- == 0) return i;
  }
  return -1;
}

int BookPosition(const BookBar& bar, int entry) {
  if (entry < 0 || entry >= Count(bar) || At(bar, entry).IsSeparator()) return -1;
  int k = 0;
  for (int i = 0; i < entry; ++i) k += At(bar, i).IsSeparator() ? 0 : 1;
  return k;
}

int NthSeparator(const BookBar& bar, int k) {
  if (k < 0) return -1;
  for (int i = 0; i < Count(bar); ++i) {
    if (!At(bar, i).IsSeparator()) continue;
    if (k-- == 0) return i;
  }
  return -1;
}

}  // namespace morva
