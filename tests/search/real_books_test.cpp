// Every registered key of the real test books finds its entry.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "engine/search/index_search.h"
#include "engine/text/unicode.h"
#include "tests/search/search_test_support.h"

namespace morva {
namespace {

// The rows of an answer key (tab-separated UTF-8 after a header line; "\\",
// "\n" and "\t" escaped). zlib reads the gzipped key and the plain one alike.
class AnswerKey {
 public:
  explicit AnswerKey(const std::string& path) : file_(gzopen(path.c_str(), "rb")) {
    std::vector<std::string> header;
    if (file_ != nullptr && Next(&header))
      for (size_t i = 0; i < header.size(); ++i) columns_[header[i]] = i;
  }
  ~AnswerKey() {
    if (file_ != nullptr) gzclose(file_);
  }
  AnswerKey(const AnswerKey&) = delete;
  AnswerKey& operator=(const AnswerKey&) = delete;

  size_t Column(const std::string& name) const { return columns_.at(name); }

  bool Next(std::vector<std::string>* fields) {
    std::string line;
    char buffer[1 << 16];
    while (line.empty() || line.back() != '\n') {
      if (gzgets(file_, buffer, sizeof buffer) == nullptr) break;
      line += buffer;
    }
    if (line.empty()) return false;
    fields->assign(1, std::string());
    for (size_t i = 0; i < line.size() && line[i] != '\n'; ++i) {
      if (line[i] == '\t') {
        fields->emplace_back();
      } else if (line[i] == '\\' && i + 1 < line.size()) {
        const char e = line[++i];
        fields->back() += e == 'n' ? '\n' : e == 't' ? '\t' : e;
      } else {
        fields->back() += line[i];
      }
    }
    return true;
  }

 private:
  gzFile file_;
  std::map<std::string, size_t> columns_;
};

std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> items;
  for (size_t start = 0; start < list.size();) {
    const size_t bar = std::min(list.find('|', start), list.size());
    items.push_back(list.substr(start, bar - start));
    start = bar + 1;
  }
  return items;
}

// Keys a typed query cannot reproduce: a leading ＊, ＋ or ＠ (or a trailing
// ＊) is a search marker, and the writer stores the hiragana forms of ヴ ヵ ヶ
// as codes without Shift-JIS form (written "<2474>" in the answer key).
bool Typeable(const std::string& sjis) {
  for (const char* marker : {"\x81\x96", "\x81\x7B", "\x81\x97"})
    if (sjis.starts_with(marker)) return false;
  return !sjis.ends_with("\x81\x96") && sjis.find('<') == std::string::npos;
}

// ASCII in its full-width forms (UTF-8, U+FF01..U+FF5E).
std::string ToFullWidth(const std::string& ascii) {
  std::string out;
  for (const char c : ascii) {
    const unsigned cp = static_cast<unsigned char>(c) + 0xFEE0u;
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

class RealBookSearchTest : public ::testing::Test {
 protected:
  void Open(const std::string& folder) {
    books_.push_back({"E", (testing::SharedBooks() / folder).string(), "", 0});
    disk_.SetBookList(&books_);
    ASSERT_TRUE(disk_.SelectSubbook(0));
  }

  void Expect(const std::string& query, BookAddress body) {
    ++searches_;
    Search(disk_, main_, books_, query, 0);
    if (main_.Contains(body)) return;  // the list is sorted by body address
    if (failed_ < 10) failures_ += SjisToUtf8(query) + "\n";
    ++failed_;
  }

  // Word keys forward (0x91) and, starred, backward (0x71); keyword keys with
  // "+" (0x80). A key holds 39 characters: longer ones can only match as a
  // prefix, forward.
  void CheckRow(const std::vector<std::string>& row, const AnswerKey& key, bool exactForward) {
    const std::string& pos = row[key.Column("text_pos")];
    const BookAddress body{std::stoi(pos), std::stoi(pos.substr(pos.find(':') + 1))};
    for (const std::string& word : SplitList(row[key.Column("word_keys_normalized")])) {
      const std::string sjis = Utf8ToSjis(word);
      if (!Typeable(sjis)) continue;
      const bool fits = sjis.size() <= 78;
      if (fits || !exactForward) Expect("\"" + sjis + "\"", body);
      if (fits) Expect("*\"" + sjis + "\"", body);
    }
    // Keys typed with their hyphens, half- and full-width.
    for (const std::string& word : SplitList(row[key.Column("word_keys")])) {
      if (word.find('-') == std::string::npos ||
          !std::all_of(word.begin(), word.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-'; }))
        continue;
      Expect(word, body);
      Expect(Utf8ToSjis(ToFullWidth(word)), body);
    }
    for (const std::string& word : SplitList(row[key.Column("keyword_keys_normalized")])) {
      const std::string sjis = Utf8ToSjis(word);
      if (Typeable(sjis) && sjis.size() <= 78) Expect("+\"" + sjis + "\"", body);
    }
  }

  testing::RecordingReporter reporter_;
  BookBar books_;
  TDisk disk_{reporter_};
  Wordlist main_{reporter_};
  int searches_ = 0;
  int failed_ = 0;
  std::string failures_;
};

TEST_F(RealBookSearchTest, EveryKeyOfTheSmallBookFindsItsEntry) {
  MORVA_REQUIRE_SHARED_BOOKS();
  Open("edict-small");
  AnswerKey key((testing::SharedBooks() / "edict-small.tsv").string());
  for (std::vector<std::string> row; key.Next(&row);) CheckRow(row, key, false);
  EXPECT_GT(searches_, 20000);
  EXPECT_EQ(failed_, 0) << failures_;
  EXPECT_TRUE(reporter_.boxes().empty());
}

// Every 59th entry of the large book (about 2,000), with exact matching.
TEST_F(RealBookSearchTest, SampledKeysOfTheFullBookFindTheirEntries) {
  MORVA_REQUIRE_SHARED_BOOKS();
  disk_.settings().zenpo = false;
  Open("edict-full");
  AnswerKey key((testing::SharedBooks() / "edict-full.tsv.gz").string());
  int sampled = 0;
  std::vector<std::string> row;
  for (int line = 0; key.Next(&row); ++line) {
    if (line % 59 != 0) continue;
    CheckRow(row, key, true);
    ++sampled;
  }
  EXPECT_GE(sampled, 2000);
  EXPECT_EQ(failed_, 0) << failures_;
  EXPECT_TRUE(reporter_.boxes().empty());
}

}  // namespace
}  // namespace morva
