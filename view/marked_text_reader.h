// Sequential reader of the marked-text file for line layout: reads the file in
// chunks of 32,767 bytes and lets the layout look a few bytes ahead. A 0 byte
// (or the end of the file) ends the text; reading at the end keeps returning 0
// without moving. Offset() is the file offset of the next byte, which gives
// every token its place in the file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace morva {

class MarkedTextReader {
 public:
  static constexpr size_t kChunkSize = 32767;
  // Bytes Peek may look past the next one.
  static constexpr size_t kMaxLookahead = 8;

  // Opens the file from its start; false when it cannot be opened (the reader
  // then behaves as an empty text).
  bool Open(const std::string& path);
  void Close() { file_.reset(); }

  // The byte k places after the next one (k < kMaxLookahead), 0 past the end.
  uint8_t Peek(size_t k = 0) {
    if (pos_ + k >= len_) Refill();
    return pos_ + k < len_ ? buffer_[pos_ + k] : 0;
  }
  // The next byte, consumed; 0 at the end of the text (not consumed).
  uint8_t Next() {
    uint8_t b = Peek();
    if (b != 0) {
      ++pos_;
      ++offset_;
    }
    return b;
  }
  uint32_t Offset() const { return offset_; }

 private:
  struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  // Moves the unread bytes to the front and reads the next chunk behind them;
  // stops the text at the first 0 byte of the file.
  void Refill();

  std::unique_ptr<std::FILE, FileCloser> file_;
  std::vector<uint8_t> buffer_;
  size_t pos_ = 0;
  size_t len_ = 0;
  bool ended_ = true;
  uint32_t offset_ = 0;
};

}  // namespace morva
