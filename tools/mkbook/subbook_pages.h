// SubbookPages: assembles the body file of one sub-book. The index page sits
// on its own page (page 1 unless the catalog names another); every section
// (body text, copyright page, later indexes and menus) starts on a new page
// after it and is listed on the index page under its code.
//
//   SubbookPages pages;
//   BodyText body({pages.NextFreePage(), 0});
//   ... body.Indent(1).Headword("あ") ...
//   pages.AddSection(index_code::kBody, body.Bytes());
//   std::string honmon = pages.Build();
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/mkbook/index_page.h"
#include "tools/mkbook/page_file.h"

namespace morva::mkbook {

class SubbookPages {
 public:
  explicit SubbookPages(int32_t indexPage = 1);

  int32_t IndexPageNumber() const { return indexPage_; }
  int32_t NextFreePage() const { return file_.NextFreePage(); }

  // Places the bytes on new pages and adds an index entry with their first
  // page and page count; returns the first page.
  int32_t AddSection(uint8_t code, std::string_view bytes, std::array<uint8_t, 3> options = {});

  // For entries that point elsewhere (fonts, bogus ranges), protection bits
  // and a false count.
  IndexPage& index() { return index_; }
  // For patching placeholders of text already placed.
  PageFile& file() { return file_; }

  // The whole body file, index page included.
  std::string Build() const;

 private:
  int32_t indexPage_;
  IndexPage index_;
  PageFile file_;
};

}  // namespace morva::mkbook
