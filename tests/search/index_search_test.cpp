#include "engine/search/index_search.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "engine/search/compound.h"
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
using testing::SjisOfJis;
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
  std::set<BookAddress> FoundSet(const std::string& sjis) {
    SearchWord(context_, hits_, sjis);
    const V bodies = Bodies(hits_);
    return {bodies.begin(), bodies.end()};
  }

  SearchContext context_{disk_, 0};
  int depth_ = 0;
};

// Random keys of one to four kanji out of four, so that many share prefixes.
std::vector<TreeEntry> RandomEntries(uint32_t seed, int count, int minLength = 1,
                                     int maxLength = 4) {
  std::mt19937 random(seed);
  std::vector<TreeEntry> entries;
  for (int i = 0; i < count; ++i) {
    std::string key;
    for (int n = minLength + static_cast<int>(random() % (maxLength - minLength + 1)); n > 0; --n)
      key += {'\x30', static_cast<char>(0x21 + random() % 4)};
    entries.push_back({key, A(3000 + i), A(1, i)});  // headings on the blank first page
  }
  return entries;
}

std::set<BookAddress> Expected(const std::vector<TreeEntry>& entries, const std::string& key,
                               bool prefix) {
  std::set<BookAddress> out;
  for (const TreeEntry& e : entries)
    if (prefix ? e.key.starts_with(key) : e.key == key) out.insert(e.body);
  return out;
}

// ---- Descent and leaf scan against a model ----------------------------------

TEST_F(IndexSearchTest, TreesOfEveryDepthAgreeWithAModel) {
  const std::vector<TreeEntry> entries = RandomEntries(7, 120);
  IndexTreeOptions deep;
  deep.maxLeafEntries = 3;
  deep.maxBranchEntries = 3;
  IndexTreeOptions shortKeys = deep;  // branch keys cut to one character
  shortKeys.branchKeyLength = 2;
  for (const IndexTreeOptions& options : {IndexTreeOptions{}, deep, shortKeys}) {
    OpenTree(entries, 0x91, options);
    for (const TreeEntry& e : entries) {
      ASSERT_EQ(FoundSet(SjisOfJis(e.key)), Expected(entries, e.key, false)) << depth_;
      ASSERT_EQ(FoundSet(SjisOfJis(e.key) + "*"), Expected(entries, e.key, true)) << depth_;
    }
    ASSERT_EQ(FoundSet(S("葵")), std::set<BookAddress>{});  // after every key
  }
  EXPECT_GE(depth_, 4);
}

TEST_F(IndexSearchTest, GroupedKeywordAndCompoundTreesAgreeWithAModel) {
  const std::vector<TreeEntry> entries = RandomEntries(19, 150, 1, 2);  // long runs of equal keys
  IndexTreeOptions options;
  options.maxLeafEntries = 7;
  options.maxBranchEntries = 4;
  for (const auto& [layout, code, marker] : {std::tuple{LeafLayout::kGroupedKeyword, 0x80, "+"},
                                             std::tuple{LeafLayout::kGroupedCompound, 0xFF, "@"}}) {
    options.leaves = layout;
    OpenTree(entries, static_cast<uint8_t>(code), options);
    for (const TreeEntry& e : entries)
      ASSERT_EQ(FoundSet(marker + SjisOfJis(e.key)), Expected(entries, e.key, false)) << code;
  }
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(IndexSearchTest, ExactAndPrefixMatching) {
  OpenTree({{J("かきく"), A(20), A(9)}, {J("かく"), A(21), A(9)}}, 0x91);
  EXPECT_EQ(Word("かき"), kWordNotFound);
  EXPECT_EQ(Found("かき*"), V{A(20)});
  EXPECT_EQ(Found("か*"), (V{A(20), A(21)}));
  disk_.info().zenpo = true;  // forward indexes then match prefixes
  EXPECT_EQ(Found("かき"), V{A(20)});
  context_.firstHitOnly = true;
  EXPECT_EQ(Found("か"), V{A(20)});
  // Fixed-length leaves: keys that fill the length match exactly.
  IndexTreeOptions fixed;
  fixed.leaves = LeafLayout::kPlainFixed;
  fixed.leafKeyLength = 4;
  disk_.info().zenpo = false;
  OpenTree({{J("亜唖"), A(31), A(9)}, {J("唖娃"), A(32), A(9)}}, 0x91, fixed);
  EXPECT_EQ(Found("唖娃"), V{A(32)});
}

TEST_F(IndexSearchTest, ShortBranchKeysSendTheScanToTheChildTheKeyBeginsWith) {
  // One-character branch keys: leaf 3 ends with 亜娃, read 亜; leaf 4 with 唖亜, read 唖.
  const std::string leaf3 = IndexPage(0x80, 0, 2,
                                      "\x04" + J("亜亜") + Address(A(10)) + Address(A(9)) + "\x04" +
                                          J("亜娃") + Address(A(11)) + Address(A(9)));
  const std::string leaf4 = IndexPage(0xA0, 0, 2,
                                      "\x04" + J("亜阿") + Address(A(12)) + Address(A(9)) + "\x04" +
                                          J("唖亜") + Address(A(13)) + Address(A(9)));
  const std::string root =
      IndexPage(0x20, 2, 2, J("亜") + mkbook::Be32(3) + J("唖") + mkbook::Be32(4));
  LoadIndex(root + leaf3 + leaf4, 0x91);
  EXPECT_EQ(Found("亜唖"), V{});
  EXPECT_EQ(Found("亜娃"), V{A(11)});
  EXPECT_EQ(Found("亜阿"), V{A(12)});  // below 唖, but the scan starts in the child read 亜
  EXPECT_EQ(Found("唖亜"), V{A(13)});  // past the last branch key: still scanned
}

// ---- Grouped leaf pages ----------------------------------------------------

TEST_F(IndexSearchTest, WordGroupMembersMatchTheTypedKeyWithKanaFolded) {
  IndexTreeOptions grouped;
  grouped.leaves = LeafLayout::kGroupedWord;
  const std::string key = J("かつこう");
  OpenTree({{key, A(51), A(9), J("がっこう")},
            {key, A(52), A(9), J("ガッコウ")},
            {key, A(53), A(9), J("かっこう")},
            {J("かつら"), A(54), A(9)}},
           0x90, grouped);
  EXPECT_EQ(Found("がっこう"), (V{A(51), A(52)}));
  EXPECT_EQ(Found("ガッコウ"), (V{A(51), A(52)}));
  EXPECT_EQ(Found("かっこう"), V{A(53)});
  EXPECT_EQ(Found("かつら"), V{A(54)});
  EXPECT_EQ(Word("かつこう"), kWordNotFound);  // the group's own key is no hit
}

TEST_F(IndexSearchTest, KeywordGroupMembersTakeTheHeadingsThatFollowTheGroupHeading) {
  mkbook::BodyText body({2, 0});
  const BookAddress h1 = body.Here();
  body.Text("一の見出し").Newline();
  const BookAddress h2 = body.Here();
  body.Text("二").Newline();
  const BookAddress h3 = body.Here();
  body.Text("三").Newline();
  std::string bodyPage = body.Bytes();
  bodyPage.resize(kPageSize, '\0');
  IndexTreeOptions grouped;
  grouped.leaves = LeafLayout::kGroupedKeyword;
  const mkbook::IndexTree tree = mkbook::BuildIndexTree({{J("ねこ"), A(61), h1},
                                                         {J("ねこ"), A(62), h1},
                                                         {J("ねこ"), A(63), h1},
                                                         {J("いぬ"), A(60), h3}},
                                                        3, grouped);
  LoadPages(std::string(kPageSize, '\0') + bodyPage + tree.pages);
  disk_.subbook().indexes.ByCode(0x80).start = 3;

  ASSERT_EQ(Found("+ねこ"), (V{A(61), A(62), A(63)}));
  EXPECT_EQ(hits_.Item(0).heading, h1);
  EXPECT_EQ(hits_.Item(1).heading, h2);
  EXPECT_EQ(hits_.Item(2).heading, h3);
  EXPECT_EQ(Found("+いぬ"), V{A(60)});
  EXPECT_EQ(Word("+ね"), kWordNotFound);
  EXPECT_EQ(disk_.subbook().currentIndexRow, disk_.subbook().indexes.RowOf(0x80));
}

TEST_F(IndexSearchTest, CompoundFieldOperandLoadsItsIndex) {
  // Page 1 lists two compound searches (definitions on pages 2 and 3); each
  // field record is a 32-byte header, a candidate sub-entry and an index
  // sub-entry (start, page count, option bytes).
  auto definition = [](const std::vector<uint32_t>& starts) {
    std::string page = IndexPage(0, static_cast<uint8_t>(starts.size()), 0, std::string(12, '\0'));
    std::string records;
    for (uint32_t start : starts) {
      const std::string header = "\x02" + std::string(31, '\0');
      const std::string candidates = "\x01" + std::string(15, '\0');
      const std::string index = std::string("\xA1\x00", 2) + mkbook::Be32(start) + mkbook::Be32(2) +
                                std::string("\x00\x07\x00\x00\x00\x00", 6);
      records += header + candidates + index;
    }
    return page.replace(16, records.size(), records);
  };
  auto entry = [](uint8_t code, uint32_t start) {
    return std::string{static_cast<char>(code), '\0'} + mkbook::Be32(start) + std::string(10, '\0');
  };
  const std::string table =
      IndexPage(0, 3, 0, std::string(12, '\0') + entry(0xFF, 2) + entry(0x91, 9) + entry(0xFF, 3));
  IndexTreeOptions grouped;
  grouped.leaves = LeafLayout::kGroupedCompound;
  const mkbook::IndexTree field = mkbook::BuildIndexTree(
      {{J("ねこ"), A(70), A(80)}, {J("ねこ"), A(71), A(81)}, {J("ねずみ"), A(72), A(82)}}, 4,
      grouped);
  LoadPages(table + definition({40, 41}) + definition({50, 51, 4}) + field.pages);

  const std::string query = "@12" + S("ねこ");
  std::string_view cursor = query;
  EXPECT_EQ(ReadOperand(disk_, cursor).text, "@" + S("ねこ"));
  const IndexKindRow& slot = disk_.subbook().indexes.ByCode(0xFF);
  EXPECT_EQ(slot.start, 4);
  EXPECT_EQ(slot.end, 5);
  EXPECT_EQ(slot.options[0], 0x07);
  cursor = query;
  EXPECT_EQ(EvaluateExpression(context_, hits_, cursor), kWordFound);
  EXPECT_EQ(Bodies(hits_), (V{A(70), A(71)}));
  EXPECT_EQ(hits_.Item(1).heading, A(81));
  EXPECT_TRUE(LoadFieldIndex(disk_, 0, 1));
  EXPECT_EQ(slot.start, 41);
  EXPECT_FALSE(LoadFieldIndex(disk_, 0, 2));  // no such field: the slot is absent
  EXPECT_EQ(slot.start, 0);
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
  struct Case {
    uint8_t code;
    const char* query;
    std::string page;
    const char* fatal;
  };
  const Case cases[] = {
      {0x91, "ね*", IndexPage(0xB0, 0, 2, good + badKind), "Invaid ID was found in SearchKihon"},
      {0x91, "ね*", IndexPage(0xB0, 0, 500, good), "Something is wrong in search kihon"},
      {0x80, "+ねこ", IndexPage(0xB0, 0, 2, good + badKind), "At SearchJoken"},
      {0x80, "+ねこ", IndexPage(0xB0, 0, 500, good), "At SearchJoken"},
      {0xFF, "@ねこ*", IndexPage(0xB0, 0, 2, good + badKind), "at SearchFukugo"},
      {0x91, "ね*", IndexPage(0x20, 10, 600, ""), "Too much index are read."},
  };
  for (const Case& c : cases) {
    reporter_.Clear();
    LoadIndex(c.page, c.code);
    if (c.page[0] & 0x80) EXPECT_EQ(Found(c.query), V{A(95)}) << c.fatal;
    else EXPECT_EQ(Word(c.query), kWordNotFound);
    EXPECT_EQ(reporter_.Count(RecordedBox::kFatal), 1) << c.fatal;
    EXPECT_EQ(reporter_.Last(RecordedBox::kFatal), c.fatal);
  }
  // Plain pages have no box of their own: too many entries, or a key length
  // beyond the page, just end the scan.
  reporter_.Clear();
  LoadIndex(IndexPage(0xA0, 0, 500, "\x04" + J("ねこ") + Address(A(96)) + Address(A(9))), 0x91);
  EXPECT_EQ(Found("ね*"), V{A(96)});
  LoadIndex(IndexPage(0xA0, 255, 100, ""), 0x91);
  EXPECT_EQ(Word("ね*"), kWordNotFound);
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(IndexSearchTest, RandomBytesNeverReadOutsideThePages) {
  std::mt19937 random(99);
  for (int round = 0; round < 300; ++round) {
    std::string pages(3 * kPageSize, '\0');
    for (char& b : pages) b = static_cast<char>(random());
    for (int p = 0; p < 3; ++p)
      pages[p * kPageSize] = static_cast<char>(pages[p * kPageSize] & 0xB0);
    LoadIndex(pages, std::array<uint8_t, 3>{0x91, 0x80, 0xFF}[round % 3]);
    disk_.info().zenpo = round % 2 == 0;
    Word(std::array{"ね", "+ね", "@ね"}[round % 3]);
  }
}

// ---- Expressions -----------------------------------------------------------

class ExpressionTest : public IndexSearchTest {
 protected:
  ExpressionTest() {
    OpenTree({{J("ねこ"), A(10), A(9)},
              {J("ねこ"), A(11), A(9)},
              {J("ねこ"), A(12), A(9)},
              {J("いぬ"), A(11), A(9)},
              {J("いぬ"), A(13), A(9)},
              {J("とり"), A(12), A(9)},
              {J("とり"), A(14), A(9)},
              {J("ＮＯＴ"), A(10), A(9)}},
             0x91);
  }
  V Evaluate(std::string_view utf8) {
    const std::string query = S(utf8);
    std::string_view cursor = query;
    hits_.Empty();
    result_ = EvaluateExpression(context_, hits_, cursor);
    return Bodies(hits_);
  }
  int result_ = 0;
};

TEST_F(ExpressionTest, OperatorsCombineLeftToRight) {
  EXPECT_EQ(Evaluate("ねこ いぬ"), V{A(11)});
  EXPECT_EQ(Evaluate("ねこ AND いぬ"), V{A(11)});
  EXPECT_EQ(Evaluate("ねこ or いぬ"), (V{A(10), A(11), A(12), A(11), A(13)}));
  EXPECT_EQ(Evaluate("ねこ not (いぬ or とり)"), V{A(10)});
  EXPECT_EQ(Evaluate("(いぬ or とり) ねこ"), (V{A(11), A(12)}));
  EXPECT_EQ(Evaluate("ねこ or いぬ and とり"), V{A(12)});  // no precedence
  // An operator word where an operand belongs is searched as a word.
  EXPECT_EQ(Evaluate("not ねこ"), V{A(10)});
  EXPECT_EQ(Evaluate("いぬ or not"), (V{A(11), A(13), A(10)}));
}

TEST_F(ExpressionTest, DanglingOperatorsAreIgnoredAndTheLastOperandGivesTheResult) {
  EXPECT_EQ(Evaluate("ねこ and"), (V{A(10), A(11), A(12)}));
  EXPECT_EQ(Evaluate("(ねこ or) いぬ"), V{A(11)});
  EXPECT_EQ(Evaluate("()"), V{});
  EXPECT_EQ(result_, 0);
  EXPECT_EQ(Evaluate("ねこ $72ねこ"), V{});
  EXPECT_EQ(result_, kWordIndexAbsent);
  EXPECT_EQ(Evaluate("$72ねこ or ねこ"), (V{A(10), A(11), A(12)}));
  EXPECT_EQ(result_, kWordFound);
  EXPECT_EQ(Evaluate("ねこ ***"), V{});
  EXPECT_EQ(result_, kWordNotFound);
}

}  // namespace
}  // namespace morva
