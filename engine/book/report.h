// The narrow interface through which the engine talks to the user: the three
// failure boxes, the wait cursor and the progress box. The GUI, the CLI and the
// tests each implement it. Every text handed over is Shift-JIS.
#pragma once

#include <string>
#include <string_view>

#include "engine/book/book_address.h"

namespace morva {

// A book file that could not be read: which file, where in the sub-book's
// page space, and the box text the window shows for it.
struct ReadFailure {
  enum class Kind {
    kOpen,        // the file holding the page cannot be opened
    kPastEnd,     // the address lies beyond the data of the file
    kUnreadable,  // the file's data there cannot be read (damage, I/O error)
    kReadingOn,   // the byte reader ran out of data: the next page cannot
                  // be read, or the file ends inside its last page
  };
  Kind kind = Kind::kUnreadable;
  std::string path;  // the file (UTF-8 path), "" when no file is known
  BookAddress at;    // page and offset of the read
  std::string text;  // the box text, Shift-JIS
};

class Reporter {
 public:
  virtual ~Reporter() = default;

  // The fatal box ("修復できない障害"): exhausted memory, corrupt index pages.
  // A real front end ends the process at once without saving; a test reporter
  // records the text and returns, so callers must still return a failure
  // result after calling it.
  virtual void Fatal(std::string_view text) = 0;

  // The warning box ("Morvaからの警告") for everything the user can correct.
  virtual void Warning(std::string_view text) = 0;

  // The retry-or-abort box for book files. Returning means OK: the caller goes
  // on with its failure result. Cancel ends the program inside the
  // implementation.
  virtual void RetryOrAbort(std::string_view text) = 0;

  // Every failed read of a book file comes here. By default it shows the
  // box of its kind: the warning box when the byte reader ran out of data,
  // else the retry-or-abort box.
  virtual void ReadFailed(const ReadFailure& failure) {
    if (failure.kind == ReadFailure::Kind::kReadingOn) {
      Warning(failure.text);
    } else {
      RetryOrAbort(failure.text);
    }
  }

  // The wait cursor shown around formatting runs and searches.
  virtual void SetWaitCursor(bool /*on*/) {}
};

// The one modeless progress box of long operations (full-text search, drive
// search, writing many entries).
class ProgressBox {
 public:
  virtual ~ProgressBox() = default;
  virtual void Open(std::string_view caption, int maximum) = 0;
  virtual void SetCaption(std::string_view caption) = 0;
  // Lets pending input be processed, moves the bar; returns true when the user
  // has cancelled.
  virtual bool Step(int position) = 0;
  virtual void Close() = 0;
};

// Shows the wait cursor for the life of the object.
class WaitCursor {
 public:
  explicit WaitCursor(Reporter& reporter) : reporter_(reporter) { reporter_.SetWaitCursor(true); }
  ~WaitCursor() { reporter_.SetWaitCursor(false); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  Reporter& reporter_;
};

// Window captions of the three boxes (UTF-8, for the front ends).
inline constexpr const char* kFatalCaption = "修復できない障害";
inline constexpr const char* kWarningCaption = "Morvaからの警告";
inline constexpr const char* kRetryCaption = "障害発生．終了するならｷｬﾝｾﾙﾎﾞﾀﾝを押して下さい．";

}  // namespace morva
