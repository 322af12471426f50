// TDisk's catalog and sub-books: opening a volume, reading its catalog and
// closing a sub-book. Selecting one is in engine/decode/subbook_open.cpp.
#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "engine/book/file_lookup.h"
#include "engine/book/subbook_setup.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
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

// The second title known by a directory of a volume without catalog.
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
  const int64_t held = size > CatalogLayout::kHeaderSize
                           ? (size - CatalogLayout::kHeaderSize) / layout.recordSize
                           : 0;
  disk.subbook().subbookCount = static_cast<int>(std::min<int64_t>(declared, held));

  for (int i = 0; i < disk.subbook().subbookCount && !disk.SingleByteBook(); ++i) {
    if (disk.SeekAbsolute(layout.TitleOffset(i)) != 0) break;
    disk.decoderState().singleByteBook = !TitleIsJis(disk, layout.titleLength / 2);
  }
}

}  // namespace

const std::string& SekaiTitle() {
  static const std::string title = Sjis("平凡社「世界大百科事典」");
  return title;
}

void OpenVolumeFiles(TDisk& disk) {
  disk.CloseBookFile();
  disk.SetMultiFile(false);
  disk.subbook().subbookCount = 0;
  disk.decoderState().singleByteBook = false;
  disk.subbook().volumeKind = -1;

  std::string root = ToSlashes(disk.VolumeRoot());
  if (!TDisk::DriveReady(root)) return;
  if (root.back() != '/') root += '/';
  disk.SetVolumeRoot(root);

  if (disk.OpenBookFile(kCatalogsLayout.catalogFile, false, false)) {
    disk.subbook().volumeKind = 0;
  } else if (disk.OpenBookFile(kCatalogLayout.catalogFile, false, false)) {
    disk.subbook().volumeKind = 1;
  } else if (!disk.subbook().title.empty()) {
    disk.subbook().volumeKind = 2;
  } else if (IsDirectory(root + "sekai")) {
    disk.subbook().title = SekaiTitle();
    disk.subbook().volumeKind = 2;
  } else if (IsDirectory(root + "ruigo.dat")) {
    disk.subbook().title = RuigoTitle();
    disk.subbook().volumeKind = 2;
  } else {
    return;
  }

  if (const CatalogLayout* layout = LayoutOfKind(disk.subbook().volumeKind)) {
    ReadCatalogHeader(disk, *layout);
  } else {
    disk.subbook().subbookCount = 1;
  }
}

const CatalogLayout* LayoutOfKind(int kind) {
  if (kind == 0) return &kCatalogsLayout;
  if (kind == 1) return &kCatalogLayout;
  return nullptr;
}

void TDisk::CloseSubbook() {
  CloseBookFile();
  SetMultiFile(false);
  subbook_.title.clear();
  subbook_.specialTitle = false;
  currentSubbook_ = -1;
  if (settings_.unicodeMaps) decoder_.unicodeMap = nullptr;
  // The cache file stays; only the bitmap page in memory is forgotten.
  gaiji_.bufferPage = -1;
}

void TDisk::TakeUnicodeMap() {
  std::string warning;
  decoder_.unicodeMap = unicodeMaps_.OfSubbook(VolumeRoot(), subbook_.subbookDirectory,
                                               decoder_.conversion, &warning);
  if (warning.empty()) return;
  const std::string text = (settings_.english ? "Unicode map: " : "外字ﾏｯﾌﾟ：") + warning;
  reporter_.Warning(Utf8ToSjis(text));
}

bool TDisk::OpenVolume(const std::string& root, const std::string& userTitle) {
  CloseSubbook();
  SetVolumeRoot(root);
  subbook_.title = userTitle;
  OpenVolumeFiles(*this);
  CloseBookFile();
  return subbook_.volumeKind >= 0;
}

}  // namespace morva
