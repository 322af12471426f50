// TDisk's page access: the open file, the page buffer and the byte reader.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <set>
#include <vector>

#include "engine/book/file_lookup.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"

namespace morva {

TDisk::TDisk(Reporter& reporter, EngineSettings settings)
    : reporter_(reporter), settings_(std::move(settings)) {}

TDisk::~TDisk() = default;

bool TDisk::OpenBookFile(std::string_view name, bool absolute, bool report) {
  decoder_.replacementCursor = -1;
  if (pages_.file) return true;
  const std::string path = absolute ? ToSlashes(name) : subbook_.volumeRoot + ToSlashes(name);
  if (auto found = FindBookFile(path)) pages_.file = OpenPageSource(*found);
  pages_.currentPage = 0;
  pages_.offset = 0;
  if (pages_.file) {
    pages_.openPath = path;
    return true;
  }
  if (report) ReportCannotOpen(path);
  return false;
}

void TDisk::ReportCannotOpen(const std::string& path) { ReportOpenFailure(path, 0); }

void TDisk::ReportOpenFailure(const std::string& path, int32_t page) {
  reporter_.ReadFailed({ReadFailure::Kind::kOpen,
                        path,
                        {page, 0},
                        Sjis("ﾌｧｲﾙ：") + Sjis(path) + Sjis(" を開けない．")});
}

void TDisk::ReportReadFailure(ReadFailure::Kind kind, BookAddress at) {
  std::string path = pages_.openPath;
  const BodyFileTable& files = pages_.bodyFiles;
  if (pages_.multiFile && files.Count() > 0) path = files.Row(files.RowOfPage(at.page)).path;
  std::string text = kind == ReadFailure::Kind::kReadingOn
                         ? Sjis("辞書ﾌｧｲﾙの入力ｴﾗｰが発生しました.")
                         : Sjis("Seek error at ReadPage.\nPress the cancel button to abort Morva");
  reporter_.ReadFailed({kind, std::move(path), at, std::move(text)});
}

void TDisk::CloseBookFile() {
  pages_.file.reset();
  pages_.openPath.clear();
  pages_.openRow = -1;
}

bool TDisk::SelectFileForPage(int32_t page) {
  if (pages_.bodyFiles.Count() == 0) {
    pages_.localPage = page;
    return pages_.file != nullptr;
  }
  const int row = pages_.bodyFiles.RowOfPage(page);
  const BodyFileRow& r = pages_.bodyFiles.Row(row);
  // A page before its row's first page (the last row takes every page no
  // other row holds) is in no file: local page 0, and no file is switched.
  const int64_t local = int64_t{page} - r.firstPage + 1;
  if (local < 1 || local > INT32_MAX) {
    pages_.localPage = 0;
    return pages_.file != nullptr;
  }
  pages_.localPage = static_cast<int32_t>(local);
  if (pages_.file && row == pages_.openRow) return true;
  CloseBookFile();
  pages_.currentPage = 0;
  if (!OpenBookFile(r.path, true, false)) {
    ReportOpenFailure(r.path, page);
    return false;
  }
  pages_.openRow = row;
  return true;
}

int TDisk::ReadPage(int32_t page) {
  // Pages are numbered from 1: a page below that (a damaged number) is in no
  // file, and nothing is read for it.
  if (page < 1) return -1;
  if (page == pages_.currentPage && pages_.file) return 0;
  if (pages_.multiFile) {
    SelectFileForPage(page);
  } else {
    pages_.localPage = page;
  }
  if (pages_.localPage < 1) return -1;
  if (!pages_.file) {
    subbook_.volumeKind = -1;
    return -1;
  }
  const int64_t position = (static_cast<int64_t>(pages_.localPage) - 1) * kPageSize;
  // A page that starts beyond the end of its file cannot be positioned; a
  // short page at the end is zero-filled so no stale bytes survive.
  const bool inFile = position < pages_.file->Size();
  const int64_t got = inFile ? pages_.file->ReadAt(position, pages_.buffer.data(), kPageSize) : -1;
  if (got < 0) {
    pages_.currentPage = 0;
    ReportReadFailure(inFile ? ReadFailure::Kind::kUnreadable : ReadFailure::Kind::kPastEnd,
                      {page, 0});
    return -1;
  }
  if (got < kPageSize)
    std::memset(pages_.buffer.data() + got, 0, static_cast<size_t>(kPageSize - got));
  pages_.dataInPage = static_cast<int32_t>(got);
  pages_.currentPage = page;
  pages_.streamPage = page;
  return 0;
}

int TDisk::Seek(int32_t page, int32_t offset) {
  if (ReadPage(page) != 0) return -1;
  // The last page of a file may be short: an address in its zero fill points
  // past the data, which is a damaged reference or a cut file, not an empty
  // entry.
  if (pages_.dataInPage < kPageSize && offset >= pages_.dataInPage) {
    ReportReadFailure(ReadFailure::Kind::kPastEnd, {page, offset});
    pages_.offset = pages_.dataInPage;  // a caller that reads on gets the end of data
    pages_.pushedBack = 0;
    pages_.readFailed = true;
    return -1;
  }
  pages_.offset = std::clamp(offset, 0, kPageSize);
  decoder_.fullWidth = !decoder_.singleByteBook;
  decoder_.pendingChar = 0;
  pages_.pushedBack = 0;
  pages_.readFailed = false;
  return 0;
}

int TDisk::SeekAbsolute(int64_t position) {
  const BookAddress a = BookAddress::FromPosition(position);
  return Seek(a.page, a.offset);
}

int TDisk::ReadByteFromNextPage() {
  if (pages_.offset < kPageSize) {
    // The file ends inside this page: the rest is zero fill, not data.
    pages_.readFailed = true;
    ReportReadFailure(ReadFailure::Kind::kReadingOn, {pages_.streamPage, pages_.offset});
    return 0;
  }
  if (pages_.streamPage == INT32_MAX || ReadPage(pages_.streamPage + 1) != 0) {
    pages_.readFailed = true;
    const int32_t next = pages_.streamPage == INT32_MAX ? pages_.streamPage : pages_.streamPage + 1;
    ReportReadFailure(ReadFailure::Kind::kReadingOn, {next, 0});
    return 0;
  }
  pages_.offset = 0;
  return pages_.buffer[static_cast<size_t>(pages_.offset++)];
}

void TDisk::Skip(int n) {
  // Counts come from books and information files and may reach far beyond
  // the data: whole pages are passed at once, and the skip ends where the
  // data ends.
  while (n > 0) {
    if (pages_.pushedBack != 0) {
      pages_.pushedBack = 0;
      --n;
      continue;
    }
    const int inPage = std::min(n, kPageSize - pages_.offset);
    pages_.offset += inPage;
    n -= inPage;
    if (n == 0 || pages_.readFailed) return;
    // The whole pages that the open file still holds are passed at once
    // (only the last is read, for the reader to stand on); the skip then
    // goes on from its end as reading would.
    const int64_t filePages = pages_.file ? (pages_.file->Size() + kPageSize - 1) / kPageSize : 0;
    const int64_t passable =
        std::min<int64_t>(filePages - pages_.localPage, INT32_MAX - int64_t{pages_.streamPage});
    const int64_t pass = std::min<int64_t>((n - 1) / kPageSize, passable);
    if (pass > 0) {
      if (ReadPage(pages_.streamPage + static_cast<int32_t>(pass)) != 0) {
        pages_.readFailed = true;
        return;
      }
      n -= static_cast<int>(pass) * kPageSize;
      pages_.offset = kPageSize;
      continue;
    }
    ReadByteFromNextPage();
    --n;
  }
}

int TDisk::ReadBytes(char* dst, int n) {
  int count = 0;
  while (count < n) {
    const int b = ReadByte();
    if (b == 0) break;
    dst[count++] = static_cast<char>(b);
  }
  dst[count] = '\0';
  return count;
}

int32_t TDisk::ReadBcd(int n) {
  // Damaged data may hold nibbles above 9 or more digits than fit: the value
  // saturates instead of overflowing.
  int64_t value = 0;
  for (int i = 0; i < n; ++i) {
    const int b = ReadByte();
    value = std::min<int64_t>(value * 100 + 10 * (b >> 4) + (b & 0x0F), INT32_MAX);
  }
  return static_cast<int32_t>(value);
}

BookAddress TDisk::TellNormalised() const {
  BookAddress a{pages_.streamPage, pages_.offset - (pages_.pushedBack != 0 ? 1 : 0)};
  return a.Normalised();
}

BookAddress TDisk::TellMinusFour() const {
  BookAddress a = Tell();
  a.offset -= 4;
  return a.Normalised();
}

int TDisk::CompareAddresses(BookAddress a, BookAddress b) {
  if (a.page < b.page) return -1;
  if (a.page > b.page) return 1;
  return a.offset - b.offset;
}

int64_t TDisk::FileSize(const std::string& path) {
  auto found = FindBookFile(path);
  if (!found) return 0;
  auto source = OpenPageSource(*found);
  return source ? source->Size() : 0;
}

bool TDisk::DriveReady(const std::string& root) {
  if (!root.empty() && root[0] == '\\') return true;
  if (root.empty()) return false;
  auto found = FindPathNoCase(root);
  if (!found) return false;
  DIR* d = ::opendir(found->c_str());
  if (!d) return false;
  ::closedir(d);
  return true;
}

namespace {

// A file or directory by device and inode: the same one reached by different
// paths (links) compares equal.
struct FileId {
  dev_t device = 0;
  ino_t inode = 0;
  auto operator<=>(const FileId&) const = default;
};

std::optional<FileId> IdOf(const std::string& path, mode_t type) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || (st.st_mode & S_IFMT) != type) return std::nullopt;
  return FileId{st.st_dev, st.st_ino};
}

// The names in dir, sorted so that the walk does not depend on listing order.
std::vector<std::string> ListDirectory(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d)) {
      if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
        names.emplace_back(e->d_name);
    }
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// One search for a file below a directory. Every directory entered is
// remembered, so links that lead back up the tree (or two links to the same
// directory) are walked once instead of multiplying the paths.
class FileSearch {
 public:
  FileSearch(std::string_view name, std::optional<FileId> skip) : name_(name), skip_(skip) {}

  bool Find(const std::string& dir, std::string* result, int depth) {
    if (depth > kMaxDepth) return false;
    const std::optional<FileId> id = IdOf(dir, S_IFDIR);
    if (!id || !entered_.insert(*id).second) return false;
    const std::vector<std::string> names = ListDirectory(dir);
    // The plain file first, then its compressed form, then a decompressed
    // ".org" body, as FindBookFile prefers them. Only regular files count.
    for (const char* suffix : {"", ".ebz", ".org"}) {
      const std::string wanted = name_ + suffix;
      for (const auto& n : names) {
        if (!SameBookFileName(wanted, n)) continue;
        const std::optional<FileId> file = IdOf(dir + n, S_IFREG);
        if (!file || file == skip_) continue;
        *result = dir + n;
        return true;
      }
    }
    for (const auto& n : names) {
      if (n[0] == '.') continue;
      if (Find(dir + n + "/", result, depth + 1)) return true;
    }
    return false;
  }

 private:
  // Deeper trees than this are not book volumes.
  static constexpr int kMaxDepth = 32;
  std::string name_;
  std::optional<FileId> skip_;
  std::set<FileId> entered_;
};

}  // namespace

bool TDisk::FindFileUnderDirectory(const std::string& directory, std::string_view name,
                                   std::string* result, const std::string& skipFile) {
  auto found = FindPathNoCase(directory);
  if (!found) return false;
  std::string dir = *found;
  if (dir.empty() || dir.back() != '/') dir += '/';
  const std::optional<FileId> skip = skipFile.empty() ? std::nullopt : IdOf(skipFile, S_IFREG);
  return FileSearch(name, skip).Find(dir, result, 0);
}

}  // namespace morva
