// Locating the files that form a sub-book's page space: the body file named
// by the catalog record, the external-character font files, and the separate
// files of a split-layout book.
#include <climits>
#include <optional>
#include <string>
#include <string_view>

#include "engine/book/file_lookup.h"
#include "engine/book/subbook_setup.h"
#include "engine/book/tdisk.h"

namespace morva {
namespace {

constexpr int kFontNameLength = 8;
constexpr int kFontSlotsPerGroup = 4;
// A font file holds a header page and at least one page of bitmaps.
constexpr int64_t kMinFontFileSize = kPageSize;
// Split-layout names are looked up in 31-character buffers.
constexpr size_t kMaxSplitNameLength = 31;

// A name field of the catalog: up to n bytes from a catalog position,
// stopping at a 0 byte, trailing spaces dropped.
std::string ReadCatalogName(TDisk& disk, int64_t position, int n) {
  if (disk.SeekAbsolute(position) != 0) return {};
  std::string name(static_cast<size_t>(n) + 1, '\0');
  name.resize(static_cast<size_t>(disk.ReadBytes(name.data(), n)));
  name.erase(name.find_last_not_of(' ') + 1);
  return name;
}

// The 12-digit packed-decimal index page number; 0 (no index page) when the
// digits name a page beyond the page numbers.
int32_t ReadIndexPageNumber(TDisk& disk, int64_t position) {
  if (disk.SeekAbsolute(position) != 0) return 0;
  int64_t value = 0;
  for (int i = 0; i < 6; ++i) {
    const int b = disk.ReadByte();
    value = value * 100 + 10 * (b >> 4) + (b & 0x0F);
  }
  return value > INT32_MAX ? 0 : static_cast<int32_t>(value);
}

// The path of an existing file that can be opened for reading.
std::optional<std::string> ReadableFile(const std::string& path) {
  auto found = FindBookFile(path);
  if (!found || !OpenPageSource(*found)) return std::nullopt;
  return found;
}

// Kind 0: one font file of each group becomes the next row of BodyFileTable.
// The slot that suits the body text size is tried first (24-dot fonts sit in
// slot 1 of a group), then the slots in order.
void AddFontFiles(TDisk& disk, const CatalogLayout& layout, const std::string& directory) {
  const int preferred = disk.settings().font0TextSize >= 22 ? 1 : 0;
  const int order[] = {preferred, 0, 1, 2, 3};
  for (int group = 0; group < 2; ++group) {
    for (int slot : order) {
      const int k = group * kFontSlotsPerGroup + slot;
      const std::string name = ReadCatalogName(
          disk, layout.FontNameOffset(disk.subbook().catalogRecord, k), kFontNameLength);
      if (name.empty() || !StaysInDirectory(name)) continue;
      auto found = FindBookFile(directory + "/gaiji/" + name);
      if (!found || TDisk::FileSize(*found) <= kMinFontFileSize) continue;
      BodyFileTable& files = disk.BodyFiles();
      const int row = files.Count();
      files.Add(*found, BodyFileTable::kFontFirstPage + BodyFileTable::kFontFilePages * (row - 1));
      break;
    }
  }
}

// The split layout: row 0's file holds only the index page, and each index
// lives in a file of its own, found by the names of its IndexKind row in the
// body file's directory or below. Returns the codes whose file is missing.
std::vector<uint8_t> SetUpSplitLayout(TDisk& disk, const CatalogLayout& layout, int32_t indexPage) {
  disk.subbook().splitLayout = true;
  disk.CloseBookFile();
  disk.SetMultiFile(true);
  std::vector<uint8_t> missing;
  if (ReadIndexPage(disk, indexPage, false)) {
    const std::string indexFile = disk.BodyFiles().Row(0).path;
    const std::string directory = indexFile.substr(0, indexFile.rfind('/'));
    for (int r = 0; r < IndexKindTable::kRows; ++r) {
      const IndexKindRow& row = disk.subbook().indexes.Row(r);
      if (row.start == 0) continue;
      bool found = false;
      std::string_view names = row.splitNames;
      while (!found && !names.empty()) {
        const size_t comma = names.find(',');
        const std::string_view name = names.substr(0, comma).substr(0, kMaxSplitNameLength);
        names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
        std::string path;
        // The index file itself (a body file named like the body text) holds
        // no area's pages: the search passes it by and goes on below.
        if (!TDisk::FindFileUnderDirectory(directory, name, &path, indexFile)) continue;
        found = disk.BodyFiles().Add(path, row.start);
      }
      if (!found) missing.push_back(row.code);
    }
  }
  // Back to the state the following steps expect: the catalog open in
  // single-file mode.
  disk.CloseBookFile();
  disk.SetMultiFile(false);
  disk.OpenBookFile(layout.catalogFile, false, false);
  return missing;
}

}  // namespace

SubbookFiles LocateBodyFiles(TDisk& disk) {
  SubbookFiles result;
  BodyFileTable& files = disk.BodyFiles();
  files.Clear();
  disk.subbook().splitLayout = false;

  const CatalogLayout* layout = LayoutOfKind(disk.subbook().volumeKind);
  if (!layout) {
    // Without a catalog the information file's HONMON= lines give the files.
    std::string root = disk.VolumeRoot();
    if (!root.empty() && root.back() == '/') root.pop_back();
    disk.subbook().subbookDirectory = root;
    return result;
  }

  const int record = disk.subbook().catalogRecord;
  const std::string name =
      ReadCatalogName(disk, layout->DirectoryOffset(record), CatalogLayout::kDirectoryNameLength);
  const std::string directory = disk.VolumeRoot() + name;
  disk.subbook().subbookDirectory = directory;
  result.indexPage = disk.subbook().volumeKind == 0
                         ? ReadIndexPageNumber(disk, layout->IndexPageOffset(record))
                         : 1;

  const std::string bodyPath = directory + layout->bodyFile;
  // The directory is a name inside the volume; for a catalog that names a
  // path or ".." nothing is looked up, as files outside the volume would be.
  if (!StaysInDirectory(name)) {
    result.refusedBodyPath = bodyPath;
    return result;
  }

  // An unreadable body file stays in row 0 all the same: reading it fails
  // with a message that names it, unless the information file names another
  // body file.
  const auto body = ReadableFile(bodyPath);
  files.Add(body ? *body : FindBookFile(bodyPath).value_or(bodyPath), 1);

  if (disk.subbook().volumeKind == 0) AddFontFiles(disk, *layout, directory);

  if (body && TDisk::FileSize(*body) == kPageSize)
    result.missingSplitCodes = SetUpSplitLayout(disk, *layout, result.indexPage);
  return result;
}

}  // namespace morva
