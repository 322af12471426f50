// TDisk's catalog and sub-books: opening a volume, reading its catalog,
// selecting a sub-book of the book list and closing it.
#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "engine/book/file_lookup.h"
#include "engine/book/subbook_setup.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/decode/decoder.h"
#include "engine/decode/gaiji.h"
#include "engine/text/unicode.h"

namespace morva {
namespace {

constexpr CatalogLayout kCatalogsLayout{"catalogs", 164, 80, 98, "/data/honmon"};
constexpr CatalogLayout kCatalogLayout{"catalog", 40, 30, 48, "/start"};

// Each byte of a JIS X 0208 character lies in this range.
constexpr int kFirstJisByte = 0x21;
constexpr int kLastJisByte = 0x7E;
// External characters of a JIS book: first byte 0xA1-0xFE.
constexpr int kFirstGaijiByte = 0xA1;
constexpr int kLastGaijiByte = 0xFE;

// The title of a volume without catalog for which no title is known.
constexpr const char* kNotMounted = "not mounted";

// The two titles known by a directory of a volume without catalog.
const std::string& SekaiTitle() {
  static const std::string title = Sjis("平凡社「世界大百科事典」");
  return title;
}
const std::string& RuigoTitle() {
  static const std::string title = Sjis("角川類語新辞典");
  return title;
}

bool IsDirectory(const std::string& path) {
  auto found = FindPathNoCase(path);
  struct stat st;
  return found && ::stat(found->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsJisByte(int b) { return b >= kFirstJisByte && b <= kLastJisByte; }

// Whether a title field reads as 2-byte text: every pair up to a 0 value is a
// JIS X 0208 character or an external character. External characters say
// nothing either way; a single-byte title shows itself by a pair with a byte
// outside the JIS range (a space, a 0 after an odd length, a control code).
bool TitleIsJis(TDisk& disk, int pairs) {
  for (int j = 0; j < pairs; ++j) {
    const int high = disk.ReadByte();
    const int low = disk.ReadByte();
    if (high == 0 && low == 0) break;
    if (high >= kFirstGaijiByte && high <= kLastGaijiByte) continue;
    if (!IsJisByte(high) || !IsJisByte(low)) return false;
  }
  return true;
}

// Kinds 0 and 1: the sub-book count and the single-byte check over all
// records. The count is limited to the records the catalog file holds, so a
// damaged count never makes anyone read past the catalog.
void ReadCatalogHeader(TDisk& disk, const CatalogLayout& layout) {
  const int64_t size = TDisk::FileSize(disk.VolumeRoot() + layout.catalogFile);
  int declared = 0;
  if (size >= 2 && disk.ReadPage(1) == 0) declared = TDisk::Be16(disk.PageBuffer());
  const int64_t held = size > CatalogLayout::kHeaderSize ? (size - CatalogLayout::kHeaderSize) / layout.recordSize : 0;
  disk.subbookCount = static_cast<int>(std::min<int64_t>(declared, held));

  for (int i = 0; i < disk.subbookCount && !disk.singleByteBook; ++i) {
    if (disk.SeekAbsolute(layout.TitleOffset(i)) != 0) break;
    disk.singleByteBook = !TitleIsJis(disk, layout.titleLength / 2);
  }
}

// Opens the volume at disk.VolumeRoot(): sets the kind, the sub-book count
// and the single-byte flag. disk.title is the title the book list gives (it
// makes a volume without catalog openable) and becomes the known title of a
// sekai/ or ruigo.dat/ volume. A catalog is left open in single-file mode.
void OpenVolumeFiles(TDisk& disk) {
  disk.CloseBookFile();
  disk.SetMultiFile(false);
  disk.subbookCount = 0;
  disk.singleByteBook = false;
  disk.volumeKind = -1;

  std::string root = ToSlashes(disk.VolumeRoot());
  if (!TDisk::DriveReady(root)) return;
  if (root.back() != '/') root += '/';
  disk.SetVolumeRoot(root);

  if (disk.OpenBookFile(kCatalogsLayout.catalogFile, false, false)) {
    disk.volumeKind = 0;
  } else if (disk.OpenBookFile(kCatalogLayout.catalogFile, false, false)) {
    disk.volumeKind = 1;
  } else if (!disk.title.empty()) {
    disk.volumeKind = 2;
  } else if (IsDirectory(root + "sekai")) {
    disk.title = SekaiTitle();
    disk.volumeKind = 2;
  } else if (IsDirectory(root + "ruigo.dat")) {
    disk.title = RuigoTitle();
    disk.volumeKind = 2;
  } else {
    return;
  }

  if (const CatalogLayout* layout = LayoutOfKind(disk.volumeKind)) {
    ReadCatalogHeader(disk, *layout);
  } else {
    disk.subbookCount = 1;
  }
}

// The input method for the search box: the information file's IME= value, or
// (when the IME setting is on) open exactly when some present index is
// searched with kana input.
int DeriveImeMode(const TDisk& disk) {
  if (disk.info.ime != -1) return disk.info.ime;
  if (!disk.settings().ime) return -1;
  for (int r = 0; r < IndexKindTable::kRows; ++r) {
    const IndexKindRow& row = disk.indexes.Row(r);
    if (row.start != 0 && (row.inputClass & kKanaInput) != 0) return 1;
  }
  return 0;
}

// Opens the sub-book disk.catalogRecord of the open volume. A record beyond
// the catalog's count leaves the volume not opened.
void OpenSubbook(TDisk& disk) {
  if (LayoutOfKind(disk.volumeKind)) {
    if (disk.catalogRecord < 0 || disk.catalogRecord >= disk.subbookCount) {
      disk.CloseBookFile();
      disk.volumeKind = -1;
      return;
    }
    disk.title = disk.ReadSubbookTitle(disk.catalogRecord);
  } else if (disk.title.empty()) {
    disk.title = kNotMounted;
  }
  disk.specialTitle = disk.title == SekaiTitle();
  disk.headwordStart = 0x41;
  disk.headwordEnd = 0x61;

  const SubbookFiles files = LocateBodyFiles(disk);
  if (!files.refusedBodyPath.empty()) {
    disk.ReportCannotOpen(files.refusedBodyPath);
    disk.CloseBookFile();
    disk.volumeKind = -1;
    return;
  }
  disk.ReadBookInfo();
  disk.BodyFiles().Sort();
  disk.CloseBookFile();
  disk.SetMultiFile(true);

  ReadIndexPage(disk, files.indexPage, true);
  // A body file that cannot be opened has been reported; the volume is then
  // marked not opened and nothing more is read.
  if (disk.volumeKind < 0) return;
  for (uint8_t code : files.missingSplitCodes) {
    IndexKindRow& row = disk.indexes.ByCode(code);
    if (row.code != code || row.start == 0) continue;
    row.start = row.end = 0;
    row.options = {};
    --disk.indexCount;
    if (code == 0x01) disk.menus.Clear();
  }

  disk.gaijiBufferPage = -1;
  BuildGaijiCache(disk);
  disk.imeMode = DeriveImeMode(disk);
}

}  // namespace

const CatalogLayout* LayoutOfKind(int kind) {
  if (kind == 0) return &kCatalogsLayout;
  if (kind == 1) return &kCatalogLayout;
  return nullptr;
}

bool TDisk::SelectSubbook(int row) {
  if (row >= 0 && row == currentSubbook_) return true;
  contentStart = {};
  CloseSubbook();
  if (!bookList_ || row < 0 || row >= static_cast<int>(bookList_->size())) {
    volumeKind = -1;
    return false;
  }
  {
    const BookBarEntry& entry = (*bookList_)[static_cast<size_t>(row)];
    SetVolumeRoot(entry.location);
    catalogRecord = entry.subbook;
    title = entry.userTitle;
  }

  OpenVolumeFiles(*this);
  if (volumeKind >= 0) OpenSubbook(*this);
  // Reading the sub-book's pages may still find its body file missing.
  if (volumeKind < 0) {
    CloseSubbook();
    return false;
  }
  currentSubbook_ = row;
  (*bookList_)[static_cast<size_t>(row)].fontFlag = singleByteBook ? 0 : 1;
  if (settings_.unicodeMaps) TakeUnicodeMap();
  return true;
}

void TDisk::CloseSubbook() {
  CloseBookFile();
  SetMultiFile(false);
  title.clear();
  specialTitle = false;
  currentSubbook_ = -1;
  if (settings_.unicodeMaps) unicodeMap = nullptr;
  // The cache file stays; only the bitmap page in memory is forgotten.
  gaijiBufferPage = -1;
}

void TDisk::TakeUnicodeMap() {
  std::string warning;
  unicodeMap = unicodeMaps.OfSubbook(VolumeRoot(), subbookDirectory, conversion, &warning);
  if (warning.empty()) return;
  const std::string text = (settings_.english ? "Unicode map: " : "外字ﾏｯﾌﾟ：") + warning;
  reporter_.Warning(Utf8ToSjis(text));
}

bool TDisk::OpenVolume(const std::string& root, const std::string& userTitle) {
  CloseSubbook();
  SetVolumeRoot(root);
  title = userTitle;
  OpenVolumeFiles(*this);
  CloseBookFile();
  return volumeKind >= 0;
}

std::string TDisk::ReadSubbookTitle(int record) {
  if (volumeKind == 2) return title.empty() ? std::string(kNotMounted) : title;
  const CatalogLayout* layout = LayoutOfKind(volumeKind);
  if (!layout || record < 0 || record >= subbookCount) return {};

  // While a sub-book is being opened its catalog is the open file; otherwise
  // the catalog is opened for the moment and the page space given back.
  const bool catalogOpen = FileOpen() && !MultiFile();
  const bool multiFile = MultiFile();
  if (!catalogOpen) {
    CloseBookFile();
    SetMultiFile(false);
    if (!OpenBookFile(layout->catalogFile, false, false)) {
      SetMultiFile(multiFile);
      return {};
    }
  }
  std::string text;
  if (SeekAbsolute(layout->TitleOffset(record)) == 0)
    text = DecodeText(*this, static_cast<size_t>(layout->titleLength) + 1, -1, false);
  if (!catalogOpen) {
    CloseBookFile();
    SetMultiFile(multiFile);
  }
  return text;
}

}  // namespace morva
