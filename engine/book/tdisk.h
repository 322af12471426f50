// TDisk: the one book-access object of the program.
//
// It owns the open book file, the shared 2048-byte page buffer and the
// position of the byte reader, the table of files that together form the
// current sub-book's page space (BodyFileTable), and the two temporary files
// of a run (the marked-text file and the external-character cache), which it
// creates when it is made and removes when it is destroyed.
//
// Every byte the program reads from a book passes through ReadPage and
// ReadByte. Readers share the one position: a reader that seeks elsewhere
// invalidates every other reader's position, so callers seek before every run.
// Page formats are described in docs/formats.md.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_address.h"
#include "engine/book/book_info.h"
#include "engine/book/book_list.h"
#include "engine/book/engine_settings.h"
#include "engine/book/index_kind.h"
#include "engine/book/page_source.h"
#include "engine/book/report.h"
#include "engine/book/temp_file.h"
#include "engine/decode/decoder.h"
#include "engine/decode/gaiji.h"
#include "engine/decode/gaiji_map_store.h"

namespace morva {

// The files of a sub-book's page space. Row 0 is the body file; rows 1.. are
// kept sorted by first page. A file holds the pages from its first page up to
// the next row's first page; the last row holds everything from its first page
// on.
struct BodyFileRow {
  std::string path;
  int32_t firstPage = 0;
};

class BodyFileTable {
 public:
  static constexpr int kMaxRows = 30;
  // External-character font files sit high in the page space: the k-th one
  // starts at kFontFirstPage + 100 * k (0x7FFFFF37, 0x7FFFFF9B).
  static constexpr int32_t kFontFirstPage = 2147483447;
  static constexpr int32_t kFontFilePages = 100;

  int Count() const { return static_cast<int>(rows_.size()); }
  bool Full() const { return Count() >= kMaxRows; }
  const BodyFileRow& Row(int i) const { return rows_[static_cast<size_t>(i)]; }
  BodyFileRow& Row(int i) { return rows_[static_cast<size_t>(i)]; }
  // Appends a row; false when the table is full.
  bool Add(std::string path, int32_t firstPage);
  void Clear() { rows_.clear(); }
  // The row that holds the page: the first row whose range contains it, else
  // the last row; 0 for an empty table.
  int RowOfPage(int32_t page) const;
  // Rows 1.. sorted by first page; rows whose first page equals that of the
  // row before them are dropped.
  void Sort();

 private:
  std::vector<BodyFileRow> rows_;
};

class TDisk {
 public:
  // Creates the two temporary files (marked text, external-character cache).
  TDisk(Reporter& reporter, EngineSettings settings = {});
  ~TDisk();
  TDisk(const TDisk&) = delete;
  TDisk& operator=(const TDisk&) = delete;

  Reporter& reporter() const { return reporter_; }
  const EngineSettings& settings() const { return settings_; }
  EngineSettings& settings() { return settings_; }

  // ---- Page access ---------------------------------------------------------

  // Opens a book file: the name alone when absolute, else under the volume
  // root. Only when no file is open. On failure with report set, shows the
  // retry-or-abort box "ﾌｧｲﾙ：%s を開けない．" with the full path. Always resets
  // the external-character replacement cursor. Returns whether a file is open.
  bool OpenBookFile(std::string_view name, bool absolute, bool report);
  void CloseBookFile();
  bool FileOpen() const { return file_ != nullptr; }
  // The retry-or-abort box "ﾌｧｲﾙ：%s を開けない．" for path.
  void ReportCannotOpen(const std::string& path);

  // Reads a page of the page space into the page buffer; 0 or -1. A page that
  // is already current costs nothing.
  int ReadPage(int32_t page);
  // ReadPage, then the reader is at offset; resets the full-width flag, the
  // decoder's pending character and the pushed-back byte.
  int Seek(int32_t page, int32_t offset);
  int Seek(BookAddress a) { return Seek(a.page, a.offset); }
  int SeekAbsolute(int64_t position);

  // Next byte of the stream, crossing pages and files by itself. 0 doubles as
  // the end of data: a failed read of the next page, or the end of a file
  // inside its last page, shows the warning "辞書ﾌｧｲﾙの入力ｴﾗｰが発生しました."
  // and returns 0.
  int ReadByte() {
    if (pushedBack_ != 0) {
      int b = pushedBack_;
      pushedBack_ = 0;
      return b;
    }
    if (offset_ < dataInPage_) return page_[static_cast<size_t>(offset_++)];
    if (readFailed_) return 0;
    return ReadByteFromNextPage();
  }
  // The next ReadByte returns b again (0 means none).
  void PushBack(uint8_t b) { pushedBack_ = b; }
  // Bulk reading for scanners that take runs of bytes at once: the unread
  // bytes of the current page (empty while a byte is pushed back or once the
  // page is used up; ReadByte then moves on), and moving the reader past n of
  // them. The span stays valid until the next page is read.
  std::span<const uint8_t> UnreadInPage() const {
    if (pushedBack_ != 0 || offset_ >= dataInPage_) return {};
    return {page_.data() + offset_, static_cast<size_t>(dataInPage_ - offset_)};
  }
  // REQUIRES: n <= UnreadInPage().size().
  void ConsumeInPage(int n) { offset_ += n; }
  void Skip(int n);
  // Reads up to n bytes, stopping before a 0 byte; stores them and a
  // terminating 0 into dst (room for n + 1 bytes); returns the count stored.
  int ReadBytes(char* dst, int n);
  // n bytes of packed decimal, two digits a byte, high nibble first.
  int32_t ReadBcd(int n);

  static uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }
  static uint32_t Be32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
  }

  // Position of the next byte to be read (a pushed-back byte counts).
  BookAddress Tell() const {
    if (pushedBack_ == 0 && offset_ < kPageSize) return {streamPage_, offset_};
    return TellNormalised();
  }
  // Where a just-read 4-byte escape sequence began.
  BookAddress TellMinusFour() const;
  // Negative, zero or positive: by page, then by the difference of offsets.
  static int CompareAddresses(BookAddress a, BookAddress b);

  // Size of a file in bytes, 0 when it cannot be opened.
  static int64_t FileSize(const std::string& path);
  // A root that begins with "\" (a network path) is ready; any other is ready
  // when it can be listed.
  static bool DriveReady(const std::string& root);
  // Looks for the regular file name (without regard to case) in directory,
  // then depth first in every subdirectory whose name does not begin with ".",
  // entering no directory twice; the full path of the first match. skipFile,
  // when given, is passed over wherever it is met, and the search goes on.
  static bool FindFileUnderDirectory(const std::string& directory, std::string_view name,
                                     std::string* result, const std::string& skipFile = {});

  const uint8_t* PageBuffer() const { return page_.data(); }
  int32_t CurrentPage() const { return currentPage_; }

  // The volume root, always ending in "/" once a volume is opened.
  const std::string& VolumeRoot() const { return volumeRoot_; }
  void SetVolumeRoot(std::string root) { volumeRoot_ = std::move(root); }

  BodyFileTable& BodyFiles() { return bodyFiles_; }
  const BodyFileTable& BodyFiles() const { return bodyFiles_; }
  // Multi-file mode: the page space is served by BodyFileTable; otherwise the
  // one open file is the whole page space (while a catalog is read).
  void SetMultiFile(bool on) { multiFile_ = on; }
  bool MultiFile() const { return multiFile_; }
  // Volume kind: 0 catalogs layout, 1 catalog layout, 2 without catalog,
  // -1 not opened. ReadPage sets -1 when there is no file to read from.
  int volumeKind = -1;

  // Decoder state that a seek resets (the text decoder owns its meaning).
  bool fullWidth = true;
  uint8_t pendingChar = 0;
  // Read by Seek: a single-byte book starts every run in half-width mode.
  bool singleByteBook = false;
  // The conversion replacement cursor, reset on every opening of a book file.
  int replacementCursor = -1;

  // ---- Catalog and sub-books ----------------------------------------------

  // The book list that rows refer to (owned by the caller, usually the main
  // window's book bar). Selecting a row writes the row's font flag.
  void SetBookList(BookBar* list) { bookList_ = list; }
  BookBar* BookList() const { return bookList_; }

  // Opens the volume and sub-book of a book-list row: the entry point every
  // search, content and menu request calls first. Selecting the current row
  // again does nothing. Returns whether the row is now the current sub-book.
  bool SelectSubbook(int row);
  // Closes the open file and the sub-book; the current sub-book becomes -1.
  void CloseSubbook();
  // Opens the volume at root (a directory) for listing: reads its catalog
  // and leaves the volume kind, sub-book count and single-byte flag set.
  // userTitle stands for a volume without catalog. Closes the catalog after.
  bool OpenVolume(const std::string& root, const std::string& userTitle);
  // Title of catalog record n of the open volume, Shift-JIS.
  std::string ReadSubbookTitle(int record);

  int CurrentSubbook() const { return currentSubbook_; }
  // Forgets which row is current without closing anything, so that the next
  // SelectSubbook of the same row reopens it (after the information file
  // changed, for instance).
  void ForgetCurrentSubbook() { currentSubbook_ = -1; }

  int subbookCount = 0;
  int catalogRecord = 0;           // record number of the current sub-book
  std::string title;               // current title, Shift-JIS
  bool specialTitle = false;       // title is 平凡社「世界大百科事典」
  int protection = 0;              // bit 0 display, 1 print, 2 quotation: set = forbidden
  std::string subbookDirectory;    // volume root + directory name, no trailing "/"
  bool splitLayout = false;
  IndexKindTable indexes;
  MenuVariants menus;
  int indexCount = 0;
  int currentIndexRow = 0;         // the index searched for the current operand
  int32_t indexPage = 1;          // the page the index table was read from
  // Input method for the search box: 1 open, 0 closed, -1 no preference.
  int imeMode = -1;

  // ---- Per-book information -------------------------------------------------

  BookInfo info;
  // Applies the defaults, then the statements of the current title's section
  // of the information file (settings().dicInfoPath).
  void ReadBookInfo();

  // ---- Decoder state --------------------------------------------------------

  bool pictureFlag = false;        // inside a picture (set by picture escapes)
  bool refParamFlag = false;       // deliver reference parameters (image window)
  GaijiMode gaijiMode = GaijiMode::kBitmap;
  uint8_t headwordStart = 0x41;    // 0x16 after the decoder meets escape 0x16
  uint8_t headwordEnd = 0x61;      // 0x17 likewise
  TGaiji conversion;               // external-character conversion table
  // Codes this Unicode map has keep their marker in GaijiMode::kText, so that
  // plain text can show them as their characters; nullptr for none.
  const GaijiMap* unicodeMap = nullptr;
  // The maps read so far; with settings().unicodeMaps, selecting a sub-book
  // sets unicodeMap from here.
  GaijiMapStore unicodeMaps;

  // ---- External-character bitmap cache --------------------------------------

  std::array<GaijiFontSlot, 2> fontSlots{};   // [0] half width, [1] full width
  int32_t gaijiBufferPage = -1;               // cache page in gaijiPage, -1 none
  std::array<uint8_t, kPageSize> gaijiPage{};

  // ---- Content ----------------------------------------------------------------

  // Start of the last item formatted (page 0: none); cleared on selection.
  BookAddress contentStart{};

  // The two temporary files of the run.
  const std::string& MarkedTextPath() const { return markedText_.Path(); }
  const std::string& GaijiCachePath() const { return gaijiCache_.Path(); }

 private:
  // Sets unicodeMap to the selected sub-book's map; a bad map gives one warning.
  void TakeUnicodeMap();
  int ReadByteFromNextPage();
  BookAddress TellNormalised() const;
  // Chooses and opens the file of a page in multi-file mode; sets localPage_.
  bool SelectFileForPage(int32_t page);
  // Hand a failed read to the reporter with the file that holds the page.
  void ReportOpenFailure(const std::string& path, int32_t page);
  void ReportReadFailure(ReadFailure::Kind kind, BookAddress at);

  Reporter& reporter_;
  EngineSettings settings_;

  std::unique_ptr<PageSource> file_;
  std::string openPath_;
  int openRow_ = -1;
  bool multiFile_ = false;
  // After a failed read inside the byte reader, further reads return 0 without
  // another box until the next seek.
  bool readFailed_ = false;
  int32_t currentPage_ = 0;  // the page held in the buffer, 0 none
  // Bytes of the file's data in the buffer: less than a page at the end of a
  // file, the rest zero-filled.
  int32_t dataInPage_ = kPageSize;
  // The page the byte reader is on: it stays put when reading the next page
  // fails, so Tell still reports the end of what was read.
  int32_t streamPage_ = 0;
  int32_t localPage_ = 0;
  int32_t offset_ = 0;
  uint8_t pushedBack_ = 0;
  std::array<uint8_t, kPageSize> page_{};

  std::string volumeRoot_;
  BodyFileTable bodyFiles_;
  BookBar* bookList_ = nullptr;
  int currentSubbook_ = -1;

  TempFile markedText_;
  TempFile gaijiCache_;
};

}  // namespace morva
