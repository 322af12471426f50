// PageFile: the bytes of one book file as a run of 2048-byte pages, zero
// padded. Addresses are those of the sub-book's page space: a file whose
// first page is P holds page P at file position 0 (the body file starts at
// page 1; a separate index file of a split book starts at its index's page).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/book/book_address.h"
#include "tools/mkbook/body_text.h"

namespace morva::mkbook {

class PageFile {
 public:
  explicit PageFile(int32_t firstPage = 1) : firstPage_(firstPage) {}

  int32_t FirstPage() const { return firstPage_; }
  int32_t PageCount() const { return static_cast<int32_t>(bytes_.size() / kPageSize); }
  // The page a section appended now would start on.
  int32_t NextFreePage() const { return firstPage_ + PageCount(); }

  // Writes bytes at an address, growing the file with zero pages as needed.
  // Throws std::out_of_range for an address before the file's first page.
  void Write(BookAddress at, std::string_view bytes);
  // Appends bytes from the start of a new page (at least one page, even for
  // no bytes); returns that page.
  int32_t AppendPages(std::string_view bytes);
  // Fills a placeholder left in text that has been placed in this file.
  void Patch(Placeholder placeholder, BookAddress target);

  // Always a whole number of pages.
  const std::string& Bytes() const { return bytes_; }

 private:
  int32_t firstPage_;
  std::string bytes_;
};

}  // namespace morva::mkbook
