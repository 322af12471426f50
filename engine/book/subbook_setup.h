// The steps of opening a volume and a sub-book that TDisk::SelectSubbook runs:
// the two catalog layouts, locating the files of a sub-book's page space, and
// reading its index page into the IndexKind table. Catalog and index page
// layouts are described in docs/formats.md.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morva {

class TDisk;

// One of the two catalog layouts (volume kinds 0 and 1).
struct CatalogLayout {
  const char* catalogFile;  // at the volume root
  int recordSize;
  int titleLength;       // bytes of the title field, 2 bytes into a record
  int directoryOffset;   // of the 8-byte directory-name field of record 0
  const char* bodyFile;  // under the sub-book directory

  static constexpr int kHeaderSize = 16;  // the count, then the records
  static constexpr int kDirectoryNameLength = 8;

  int64_t RecordOffset(int record) const { return kHeaderSize + int64_t{recordSize} * record; }
  int64_t TitleOffset(int record) const { return RecordOffset(record) + 2; }
  int64_t DirectoryOffset(int record) const {
    return directoryOffset + int64_t{recordSize} * record;
  }
  // Kind 0 only: the 6-byte packed-decimal index page number, and the eight
  // 8-byte font file names (k 0-3 the first group, 4-7 the second).
  int64_t IndexPageOffset(int record) const {
    return DirectoryOffset(record) + kDirectoryNameLength;
  }
  int64_t FontNameOffset(int record, int k) const { return DirectoryOffset(record) + 18 + 8 * k; }
};

// The layout of a volume kind; nullptr for a volume without catalog.
const CatalogLayout* LayoutOfKind(int kind);

// The title of a volume without catalog for which no title is known.
inline constexpr const char* kNotMounted = "not mounted";
// The title known by a sekai/ directory of a volume without catalog.
const std::string& SekaiTitle();

// Opens the volume at disk.VolumeRoot(): sets the kind, the sub-book count
// and the single-byte flag. disk.subbook().title is the title the book list
// gives (it makes a volume without catalog openable) and becomes the known
// title of a sekai/ or ruigo.dat/ volume. A catalog is left open in
// single-file mode.
void OpenVolumeFiles(TDisk& disk);

// What locating the body files found beyond BodyFileTable.
struct SubbookFiles {
  int32_t indexPage = 1;
  // Split layout: index codes whose file was not found; they stay absent
  // whenever the index page is read for this sub-book.
  std::vector<uint8_t> missingSplitCodes;
  // Set when the catalog's directory name is not one plain name: the body
  // file it would give, for the message; the sub-book is not opened.
  std::string refusedBodyPath;
};

// Fills BodyFileTable from the catalog record disk.subbook().catalogRecord (kinds 0
// and 1: body file, font files, split-layout files) or empties it (kind 2).
// REQUIRES: the volume is open, its catalog open in single-file mode (kinds
// 0 and 1); it is open again afterwards.
SubbookFiles LocateBodyFiles(TDisk& disk);

// Reads the index page into disk.subbook().indexes and disk.subbook().menus (both cleared first)
// and sets the protection bits and the number of indexes. With fontFiles,
// the BodyFileTable rows at kFontFirstPage and above fill the rows 0xF1 and
// 0xF2. False when the page cannot be read (the book then has no indexes).
bool ReadIndexPage(TDisk& disk, int32_t page, bool fontFiles);

}  // namespace morva
