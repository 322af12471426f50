#include "tests/support/recording_reporter.h"

#include "engine/text/unicode.h"

namespace morva::testing {

std::string RecordedBox::Utf8() const { return SjisToUtf8(text); }

int RecordingReporter::Count(RecordedBox::Kind kind) const {
  int n = 0;
  for (const auto& b : boxes_) n += b.kind == kind;
  return n;
}

std::string RecordingReporter::Last(RecordedBox::Kind kind) const {
  for (auto it = boxes_.rbegin(); it != boxes_.rend(); ++it)
    if (it->kind == kind) return it->Utf8();
  return {};
}

void RecordingProgress::Open(std::string_view caption, int maximum) {
  open_ = true;
  steps_ = 0;
  maximum_ = maximum;
  caption_ = std::string(caption);
}

bool RecordingProgress::Step(int /*position*/) {
  ++steps_;
  return cancelAfterSteps >= 0 && steps_ >= cancelAfterSteps;
}

}  // namespace morva::testing
