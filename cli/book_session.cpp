#include "cli/book_session.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "cli/commands.h"
#include "engine/book/temp_file.h"

namespace morva::cli {

std::unique_ptr<BookSession> BookSession::Open(const VolumeSpec& spec, const std::string& infoPath,
                                               std::string* error) {
  std::unique_ptr<BookSession> s(new BookSession());
  s->disk_.settings().dicInfoPath = infoPath;
  if (!s->disk_.OpenVolume(spec.directory, "") || s->disk_.subbook().volumeKind < 0) {
    *error = "no book volume at " + spec.directory;
    return nullptr;
  }
  if (spec.subbook > s->disk_.subbook().subbookCount) {
    *error = "the volume has " + std::to_string(s->disk_.subbook().subbookCount) +
             " sub-book(s), not " + std::to_string(spec.subbook);
    return nullptr;
  }
  BookBarEntry separator;
  BookBarEntry book;
  book.shortName = "book";
  book.location = spec.directory;
  book.subbook = static_cast<int16_t>(spec.subbook - 1);
  s->bar_ = {separator, book};
  s->disk_.SetBookList(&s->bar_);
  if (!s->disk_.SelectSubbook(kRow)) {
    *error = "cannot open sub-book " + std::to_string(spec.subbook) + " of " + spec.directory;
    return nullptr;
  }
  return s;
}

std::unique_ptr<BookSession> BookSession::OpenArgument(const std::string& volumeArg,
                                                       const std::string& infoPath,
                                                       const char* usage, int* status) {
  const auto spec = ParseVolume(volumeArg);
  if (!spec) {
    *status = Fail(kExitUsage, usage);
    return nullptr;
  }
  std::string error;
  auto session = Open(*spec, infoPath, &error);
  if (!session) *status = Fail(kExitBook, error);
  return session;
}

void BookSession::LoadMap(const std::optional<std::string>& mapOption) {
  std::string warning;
  disk_.decoderState().unicodeMap =
      mapOption ? maps_.Load(*mapOption, disk_.subbook().subbookDirectory,
                             disk_.decoderState().conversion, &warning)
                : maps_.OfSubbook(disk_.VolumeRoot(), disk_.subbook().subbookDirectory,
                                  disk_.decoderState().conversion, &warning);
  if (!warning.empty()) std::fprintf(stderr, "morva-cli: %s\n", warning.c_str());
}

namespace {
Output* g_current = nullptr;
}  // namespace

Output::Output() : previous_(g_current) { g_current = this; }

Output::~Output() {
  Flush();
  g_current = previous_;
}

void Output::FlushCurrent() {
  if (g_current != nullptr) g_current->Flush();
}

void Output::Flush() {
  if (buffer_.empty()) return;
  const bool written = std::fwrite(buffer_.data(), 1, buffer_.size(), stdout) == buffer_.size() &&
                       std::fflush(stdout) == 0;
  buffer_.clear();
  if (!written) {
    const int error = errno;
    std::fprintf(stderr, "morva-cli: cannot write the output: %s\n", std::strerror(error));
    RemoveTempFilesNow();
    std::_Exit(kExitBook);
  }
}

}  // namespace morva::cli
