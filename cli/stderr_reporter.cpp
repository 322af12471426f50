#include "cli/stderr_reporter.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/book_session.h"
#include "cli/process_exit.h"
#include "engine/text/unicode.h"

namespace morva::cli {

namespace {
// One box as one line: inner line breaks become spaces.
void PrintBox(const char* kind, std::string_view sjis) {
  std::string text = SjisToUtf8(sjis);
  for (char& c : text)
    if (c == '\n') c = ' ';
  std::fprintf(stderr, "morva-cli: %s: %s\n", kind, text.c_str());
}
}  // namespace

void StderrReporter::Fatal(std::string_view text) {
  PrintBox("fatal", text);
  ExitNow(1);
}

void StderrReporter::Warning(std::string_view text) { PrintBox("warning", text); }

void StderrReporter::RetryOrAbort(std::string_view text) {
  RecordReadFailure();
  PrintBox("error", text);
}

void StderrReporter::ReadFailed(const ReadFailure& failure) {
  const bool repeated = readFailed_ && failure.path == lastPath_ && failure.at.page == lastPage_;
  RecordReadFailure();
  lastPath_ = failure.path;
  lastPage_ = failure.at.page;
  if (repeated) return;
  const char* reason = "the data cannot be read";
  switch (failure.kind) {
    case ReadFailure::Kind::kOpen: reason = "the file cannot be opened"; break;
    case ReadFailure::Kind::kPastEnd: reason = "past the end of the file's data"; break;
    case ReadFailure::Kind::kUnreadable: break;
    case ReadFailure::Kind::kReadingOn: reason = "the data ends before what is being read"; break;
  }
  // The output read before the failure goes out first, so that on a terminal
  // the line follows it.
  Output::FlushCurrent();
  std::fprintf(stderr, "morva-cli: read error: %s at %d:%d: %s\n",
               failure.path.empty() ? "(no file)" : failure.path.c_str(), failure.at.page,
               failure.at.offset, reason);
}

StderrProgress::StderrProgress() : terminal_(::isatty(STDERR_FILENO) == 1) {}

void StderrProgress::Open(std::string_view caption, int maximum) {
  open_ = true;
  maximum_ = maximum > 0 ? maximum : 1;
  position_ = 0;
  caption_ = SjisToUtf8(caption);
  Draw();
}

void StderrProgress::SetCaption(std::string_view caption) {
  caption_ = SjisToUtf8(caption);
  Draw();
}

bool StderrProgress::Step(int position) {
  if (position != position_) {
    position_ = position;
    Draw();
  }
  return false;
}

void StderrProgress::Close() {
  if (open_ && terminal_) std::fputs("\r\033[K", stderr);
  open_ = false;
}

void StderrProgress::Draw() {
  if (!open_ || !terminal_) return;
  std::fprintf(stderr, "\r\033[K%s %d%%", caption_.c_str(), position_ * 100 / maximum_);
}

}  // namespace morva::cli
