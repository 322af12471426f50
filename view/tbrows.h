// TBrows: line layout of the marked-text file.
//
// The shown text is never held whole in memory. TBrows reads the marked-text
// file once, from start to end, and keeps only a table of line starts: for
// every display line its byte offset in the file, its indent and the style in
// force at its first character. Painting, selection and copying then ask for
// one line at a time (GetLine), answered from a 32 KB window of the file that
// is reloaded around the requested line when needed; the last line asked for
// is cached, because painting asks for the same line repeatedly.
//
// In continuous display TBrows also asks a WindowSource to rewrite the file
// with the stretch of body text around an address, before, or after the
// stretch now shown.
//
// TBrows borrows the reporter, the metrics and the window source; the caller
// keeps them alive. It includes no Qt, so layout is tested with fake metrics.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_address.h"
#include "engine/book/report.h"
#include "view/layout_metrics.h"
#include "view/layout_units.h"
#include "view/window_source.h"

namespace morva {

// One display line as GetLine returns it. text stays valid until the next
// GetLine, Set or LayOut call.
struct LineText {
  std::string_view text;  // at most 299 bytes; indent codes and 0E/0F left out
  int indent = 0;         // half-width columns
  uint8_t style = kStylePlain;
};

class TBrows {
 public:
  static constexpr size_t kReadBufferSize = 32767;
  static constexpr size_t kLineBufferSize = 300;  // 299 bytes and the terminating 0
  static constexpr size_t kTableStep = 512;       // line-table growth in entries

  TBrows(Reporter& reporter, std::string markedTextPath);

  // The measuring and the options used by the next lay-out. The metrics must
  // outlive every later lay-out.
  void SetMetrics(const LayoutMetrics* metrics) { metrics_ = metrics; }
  void SetOptions(LayoutOptions options) { options_ = options; }
  void SetWindowSource(WindowSource* source) { source_ = source; }
  // Column count for a LayOut called directly (Set takes its own).
  void SetColumns(int columns) { requestedColumns_ = columns; }

  // Lays out the file for display at `columns` half-width columns and loads
  // the window at its start. In continuous display the stretch around
  // (page, offset) of sub-book row `row` is formatted first, and the returned
  // target line is the one at which the next stretch begins; outside
  // continuous display the caller has written the file.
  int Set(bool continuous, int columns, int row, int32_t page, int32_t offset);
  // Continuous display: replaces the file with the stretch that precedes
  // (SetPrevious) or follows (SetNext) the one shown and lays it out again.
  // Returns the target line (where the old stretch's start, or the new
  // stretch's start, lies), or -1 when no stretch could be formatted.
  int SetPrevious() { return Shift(-1); }
  int SetNext() { return Shift(+1); }

  // Reads the whole file and builds the line table. targetOffset is a file
  // offset; the result is 1 + the index of the first line created after the
  // reader passed it (0 when never). Lines longer than 299 bytes make the
  // column count shrink and the lay-out start again.
  int LayOut(int64_t targetOffset);

  int LineCount() const { return lines_.empty() ? 0 : static_cast<int>(lines_.size()) - 1; }
  // The text of line i; empty for i outside 0..LineCount()-1.
  LineText GetLine(int i);
  // File offset at which line i starts (i may be LineCount(): the end).
  uint32_t LineStart(int i) const;
  // (start of b + pb) - (start of a + pa) + 1.
  int64_t ByteDistance(int a, int pa, int b, int pb) const;
  // Frees the line table.
  void Release();

  int Columns() const { return columns_; }
  int LongestLine() const { return longest_; }
  uint32_t TextLength() const { return textLength_; }
  int Row() const { return row_; }
  BookAddress Start() const { return start_; }
  BookAddress Next() const { return next_; }

  // Entries beyond this count fail to allocate as if memory were exhausted
  // (tests, and a guard against absurd tables).
  void SetTableLimit(size_t entries) { tableLimit_ = entries; }
  size_t TableCapacity() const { return capacity_; }

 private:
  struct LineEntry {
    uint32_t attribute = 0;  // bits 0-7 indent in columns, bits 8-15 style
    uint32_t start = 0;
  };
  // One pass over the file at the current column count.
  int LayOutOnce(int64_t targetOffset);
  bool Grow();
  int Shift(int direction);
  void LoadWindow(uint32_t around);

  Reporter& reporter_;
  std::string path_;
  const LayoutMetrics* metrics_ = nullptr;
  LayoutOptions options_;
  WindowSource* source_ = nullptr;

  std::vector<LineEntry> lines_;  // N lines and the sentinel
  size_t capacity_ = 0;           // entries, grown by kTableStep
  size_t tableLimit_ = SIZE_MAX;
  int requestedColumns_ = 0;
  int columns_ = 0;
  int longest_ = 0;
  uint32_t textLength_ = 0;

  std::vector<uint8_t> window_;  // kReadBufferSize bytes and a 1A after the last
  uint32_t windowStart_ = 0;
  uint32_t windowEnd_ = 0;  // exclusive
  bool windowLoaded_ = false;

  std::string lineBuffer_;
  int cachedLine_ = -1;

  int row_ = -1;
  BookAddress start_;
  BookAddress next_;
};

}  // namespace morva
