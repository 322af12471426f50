// The command line's side of the reporting interface: boxes become lines on
// stderr, and the progress box a line that redraws itself when stderr is a
// terminal.
#pragma once

#include <cstdint>
#include <string>

#include "engine/book/report.h"

namespace morva::cli {

class StderrReporter : public Reporter {
 public:
  // The fatal box ends the program at once, as it does in the window: what
  // was printed so far is written out, the temporary files removed, exit 1.
  void Fatal(std::string_view text) override;
  void Warning(std::string_view text) override;
  // There is nobody to press Cancel: the command goes on with the failure,
  // which decides its exit status.
  void RetryOrAbort(std::string_view text) override;
  // One line naming the file and the address; a failure that follows from
  // the one just reported (the same file and page) adds no line.
  void ReadFailed(const ReadFailure& failure) override;

  // Whether a book file failed to open or read in this run, through any
  // reporter: the command's exit status follows it.
  static bool AnyReadFailed() { return anyReadFailed_; }

 private:
  void RecordReadFailure() {
    readFailed_ = true;
    anyReadFailed_ = true;
  }
  static inline bool anyReadFailed_ = false;
  bool readFailed_ = false;
  std::string lastPath_;
  int32_t lastPage_ = 0;
};

class StderrProgress : public ProgressBox {
 public:
  StderrProgress();
  void Open(std::string_view caption, int maximum) override;
  void SetCaption(std::string_view caption) override;
  bool Step(int position) override;
  void Close() override;

 private:
  void Draw();
  bool terminal_;
  bool open_ = false;
  int maximum_ = 1;
  int position_ = 0;
  std::string caption_;  // UTF-8
};

}  // namespace morva::cli
