#include "tools/mkbook/index_page.h"

#include <stdexcept>

#include "engine/book/book_address.h"
#include "tools/mkbook/bytes.h"

namespace morva::mkbook {

void IndexPage::Add(const IndexEntry& entry) {
  if (static_cast<int>(entries_.size()) >= kMaxEntries)
    throw std::length_error("an index page holds at most 127 entries");
  entries_.push_back(entry);
}

std::string IndexPage::Build() const {
  std::string page(kPageSize, '\0');
  page[1] = static_cast<char>(declaredCount_.value_or(static_cast<uint8_t>(entries_.size())));
  page[3] = static_cast<char>(protection_);
  size_t pos = kEntryOffset;
  for (const IndexEntry& e : entries_) {
    page[pos] = static_cast<char>(e.code);
    Put(page, pos + 2, Be32(e.startPage));
    Put(page, pos + 6, Be32(e.pageCount));
    for (size_t k = 0; k < e.options.size(); ++k)
      page[pos + 11 + k] = static_cast<char>(e.options[k]);
    pos += kEntrySize;
  }
  return page;
}

}  // namespace morva::mkbook
