// A book list, a TDisk and a temporary volume directory for tests that open
// volumes written by mkbook.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/index_page.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/subbook_pages.h"
#include "tools/mkbook/volume.h"

namespace morva {

// A body file with one entry, its index page on page 1 listing the body
// text and the extra entries.
inline std::string SimpleBody(const std::vector<mkbook::IndexEntry>& extra = {}) {
  mkbook::SubbookPages pages;
  mkbook::BodyText body({pages.NextFreePage(), 0});
  body.Indent(1).Headword("あ").Text("本文").Newline();
  pages.AddSection(mkbook::index_code::kBody, body.Bytes());
  for (const auto& e : extra) pages.index().Add(e);
  return pages.Build();
}

inline mkbook::Subbook SimpleSubbook(const std::string& titleUtf8, const std::string& directory,
                                     const std::vector<mkbook::IndexEntry>& extra = {}) {
  mkbook::Subbook s;
  s.record.title = mkbook::JisFromUtf8(titleUtf8);
  s.record.directory = directory;
  s.body = SimpleBody(extra);
  return s;
}

class CatalogTestBase : public ::testing::Test {
 protected:
  CatalogTestBase() { disk_.SetBookList(&books_); }

  std::string Root() const { return dir_.str() + "/vol"; }

  // Appends a book-list row and selects it.
  bool Select(int subbook, const std::string& userTitleUtf8 = "", const std::string& root = "") {
    BookBarEntry e;
    e.shortName = "book";
    e.location = root.empty() ? Root() : root;
    e.userTitle = Sjis(userTitleUtf8);
    e.subbook = static_cast<int16_t>(subbook);
    books_.push_back(e);
    return disk_.SelectSubbook(static_cast<int>(books_.size()) - 1);
  }

  // Writes the information file and makes the disk read it.
  void WriteInfo(const std::string& sjis) {
    testing::WriteFile(dir_ / "MORVA.DAT", sjis);
    disk_.settings().dicInfoPath = (dir_ / "MORVA.DAT").string();
  }

  testing::TempDir dir_;
  testing::RecordingReporter reporter_;
  BookBar books_;
  TDisk disk_{reporter_};
};

}  // namespace morva
