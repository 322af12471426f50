// Helpers shared by the search tests: JIS and Shift-JIS text from UTF-8, a
// disk over one file of hand-made pages, and volumes written by mkbook.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/book/book_list.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/search/wordlist.h"
#include "engine/text/jis.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/bytes.h"
#include "tools/mkbook/index_tree.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/subbook_pages.h"
#include "tools/mkbook/volume.h"

namespace morva {

inline void PrintTo(const BookAddress& a, std::ostream* os) { *os << a.page << ":" << a.offset; }

}  // namespace morva

namespace morva::testing {

inline std::string J(std::string_view utf8) { return mkbook::JisFromUtf8(utf8); }
inline std::string S(std::string_view utf8) { return Sjis(utf8); }

// Shift-JIS text of JIS X 0208 code bytes.
inline std::string SjisOfJis(std::string_view jis) {
  std::string out;
  for (size_t i = 0; i + 1 < jis.size(); i += 2) {
    const uint16_t code = JisToSjis(static_cast<uint16_t>(static_cast<uint8_t>(jis[i]) << 8 |
                                                          static_cast<uint8_t>(jis[i + 1])));
    out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  }
  return out;
}

inline std::vector<BookAddress> Bodies(const Wordlist& list) {
  std::vector<BookAddress> out;
  for (const WordlistItem& item : list.Items()) out.push_back(item.body);
  return out;
}

// One hand-made index page: header (kind, key length, entry count) and entries.
inline std::string IndexPage(uint8_t kind, uint8_t keyLength, uint16_t count, const std::string& entries) {
  std::string page = std::string{static_cast<char>(kind), static_cast<char>(keyLength)} +
                     mkbook::Be16(count) + entries;
  page.resize(kPageSize, '\0');
  return page;
}
inline std::string Address(BookAddress a) {
  return mkbook::Be32(static_cast<uint32_t>(a.page)) + mkbook::Be16(static_cast<uint16_t>(a.offset));
}

// A TDisk reading one file of pages (page 1 at file position 0), with index
// rows set by hand: no catalog, no sub-book selection.
class RawBookTest : public ::testing::Test {
 protected:
  void Open(const std::string& pages) {
    disk_.CloseBookFile();
    WriteFile(dir_ / "pages", pages);
    ASSERT_TRUE(disk_.OpenBookFile((dir_ / "pages").string(), true, true));
  }
  // Page 1 blank, then the pages of an index searched as `code`.
  void OpenIndex(const std::string& pages, uint8_t code, uint8_t option0 = 0) {
    Open(std::string(kPageSize, '\0') + pages);
    IndexKindRow& row = disk_.subbook().indexes.ByCode(code);
    row.start = 2;
    row.end = 1 + static_cast<int32_t>(pages.size() / kPageSize);
    row.options = {option0, 0, 0};
  }

  TempDir dir_;
  RecordingReporter reporter_;
  TDisk disk_{reporter_};
  Wordlist hits_{reporter_};
};

struct TestEntry {
  std::string heading;             // UTF-8, the entry's first line
  std::vector<std::string> words;  // UTF-8 keys of its forward notation index (0x91)
};

// Volumes of one sub-book each, listed in a book bar. An entry's body and
// heading start at the same address.
class BookSearchTest : public ::testing::Test {
 protected:
  BookSearchTest() { disk_.SetBookList(&books_); }

  std::string Root(int volume) const { return dir_.str() + "/vol" + std::to_string(volume); }

  // Writes a volume and appends its book-bar entry; returns the entries'
  // body addresses. The menu, when given, is built on the page it is told.
  std::vector<BookAddress> AddBook(const std::vector<TestEntry>& entries, bool marked = false,
                                   const std::function<std::string(int32_t page)>& menu = {}) {
    mkbook::SubbookPages pages;
    mkbook::BodyText body({pages.NextFreePage(), 0});
    std::vector<BookAddress> bodies;
    std::vector<mkbook::TreeEntry> index;
    for (const TestEntry& e : entries) {
      bodies.push_back(body.Here());
      for (const std::string& w : e.words) index.push_back({J(w), body.Here(), body.Here()});
      body.Indent(1).Headword(e.heading).Newline().Text("説明").Newline();
    }
    pages.AddSection(0x00, body.EndText().Bytes());
    if (!index.empty()) pages.AddSection(0x91, mkbook::BuildIndexTree(index, pages.NextFreePage()).pages);
    if (menu) pages.AddSection(0x01, menu(pages.NextFreePage()));
    const int volume = static_cast<int>(books_.size());
    mkbook::Subbook s;
    s.record.title = J("試験");
    s.record.directory = "book";
    s.body = pages.Build();
    mkbook::Volume v;
    v.AddSubbook(s);
    v.WriteTo(Root(volume));
    books_.push_back({"B" + std::to_string(volume), Root(volume), "", 0, marked});
    return bodies;
  }
  void AddGroupHeader() { books_.push_back(BookBarEntry{}); }

  TempDir dir_;
  RecordingReporter reporter_;
  BookBar books_;
  TDisk disk_{reporter_};
  Wordlist main_{reporter_};
};

}  // namespace morva::testing
