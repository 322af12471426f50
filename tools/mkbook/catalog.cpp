#include "tools/mkbook/catalog.h"

#include <stdexcept>

#include "engine/book/book_address.h"
#include "tools/mkbook/bytes.h"

namespace morva::mkbook {
namespace {

std::string Padded(const std::string& value, size_t length, char pad, const char* what) {
  if (value.size() > length) throw std::length_error(what);
  return value + std::string(length - value.size(), pad);
}

}  // namespace

CatalogGeometry GeometryOf(CatalogLayout layout) {
  if (layout == CatalogLayout::kCatalogs) return {164, 80, 98};
  return {40, 30, 48};
}

std::string BuildCatalog(CatalogLayout layout, const std::vector<CatalogRecord>& records,
                         std::optional<uint16_t> declaredCount) {
  const CatalogGeometry g = GeometryOf(layout);
  std::string out;
  Put(out, 0, Be16(declaredCount.value_or(static_cast<uint16_t>(records.size()))));
  // Records run to the end of the last one even when its trailing fields are empty.
  Put(out, g.RecordOffset(static_cast<int>(records.size())) - 1, std::string(1, '\0'));
  for (int i = 0; i < static_cast<int>(records.size()); ++i) {
    const CatalogRecord& r = records[static_cast<size_t>(i)];
    Put(out, g.TitleOffset(i),
        Padded(r.title, static_cast<size_t>(g.titleLength), '\0', "title longer than its field"));
    Put(out, g.DirectoryOffset(i),
        Padded(r.directory, kDirectoryNameLength, ' ', "directory name longer than 8 bytes"));
    if (layout != CatalogLayout::kCatalogs) continue;
    Put(out, g.IndexPageOffset(i), Bcd(r.indexPage, 6));
    for (int k = 0; k < kFontSlots; ++k)
      Put(out, g.FontNameOffset(i, k),
          Padded(r.fontFiles[static_cast<size_t>(k)], kFontNameLength, '\0',
                 "font file name longer than 8 bytes"));
  }
  out.resize((out.size() + kPageSize - 1) / kPageSize * kPageSize, '\0');
  return out;
}

}  // namespace morva::mkbook
