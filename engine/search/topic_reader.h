// Reading body text topic by topic for the full-text search. A topic is the
// stretch of body text from one place to where the next entry seems to begin:
// the second line that starts with a headword (keyword-start escape), the
// end-of-text escape when the book's nEnd value is on, or the book's nCol1 /
// nTab1 limits of lines begun with text and of level-0 indents. The next
// topic begins with the item that ended the previous one, except after an
// end-of-text escape.
//
// The text comes out as Shift-JIS with "\n" for line breaks, NUL-terminated,
// in a TopicBuffer. It is what the text decoder (engine/decode/decoder.h)
// gives for the same bytes: plain text and the common escapes are decoded
// here straight from the page buffer, because the scan runs over whole
// books, and everything else is handed to the decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/book/book_address.h"

namespace morva {

class TDisk;
class TopicPrefilter;
struct PageMap;
struct TopicGlyph;

// The growable block that holds one topic's text. It starts at kStep bytes
// and grows by kStep bytes (by half its size once it is large, so that a
// huge topic does not cost quadratic copying).
class TopicBuffer {
 public:
  static constexpr size_t kStep = 20000;

  // Allocates the first kStep bytes; false when that fails.
  bool Obtain();
  void Release();
  // Makes room for at least `needed` bytes in all; false when it cannot.
  bool Reserve(size_t needed);

  char* data() { return data_.get(); }
  const char* data() const { return data_.get(); }
  size_t capacity() const { return capacity_; }

  // Caps the capacity the buffer may reach; reaching beyond it fails like an
  // exhausted memory. For tests of the failure path.
  void LimitCapacity(size_t bytes) { limit_ = bytes; }

 private:
  bool Resize(size_t capacity);

  std::unique_ptr<char[]> data_;
  size_t capacity_ = 0;
  size_t limit_ = 0;  // 0: no limit but memory
};

// A topic as Skim found it.
struct SkimmedTopic {
  BookAddress start;
  BookAddress end;  // where the next topic begins
  bool mayMatch = false;
  // The keyword-start escape code when the topic began and when it ended (the
  // decoder changes it for good on meeting escape 0x16): reading the topic
  // again needs the first, going on after it the second.
  int keywordCode = 0x41;
  int keywordCodeAfter = 0x41;
};

class TopicReader {
 public:
  enum class Result {
    kTopic,         // a topic was read
    kNoTopic,       // the body is exhausted
    kBufferFailed,  // the buffer could not grow; the topic is lost
  };

  // foldCase: ASCII letters of single-byte characters are stored upper-cased
  // (the full-text search's case-insensitive comparison). The buffer must be
  // obtained before reading.
  TopicReader(TDisk& disk, TopicBuffer& buffer, bool foldCase);
  ~TopicReader();

  // Reads the topic that begins at *position into the buffer and moves
  // *position to where the next topic begins. No topic is left once
  // *position lies past endPage, or when nothing can be read there. The text
  // stays valid until the next Read.
  Result Read(BookAddress* position, int32_t endPage);
  std::string_view text() const { return {buffer_.data(), length_}; }

  // Whether Skim can be used on the disk's current book: it reads books
  // whose text the decoder treats in special ways (single-byte books, the
  // special title, skipped escape codes, external characters replaced by
  // text) only through Read.
  bool CanSkim() const;

  // Moves *position over the topic there as Read would, without keeping its
  // text; *topic tells whether the topic may hold a character with which a
  // word of `prefilter` begins (false means it certainly does not). Topics
  // are skimmed a page at a time, so the disk's keyword-start codes must be
  // set as the topic says before it is read again with Read, and after it.
  // REQUIRES: CanSkim() and prefilter.usable().
  Result Skim(BookAddress* position, int32_t endPage, const TopicPrefilter& prefilter,
              SkimmedTopic* topic);

 private:
  struct Scan;
  // kStopped: the topic is over and Scan holds where the next begins.
  enum class Step { kGoOn, kStopped, kBufferFailed };

  Result Run(BookAddress* position, int32_t endPage, Scan& scan);
  Step FastRun(Scan& scan, int32_t endPage);
  Step SlowItem(Scan& scan);
  void Store(Scan& scan, const char* bytes, size_t n);

  TDisk& disk_;
  TopicBuffer& buffer_;
  bool foldCase_;
  const TopicGlyph* glyphs_;
  size_t length_ = 0;
  // Skimming: the map of the page last skimmed, and topics skimmed ahead.
  std::unique_ptr<PageMap> pageMap_;
  std::vector<SkimmedTopic> skimmed_;
  size_t skimmedNext_ = 0;
  const TopicPrefilter* skimmedFilter_ = nullptr;
};

}  // namespace morva
