// Selecting a sub-book of the book list: opening its volume, decoding its
// catalog title, locating its files, reading its information file and index
// page, and copying its external-character fonts into the cache. These are
// TDisk operations kept in the decode library because the title goes through
// the text decoder.
#include <string>

#include "engine/book/subbook_setup.h"
#include "engine/book/tdisk.h"
#include "engine/decode/decoder.h"
#include "engine/decode/gaiji.h"

namespace morva {
namespace {

// The input method for the search box: the information file's IME= value, or
// (when the IME setting is on) open exactly when some present index is
// searched with kana input.
int DeriveImeMode(const TDisk& disk) {
  if (disk.info().ime != -1) return disk.info().ime;
  if (!disk.settings().ime) return -1;
  for (int r = 0; r < IndexKindTable::kRows; ++r) {
    const IndexKindRow& row = disk.subbook().indexes.Row(r);
    if (row.start != 0 && (row.inputClass & kKanaInput) != 0) return 1;
  }
  return 0;
}

// Opens the sub-book disk.subbook().catalogRecord of the open volume. A record beyond
// the catalog's count leaves the volume not opened.
void OpenSubbook(TDisk& disk) {
  if (LayoutOfKind(disk.subbook().volumeKind)) {
    if (disk.subbook().catalogRecord < 0 ||
        disk.subbook().catalogRecord >= disk.subbook().subbookCount) {
      disk.CloseBookFile();
      disk.subbook().volumeKind = -1;
      return;
    }
    disk.subbook().title = disk.ReadSubbookTitle(disk.subbook().catalogRecord);
  } else if (disk.subbook().title.empty()) {
    disk.subbook().title = kNotMounted;
  }
  disk.subbook().specialTitle = disk.subbook().title == SekaiTitle();
  disk.decoderState().headwordStart = 0x41;
  disk.decoderState().headwordEnd = 0x61;

  const SubbookFiles files = LocateBodyFiles(disk);
  if (!files.refusedBodyPath.empty()) {
    disk.ReportCannotOpen(files.refusedBodyPath);
    disk.CloseBookFile();
    disk.subbook().volumeKind = -1;
    return;
  }
  disk.ReadBookInfo();
  disk.BodyFiles().Sort();
  disk.CloseBookFile();
  disk.SetMultiFile(true);

  ReadIndexPage(disk, files.indexPage, true);
  // A body file that cannot be opened has been reported; the volume is then
  // marked not opened and nothing more is read.
  if (disk.subbook().volumeKind < 0) return;
  for (uint8_t code : files.missingSplitCodes) {
    IndexKindRow& row = disk.subbook().indexes.ByCode(code);
    if (row.code != code || row.start == 0) continue;
    row.start = row.end = 0;
    row.options = {};
    --disk.subbook().indexCount;
    if (code == 0x01) disk.subbook().menus.Clear();
  }

  disk.gaijiCache().bufferPage = -1;
  BuildGaijiCache(disk);
  disk.subbook().imeMode = DeriveImeMode(disk);
}

}  // namespace

bool TDisk::SelectSubbook(int row) {
  if (row >= 0 && row == currentSubbook_) return true;
  decoder_.contentStart = {};
  CloseSubbook();
  if (!bookList_ || row < 0 || row >= static_cast<int>(bookList_->size())) {
    subbook_.volumeKind = -1;
    return false;
  }
  {
    const BookBarEntry& entry = (*bookList_)[static_cast<size_t>(row)];
    SetVolumeRoot(entry.location);
    subbook_.catalogRecord = entry.subbook;
    subbook_.title = entry.userTitle;
  }

  OpenVolumeFiles(*this);
  if (subbook_.volumeKind >= 0) OpenSubbook(*this);
  // Reading the sub-book's pages may still find its body file missing.
  if (subbook_.volumeKind < 0) {
    CloseSubbook();
    return false;
  }
  currentSubbook_ = row;
  (*bookList_)[static_cast<size_t>(row)].fontFlag = decoder_.singleByteBook ? 0 : 1;
  if (settings_.unicodeMaps) TakeUnicodeMap();
  return true;
}

std::string TDisk::ReadSubbookTitle(int record) {
  if (subbook_.volumeKind == 2)
    return subbook_.title.empty() ? std::string(kNotMounted) : subbook_.title;
  const CatalogLayout* layout = LayoutOfKind(subbook_.volumeKind);
  if (!layout || record < 0 || record >= subbook_.subbookCount) return {};

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
