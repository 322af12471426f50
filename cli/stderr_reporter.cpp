#include "cli/stderr_reporter.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

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
  std::fflush(stdout);
  std::_Exit(1);
}

void StderrReporter::Warning(std::string_view text) { PrintBox("warning", text); }

void StderrReporter::RetryOrAbort(std::string_view text) { PrintBox("error", text); }

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
