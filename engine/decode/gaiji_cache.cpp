// The external-character bitmap cache: the sub-book's fonts are copied into
// a local file when the sub-book opens, and single characters are fetched
// from it one cache page at a time.
#include <sys/types.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <memory>

#include "engine/book/tdisk.h"
#include "engine/decode/decoder.h"
#include "engine/decode/gaiji.h"

namespace morva {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Fonts pack characters into the two halves of a page; a character never
// straddles them.
constexpr int kHalfPage = kPageSize / 2;
// The font header sits at this offset of the font's first page.
constexpr int kHeaderOffset = 8;
// A JIS row holds 94 cells.
constexpr int kCellsPerRow = 94;

struct FontSize {
  int width;
  int height;
  int slot;  // 1 full width, 0 half width
  int sizeClass;
};
constexpr std::array<FontSize, 4> kAcceptedSizes{{
    {16, 16, 1, 16},
    {24, 24, 1, 24},
    {8, 16, 0, 16},
    {16, 24, 0, 24},
}};

const FontSize* AcceptedSize(int width, int height) {
  for (const FontSize& size : kAcceptedSizes)
    if (size.width == width && size.height == height) return &size;
  return nullptr;
}

int BytesPerChar(const GaijiFontSlot& font) { return font.width / 8 * font.height; }
int CharsPerHalf(const GaijiFontSlot& font) { return kHalfPage / BytesPerChar(font); }

// How many pages from `first` on the file that holds `first` can deliver,
// so that a header claiming too many characters does not read past it.
int64_t ReadablePages(const TDisk& disk, int32_t first) {
  int64_t pages = static_cast<int64_t>(INT32_MAX) - first + 1;
  const BodyFileTable& files = disk.BodyFiles();
  if (!disk.MultiFile() || files.Count() == 0) return pages;
  const int row = files.RowOfPage(first);
  const BodyFileRow& file = files.Row(row);
  const int64_t filePages = (TDisk::FileSize(file.path) + kPageSize - 1) / kPageSize;
  pages = std::min(pages, filePages - (static_cast<int64_t>(first) - file.firstPage));
  if (row + 1 < files.Count() && files.Row(row + 1).firstPage > first)
    pages = std::min(pages, static_cast<int64_t>(files.Row(row + 1).firstPage) - first);
  return std::max<int64_t>(pages, 0);
}

// Copies the font of IndexKind row `code` into the cache file from cache page
// `cachePage` on and fills its slot. Returns the number of pages written, or
// -1 when the cache file could not be written (later fonts would land in the
// wrong place).
int32_t CopyFont(TDisk& disk, uint8_t code, std::FILE* cache, int32_t cachePage) {
  const int32_t start = disk.subbook().indexes.Start(code);
  if (start <= 0 || start == INT32_MAX || disk.ReadPage(start) != 0) return 0;
  const uint8_t* header = disk.PageBuffer() + kHeaderOffset;
  const FontSize* size = AcceptedSize(header[0], header[1]);
  if (size == nullptr) return 0;

  GaijiFontSlot font;
  font.cachePage = cachePage;
  font.width = size->width;
  font.height = size->height;
  font.sizeClass = size->sizeClass;
  font.firstCode = TDisk::Be16(header + 2);
  font.count = TDisk::Be16(header + 4);

  const int perHalf = CharsPerHalf(font);
  const int halves = (font.count + perHalf - 1) / perHalf;
  const int64_t pages = std::min<int64_t>((halves + 1) / 2, ReadablePages(disk, start + 1));
  int32_t written = 0;
  for (; written < pages; ++written) {
    if (disk.ReadPage(start + 1 + written) != 0) break;
    if (std::fwrite(disk.PageBuffer(), 1, kPageSize, cache) != static_cast<size_t>(kPageSize))
      return -1;
  }
  if (written == 0) return 0;
  // Characters beyond what could be copied are not found.
  font.count = std::min(font.count, written * 2 * perHalf);
  disk.gaijiCache().fontSlots[static_cast<size_t>(size->slot)] = font;
  return written;
}

// Character number of a code within a font, or -1 when it lies before it.
int CharacterNumber(const TDisk& disk, const GaijiFontSlot& font, uint16_t code) {
  const int firstCell = font.firstCode & 0xFF;
  if (disk.SingleByteBook()) return (UnmapSingleByteGaiji(code) & 0xFF) - firstCell;
  if (code < font.firstCode) return -1;
  return ((code & 0xFF) - firstCell) + kCellsPerRow * ((code - font.firstCode) / 256);
}

// Brings cache page `page` into the gaiji page buffer.
bool LoadCachePage(TDisk& disk, int32_t page) {
  if (page == disk.gaijiCache().bufferPage) return true;
  disk.gaijiCache().bufferPage = -1;
  File cache(disk.GaijiCachePath().empty() ? nullptr
                                           : std::fopen(disk.GaijiCachePath().c_str(), "rb"));
  if (!cache) return false;
  const off_t position = (static_cast<off_t>(page) - 1) * kPageSize;
  if (fseeko(cache.get(), position, SEEK_SET) != 0) return false;
  std::array<uint8_t, kPageSize>& buffer = disk.gaijiCache().page;
  if (std::fread(buffer.data(), 1, kPageSize, cache.get()) != static_cast<size_t>(kPageSize))
    return false;
  disk.gaijiCache().bufferPage = page;
  return true;
}

}  // namespace

void BuildGaijiCache(TDisk& disk) {
  disk.gaijiCache().fontSlots = {};
  const std::string& path = disk.GaijiCachePath();
  File cache(path.empty() ? nullptr : std::fopen(path.c_str(), "wb"));
  if (cache) {
    int32_t nextPage = 1;
    for (uint8_t code : {uint8_t{0xF1}, uint8_t{0xF2}}) {
      const int32_t written = CopyFont(disk, code, cache.get(), nextPage);
      if (written < 0) break;
      nextPage += written;
    }
  }
  disk.gaijiCache().bufferPage = -1;
}

bool FetchGaijiBitmap(TDisk& disk, int slot, uint16_t code, GaijiBitmap* out) {
  if (out == nullptr || slot < 0 || slot > 1) return false;
  const GaijiFontSlot& font = disk.gaijiCache().fontSlots[static_cast<size_t>(slot)];
  if (font.cachePage <= 0 || AcceptedSize(font.width, font.height) == nullptr) return false;
  const int n = CharacterNumber(disk, font, code);
  if (n < 0 || n >= font.count) return false;

  const int bytesPerRow = font.width / 8;
  const int bytesPerChar = BytesPerChar(font);
  const int perHalf = CharsPerHalf(font);
  const int half = n / perHalf;
  const int offset = (n % perHalf) * bytesPerChar + (half % 2) * kHalfPage;
  if (offset + bytesPerChar > kPageSize) return false;
  if (!LoadCachePage(disk, font.cachePage + half / 2)) return false;

  // Book fonts set a bit for ink; the painter wants a set bit for background.
  // Rows are 2 bytes (8 and 16 dots) or 4 bytes (24 dots) wide.
  out->width = font.width;
  out->height = font.height;
  out->rows.fill(0xFF);
  const uint8_t* source = disk.gaijiCache().page.data() + offset;
  const int outRow = out->BytesPerRow();
  for (int y = 0; y < font.height; ++y) {
    for (int x = 0; x < bytesPerRow; ++x)
      out->rows[static_cast<size_t>(y * outRow + x)] =
          static_cast<uint8_t>(~source[y * bytesPerRow + x]);
  }
  return true;
}

}  // namespace morva
