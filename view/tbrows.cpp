#include "view/tbrows.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>

#include "engine/book/text_utils.h"
#include "engine/decode/marked_text.h"
#include "view/marked_text_reader.h"

namespace morva {
namespace {

// Half the window on either side of the line asked for.
constexpr int64_t kWindowHalf = 16382;
constexpr auto kEndOfWindow = static_cast<uint8_t>(markup::kEndOfWindow);

// Stands in until the view hands over its fonts: one pixel a column.
class UnitMetrics : public LayoutMetrics {
 public:
  int CharWidth() const override { return 1; }
  bool FixedPitch() const override { return true; }
  int CharacterWidth(uint16_t code, MeasureFont) const override { return code > 0xFF ? 2 : 1; }
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

TBrows::TBrows(Reporter& reporter, std::string markedTextPath)
    : reporter_(reporter), path_(std::move(markedTextPath)) {
  window_.assign(kReadBufferSize + 1, kEndOfWindow);
  lineBuffer_.reserve(kLineBufferSize);
}

bool TBrows::Grow() {
  const bool first = capacity_ == 0;
  const size_t wanted = capacity_ + kTableStep;
  bool ok = wanted <= tableLimit_;
  if (ok) {
    try {
      lines_.reserve(wanted);
      capacity_ = wanted;
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  if (!ok) {
    static const std::string firstText = Sjis("行情報用の記憶域を確保できない.");
    reporter_.Fatal(first ? firstText
                          : std::string("TBrows::ReallocFilePos Can't allocate lpFilePos.\n"));
  }
  return ok;
}

int TBrows::LayOut(int64_t targetOffset) {
  cachedLine_ = -1;
  windowLoaded_ = false;  // the file may have been rewritten
  columns_ = std::max(1, requestedColumns_);
  for (;;) {
    int target = LayOutOnce(targetOffset);
    // Every line must fit the 300-byte line buffer; narrower lines are the
    // only way to get there. A single unit longer than that cannot be helped.
    if (longest_ < static_cast<int>(kLineBufferSize) || columns_ <= 1) return target;
    columns_ = std::max(1, columns_ - (longest_ - static_cast<int>(kLineBufferSize - 1)));
  }
}

int TBrows::LayOutOnce(int64_t targetOffset) {
  static const UnitMetrics fallbackMetrics;
  const LayoutMetrics& metrics = metrics_ != nullptr ? *metrics_ : fallbackMetrics;
  lines_.clear();
  longest_ = 0;
  textLength_ = 0;
  if (capacity_ == 0 && !Grow()) return 0;

  MarkedTextReader reader;
  if (!reader.Open(path_)) return 0;
  UnitScanner scanner(reader, metrics, options_);
  const int cw = std::max(1, metrics.CharWidth());
  const int64_t limit = static_cast<int64_t>(cw) * columns_;

  int target = 0;
  bool targetKnown = false;
  // Appends a line entry; false when the table could not grow (the entry just
  // made then ends the text).
  auto newLine = [&](uint32_t start, int indent, uint8_t style) {
    longest_ = std::max(longest_, static_cast<int>(start - lines_.back().start));
    lines_.push_back({static_cast<uint32_t>(indent) | static_cast<uint32_t>(style) << 8, start});
    if (!targetKnown && reader.Offset() >= targetOffset) {
      target = static_cast<int>(lines_.size() - 1) + 1;
      targetKnown = true;
    }
    return lines_.size() + 2 < capacity_ || Grow();
  };

  lines_.push_back({0, 0});
  int64_t x = 0;
  bool tableFull = false;
  LayoutUnit unit = scanner.Next();
  while (unit.kind != LayoutUnit::kEnd) {
    if (unit.kind == LayoutUnit::kBreak) {
      // The unit after the break comes first, so that an indent code at the
      // start of the new line already applies to it.
      unit = scanner.Next();
      if (!newLine(unit.start, scanner.indent(), kStylePlain)) {
        tableFull = true;
        break;
      }
      x = static_cast<int64_t>(scanner.indent()) * cw;
      continue;
    }
    x += unit.width;
    // A unit wider than the line stays where the line begins and overflows it.
    if (x > limit && unit.start > lines_.back().start) {
      if (!newLine(unit.start, scanner.indent(), unit.style)) {
        tableFull = true;
        break;
      }
      x = static_cast<int64_t>(scanner.indent()) * cw + unit.width;
    }
    unit = scanner.Next();
  }
  if (tableFull) {
    textLength_ = lines_.back().start;
  } else {
    textLength_ = reader.Offset();
    // A text that ends with a line break already has its sentinel.
    if (lines_.back().start < textLength_) {
      longest_ = std::max(longest_, static_cast<int>(textLength_ - lines_.back().start));
      lines_.push_back({0, textLength_});
    }
  }
  return target;
}

void TBrows::LoadWindow(uint32_t around) {
  const int64_t length = 2 * kWindowHalf + 1;
  int64_t start = std::max<int64_t>(0, static_cast<int64_t>(around) - kWindowHalf);
  int64_t end = start + length;
  if (end > textLength_) {
    start = std::max<int64_t>(0, start - (end - textLength_));
    end = textLength_;
  }
  windowStart_ = static_cast<uint32_t>(start);
  windowEnd_ = windowStart_;
  windowLoaded_ = true;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path_.c_str(), "rb"));
  if (file != nullptr && std::fseek(file.get(), static_cast<long>(start), SEEK_SET) == 0) {
    size_t got = std::fread(window_.data(), 1, static_cast<size_t>(end - start), file.get());
    windowEnd_ = windowStart_ + static_cast<uint32_t>(got);
  }
  window_[windowEnd_ - windowStart_] = kEndOfWindow;
}

LineText TBrows::GetLine(int i) {
  if (i < 0 || i >= LineCount()) return {};
  const LineEntry& entry = lines_[static_cast<size_t>(i)];
  LineText line;
  line.indent = static_cast<int>(entry.attribute & 0xFF);
  line.style = static_cast<uint8_t>(entry.attribute >> 8 & 0xFF);
  if (i != cachedLine_) {
    const uint32_t start = entry.start;
    const uint32_t length =
        std::min<uint32_t>(lines_[static_cast<size_t>(i) + 1].start - start, kLineBufferSize - 1);
    if (!windowLoaded_ || start < windowStart_ || start + length > windowEnd_) LoadWindow(start);
    lineBuffer_.clear();
    if (start >= windowStart_ && start < windowEnd_) {
      const auto* p = reinterpret_cast<const char*>(window_.data() + (start - windowStart_));
      const size_t n = std::min<size_t>(length, windowEnd_ - start);
      // Markers, external characters and double-byte characters are copied
      // whole, so that none of their inner bytes is taken for a code.
      MarkedTextCursor cursor(std::string_view(p, n), MarkedTextCursor::Text::kRuns);
      for (MarkedToken t = cursor.Next();
           t.kind != MarkedKind::kEnd && t.kind != MarkedKind::kNewLine; t = cursor.Next()) {
        const bool dropped = t.kind == MarkedKind::kIndent || t.kind == MarkedKind::kNoBreakStart ||
                             t.kind == MarkedKind::kNoBreakEnd;
        if (!dropped) lineBuffer_.append(cursor.Bytes());
      }
    }
    cachedLine_ = i;
  }
  line.text = lineBuffer_;
  return line;
}

uint32_t TBrows::LineStart(int i) const {
  if (lines_.empty() || i < 0) return 0;
  if (static_cast<size_t>(i) >= lines_.size()) return textLength_;
  return lines_[static_cast<size_t>(i)].start;
}

int64_t TBrows::ByteDistance(int a, int pa, int b, int pb) const {
  return (static_cast<int64_t>(LineStart(b)) + pb) - (static_cast<int64_t>(LineStart(a)) + pa) + 1;
}

void TBrows::Release() {
  std::vector<LineEntry>().swap(lines_);
  capacity_ = 0;
  cachedLine_ = -1;
  textLength_ = 0;
  longest_ = 0;
}

int TBrows::Set(bool continuous, int columns, int row, int32_t page, int32_t offset) {
  requestedColumns_ = columns;
  row_ = row;
  start_ = {page, offset};
  next_ = {};
  int64_t target = 0;
  if (continuous && source_ != nullptr) {
    int64_t length = 0;
    if (source_->FormatWindow(row, 0, &start_, &next_, &length)) target = length;
  }
  int line = LayOut(target);
  LoadWindow(0);
  return continuous ? line : 0;
}

int TBrows::Shift(int direction) {
  if (source_ == nullptr || row_ < 0) return -1;
  int64_t length = 0;
  const bool formatted = source_->FormatWindow(row_, direction, &start_, &next_, &length);
  // Lay out whatever the file now holds, so that the table matches it.
  int line = LayOut(formatted ? length : 0);
  LoadWindow(0);
  return formatted ? line : -1;
}

}  // namespace morva
