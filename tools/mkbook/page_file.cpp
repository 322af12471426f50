#include "tools/mkbook/page_file.h"

#include <stdexcept>

#include "tools/mkbook/bytes.h"

namespace morva::mkbook {

void PageFile::Write(BookAddress at, std::string_view bytes) {
  const int64_t pos = at.Position() - BookAddress{firstPage_, 0}.Position();
  if (pos < 0) throw std::out_of_range("address before the first page of the file");
  Put(bytes_, static_cast<size_t>(pos), bytes);
  const size_t pages = (bytes_.size() + kPageSize - 1) / kPageSize;
  bytes_.resize(pages * kPageSize, '\0');
}

int32_t PageFile::AppendPages(std::string_view bytes) {
  const int32_t page = NextFreePage();
  Write({page, 0}, bytes);
  // Even an empty section owns its first page, so the next one starts after it.
  if (bytes.empty()) bytes_.resize(bytes_.size() + kPageSize, '\0');
  return page;
}

void PageFile::Patch(Placeholder placeholder, BookAddress target) {
  const int64_t pos = placeholder.at.Position() - BookAddress{firstPage_, 0}.Position();
  if (pos < 0 || pos + 6 > static_cast<int64_t>(bytes_.size()))
    throw std::out_of_range("placeholder lies outside this file");
  Write(placeholder.at, BcdAddress(target));
}

}  // namespace morva::mkbook
