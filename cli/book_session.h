// One open book for a command: the reporter, the book-access object and a
// one-entry book list holding the chosen volume and sub-book.
#pragma once

#include <memory>
#include <string>

#include "cli/cli_args.h"
#include "cli/stderr_reporter.h"
#include "engine/book/gaiji_map_store.h"
#include "engine/book/tdisk.h"

namespace morva::cli {

class BookSession {
 public:
  // Opens sub-book spec.subbook of the volume; nothing and a one-line reason
  // (UTF-8) when the book cannot be opened. infoPath names a per-book
  // information file ("" for none).
  static std::unique_ptr<BookSession> Open(const VolumeSpec& spec, const std::string& infoPath,
                                           std::string* error);

  // Open for a command's first argument "DIR[:N]": on failure prints the
  // usage (a malformed argument) or the reason (a book that cannot be opened)
  // and sets *status to the command's exit status.
  static std::unique_ptr<BookSession> OpenArgument(const std::string& volumeArg,
                                                   const std::string& infoPath, const char* usage,
                                                   int* status);

  TDisk& disk() { return disk_; }
  // Loads the Unicode map of external characters: the file given with --map,
  // else the sub-book's own map where the window looks for it too. An
  // unreadable file or malformed lines give one warning on stderr.
  void LoadMap(const std::optional<std::string>& mapOption);
  // The loaded map; nothing when there is none.
  const GaijiMap* map() const { return disk_.decoderState().unicodeMap; }
  // The book-list row of the open sub-book.
  static constexpr int kRow = 1;

 private:
  BookSession() = default;
  StderrReporter reporter_;
  TDisk disk_{reporter_};
  BookBar bar_;
  GaijiMapStore maps_;
};

// Writes UTF-8 text to stdout through one large buffer. Output that cannot
// be written (a closed pipe when SIGPIPE is ignored, a full disk) ends the
// program with a message and status 1 instead of computing on for nobody.
class Output {
 public:
  Output();
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  std::string& buffer() { return buffer_; }
  void MaybeFlush() {
    if (buffer_.size() >= (1u << 20)) Flush();
  }
  void Flush();
  // Flushes the output of the command now running, if any (for ending the
  // program early).
  static void FlushCurrent();

 private:
  std::string buffer_;
  Output* previous_;
};

}  // namespace morva::cli
