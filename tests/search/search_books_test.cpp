// Searching books: the word list, searches over the books of the bar and
// their status, headings, menus, and every key of the real books.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "engine/search/index_search.h"
#include "engine/search/menu.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"
#include "tests/support/answer_key.h"
#include "tests/support/book_test.h"

namespace morva {
namespace {

using testing::Bodies;
using testing::RecordedBox;
using testing::S;
using V = std::vector<BookAddress>;

BookAddress A(int32_t page, int32_t offset = 0) { return {page, offset}; }

class SearchTest : public testing::BookTest {
 protected:
  std::string Run(std::string_view utf8, int position) {
    return Search(disk_, hits_, books_, S(utf8), position);
  }
  std::string Key(int i) { return HeadingText(disk_, hits_, i, HeadingMode::kKey); }
  std::string Shown(int i) { return HeadingText(disk_, hits_, i, HeadingMode::kDisplay); }
};

// The list drops an item only when it repeats the one before in the same
// book; sorts move whole items and keep the order of equal keys.
TEST_F(SearchTest, TheWordListDropsRepeatsSortsWholeItemsAndReportsAFailedGrowth) {
  for (auto [heading, page, offset, book] :
       {std::tuple{5, 7, 9, 2}, {6, 7, 9, 2}, {4, 7, 9, 0}, {6, -3, 0, 1}, {6, 7, 2, 1}})
    hits_.Append(A(heading), A(page, offset), book);
  EXPECT_EQ(Bodies(hits_), (V{A(7, 9), A(7, 9), A(-3), A(7, 2)}));
  hits_.SetMark(0, true);
  hits_.SortByBody();
  EXPECT_EQ(Bodies(hits_), (V{A(-3), A(7, 2), A(7, 9), A(7, 9)}));
  EXPECT_EQ(hits_.Item(2).book, 2);
  EXPECT_TRUE(hits_.Item(2).mark);
  hits_.SortByBookAndBody();
  EXPECT_EQ(Bodies(hits_), (V{A(7, 9), A(-3), A(7, 2), A(7, 9)}));
  EXPECT_EQ(hits_.Item(0).heading, A(4));
  hits_.SetMarks(true);
  hits_.RemoveConsecutiveDuplicates();  // equal bodies of other books count too
  EXPECT_EQ(hits_.MarkedCount(), 4);
  hits_.SortByBody();
  hits_.RemoveConsecutiveDuplicates();
  EXPECT_EQ(hits_.MarkedCount(), 3);
  // Growth by 2,000 items; a failed one is reported and stops the copy.
  for (int i = 0; i < 2001; ++i) hits_.Append(A(1), A(i + 1), 0);
  EXPECT_EQ(hits_.Capacity(), 4000);
  EXPECT_EQ(hits_.Item(2003).body, A(2001));
  Wordlist capped(reporter_);
  capped.LimitCapacity(2000);
  EXPECT_FALSE(capped.AppendAll(hits_));
  EXPECT_EQ(capped.Count(), 2000);
  EXPECT_EQ(reporter_.Count(RecordedBox::kFatal), 1);
  EXPECT_EQ(reporter_.Last(RecordedBox::kFatal), "項目リスト用の記憶域を確保できません。");
}

TEST_F(SearchTest, GroupHeaderSearchesItsBooksAndMinusOneTheMarkedBooks) {
  AddGroupHeader();                                                 // 0
  const V a = AddBook({{"猫", {"ねこ"}}}, true);                    // 1
  const V b = AddBook({{"ネコ", {"ねこ"}}}, false);                 // 2
  AddGroupHeader();                                                 // 3
  const V c = AddBook({{"犬", {"いぬ"}}, {"猫", {"ねこ"}}}, true);  // 4
  EXPECT_EQ(Run("ねこ", 0), S("2 項目"));
  EXPECT_EQ(hits_.Item(1).book, 2);
  EXPECT_EQ(Bodies(hits_), (V{a[0], b[0]}));
  EXPECT_EQ(Run("ねこ", -1), S("2 項目"));
  EXPECT_EQ(hits_.Item(1).book, 4);
  EXPECT_EQ(hits_.Item(1).body, c[1]);
  EXPECT_EQ(disk_.CurrentSubbook(), 4);    // the disk stays on the last book searched
  EXPECT_EQ(Run("ねこ", 2), S("1 項目"));  // one book, marked or not
  EXPECT_EQ(Run("ねこ", 3), S("1 項目"));
  EXPECT_EQ(hits_.Item(0).book, 4);
  EXPECT_EQ(Run("ねこ", 9), S("該当項目なし"));
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(SearchTest, SortSettingDecidesOrderAndDuplicatesAndTheStatusTellsAMissingIndex) {
  const V body = AddBook({{"猫犬", {"ねこ", "いぬ"}}, {"猫", {"ねこ"}}, {"犬", {"いぬ"}}});
  disk_.settings().sort = 0;
  EXPECT_EQ(Run("ねこ or いぬ", 0), S("4 項目"));
  EXPECT_EQ(Bodies(hits_), (V{body[0], body[1], body[0], body[2]}));
  disk_.settings().sort = 1;
  EXPECT_EQ(Run("いぬ or ねこ", 0), S("3 項目"));
  EXPECT_EQ(Bodies(hits_), (V{body[0], body[1], body[2]}));
  disk_.settings().sort = 2;  // by heading: 犬 < 猫 < 猫犬 in Shift-JIS
  hits_.SetMarks(true);
  EXPECT_EQ(Run("いぬ or ねこ", 0), S("3 項目"));
  EXPECT_EQ(Bodies(hits_), (V{body[2], body[1], body[0]}));
  EXPECT_EQ(hits_.MarkedCount(), 0);
  // Only the last operand's missing index is told.
  EXPECT_EQ(Run("ねこ $72ねこ", 0), S("索引が存在しない"));
  EXPECT_EQ(Run("$72ねこ ねこ", 0), S("該当項目なし"));
  EXPECT_EQ(Run("**", 0), S("該当項目なし"));
  EXPECT_EQ(Run("ねこ \"and\" ねこ", 0), S("2 項目"));  // quotes go before tokens are read
}

// ---- Headings ------------------------------------------------------------------

TEST_F(SearchTest, HeadingsStayWholeBelowTheLimitShowExternalCharactersAndMakeKeys) {
  mkbook::SubbookPages pages;
  mkbook::BodyText body({pages.NextFreePage(), 0});
  std::vector<BookAddress> starts;
  for (const auto& [kanji, narrow] : {std::pair{24, 0}, {25, 0}, {30, 0}, {24, 2}, {24, 3}}) {
    starts.push_back(body.Here());
    for (int i = 0; i < kanji; ++i) body.Text("漢");
    if (narrow > 0)
      body.BeginNarrow().Text(std::string(static_cast<size_t>(narrow), 'x')).EndNarrow();
    body.Newline().Text("body").Newline();
  }
  starts.push_back(body.Here());
  body.Text("字").Gaiji(0xA121).BeginNarrow().Gaiji(0xA122).EndNarrow().Text("a").Newline();
  for (const char* text : {"Apple", "apple", "3D", "ねこ、ネコー", "ｶﾞｷﾞ",
                           "a漢漢漢漢漢漢漢漢漢漢漢漢漢漢漢漢漢漢漢漢漢漢漢漢漢"}) {
    starts.push_back(body.Here());
    body.Text(text).Newline();
  }
  pages.AddSection(0x00, body.Bytes());
  testing::WriteVolume(Root(0), {testing::Subbook("本", "book", pages.Build())});
  AddRow(Root(0));
  for (BookAddress a : starts) hits_.Append(a, a, 0);
  hits_.Append(BookAddress{}, BookAddress{9, 0}, 0);  // an item without heading: 12
  const std::tuple<int, size_t, size_t, bool> cases[] = {
      {0, kListHeadingBytes, 48, false},  // fits exactly
      {1, kListHeadingBytes, 48, true},   // the 25th character would reach 50
      {2, kListHeadingBytes, 48, true},  {2, kWholeHeading, 60, false}, {1, 51, 50, false},
      {3, kListHeadingBytes, 50, false},  // single bytes fill the limit, the line ends there
      {4, kListHeadingBytes, 50, true},
  };
  for (const auto& [item, limit, bytes, cut] : cases) {
    bool wasCut = !cut;
    EXPECT_EQ(HeadingText(disk_, hits_, item, HeadingMode::kDisplay, limit, &wasCut).size(), bytes)
        << "item " << item << " limit " << limit;
    EXPECT_EQ(wasCut, cut) << "item " << item << " limit " << limit;
  }
  // External characters.
  EXPECT_EQ(Shown(5), S("字") + "\x0B\x31\xA1\x21\x0B\x30\xA1\x22" + S("ａ"));
  EXPECT_EQ(Key(5), S("字") + "A");
  disk_.decoderState().gaijiMode = GaijiMode::kText;
  EXPECT_EQ(Shown(5), S("字") + "[a121][a122]" + S("ａ"));
  // Keys keep letters and kana upper-cased; symbols and the long-vowel mark go.
  EXPECT_EQ(Shown(6), S("Ａｐｐｌｅ"));
  const std::string keys[] = {"APPLE", "APPLE", "D", S("ﾈｺﾈｺ"), S("ｶｷ")};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Key(6 + i), keys[i]) << i;
  EXPECT_EQ(Shown(11).size(), 48u);
  EXPECT_EQ(Key(11).size(), 49u);
  EXPECT_EQ(Shown(12), S("[メニュー全体]"));
  disk_.decoderState().singleByteBook = true;
  EXPECT_EQ(Shown(12), "[MENU]");
}

// ---- Menus ------------------------------------------------------------------------

// Each inner list is one menu line's candidates (their target pages). With
// the special menu on, each candidate is an item, and the whole menu follows
// when a line offers several or none at all.
TEST_F(SearchTest, MenusGiveTheirCandidatesAndTheWholeMenu) {
  std::vector<int32_t> menuPages;
  auto menu = [&](const std::vector<std::vector<int32_t>>& lines) {
    AddBook({{"猫", {"ねこ"}}}, false, [&](int32_t page) {
      menuPages.push_back(page);
      mkbook::BodyText text({page, 0});
      text.StartText();
      for (const auto& line : lines) {
        text.Text("行");
        for (int32_t target : line) text.BeginKeyword().Text("候補").EndKeyword({target, 4});
        text.Newline();
      }
      return text.EndText().Bytes();
    });
    MenuSearch(disk_, hits_, static_cast<int>(books_.size()) - 1);
    return Bodies(hits_);
  };
  const V got = menu({{10}, {11, 12, 13}, {14}});
  const BookAddress whole{menuPages.back(), 0};  // every book puts its menu on the same page
  EXPECT_EQ(got, (V{{10, 4}, {11, 4}, {12, 4}, {13, 4}, {14, 4}, whole}));
  EXPECT_EQ(hits_.Item(1).heading, hits_.Item(3).heading);
  EXPECT_EQ(hits_.Item(5).heading.page, 0);
  EXPECT_EQ(Shown(1), S("行候補候補候補"));
  EXPECT_EQ(menu({{10}, {11}, {}}), (V{{10, 4}, {11, 4}}));
  disk_.subbook().specialTitle = true;  // suspended while the menu is read, then restored
  MenuSearch(disk_, hits_, static_cast<int>(books_.size()) - 1);
  EXPECT_EQ(hits_.Count(), 2);
  EXPECT_TRUE(disk_.subbook().specialTitle);
  EXPECT_EQ(menu({{}, {}}), V{whole});
  disk_.settings().specialMenu = false;
  EXPECT_EQ(menu({{10, 11}}), V{whole});
  EXPECT_EQ(Shown(0), S("[メニュー全体]"));
  AddBook({{"犬", {"いぬ"}}});
  MenuSearch(disk_, hits_, static_cast<int>(books_.size()) - 1);
  EXPECT_TRUE(hits_.IsEmpty());
}

// Keys a typed query cannot reproduce: a leading ＊, ＋ or ＠ (or a trailing
// ＊) is a search marker, and the writer stores the hiragana forms of ヴ ヵ ヶ
// as codes without Shift-JIS form (written "<2474>" in the answer key).
bool Typeable(const std::string& sjis) {
  for (const char* marker : {"\x81\x96", "\x81\x7B", "\x81\x97"})
    if (sjis.starts_with(marker)) return false;
  return !sjis.ends_with("\x81\x96") && sjis.find('<') == std::string::npos;
}

// Word keys forward (0x91) and, starred, backward (0x71); keyword keys with
// "+" (0x80); keys with hyphens as typed. A key holds 39 characters: longer
// ones would only match as a prefix.
TEST_F(SearchTest, EveryKeyOfTheSmallBookFindsItsEntry) {
  MORVA_REQUIRE_SHARED_BOOKS();
  ASSERT_TRUE(disk_.SelectSubbook(AddRow((testing::SharedBooks() / "edict-small").string())));
  const testing::AnswerKey key = testing::ReadAnswerKey("edict-small.tsv");
  int searches = 0;
  std::string failures;
  auto expect = [&](const std::string& query, BookAddress body) {
    ++searches;
    Search(disk_, hits_, books_, query, 0);
    if (!hits_.Contains(body) && failures.size() < 500) failures += SjisToUtf8(query) + "\n";
  };
  for (const std::vector<std::string>& row : key.rows) {
    const BookAddress body = key.Address(row, "text_pos");
    for (const std::string& word : key.List(row, "word_keys_normalized")) {
      const std::string sjis = Utf8ToSjis(word);
      if (!Typeable(sjis)) continue;
      expect("\"" + sjis + "\"", body);
      if (sjis.size() <= 78) expect("*\"" + sjis + "\"", body);
    }
    for (const std::string& word : key.List(row, "word_keys")) {
      auto plain = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-'; };
      if (word.find('-') != std::string::npos && std::all_of(word.begin(), word.end(), plain))
        expect(word, body);
    }
    for (const std::string& word : key.List(row, "keyword_keys_normalized")) {
      const std::string sjis = Utf8ToSjis(word);
      if (Typeable(sjis) && sjis.size() <= 78) expect("+\"" + sjis + "\"", body);
    }
  }
  EXPECT_GT(searches, 20000);
  EXPECT_EQ(failures, "");
  EXPECT_TRUE(reporter_.boxes().empty());
}

}  // namespace
}  // namespace morva
