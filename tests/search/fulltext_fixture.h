// A one-sub-book volume whose body text a test writes with mkbook, opened in
// a TDisk, for the full-text search tests.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/search/wordlist.h"
#include "tests/search/search_test_support.h"

namespace morva::testing {

class FullTextBookTest : public ::testing::Test {
 protected:
  using BodyWriter = std::function<void(mkbook::BodyText&)>;

  // Writes the body; the keys that `write` puts into keys_ (UTF-8 key, body
  // address) make a forward notation index (0x91). `info` is the book's
  // section of a per-book information file.
  void Write(const BodyWriter& write, const std::string& info = "") {
    mkbook::SubbookPages pages;
    mkbook::BodyText body({pages.NextFreePage(), 0});
    keys_.clear();
    write(body);
    bodyStart_ = body.Start();
    pages.AddSection(0x00, body.Bytes());
    if (!keys_.empty()) {
      std::vector<mkbook::TreeEntry> index;
      for (const auto& [key, at] : keys_) index.push_back({J(key), at, at});
      pages.AddSection(0x91, mkbook::BuildIndexTree(index, pages.NextFreePage()).pages);
    }
    mkbook::Subbook s;
    s.record.title = J("全文");
    s.record.directory = "book";
    s.body = pages.Build();
    mkbook::Volume v;
    v.AddSubbook(s);
    v.WriteTo(dir_.path() / "vol");
    if (!info.empty()) {
      WriteFile(dir_ / "info.dat", S("[全文]\n" + info));
      disk_.settings().dicInfoPath = (dir_ / "info.dat").string();
    }
    books_ = {BookBarEntry{}, BookBarEntry{"F", (dir_.path() / "vol").string(), "", 0, false}};
    disk_.SetBookList(&books_);
    disk_.ForgetCurrentSubbook();
    ASSERT_TRUE(disk_.SelectSubbook(1));
  }

  // An entry as the real books write them: indent, headword line, then lines
  // one step in. Returns where it begins.
  static BookAddress Entry(mkbook::BodyText& body, std::string_view headword,
                           const std::vector<std::string>& lines) {
    const BookAddress at = body.Here();
    body.Indent(1).Headword(headword).Newline();
    for (const std::string& line : lines) body.Indent(2).Text(line).Newline();
    return at;
  }
  // Where the topic of an entry begins: at its headword escape (the indent
  // before it still belongs to the topic before).
  static BookAddress TopicOf(BookAddress entry) { return BookAddress{entry.page, entry.offset + 4}.Normalised(); }

  TempDir dir_;
  RecordingReporter reporter_;
  TDisk disk_{reporter_};
  BookBar books_;
  Wordlist main_{reporter_};
  RecordingProgress progress_;
  BookAddress bodyStart_;
  std::vector<std::pair<std::string, BookAddress>> keys_;
};

}  // namespace morva::testing
