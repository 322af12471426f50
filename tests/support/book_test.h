// Test books built with tools/mkbook, and the fixture that opens them: a
// TDisk over hand-made pages (no catalog), or volumes listed in a book bar.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_list.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/decode/content.h"
#include "engine/search/wordlist.h"
#include "engine/text/jis.h"
#include "tests/support/hex.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/bytes.h"
#include "tools/mkbook/compound.h"
#include "tools/mkbook/index_page.h"
#include "tools/mkbook/index_tree.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/page_file.h"
#include "tools/mkbook/subbook_pages.h"
#include "tools/mkbook/volume.h"

namespace morva {

inline void PrintTo(const BookAddress& a, std::ostream* os) { *os << a.page << ":" << a.offset; }

}  // namespace morva

namespace morva::testing {

// JIS X 0208 codes and Shift-JIS of UTF-8 text.
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
inline std::string IndexPage(uint8_t kind, uint8_t keyLength, uint16_t count,
                             const std::string& entries) {
  std::string page = std::string{static_cast<char>(kind), static_cast<char>(keyLength)} +
                     mkbook::Be16(count) + entries;
  page.resize(kPageSize, '\0');
  return page;
}
inline std::string Address(BookAddress a) {
  return mkbook::Be32(static_cast<uint32_t>(a.page)) +
         mkbook::Be16(static_cast<uint16_t>(a.offset));
}

// A sub-book of the given body file (index page first).
inline mkbook::Subbook Subbook(std::string_view titleUtf8, const std::string& directory,
                               std::string body) {
  mkbook::Subbook s;
  s.record.title = J(titleUtf8);
  s.record.directory = directory;
  s.body = std::move(body);
  return s;
}

// Writes a volume of the given sub-books at root.
inline void WriteVolume(const std::filesystem::path& root, std::vector<mkbook::Subbook> subbooks,
                        mkbook::CatalogLayout layout = mkbook::CatalogLayout::kCatalogs) {
  mkbook::Volume v(layout);
  for (mkbook::Subbook& s : subbooks) v.AddSubbook(std::move(s));
  v.WriteTo(root);
}

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
inline mkbook::Subbook SimpleSubbook(std::string_view titleUtf8, const std::string& directory,
                                     const std::vector<mkbook::IndexEntry>& extra = {}) {
  return Subbook(titleUtf8, directory, SimpleBody(extra));
}

struct TestEntry {
  std::string heading;             // UTF-8, the entry's first line
  std::vector<std::string> words;  // UTF-8 keys of its forward notation index (0x91)
};

struct Person {
  std::string name;
  std::string country;  // UTF-8; a trailing "{A121}" is that external character
};
using CompoundForm = std::vector<mkbook::CompoundField>;
// Builds the compound searches of a people book from its two field indexes.
using CompoundForms = std::function<std::vector<CompoundForm>(
    mkbook::SubbookPages&, const mkbook::CompoundIndex& names,
    const mkbook::CompoundIndex& countries)>;

// A sub-book listing people (headword name, text country), with grouped
// indexes of their names and countries and the compound searches `forms`
// makes over them; the entries' addresses go to bodies.
inline mkbook::Subbook PeopleSubbook(const std::vector<Person>& people, const CompoundForms& forms,
                                     int32_t indexPage = 1,
                                     std::vector<BookAddress>* bodies = nullptr) {
  mkbook::SubbookPages pages(indexPage);
  mkbook::BodyText body({pages.NextFreePage(), 0});
  std::vector<mkbook::TreeEntry> names;
  std::vector<mkbook::TreeEntry> countries;
  for (const Person& p : people) {
    if (bodies) bodies->push_back(body.Here());
    names.push_back({J(p.name), body.Here(), body.Here()});
    const bool external = p.country.ends_with("{A121}");
    const std::string country = J(p.country.substr(0, p.country.size() - (external ? 6 : 0)));
    countries.push_back({external ? country + "\xA1\x21" : country, body.Here(), body.Here()});
    body.Indent(1).Headword(p.name).Newline().Text(p.country).Newline();
  }
  pages.AddSection(0x00, body.EndText().Bytes());
  const mkbook::IndexTreeOptions grouped{.leaves = mkbook::LeafLayout::kGroupedCompound};
  const mkbook::IndexTree nameTree = mkbook::BuildIndexTree(names, pages.NextFreePage(), grouped);
  pages.file().AppendPages(nameTree.pages);
  const mkbook::IndexTree countryTree =
      mkbook::BuildIndexTree(countries, pages.NextFreePage(), grouped);
  pages.file().AppendPages(countryTree.pages);
  if (forms) {
    for (const CompoundForm& form :
         forms(pages, mkbook::IndexOf(nameTree), mkbook::IndexOf(countryTree)))
      mkbook::AddCompoundSearch(pages, form);
  }
  mkbook::Subbook s = Subbook("人名", "people", pages.Build());
  s.record.indexPage = static_cast<uint64_t>(indexPage);
  return s;
}

// Counts wait-cursor calls so runs can be checked to take it down again.
class CursorReporter : public RecordingReporter {
 public:
  void SetWaitCursor(bool on) override { on ? ++shown : ++hidden; }
  int shown = 0;
  int hidden = 0;
};

class BookTest : public ::testing::Test {
 protected:
  BookTest() { disk_.SetBookList(&books_); }
  ~BookTest() override { disk_.SetBookList(nullptr); }

  // Makes bytes the page space from page 1, offset 0 on (zero filled to
  // whole pages), without a catalog, and seeks to its start.
  void LoadPages(const std::string& bytes) {
    mkbook::PageFile file(1);
    file.Write({1, 0}, bytes);
    disk_.CloseBookFile();
    WriteFile(dir_ / "honmon", file.Bytes());
    disk_.BodyFiles().Clear();
    disk_.BodyFiles().Add((dir_ / "honmon").string(), 1);
    disk_.SetMultiFile(true);
    ASSERT_EQ(disk_.Seek(1, 0), 0);
  }
  void LoadPages(const mkbook::BodyText& body) { LoadPages(body.Bytes()); }
  // Adds a further file of the page space from firstPage on.
  void AddPageFile(const std::string& name, const std::string& bytes, int32_t firstPage) {
    WriteFile(dir_ / name, bytes);
    disk_.BodyFiles().Add((dir_ / name).string(), firstPage);
  }
  // Page 1 blank, then the pages of an index searched as `code`.
  void LoadIndex(const std::string& pages, uint8_t code, uint8_t option0 = 0) {
    LoadPages(std::string(kPageSize, '\0') + pages);
    IndexKindRow& row = disk_.subbook().indexes.ByCode(code);
    row.start = 2;
    row.end = 1 + static_cast<int32_t>(pages.size() / kPageSize);
    row.options = {option0, 0, 0};
  }

  // Where volume n is written.
  std::string Root(int n = 0) const { return dir_.str() + "/vol" + std::to_string(n); }
  // Appends a book-bar row of a volume; returns the row.
  int AddRow(const std::string& root, int subbook = 0, bool marked = false,
             const std::string& userTitle = "") {
    books_.push_back({"B" + std::to_string(books_.size()), root, userTitle,
                      static_cast<int16_t>(subbook), marked});
    return static_cast<int>(books_.size()) - 1;
  }
  // Appends a book-list row of sub-book `subbook` (of Root() unless root is
  // given) and selects it.
  bool Select(int subbook, const std::string& userTitleUtf8 = "", const std::string& root = "") {
    return disk_.SelectSubbook(
        AddRow(root.empty() ? Root() : root, subbook, false, Sjis(userTitleUtf8)));
  }
  // Writes the per-book information file and makes the disk read it.
  void WriteInfo(const std::string& sjis) {
    WriteFile(dir_ / "MORVA.DAT", sjis);
    disk_.settings().dicInfoPath = (dir_ / "MORVA.DAT").string();
  }
  // Writes a one-sub-book volume of entries (indent, headword line, "説明"
  // line) with a forward notation index (0x91) of their words and, when
  // given, a menu built on the page it is told; lists it and returns the
  // entries' body addresses.
  std::vector<BookAddress> AddBook(const std::vector<TestEntry>& entries, bool marked = false,
                                   const std::function<std::string(int32_t page)>& menu = {}) {
    mkbook::SubbookPages pages;
    mkbook::BodyText body({pages.NextFreePage(), 0});
    std::vector<mkbook::TreeEntry> index;
    std::vector<BookAddress> bodies;
    for (const TestEntry& e : entries) {
      bodies.push_back(body.Here());
      for (const std::string& w : e.words) index.push_back({J(w), body.Here(), body.Here()});
      body.Indent(1).Headword(e.heading).Newline().Text("説明").Newline();
    }
    pages.AddSection(0x00, body.EndText().Bytes());
    if (!index.empty())
      pages.AddSection(0x91, mkbook::BuildIndexTree(index, pages.NextFreePage()).pages);
    if (menu) pages.AddSection(0x01, menu(pages.NextFreePage()));
    const int n = static_cast<int>(books_.size());
    WriteVolume(Root(n), {Subbook("試験", "book", pages.Build())});
    AddRow(Root(n), 0, marked);
    return bodies;
  }
  void AddGroupHeader() { books_.push_back(BookBarEntry{}); }

  TempDir dir_;
  CursorReporter reporter_;
  BookBar books_;
  TDisk disk_{reporter_};
  Wordlist hits_{reporter_};
};

// A TContent on the fixture's disk, for the content markup tests.
class ContentTest : public BookTest {
 protected:
  // The marked text of the item at `at`; following_ is where the next begins.
  std::string Item(BookAddress at = {1, 0}) {
    std::string out;
    following_ = content_.FormatItemTo(-1, at, &out);
    return out;
  }
  std::string MarkedFile() const { return ReadFile(disk_.MarkedTextPath()); }
  // Shift-JIS here: what marked text holds.
  static std::string J(std::string_view utf8) { return Sjis(utf8); }

  TContent content_{disk_};
  BookAddress following_;
};

inline const std::string kIndent0 = "\x09\x20";
inline const std::string kIndent1 = "\x09\x21";

}  // namespace morva::testing
