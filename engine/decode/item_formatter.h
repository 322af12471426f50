// ItemFormatter: one formatting run of TContent. It pulls units from the
// text decoder at TDisk's current position and appends their marked text to
// a caller's buffer until the item ends (per-book limits), the data ends, or,
// in continuous display, the window is full.
//
// The formatter borrows the disk and the buffer for the run only; the caller
// has selected the sub-book and sought to the item's start.
#pragma once

#include <cstdint>
#include <string>

#include "engine/book/book_address.h"
#include "engine/decode/decoder.h"

namespace morva {

class TDisk;

class ItemFormatter {
 public:
  // `scroll` selects continuous display; previousNext (page 0: none) is the
  // address the run must reach before it hands out a next address.
  ItemFormatter(TDisk& disk, bool scroll, BookAddress start, BookAddress previousNext,
                std::string& out);

  void Run();

  // Where the following item begins (see TContent::FormatItemTo).
  BookAddress Following() const { return following_; }
  bool EndOfData() const { return endOfData_; }
  // Continuous display: where the next window starts, and the file offset in
  // this run's output at which it lies.
  BookAddress Next() const { return next_; }
  int64_t NextFileOffset() const { return nextFileOffset_; }

 private:
  // How a unit ends the item: not at all, before it (the unit belongs to the
  // following item), or after it (the unit was the item's last).
  enum class Ending { kNone, kBeforeUnit, kAfterUnit };

  // Appends the plain characters that follow in the current page, as far
  // as none of them can end the item.
  void TakePlainRun();
  Ending Text(int value);
  Ending Escape(const EscapeItem& item, BookAddress unitStart);
  Ending Indent(const EscapeItem& item, BookAddress unitStart);
  Ending NewLine();
  Ending Headword(int code);
  // The limits checked after every unit: END=, the item size, the window size.
  Ending CheckLimits(int code);
  void AppendByte(int b);
  void AppendGaiji(int code);
  void AppendNewLineByte();
  // "→" (or "->" in a single-byte book) when the anchor has no text yet.
  void AppendArrowIfNoText();
  void SetNext(BookAddress at);
  void WarnSizeLimit();
  // Bytes this run's output takes in the marked-text file (line feeds are
  // stored as two bytes there).
  int64_t FileLength() const { return static_cast<int64_t>(out_.size() - base_) + newLines_; }

  TDisk& disk_;
  const bool scroll_;
  const BookAddress start_;
  const BookAddress previousNext_;
  std::string& out_;
  const size_t base_;
  const int64_t bufferSize_;

  int64_t newLines_ = 0;
  int textLines_ = 0;
  int indentZeroCount_ = 0;
  int headwordCount_ = 0;
  int indent_ = 0;
  bool atLineStart_ = true;
  bool textSinceAnchor_ = false;
  bool captionOpen_ = false;
  bool headwordOpenEmpty_ = false;
  bool inHeadwordLine_ = false;
  bool newLineAsSpace_ = false;
  bool highlightOpen_ = false;
  bool expectTrail_ = false;  // the last text byte was a Shift-JIS lead byte

  int32_t pictureP1_ = 0;
  int32_t pictureP2_ = 0;
  int32_t soundKind_ = 0;
  int32_t soundStart_ = 0;
  int32_t soundEnd_ = 0;
  BookAddress reference_;

  bool previousWasIndent_ = false;
  BookAddress previousIndentStart_;

  bool haveNext_ = false;
  BookAddress next_;
  int64_t nextFileOffset_ = 0;
  BookAddress following_;
  bool endOfData_ = false;
};

}  // namespace morva
