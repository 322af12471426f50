// The command line's side of the reporting interface: boxes become lines on
// stderr, and the progress box a line that redraws itself when stderr is a
// terminal.
#pragma once

#include "engine/book/report.h"

namespace morva::cli {

class StderrReporter : public Reporter {
 public:
  // The fatal box ends the program at once, as it does in the window.
  void Fatal(std::string_view text) override;
  void Warning(std::string_view text) override;
  // There is nobody to press Cancel: the command goes on with the failure.
  void RetryOrAbort(std::string_view text) override;
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
