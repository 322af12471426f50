#include "view/marked_text_reader.h"

#include <cstring>

namespace morva {

bool MarkedTextReader::Open(const std::string& path) {
  file_.reset(std::fopen(path.c_str(), "rb"));
  buffer_.assign(kChunkSize + kMaxLookahead, 0);
  pos_ = 0;
  len_ = 0;
  offset_ = 0;
  ended_ = file_ == nullptr;
  return file_ != nullptr;
}

void MarkedTextReader::Refill() {
  if (ended_) return;
  size_t rest = len_ - pos_;
  if (rest > 0 && pos_ > 0) std::memmove(buffer_.data(), buffer_.data() + pos_, rest);
  pos_ = 0;
  len_ = rest;
  size_t got = std::fread(buffer_.data() + len_, 1, kChunkSize, file_.get());
  // A short chunk is the last one.
  if (got < kChunkSize) ended_ = true;
  // A 0 byte inside the file ends the text as the end of the file does.
  const void* zero = std::memchr(buffer_.data() + len_, 0, got);
  if (zero != nullptr) {
    got = static_cast<size_t>(static_cast<const uint8_t*>(zero) - (buffer_.data() + len_));
    ended_ = true;
  }
  len_ += got;
  if (ended_) file_.reset();
}

}  // namespace morva
