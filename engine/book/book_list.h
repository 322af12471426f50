// The book list that selecting a sub-book reads: the entries of the book bar,
// group separators included. Separators have an empty short name and
// sub-book number -1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morva {

struct BookBarEntry {
  std::string shortName;   // Shift-JIS, at most 6 bytes; empty for a separator
  std::string location;    // volume directory (may lack the trailing "/")
  std::string userTitle;   // title for a volume without catalog
  int16_t subbook = -1;    // sub-book number in the volume from 0; -1 separator
  bool mark = false;       // marked for cross-book search
  int fontFlag = 0;        // 1 JIS text, 0 single-byte; set when the book opens
  uint32_t colour = 0;     // red + green * 256 + blue * 65536
  std::string title = {};  // Shift-JIS full title where known (the bar's tooltip)

  bool IsSeparator() const { return shortName.empty(); }
};

using BookBar = std::vector<BookBarEntry>;

}  // namespace morva
