// TContent: turns a sub-book's body text into marked text, the internal
// rich-text form that the content view lays out and paints.
//
// Marked text is Shift-JIS with single control bytes and short hidden markers:
//   01                      anchor start (link, picture or sound text follows)
//   02 L 'R' PPPPPPPP OOOO  anchor end, target in this sub-book (L = 0x2E)
//   02 L 'G' PPPPPPPP OOOO  anchor end, picture reference (L = 0x2E)
//   02 L 'G' PPPPPPPP OOOO ' ' WWWW HHHH   inline picture (L = 0x37)
//   02 L 'D'                anchor end without target (L = 0x22)
//   02 L 'S' KK SSSSSS EEEEEE   sound, CD frames (L = 0x30)
//   03 / 04                 headword start / end
//   09 n                    indent level n - 0x20
//   0A                      new line
//   0B w h l                external character for bitmap display
//   0C, 10 / 11             highlight of kind 3; highlight start / end
//   0E / 0F                 no-break span
//   13, 15 / 14             superscript, subscript / end of either
// L is the number of marker bytes after the 02, plus 0x20; addresses are
// uppercase hexadecimal.
//
// A TContent borrows the TDisk for its whole life and keeps one reusable
// output buffer, so formatting an entry does not allocate once the buffer has
// grown. Every run seeks, so it invalidates other readers' positions.
#pragma once

#include <cstdint>
#include <string>

#include "engine/book/book_address.h"
#include "engine/decode/marked_text_file.h"

namespace morva {

class TDisk;

class TContent {
 public:
  explicit TContent(TDisk& disk);

  // Formats the item at `at` of book-list row `row` into the marked-text file
  // (disk.MarkedTextPath()). A row below 0 keeps the current sub-book. False
  // when the file cannot be written or the item cannot be read (the file is
  // then left empty).
  bool FormatItem(int row, BookAddress at);

  // Appends the marked text of one item to *out and returns where the
  // following item begins: the start of the unit that ended the item (moved
  // back over an indent directly before it, whose marker then also ends this
  // item's text), or the place after it when that
  // unit was part of the item (end of text, END= code, size limit). At the end
  // of data the address of the end is returned, so a caller that walks a body
  // item by item sees no progress there; EndOfData() then says so. Page 0 when
  // the sub-book cannot be selected or `at` cannot be read.
  // Both item calls format in item mode, whatever settings().scroll says:
  // continuous display uses FormatWindow.
  BookAddress FormatItemTo(int row, BookAddress at, std::string* out);

  // Continuous display: formats a window of body text into the marked-text
  // file. direction < 0: the old start becomes *next and the start moves back
  // (FindEarlierStart); > 0: the start becomes the old *next; 0: the start
  // stays. Returns the new *next (where the following window begins) and in
  // *lengthOut (may be null) the byte offset in the FILE at which it lies
  // (line feeds count two bytes there). start and next must not be null.
  // False when nothing could be formatted.
  bool FormatWindow(int row, int direction, BookAddress* start, BookAddress* next,
                    int64_t* lengthOut);

  // The copyright page of the current sub-book, into the marked-text file or
  // appended to *out. Showing it is the caller's job.
  bool CopyrightPage();
  bool CopyrightTo(std::string* out);

  // Sets the reference-parameter flag for the decoder's next reading. Every
  // formatting run clears it when it starts, so this serves readers that call
  // the decoder themselves (the image window's descriptor reading).
  void RequestReferenceParameters();

  // Backward scrolling: an earlier place to start a window that ends at
  // `given` (an indent found about settings().bufferSize bytes before it),
  // or `given` itself when there is none.
  BookAddress FindEarlierStart(BookAddress given);

  // True when the last run ended because the data ended.
  bool EndOfData() const { return endOfData_; }

 private:
  struct RunResult {
    bool read = false;           // the item could be selected and sought
    BookAddress following;       // where the following item begins
    BookAddress next;            // continuous display: next window start
    int64_t nextFileOffset = 0;  // file offset of `next` in the output
  };
  // One formatting run from `at`, appended to *out. `scroll` selects the
  // continuous-display handling; previousNext (page 0: none) is the address
  // the run must reach before it hands out a next address.
  RunResult Run(int row, BookAddress at, bool scroll, BookAddress previousNext, std::string* out);

  TDisk& disk_;
  std::string buffer_;   // marked text of the run being written
  MarkedTextFile file_;  // kept so its buffer is reused
  bool endOfData_ = false;
};

}  // namespace morva
