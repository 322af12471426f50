// The catalog file at the root of a volume: the number of sub-books and one
// record per sub-book with its title and directory. Two layouts exist; the
// positions below are derived from their record sizes (docs/formats.md).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morva::mkbook {

enum class CatalogLayout {
  kCatalogs,  // file "catalogs": 164-byte records, body text in <dir>/data/honmon
  kCatalog,   // file "catalog": 40-byte records, body text in <dir>/start
};

// Where the fields of record i lie in the catalog file.
struct CatalogGeometry {
  int recordSize;
  int titleLength;
  int directoryOffset;  // of record 0

  size_t RecordOffset(int i) const { return 16 + static_cast<size_t>(recordSize) * i; }
  size_t TitleOffset(int i) const { return RecordOffset(i) + 2; }
  size_t DirectoryOffset(int i) const {
    return directoryOffset + static_cast<size_t>(recordSize) * i;
  }
  // "catalogs" only: the 6-byte packed-decimal index page number.
  size_t IndexPageOffset(int i) const { return DirectoryOffset(i) + 8; }
  // "catalogs" only: font file name k (0-3 first group, 4-7 second group).
  size_t FontNameOffset(int i, int k) const {
    return DirectoryOffset(i) + 18 + 8 * static_cast<size_t>(k);
  }
};

CatalogGeometry GeometryOf(CatalogLayout layout);

inline constexpr int kDirectoryNameLength = 8;
inline constexpr int kFontNameLength = 8;
inline constexpr int kFontSlots = 8;

struct CatalogRecord {
  // The title as stored: JIS X 0208 codes (JisFromUtf8) or, in a single-byte
  // volume, plain bytes. It is zero padded; a title that fills the whole field
  // has no terminating zero. Readers take a volume as single-byte when a
  // title holds a byte pair that is neither JIS (both bytes 0x21..0x7E) nor
  // an external character (first byte 0xA1..0xFE), so plain ASCII needs a
  // space, a control code or an odd length to be recognised.
  std::string title;
  std::string directory;                          // ASCII, at most 8 characters, space padded
  uint64_t indexPage = 1;                         // "catalogs" only
  std::array<std::string, kFontSlots> fontFiles;  // "catalogs" only; zero padded
};

// The whole catalog file, zero padded to whole pages. declaredCount replaces
// the real number of records (for damaged volumes). Throws std::length_error
// for a field too long for its place.
std::string BuildCatalog(CatalogLayout layout, const std::vector<CatalogRecord>& records,
                         std::optional<uint16_t> declaredCount = std::nullopt);

}  // namespace morva::mkbook
