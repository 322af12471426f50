#include "engine/decode/marked_text_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace morva {

namespace {

// Buffered bytes are written out once this many have gathered.
constexpr size_t kFlushSize = 64 * 1024;

}  // namespace

bool MarkedTextFile::Open(const std::string& path) {
  Close();
  failed_ = false;
  size_ = 0;
  pending_.clear();
  if (path.empty()) return false;
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  return fd_ >= 0;
}

bool MarkedTextFile::Append(std::string_view marked) {
  if (fd_ < 0) return false;
  for (char c : marked) {
    if (c == '\n') pending_ += '\r';
    pending_ += c;
  }
  size_ += MarkedTextFileSize(marked);
  if (pending_.size() >= kFlushSize) Flush();
  return !failed_;
}

void MarkedTextFile::Flush() {
  const char* data = pending_.data();
  size_t left = pending_.size();
  while (left > 0 && !failed_) {
    const ssize_t n = ::write(fd_, data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      break;
    }
    data += n;
    left -= static_cast<size_t>(n);
  }
  pending_.clear();
}

bool MarkedTextFile::Close() {
  if (fd_ < 0) return !failed_;
  Flush();
  if (!failed_ && ::ftruncate(fd_, static_cast<off_t>(size_)) != 0) failed_ = true;
  if (::close(fd_) != 0) failed_ = true;
  fd_ = -1;
  return !failed_;
}

bool WriteMarkedTextFile(const std::string& path, std::string_view marked) {
  MarkedTextFile file;
  if (!file.Open(path)) return false;
  file.Append(marked);
  return file.Close();
}

int64_t MarkedTextFileSize(std::string_view marked) {
  return static_cast<int64_t>(marked.size() +
                              static_cast<size_t>(std::count(marked.begin(), marked.end(), '\n')));
}

}  // namespace morva
