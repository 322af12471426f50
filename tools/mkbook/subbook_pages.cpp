#include "tools/mkbook/subbook_pages.h"

#include <stdexcept>

namespace morva::mkbook {

SubbookPages::SubbookPages(int32_t indexPage) : indexPage_(indexPage) {
  if (indexPage < 1) throw std::out_of_range("the index page is page 1 or later");
  // Reserve the pages up to and including the index page; Build fills it.
  file_.Write({indexPage, 0}, std::string(kPageSize, '\0'));
}

int32_t SubbookPages::AddSection(uint8_t code, std::string_view bytes,
                                 std::array<uint8_t, 3> options) {
  const int32_t first = file_.AppendPages(bytes);
  const int32_t count = file_.NextFreePage() - first;
  index_.Add({code, static_cast<uint32_t>(first), static_cast<uint32_t>(count), options});
  return first;
}

std::string SubbookPages::Build() const {
  PageFile out = file_;
  out.Write({indexPage_, 0}, index_.Build());
  return out.Bytes();
}

}  // namespace morva::mkbook
