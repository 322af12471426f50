// Reading a sub-book's index page into the IndexKind table and the menu
// variants.
#include <algorithm>
#include <array>
#include <climits>

#include "engine/book/subbook_setup.h"
#include "engine/book/tdisk.h"

namespace morva {
namespace {

// Index page layout: byte 1 the entry count, byte 3 the protection bits,
// 16-byte entries from byte 16.
constexpr int kCountByte = 1;
constexpr int kProtectionByte = 3;
constexpr int kFirstEntry = 16;
constexpr int kEntrySize = 16;
// A count byte may claim up to 255 entries; only 100 are ever read, which
// keeps every entry inside the page (16 + 100 * 16 < 2048).
constexpr int kMaxEntries = 100;
static_assert(kFirstEntry + kMaxEntries * kEntrySize <= kPageSize);

constexpr uint8_t kMenuCode = 0x01;
constexpr std::array<uint8_t, 2> kFontCodes{0xF1, 0xF2};

// Last page of an area, kept inside the page numbers a damaged entry allows.
int32_t LastPage(int32_t start, int64_t count) {
  const int64_t end = int64_t{start} + count - 1;
  return static_cast<int32_t>(std::clamp<int64_t>(end, INT32_MIN, INT32_MAX));
}

// The row of a code, or nullptr for a code the table does not know.
IndexKindRow* RowWithCode(IndexKindTable& table, uint8_t code) {
  IndexKindRow& row = table.ByCode(code);
  return row.code == code ? &row : nullptr;
}

}  // namespace

bool ReadIndexPage(TDisk& disk, int32_t page, bool fontFiles) {
  disk.subbook().indexPage = page;
  disk.subbook().indexes.Clear();
  disk.subbook().menus.Clear();
  disk.subbook().indexCount = 0;
  disk.subbook().protection = 0;
  if (disk.ReadPage(page) != 0) return false;

  const uint8_t* p = disk.PageBuffer();
  disk.subbook().protection = p[kProtectionByte];
  const int entries = std::min<int>(p[kCountByte], kMaxEntries);
  for (int i = 0; i < entries; ++i) {
    const uint8_t* e = p + kFirstEntry + kEntrySize * i;
    const uint8_t code = e[0];
    const uint32_t rawStart = TDisk::Be32(e + 2);
    // An entry without a page fills nothing, nor does one whose page lies
    // beyond the page numbers (a damaged entry).
    if (rawStart == 0 || rawStart > INT32_MAX) continue;
    const auto start = static_cast<int32_t>(rawStart);
    const int32_t end = LastPage(start, TDisk::Be32(e + 6));
    const std::array<uint8_t, 3> options{e[11], e[12], e[13]};

    // A code listed twice keeps its first entry.
    if (IndexKindRow* row = RowWithCode(disk.subbook().indexes, code); row && row->start == 0) {
      row->start = start;
      row->end = end;
      row->options = options;
      ++disk.subbook().indexCount;
    }

    MenuVariants& menus = disk.subbook().menus;
    for (size_t v = 0; v < MenuVariants::kCodes.size(); ++v) {
      if (MenuVariants::kCodes[v] != code || menus.start[v] != 0) continue;
      menus.start[v] = start;
      menus.end[v] = end;
      // The menu row stands for whichever variant comes first.
      IndexKindRow& menu = disk.subbook().indexes.ByCode(kMenuCode);
      if (menu.start == 0) {
        menu.start = start;
        menu.end = end;
        menu.options = options;
        ++disk.subbook().indexCount;
      }
      if (menus.firstPresent < 0) menus.firstPresent = static_cast<int>(v);
      ++menus.count;
      break;
    }
  }

  if (fontFiles) {
    const BodyFileTable& files = disk.BodyFiles();
    size_t font = 0;
    for (int i = 0; i < files.Count() && font < kFontCodes.size(); ++i) {
      const int32_t first = files.Row(i).firstPage;
      if (first < BodyFileTable::kFontFirstPage) continue;
      IndexKindRow& row = disk.subbook().indexes.ByCode(kFontCodes[font++]);
      if (row.start == 0) ++disk.subbook().indexCount;
      row.start = first;
      row.end = LastPage(first, BodyFileTable::kFontFilePages);
    }
  }
  return true;
}

}  // namespace morva
