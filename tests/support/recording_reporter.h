// A Reporter for tests: records every box instead of showing it, so a fatal
// box can be observed without ending the test run.
#pragma once

#include <string>
#include <vector>

#include "engine/book/report.h"

namespace morva::testing {

struct RecordedBox {
  enum Kind { kFatal, kWarning, kRetry } kind;
  std::string text;  // Shift-JIS, as the engine handed it over
  std::string Utf8() const;
};

class RecordingReporter : public Reporter {
 public:
  void Fatal(std::string_view text) override { Record(RecordedBox::kFatal, text); }
  void Warning(std::string_view text) override { Record(RecordedBox::kWarning, text); }
  void RetryOrAbort(std::string_view text) override { Record(RecordedBox::kRetry, text); }

  const std::vector<RecordedBox>& boxes() const { return boxes_; }
  int Count(RecordedBox::Kind kind) const;
  // UTF-8 text of the last box of that kind, empty when none.
  std::string Last(RecordedBox::Kind kind) const;
  void Clear() { boxes_.clear(); }

 private:
  void Record(RecordedBox::Kind kind, std::string_view text) {
    boxes_.push_back({kind, std::string(text)});
  }
  std::vector<RecordedBox> boxes_;
};

// A progress box that records its calls and can cancel after n steps.
class RecordingProgress : public ProgressBox {
 public:
  void Open(std::string_view caption, int maximum) override;
  void SetCaption(std::string_view caption) override { caption_ = std::string(caption); }
  bool Step(int position) override;
  void Close() override { open_ = false; }

  int cancelAfterSteps = -1;  // -1: never cancel
  bool open() const { return open_; }
  int steps() const { return steps_; }
  int maximum() const { return maximum_; }
  const std::string& caption() const { return caption_; }  // Shift-JIS

 private:
  bool open_ = false;
  int steps_ = 0;
  int maximum_ = 0;
  std::string caption_;
};

}  // namespace morva::testing
