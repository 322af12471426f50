// TDisk: the one book-access object of the program.
//
// Its state comes in parts, each a type of its own in engine/book:
//   PageAccess          the open book file, the shared 2048-byte page buffer,
//                       the byte reader's position and the BodyFileTable
//                       (page_access.h; private, changed by the page operations)
//   SubbookDescription  the volume root and kind, and the current sub-book's
//                       catalog and index-page fields (subbook())
//   BookInfo            the per-book information file's settings (info())
//   DecoderState        what the text decoder carries between units (decoderState())
//   GaijiCacheState     the external-character bitmap cache (gaijiCache())
// plus the two temporary files of a run (the marked-text file and the
// external-character cache), which it creates when it is made and removes when
// it is destroyed.
//
// TDisk lives in the book library. Selecting a sub-book decodes its catalog
// title and builds the external-character cache, so SelectSubbook and
// ReadSubbookTitle are defined in the decode library
// (engine/decode/subbook_open.cpp); nothing in the book library calls them.
//
// Every byte the program reads from a book passes through ReadPage and
// ReadByte. Readers share the one position: a reader that seeks elsewhere
// invalidates every other reader's position, so callers seek before every run.
// Page formats are described in docs/formats.md.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "engine/book/book_address.h"
#include "engine/book/book_info.h"
#include "engine/book/book_list.h"
#include "engine/book/decoder_state.h"
#include "engine/book/engine_settings.h"
#include "engine/book/gaiji_cache_state.h"
#include "engine/book/gaiji_map_store.h"
#include "engine/book/page_access.h"
#include "engine/book/report.h"
#include "engine/book/subbook_description.h"
#include "engine/book/temp_file.h"

namespace morva {

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
  bool FileOpen() const { return pages_.file != nullptr; }
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
    if (pages_.pushedBack != 0) {
      int b = pages_.pushedBack;
      pages_.pushedBack = 0;
      return b;
    }
    if (pages_.offset < pages_.dataInPage)
      return pages_.buffer[static_cast<size_t>(pages_.offset++)];
    if (pages_.readFailed) return 0;
    return ReadByteFromNextPage();
  }
  // The next ReadByte returns b again (0 means none).
  void PushBack(uint8_t b) { pages_.pushedBack = b; }
  // Bulk reading for scanners that take runs of bytes at once: the unread
  // bytes of the current page (empty while a byte is pushed back or once the
  // page is used up; ReadByte then moves on), and moving the reader past n of
  // them. The span stays valid until the next page is read.
  std::span<const uint8_t> UnreadInPage() const {
    if (pages_.pushedBack != 0 || pages_.offset >= pages_.dataInPage) return {};
    return {pages_.buffer.data() + pages_.offset,
            static_cast<size_t>(pages_.dataInPage - pages_.offset)};
  }
  // REQUIRES: n <= UnreadInPage().size().
  void ConsumeInPage(int n) { pages_.offset += n; }
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
    if (pages_.pushedBack == 0 && pages_.offset < kPageSize)
      return {pages_.streamPage, pages_.offset};
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

  const uint8_t* PageBuffer() const { return pages_.buffer.data(); }
  int32_t CurrentPage() const { return pages_.currentPage; }

  // The volume root, always ending in "/" once a volume is opened.
  const std::string& VolumeRoot() const { return subbook_.volumeRoot; }
  void SetVolumeRoot(std::string root) { subbook_.volumeRoot = std::move(root); }

  BodyFileTable& BodyFiles() { return pages_.bodyFiles; }
  const BodyFileTable& BodyFiles() const { return pages_.bodyFiles; }
  // Multi-file mode: the page space is served by BodyFileTable; otherwise the
  // one open file is the whole page space (while a catalog is read).
  void SetMultiFile(bool on) { pages_.multiFile = on; }
  bool MultiFile() const { return pages_.multiFile; }

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

  // The volume and the current sub-book: kind, catalog record, title,
  // index table, menus and protection.
  SubbookDescription& subbook() { return subbook_; }
  const SubbookDescription& subbook() const { return subbook_; }

  // ---- Per-book information -------------------------------------------------

  BookInfo& info() { return info_; }
  const BookInfo& info() const { return info_; }
  // Applies the defaults, then the statements of the current title's section
  // of the information file (settings().dicInfoPath).
  void ReadBookInfo();

  // ---- Decoder state --------------------------------------------------------

  DecoderState& decoderState() { return decoder_; }
  const DecoderState& decoderState() const { return decoder_; }
  // The open volume's titles are single-byte text (an English book): it is
  // decoded and searched as such.
  bool SingleByteBook() const { return decoder_.singleByteBook; }

  // ---- External-character bitmap cache --------------------------------------

  GaijiCacheState& gaijiCache() { return gaiji_; }
  const GaijiCacheState& gaijiCache() const { return gaiji_; }

  // ---- Temporary files --------------------------------------------------------

  // The two temporary files of the run.
  const std::string& MarkedTextPath() const { return markedText_.Path(); }
  const std::string& GaijiCachePath() const { return gaijiCacheFile_.Path(); }

 private:
  // Sets unicodeMap to the selected sub-book's map; a bad map gives one warning.
  void TakeUnicodeMap();
  int ReadByteFromNextPage();
  BookAddress TellNormalised() const;
  // Chooses and opens the file of a page in multi-file mode; sets the local page.
  bool SelectFileForPage(int32_t page);
  // Hand a failed read to the reporter with the file that holds the page.
  void ReportOpenFailure(const std::string& path, int32_t page);
  void ReportReadFailure(ReadFailure::Kind kind, BookAddress at);

  Reporter& reporter_;
  EngineSettings settings_;

  PageAccess pages_;
  SubbookDescription subbook_;
  BookInfo info_;
  DecoderState decoder_;
  GaijiCacheState gaiji_;
  // The Unicode maps read so far; with settings().unicodeMaps, selecting a
  // sub-book takes its map from here.
  GaijiMapStore unicodeMaps_;
  BookBar* bookList_ = nullptr;
  int currentSubbook_ = -1;

  TempFile markedText_;
  TempFile gaijiCacheFile_;
};

}  // namespace morva
