// Every registered key of the real test books finds its entry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "engine/search/index_search.h"
#include "engine/text/unicode.h"
#include "tests/support/answer_key.h"
#include "tests/support/book_test.h"

namespace morva {
namespace {

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

class RealBookSearchTest : public testing::BookTest {
 protected:
  void Open(const std::string& folder) {
    ASSERT_TRUE(disk_.SelectSubbook(AddRow((testing::SharedBooks() / folder).string())));
  }

  void Expect(const std::string& query, BookAddress body) {
    ++searches_;
    Search(disk_, hits_, books_, query, 0);
    if (hits_.Contains(body)) return;  // the list is sorted by body address
    if (failed_ < 10) failures_ += SjisToUtf8(query) + "\n";
    ++failed_;
  }

  // Word keys forward (0x91) and, starred, backward (0x71); keyword keys with
  // "+" (0x80). A key holds 39 characters: longer ones can only match as a
  // prefix, forward.
  void CheckRow(const std::vector<std::string>& row, const testing::AnswerKey& key,
                bool exactForward) {
    const BookAddress body = key.Address(row, "text_pos");
    for (const std::string& word : key.List(row, "word_keys_normalized")) {
      const std::string sjis = Utf8ToSjis(word);
      if (!Typeable(sjis)) continue;
      const bool fits = sjis.size() <= 78;
      if (fits || !exactForward) Expect("\"" + sjis + "\"", body);
      if (fits) Expect("*\"" + sjis + "\"", body);
    }
    // Keys typed with their hyphens, half- and full-width.
    for (const std::string& word : key.List(row, "word_keys")) {
      if (word.find('-') == std::string::npos || !std::all_of(word.begin(), word.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
          }))
        continue;
      Expect(word, body);
      Expect(Utf8ToSjis(ToFullWidth(word)), body);
    }
    for (const std::string& word : key.List(row, "keyword_keys_normalized")) {
      const std::string sjis = Utf8ToSjis(word);
      if (Typeable(sjis) && sjis.size() <= 78) Expect("+\"" + sjis + "\"", body);
    }
  }

  int searches_ = 0;
  int failed_ = 0;
  std::string failures_;
};

TEST_F(RealBookSearchTest, EveryKeyOfTheSmallBookFindsItsEntry) {
  MORVA_REQUIRE_SHARED_BOOKS();
  Open("edict-small");
  const testing::AnswerKey key = testing::ReadAnswerKey("edict-small.tsv");
  for (const auto& row : key.rows) CheckRow(row, key, false);
  EXPECT_GT(searches_, 20000);
  EXPECT_EQ(failed_, 0) << failures_;
  EXPECT_TRUE(reporter_.boxes().empty());
}

// Every 59th entry of the large book (about 2,000), with exact matching.
TEST_F(RealBookSearchTest, SampledKeysOfTheFullBookFindTheirEntries) {
  MORVA_REQUIRE_SHARED_BOOKS();
  disk_.settings().zenpo = false;
  Open("edict-full");
  const testing::AnswerKey key = testing::ReadAnswerKey("edict-full.tsv.gz");
  int sampled = 0;
  for (size_t line = 0; line < key.rows.size(); line += 59, ++sampled)
    CheckRow(key.rows[line], key, true);
  EXPECT_GE(sampled, 2000);
  EXPECT_EQ(failed_, 0) << failures_;
  EXPECT_TRUE(reporter_.boxes().empty());
}

}  // namespace
}  // namespace morva
