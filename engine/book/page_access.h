// The page-access part of TDisk: the open book file, the one page buffer, the
// byte reader's position and the table of files that form the current
// sub-book's page space. TDisk's page operations are the only code that
// changes it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/book/book_address.h"
#include "engine/book/page_source.h"

namespace morva {

// The files of a sub-book's page space. Row 0 is the body file; rows 1.. are
// kept sorted by first page. A file holds the pages from its first page up to
// the next row's first page; the last row holds everything from its first page
// on.
struct BodyFileRow {
  std::string path;
  int32_t firstPage = 0;
};

class BodyFileTable {
 public:
  static constexpr int kMaxRows = 30;
  // External-character font files sit high in the page space: the k-th one
  // starts at kFontFirstPage + 100 * k (0x7FFFFF37, 0x7FFFFF9B).
  static constexpr int32_t kFontFirstPage = 2147483447;
  static constexpr int32_t kFontFilePages = 100;

  int Count() const { return static_cast<int>(rows_.size()); }
  bool Full() const { return Count() >= kMaxRows; }
  const BodyFileRow& Row(int i) const { return rows_[static_cast<size_t>(i)]; }
  BodyFileRow& Row(int i) { return rows_[static_cast<size_t>(i)]; }
  // Appends a row; false when the table is full.
  bool Add(std::string path, int32_t firstPage);
  void Clear() { rows_.clear(); }
  // The row that holds the page: the first row whose range contains it, else
  // the last row; 0 for an empty table.
  int RowOfPage(int32_t page) const;
  // Rows 1.. sorted by first page; rows whose first page equals that of the
  // row before them are dropped.
  void Sort();

 private:
  std::vector<BodyFileRow> rows_;
};

struct PageAccess {
  std::unique_ptr<PageSource> file;
  std::string openPath;
  int openRow = -1;
  // Multi-file mode: the page space is served by bodyFiles; otherwise the one
  // open file is the whole page space (while a catalog is read).
  bool multiFile = false;
  // After a failed read inside the byte reader, further reads return 0 without
  // another box until the next seek.
  bool readFailed = false;
  int32_t currentPage = 0;  // the page held in the buffer, 0 none
  // Bytes of the file's data in the buffer: less than a page at the end of a
  // file, the rest zero-filled.
  int32_t dataInPage = kPageSize;
  // The page the byte reader is on: it stays put when reading the next page
  // fails, so Tell still reports the end of what was read.
  int32_t streamPage = 0;
  int32_t localPage = 0;  // the page within the open file
  int32_t offset = 0;
  uint8_t pushedBack = 0;
  std::array<uint8_t, kPageSize> buffer{};
  BodyFileTable bodyFiles;
};

}  // namespace morva
