#include "engine/search/index_search.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "engine/search/query.h"
#include "tests/support/book_test.h"

namespace morva {
namespace {

using mkbook::IndexTreeOptions;
using mkbook::LeafLayout;
using mkbook::TreeEntry;
using testing::Address;
using testing::Bodies;
using testing::IndexPage;
using testing::J;
using testing::RecordedBox;
using testing::S;
using V = std::vector<BookAddress>;

BookAddress A(int32_t page, int32_t offset = 0) { return {page, offset}; }

class IndexSearchTest : public testing::BookTest {
 protected:
  IndexSearchTest() { disk_.info().zenpo = false; }

  void OpenTree(std::vector<TreeEntry> entries, uint8_t code,
                const IndexTreeOptions& options = {}) {
    const mkbook::IndexTree tree = mkbook::BuildIndexTree(std::move(entries), 2, options);
    LoadIndex(tree.pages, code);
    depth_ = tree.depth;
  }
  int Word(std::string_view utf8) { return SearchWord(context_, hits_, S(utf8)); }
  V Found(std::string_view utf8) {
    Word(utf8);
    return Bodies(hits_);
  }

  SearchContext context_{disk_, 0};
  int depth_ = 0;
};

// Trees of every shape against a model: random keys of one to four kanji out
// of four, so that many share prefixes and short keys come in long runs.
// With branch keys cut to one character, a key past a cut branch key must
// still start its scan in the child that key begins.
TEST_F(IndexSearchTest, TreesOfEveryShapeAgreeWithAModel) {
  std::mt19937 random(7);
  std::vector<TreeEntry> entries;
  for (int i = 0; i < 150; ++i) {
    std::string key;
    for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n)
      key += {'\x30', static_cast<char>(0x21 + random() % 4)};
    entries.push_back({key, A(3000 + i), A(1, i)});  // headings on the blank first page
  }
  auto expected = [&entries](const std::string& key, bool prefix) {
    std::set<BookAddress> out;
    for (const TreeEntry& e : entries)
      if (prefix ? e.key.starts_with(key) : e.key == key) out.insert(e.body);
    return out;
  };
  auto found = [this](const std::string& sjis) {
    SearchWord(context_, hits_, sjis);
    const V bodies = Bodies(hits_);
    return std::set<BookAddress>(bodies.begin(), bodies.end());
  };
  const std::tuple<IndexTreeOptions, uint8_t, std::string> shapes[] = {
      {{}, 0x91, ""},
      {{.maxLeafEntries = 3, .maxBranchEntries = 3}, 0x91, ""},
      {{.branchKeyLength = 2, .maxLeafEntries = 3, .maxBranchEntries = 3}, 0x91, ""},  // cut keys
      {{.leaves = LeafLayout::kGroupedKeyword, .maxLeafEntries = 7, .maxBranchEntries = 4},
       0x80,
       "+"},
      {{.leaves = LeafLayout::kGroupedCompound, .maxLeafEntries = 7, .maxBranchEntries = 4},
       0xFF,
       "@"}};
  for (const auto& [options, code, marker] : shapes) {
    OpenTree(entries, code, options);
    SCOPED_TRACE(::testing::Message() << "code " << int(code) << " depth " << depth_);
    for (const TreeEntry& e : entries) {
      const std::string sjis = marker + testing::SjisOfJis(e.key);
      ASSERT_EQ(found(sjis), expected(e.key, false));
      if (marker.empty()) {
        ASSERT_EQ(found(sjis + "*"), expected(e.key, true));
      }
    }
    ASSERT_EQ(found(marker + S("葵")), std::set<BookAddress>{});  // after every key
    EXPECT_GE(depth_, options.branchKeyLength == 2 ? 4 : 1);
  }
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(IndexSearchTest, ExactAndPrefixMatching) {
  OpenTree({{J("かきく"), A(20), A(9)}, {J("かく"), A(21), A(9)}}, 0x91);
  EXPECT_EQ(Found("か*"), (V{A(20), A(21)}));
  disk_.info().zenpo = true;  // forward indexes then match prefixes
  EXPECT_EQ(Found("かき"), V{A(20)});
  context_.firstHitOnly = true;
  EXPECT_EQ(Found("か"), V{A(20)});
  // Fixed-length leaves: keys that fill the length match exactly.
  disk_.info().zenpo = false;
  OpenTree({{J("亜唖"), A(31), A(9)}, {J("唖娃"), A(32), A(9)}}, 0x91,
           {.leaves = LeafLayout::kPlainFixed, .leafKeyLength = 4});
  EXPECT_EQ(Found("唖娃"), V{A(32)});
}

TEST_F(IndexSearchTest, WordGroupMembersMatchTheTypedKeyWithKanaFolded) {
  const std::string key = J("かつこう");
  OpenTree({{key, A(51), A(9), J("がっこう")},
            {key, A(52), A(9), J("ガッコウ")},
            {key, A(53), A(9), J("かっこう")},
            {J("かつら"), A(54), A(9)}},
           0x90, {.leaves = LeafLayout::kGroupedWord});
  EXPECT_EQ(Found("がっこう"), (V{A(51), A(52)}));
  EXPECT_EQ(Found("かっこう"), V{A(53)});
  EXPECT_EQ(Found("かつら"), V{A(54)});
  EXPECT_EQ(Word("かつこう"), kWordNotFound);  // the group's own key is no hit
}

TEST_F(IndexSearchTest, KeywordGroupMembersTakeTheHeadingsThatFollowTheGroupHeading) {
  mkbook::BodyText body({2, 0});
  std::vector<BookAddress> h;
  for (const char* line : {"一の見出し", "二", "三"}) {
    h.push_back(body.Here());
    body.Text(line).Newline();
  }
  std::string bodyPage = body.Bytes();
  bodyPage.resize(kPageSize, '\0');
  std::vector<TreeEntry> group;
  for (int32_t member = 61; member <= 63; ++member) group.push_back({J("ねこ"), A(member), h[0]});
  const mkbook::IndexTree tree =
      mkbook::BuildIndexTree(group, 3, {.leaves = LeafLayout::kGroupedKeyword});
  LoadPages(std::string(kPageSize, '\0') + bodyPage + tree.pages);
  disk_.subbook().indexes.ByCode(0x80).start = 3;
  ASSERT_EQ(Found("+ねこ"), (V{A(61), A(62), A(63)}));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(hits_.Item(i).heading, h[i]);
}

// ---- Damaged index pages ---------------------------------------------------

TEST_F(IndexSearchTest, DescentStopsAfterOneHundredAndOnePages) {
  // Branch pages that never stop the descent and never say "last".
  auto chain = [](int branches) {
    std::string pages;
    for (int i = 0; i < branches; ++i) pages += IndexPage(0x00, 2, 1, J("亜") + mkbook::Be32(1));
    return pages + IndexPage(0xA0, 0, 1, "\x02" + J("葵") + Address(A(90)) + Address(A(9)));
  };
  LoadIndex(chain(100), 0x91);
  EXPECT_EQ(Found("葵"), V{A(90)});
  EXPECT_TRUE(reporter_.boxes().empty());
  LoadIndex(chain(101), 0x91);
  EXPECT_EQ(Word("葵"), kWordNotFound);
  EXPECT_EQ(reporter_.Last(RecordedBox::kWarning), "ｲﾝﾃﾞｯｸｽの入力ｴﾗｰが発生しました.");
}

TEST_F(IndexSearchTest, DamagedPagesRaiseTheirFatalBoxesAndKeepEarlierHits) {
  const std::string good = std::string("\x00\x04", 2) + J("ねこ") + Address(A(95)) + Address(A(9));
  const std::string badKind = "\x40\x02" + J("ね");
  const std::tuple<uint8_t, const char*, std::string, const char*> cases[] = {
      {0x91, "ね*", IndexPage(0xB0, 0, 2, good + badKind), "Invaid ID was found in SearchKihon"},
      {0x91, "ね*", IndexPage(0xB0, 0, 500, good), "Something is wrong in search kihon"},
      {0x80, "+ねこ", IndexPage(0xB0, 0, 2, good + badKind), "At SearchJoken"},
      {0x80, "+ねこ", IndexPage(0xB0, 0, 500, good), "At SearchJoken"},
      {0xFF, "@ねこ*", IndexPage(0xB0, 0, 2, good + badKind), "at SearchFukugo"},
      {0x91, "ね*", IndexPage(0x20, 10, 600, ""), "Too much index are read."},
      // Plain pages have no box of their own: too many entries, or a key
      // length beyond the page, just end the scan.
      {0x91, "ね*", IndexPage(0xA0, 0, 500, "\x04" + J("ねこ") + Address(A(95)) + Address(A(9))),
       nullptr},
      {0x91, "ね*", IndexPage(0xA0, 255, 100, ""), nullptr},
  };
  for (const auto& [code, query, page, fatal] : cases) {
    SCOPED_TRACE(fatal ? fatal : query);
    reporter_.Clear();
    LoadIndex(page, code);
    EXPECT_EQ(Found(query), page[0] & 0x80 && page[1] == 0 ? V{A(95)} : V{});
    EXPECT_EQ(reporter_.Count(RecordedBox::kFatal), fatal ? 1 : 0);
    EXPECT_EQ(reporter_.Last(RecordedBox::kFatal), fatal ? fatal : "");
  }
}

// ---- Expressions -----------------------------------------------------------

TEST_F(IndexSearchTest, ExpressionsCombineLeftToRightAndTheLastOperandGivesTheResult) {
  const std::pair<const char*, int> keys[] = {{"ねこ", 10}, {"ねこ", 11},  {"ねこ", 12},
                                              {"いぬ", 11}, {"いぬ", 13},  {"とり", 12},
                                              {"とり", 14}, {"ＮＯＴ", 10}};
  std::vector<TreeEntry> entries;
  for (const auto& [key, page] : keys) entries.push_back({J(key), A(page), A(9)});
  OpenTree(entries, 0x91);
  const V cats{A(10), A(11), A(12)};
  const std::tuple<const char*, V, int> cases[] = {
      {"ねこ いぬ", {A(11)}, kWordFound},
      {"ねこ or いぬ", {A(10), A(11), A(12), A(11), A(13)}, kWordFound},
      {"ねこ not (いぬ or とり)", {A(10)}, kWordFound},
      {"ねこ or いぬ and とり", {A(12)}, kWordFound},  // no precedence
      // An operator word where an operand belongs is searched as a word.
      {"not ねこ", {A(10)}, kWordFound},
      {"いぬ or not", {A(11), A(13), A(10)}, kWordFound},
      // Dangling operators are ignored.
      {"ねこ and", cats, kWordFound},
      {"(ねこ or) いぬ", {A(11)}, kWordFound},
      {"()", {}, 0},
      {"ねこ $72ねこ", {}, kWordIndexAbsent},
      {"$72ねこ or ねこ", cats, kWordFound},
      {"ねこ ***", {}, kWordNotFound},
  };
  for (const auto& [text, bodies, result] : cases) {
    const std::string query = S(text);
    std::string_view cursor = query;
    hits_.Empty();
    EXPECT_EQ(EvaluateExpression(context_, hits_, cursor), result) << text;
    EXPECT_EQ(Bodies(hits_), bodies) << text;
  }
}

}  // namespace
}  // namespace morva
