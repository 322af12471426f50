#include "engine/book/page_source.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "engine/book/ebzip_source.h"
#include "engine/book/file_lookup.h"

namespace morva {

namespace {

// A plain book file read with pread; the descriptor closes with the object.
class PlainPageSource final : public PageSource {
 public:
  PlainPageSource(int fd, int64_t size) : fd_(fd), size_(size) {}
  ~PlainPageSource() override { ::close(fd_); }
  PlainPageSource(const PlainPageSource&) = delete;
  PlainPageSource& operator=(const PlainPageSource&) = delete;

  int64_t Size() const override { return size_; }

  int64_t ReadAt(int64_t pos, uint8_t* dst, size_t n) override {
    if (pos < 0) return -1;
    size_t done = 0;
    while (done < n) {
      ssize_t r =
          ::pread(fd_, dst + done, n - done, static_cast<off_t>(pos + static_cast<int64_t>(done)));
      if (r < 0) {
        if (errno == EINTR) continue;
        return -1;
      }
      if (r == 0) break;
      done += static_cast<size_t>(r);
    }
    return static_cast<int64_t>(done);
  }

 private:
  int fd_;
  int64_t size_;
};

class MemorySource final : public PageSource {
 public:
  explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
  int64_t ReadAt(int64_t pos, uint8_t* dst, size_t n) override {
    if (pos < 0) return -1;
    if (pos >= Size()) return 0;
    const size_t count = std::min(n, bytes_.size() - static_cast<size_t>(pos));
    std::memcpy(dst, bytes_.data() + pos, count);
    return static_cast<int64_t>(count);
  }

 private:
  std::string bytes_;
};

// True for "x.ebz" in any case, also as "X.EBZ;1" or "x.ebz." on a CD-ROM.
bool HasEbzSuffix(std::string_view path) {
  const size_t semi = path.rfind(';');
  if (semi != std::string_view::npos && path.find('/', semi) == std::string_view::npos)
    path = path.substr(0, semi);
  if (!path.empty() && path.back() == '.') path.remove_suffix(1);
  static constexpr std::string_view kSuffix = ".ebz";
  if (path.size() < kSuffix.size()) return false;
  return std::equal(
      kSuffix.begin(), kSuffix.end(), path.end() - kSuffix.size(),
      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

std::unique_ptr<PageSource> MemoryPageSource(std::string bytes) {
  return std::make_unique<MemorySource>(std::move(bytes));
}

std::unique_ptr<PageSource> OpenPageSource(const std::string& path) {
  // Directories, FIFOs and devices are not book files.
  const int fd = OpenRegularFile(path);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return nullptr;
  }
  auto plain = std::make_unique<PlainPageSource>(fd, static_cast<int64_t>(st.st_size));
  uint8_t magic[ebzip::kMagicSize];
  const bool compressed =
      plain->ReadAt(0, magic, sizeof magic) == static_cast<int64_t>(sizeof magic) &&
      ebzip::HasMagic(magic, sizeof magic);
  // A ".ebz" file without the magic is damaged, not plain: serving its bytes
  // as they are would hand the reader compressed garbage.
  if (compressed || HasEbzSuffix(path)) return EbzipPageSource::Open(std::move(plain));
  return plain;
}

}  // namespace morva
