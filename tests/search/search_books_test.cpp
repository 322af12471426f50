#include <gtest/gtest.h>

#include "engine/search/index_search.h"
#include "engine/search/menu.h"
#include "engine/search/wordlist.h"
#include "tests/support/book_test.h"

namespace morva {
namespace {

using testing::Bodies;
using testing::S;
using V = std::vector<BookAddress>;

std::vector<int> BooksOf(const Wordlist& list) {
  std::vector<int> out;
  for (const WordlistItem& i : list.Items()) out.push_back(i.book);
  return out;
}

class SearchTest : public testing::BookTest {
 protected:
  std::string Run(std::string_view utf8, int position) {
    return Search(disk_, hits_, books_, S(utf8), position);
  }
};

TEST_F(SearchTest, GroupHeaderSearchesItsBooksAndMinusOneTheMarkedBooks) {
  AddGroupHeader();                                                 // 0
  const V a = AddBook({{"猫", {"ねこ"}}}, true);                    // 1
  const V b = AddBook({{"ネコ", {"ねこ"}}}, false);                 // 2
  AddGroupHeader();                                                 // 3
  const V c = AddBook({{"犬", {"いぬ"}}, {"猫", {"ねこ"}}}, true);  // 4

  EXPECT_EQ(Run("ねこ", 0), S("2 項目"));
  EXPECT_EQ(BooksOf(hits_), (std::vector<int>{1, 2}));
  EXPECT_EQ(Bodies(hits_), (V{a[0], b[0]}));
  EXPECT_EQ(Run("ねこ", -1), S("2 項目"));
  EXPECT_EQ(BooksOf(hits_), (std::vector<int>{1, 4}));
  EXPECT_EQ(hits_.Item(1).body, c[1]);
  EXPECT_EQ(disk_.CurrentSubbook(), 4);    // the disk stays on the last book searched
  EXPECT_EQ(Run("ねこ", 2), S("1 項目"));  // one book, marked or not
  EXPECT_EQ(Run("ねこ", 3), S("1 項目"));
  EXPECT_EQ(BooksOf(hits_), std::vector<int>{4});
  EXPECT_EQ(Run("とり", -1), S("該当項目なし"));
  EXPECT_EQ(Run("ねこ", 9), S("該当項目なし"));
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(SearchTest, SortSettingDecidesOrderAndDuplicates) {
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
}

TEST_F(SearchTest, StatusLineTellsAMissingIndexOnlyForTheLastOperand) {
  AddBook({{"猫", {"ねこ"}}});
  EXPECT_EQ(Run("ねこ $72ねこ", 0), S("索引が存在しない"));
  EXPECT_EQ(Run("$72ねこ ねこ", 0), S("該当項目なし"));
  EXPECT_EQ(Run("**", 0), S("該当項目なし"));
  EXPECT_EQ(Run("ねこ \"and\" ねこ", 0), S("1 項目"));  // quotes go before tokens are read
}

// ---- Headings ------------------------------------------------------------------

class HeadingTest : public testing::BookTest {
 protected:
  void Book(const std::vector<std::string>& headings) {
    std::vector<testing::TestEntry> entries;
    for (const std::string& h : headings) entries.push_back({h, {}});
    for (BookAddress a : AddBook(entries)) hits_.Append(a, a, 0);
  }
  std::string Key(int i) { return HeadingText(disk_, hits_, i, HeadingMode::kKey); }
  std::string Shown(int i) { return HeadingText(disk_, hits_, i, HeadingMode::kDisplay); }
};

TEST_F(HeadingTest, KeyModeKeepsLettersAndKanaUpperCased) {
  std::string thirty;
  for (int i = 0; i < 30; ++i) thirty += "漢";
  Book({"Apple", "apple", "3D", "ねこ、ネコー", "ｶﾞｷﾞ", thirty, "a" + thirty});
  EXPECT_EQ(Shown(0), S("Ａｐｐｌｅ"));
  EXPECT_EQ(Key(0), "APPLE");
  EXPECT_EQ(Key(1), "APPLE");
  EXPECT_EQ(Key(2), "D");
  EXPECT_EQ(Key(3), S("ﾈｺﾈｺ"));  // symbols and the long-vowel mark go
  EXPECT_EQ(Key(4), S("ｶｷ"));
  // Below 50 bytes, never splitting a character.
  EXPECT_EQ(Shown(5).size(), 48u);
  EXPECT_EQ(Shown(6).size(), 48u);
  EXPECT_EQ(Key(6).size(), 49u);
  EXPECT_EQ(Key(99), "");
}

TEST_F(HeadingTest, ExternalCharactersAndItemsWithoutHeading) {
  mkbook::SubbookPages pages;
  mkbook::BodyText body({pages.NextFreePage(), 0});
  const BookAddress at = body.Here();
  body.Text("字").Gaiji(0xA121).BeginNarrow().Gaiji(0xA122).EndNarrow().Text("a").Newline();
  pages.AddSection(0x00, body.Bytes());
  testing::WriteVolume(Root(0), {testing::Subbook("外字", "gaiji", pages.Build())});
  AddRow(Root(0));
  hits_.Append(at, at, 0);
  hits_.Append(BookAddress{}, BookAddress{9, 0}, 0);

  EXPECT_EQ(Shown(0), S("字") +
                          "\x0B"
                          "1\xA1\x21"
                          "\x0B"
                          "0\xA1\x22" +
                          S("ａ"));
  EXPECT_EQ(Key(0), S("字") + "A");
  disk_.decoderState().gaijiMode = GaijiMode::kText;
  EXPECT_EQ(Shown(0), S("字") + "[a121][a122]" + S("ａ"));
  EXPECT_EQ(Shown(1), S("[メニュー全体]"));
  disk_.decoderState().singleByteBook = true;
  EXPECT_EQ(Shown(1), "[MENU]");
}

TEST_F(HeadingTest, LimitKeepsCharactersWholeAndTellsWhetherTextWasLeftOut) {
  mkbook::SubbookPages pages;
  mkbook::BodyText body({pages.NextFreePage(), 0});
  std::vector<BookAddress> starts;
  auto heading = [&](int kanji, int narrow) {
    starts.push_back(body.Here());
    for (int i = 0; i < kanji; ++i) body.Text("漢");
    if (narrow > 0)
      body.BeginNarrow().Text(std::string(static_cast<size_t>(narrow), 'x')).EndNarrow();
    body.Newline().Text("body").Newline();
  };
  heading(24, 0);
  heading(25, 0);
  heading(30, 0);
  heading(24, 2);
  heading(24, 3);
  pages.AddSection(0x00, body.Bytes());
  testing::WriteVolume(Root(0), {testing::Subbook("長い", "long", pages.Build())});
  AddRow(Root(0));
  for (BookAddress a : starts) hits_.Append(a, a, 0);

  struct Case {
    int item;
    size_t limit;
    size_t bytes;
    bool cut;
  };
  const Case cases[] = {
      {0, kListHeadingBytes, 48, false},  // fits exactly
      {1, kListHeadingBytes, 48, true},   // the 25th character would reach 50
      {2, kListHeadingBytes, 48, true},  {2, kWholeHeading, 60, false}, {1, 51, 50, false},
      {3, kListHeadingBytes, 50, false},  // single bytes fill the limit, the line ends there
      {4, kListHeadingBytes, 50, true},
  };
  for (const Case& c : cases) {
    bool cut = !c.cut;
    const std::string text =
        HeadingText(disk_, hits_, c.item, HeadingMode::kDisplay, c.limit, &cut);
    EXPECT_EQ(text.size(), c.bytes) << "item " << c.item << " limit " << c.limit;
    EXPECT_EQ(cut, c.cut) << "item " << c.item << " limit " << c.limit;
  }
}

TEST_F(HeadingTest, SortByNameUsesEightKeyBytes) {
  Book({"Cherry", "banana", "3D", "ABCDEFGHIJ", "ABCDEFGHAA", "abc漢字漢字"});
  hits_.SortByName(disk_);
  std::vector<std::string> keys;
  for (const WordlistItem& i : hits_.Items()) keys.push_back(std::string(i.NameKey()));
  EXPECT_EQ(keys, (std::vector<std::string>{"ABCDEFGH", "ABCDEFGH", "ABC" + S("漢字"), "BANANA",
                                            "CHERRY", "D"}));
}

// ---- Menus ------------------------------------------------------------------------

class MenuTest : public testing::BookTest {
 protected:
  // Each inner list is one menu line's candidates (their target pages).
  void BookWithMenu(const std::vector<std::vector<int32_t>>& lines) {
    AddBook({{"猫", {"ねこ"}}}, false, [&](int32_t page) {
      menuPage_ = page;
      mkbook::BodyText menu({page, 0});
      menu.StartText();
      for (const auto& line : lines) {
        menu.Text("行");
        for (int32_t target : line) menu.BeginKeyword().Text("候補").EndKeyword({target, 4});
        menu.Newline();
      }
      return menu.EndText().Bytes();
    });
    MenuSearch(disk_, hits_, 0);
  }
  BookAddress WholeMenu() const { return {menuPage_, 0}; }
  int32_t menuPage_ = 0;
};

TEST_F(MenuTest, WithoutSpecialMenuTheWholeMenuIsOneItem) {
  disk_.settings().specialMenu = false;
  BookWithMenu({{10, 11}});
  ASSERT_EQ(Bodies(hits_), V{WholeMenu()});
  EXPECT_EQ(HeadingText(disk_, hits_, 0, HeadingMode::kDisplay), S("[メニュー全体]"));
}

TEST_F(MenuTest, OneItemPerCandidateAndTheWholeMenuAfterAMultiCandidateLine) {
  BookWithMenu({{10}, {11, 12, 13}, {14}});
  ASSERT_EQ(Bodies(hits_), (V{{10, 4}, {11, 4}, {12, 4}, {13, 4}, {14, 4}, WholeMenu()}));
  EXPECT_EQ(hits_.Item(1).heading, hits_.Item(3).heading);
  EXPECT_NE(hits_.Item(0).heading, hits_.Item(1).heading);
  EXPECT_EQ(hits_.Item(5).heading.page, 0);
  EXPECT_EQ(HeadingText(disk_, hits_, 1, HeadingMode::kDisplay), S("行候補候補候補"));
}

TEST_F(MenuTest, SingleCandidateLinesGiveNoWholeMenuItem) {
  BookWithMenu({{10}, {11}, {}});
  EXPECT_EQ(Bodies(hits_), (V{{10, 4}, {11, 4}}));
  disk_.subbook().specialTitle = true;  // suspended while the menu is read, then restored
  MenuSearch(disk_, hits_, 0);
  EXPECT_EQ(hits_.Count(), 2);
  EXPECT_TRUE(disk_.subbook().specialTitle);
}

TEST_F(MenuTest, NoCandidatesGiveTheWholeMenuAndNoMenuLeavesTheListEmpty) {
  BookWithMenu({{}, {}});
  ASSERT_EQ(hits_.Count(), 1);
  EXPECT_EQ(hits_.Item(0).heading.page, 0);
  AddBook({{"犬", {"いぬ"}}});
  MenuSearch(disk_, hits_, 1);
  EXPECT_TRUE(hits_.IsEmpty());
}

}  // namespace
}  // namespace morva
