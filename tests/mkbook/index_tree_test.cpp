// Index trees: leaf and branch bytes against hand-computed pages, tree shape,
// and searches through the trees following the descent and scan rules.
#include "tools/mkbook/index_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <stdexcept>

#include "tests/mkbook/hex.h"
#include "tests/mkbook/tree_reader.h"
#include "tools/mkbook/jis_text.h"

namespace morva::mkbook {
namespace {

using testing::Hit;
using testing::TreeReader;

std::string J(const char* utf8) { return JisFromUtf8(utf8); }

TreeEntry Entry(const char* utf8, int32_t page, int32_t offset = 0) {
  return {J(utf8), {page, offset}, {page + 1000, offset}};
}

std::string PageOf(const IndexTree& t, int32_t page) {
  return t.pages.substr(static_cast<size_t>(page - t.firstPage) * kPageSize, kPageSize);
}

TEST(IndexTree, PlainLeafWithLengthBytes) {
  const IndexTree t = BuildIndexTree({Entry("ねこ", 0x12, 0x345), Entry("いぬ", 7)}, 50);
  ASSERT_EQ(t.PageCount(), 1);
  EXPECT_EQ(t.depth, 1);
  const std::string page = PageOf(t, 50);
  // Leaf, first and last of its level; key length 0; two entries of L + 13.
  EXPECT_EQ(page.substr(0, 4 + 2 * 17),
            Hex("E0 00 0002"
                "04 2424 244C 00000007 0000 000003EF 0000"
                "04 244D 2433 00000012 0345 000003FA 0345"));
  EXPECT_EQ(page.substr(38), std::string(2048 - 38, '\0'));
}

TEST(IndexTree, PlainFixedLeafPadsKeys) {
  IndexTreeOptions o;
  o.leaves = LeafLayout::kPlainFixed;
  o.leafKeyLength = 6;
  const IndexTree t = BuildIndexTree({Entry("あ", 2), Entry("いぬ", 3)}, 1, o);
  // Entries of L + 12 = 18 bytes.
  EXPECT_EQ(PageOf(t, 1).substr(0, 4 + 36), Hex("E0 06 0002"
                                                "2422 0000 0000 00000002 0000 000003EA 0000"
                                                "2424 244C 0000 00000003 0000 000003EB 0000"));
  o.leafKeyLength = 2;
  EXPECT_THROW(BuildIndexTree({Entry("いぬ", 3)}, 1, o), std::invalid_argument);
}

TEST(IndexTree, BranchKeyIsTheLastKeyOfItsChild) {
  IndexTreeOptions o;
  o.maxLeafEntries = 2;
  o.lastKeySentinel = false;
  const IndexTree t = BuildIndexTree({Entry("う", 3), Entry("あ", 1), Entry("いい", 2), Entry("え", 4)}, 10, o);
  ASSERT_EQ(t.depth, 2);
  EXPECT_EQ(t.firstLeafPage, 11);
  EXPECT_EQ(t.leafPageCount, 2);
  // Root: branch, first and last of its level; L = longest key (4); entries of
  // L + 4: "いい" -> page 11, "え" padded -> page 12.
  EXPECT_EQ(PageOf(t, 10).substr(0, 4 + 16), Hex("60 04 0002  2424 2424 0000000B  2428 0000 0000000C"));
  EXPECT_EQ(PageOf(t, 11).substr(0, 1), Hex("C0"));  // leaf, first of level
  EXPECT_EQ(PageOf(t, 12).substr(0, 1), Hex("A0"));  // leaf, last of level

  o.lastKeySentinel = true;
  const IndexTree s = BuildIndexTree({Entry("う", 3), Entry("あ", 1), Entry("いい", 2), Entry("え", 4)}, 10, o);
  EXPECT_EQ(PageOf(s, 10).substr(12, 8), Hex("FFFF FFFF 0000000C"));
}

TEST(IndexTree, DepthAndLastPageBitsFollowTheEntryLimits) {
  std::vector<TreeEntry> sixteen;
  for (int i = 0; i < 16; ++i) sixteen.push_back({std::string{'\x24', static_cast<char>(0x22 + i)}, {i + 1, 0}, {}});
  IndexTreeOptions o;
  o.maxLeafEntries = 2;
  o.maxBranchEntries = 2;
  const IndexTree t = BuildIndexTree(sixteen, 100, o);
  // 8 leaves, 4 + 2 + 1 branch pages.
  EXPECT_EQ(t.depth, 4);
  EXPECT_EQ(t.PageCount(), 15);
  EXPECT_EQ(t.firstLeafPage, 107);
  const int levelStarts[] = {100, 101, 103, 107, 115};
  for (int level = 0; level < 4; ++level) {
    for (int32_t p = levelStarts[level]; p < levelStarts[level + 1]; ++p) {
      const auto kind = static_cast<uint8_t>(PageOf(t, p)[0]);
      SCOPED_TRACE(p);
      EXPECT_EQ((kind & 0x80) != 0, level == 3);
      EXPECT_EQ((kind & 0x20) != 0, p + 1 == levelStarts[level + 1]);
      EXPECT_EQ((kind & 0x40) != 0, p == levelStarts[level]);
    }
  }
  EXPECT_EQ(BuildIndexTree({sixteen[0]}, 1, o).depth, 1);
  EXPECT_EQ(BuildIndexTree({}, 1, o).pages.substr(0, 4), Hex("E0 00 0000"));
}

TEST(IndexTree, GroupedWordEntries) {
  IndexTreeOptions o;
  o.leaves = LeafLayout::kGroupedWord;
  std::vector<TreeEntry> es = {
      {J("かき"), {1, 0}, {2, 0}, J("カキ")},        // same as the key, kana folded: a single
      {J("かつこう"), {3, 0}, {4, 0}, J("がっこう")},  // differs: a group
  };
  const std::string page = PageOf(BuildIndexTree(es, 1, o), 1);
  EXPECT_EQ(page.substr(0, 4), Hex("F0 00 0003"));
  EXPECT_EQ(page.substr(4, 18 + 12 + 22),
            Hex("00 04 242B 242D 00000001 0000 00000002 0000"          // L + 14
                "80 08 0000 242B 2444 2433 2426"                        // L + 4
                "C0 08 242C 2443 2433 2426 00000003 0000 00000004 0000"));  // L + 14
}

TEST(IndexTree, GroupedKeywordAndCompoundEntries) {
  std::vector<TreeEntry> es = {Entry("あ", 1), Entry("あ", 2), Entry("い", 3)};
  IndexTreeOptions o;
  o.leaves = LeafLayout::kGroupedKeyword;
  EXPECT_EQ(PageOf(BuildIndexTree(es, 1, o), 1).substr(0, 4 + 14 + 14 + 16),
            Hex("F0 00 0004"
                "80 02 00000000 2422 000003E9 0000"                 // L + 12: key, first heading
                "C0 00000001 0000  C0 00000002 0000"                // 7 each: body only
                "00 02 2424 00000003 0000 000003EB 0000"));         // L + 14
  o.leaves = LeafLayout::kGroupedCompound;
  EXPECT_EQ(PageOf(BuildIndexTree(es, 1, o), 1).substr(0, 4 + 8 + 26),
            Hex("F0 00 0004"
                "80 02 00000000 2422"                                          // L + 6
                "C0 00000001 0000 000003E9 0000  C0 00000002 0000 000003EA 0000"));  // 13 each
}

// Keys over a small alphabet, so prefixes and duplicates are common.
std::vector<TreeEntry> RandomEntries(std::mt19937& rng, int count) {
  std::vector<TreeEntry> es;
  for (int i = 0; i < count; ++i) {
    std::string key;
    for (int n = 1 + static_cast<int>(rng() % 4); n > 0; --n) key += {'\x24', static_cast<char>(0x22 + rng() % 3)};
    es.push_back({key, {i + 1, i % 2048}, {i + 5000, 7}});
  }
  return es;
}

TEST(IndexTree, EveryKeyIsFoundThroughTreesOfAnyDepth) {
  std::mt19937 rng(7);
  for (const LeafLayout layout : {LeafLayout::kPlainWithLengths, LeafLayout::kGroupedCompound}) {
    for (const int perPage : {0, 2, 3, 5}) {
      const std::vector<TreeEntry> es = RandomEntries(rng, 60);
      IndexTreeOptions o;
      o.leaves = layout;
      o.maxLeafEntries = perPage;
      o.maxBranchEntries = perPage;
      const IndexTree t = BuildIndexTree(es, 30, o);
      if (perPage == 2) {
        EXPECT_GE(t.depth, 4);
      }
      const TreeReader reader(t.pages, 30, layout == LeafLayout::kGroupedCompound ? 0xFF : 0x90);
      std::multimap<std::string, BookAddress> model;
      for (const TreeEntry& e : es) model.emplace(e.key, e.body);
      for (const auto& [key, _] : model) {
        SCOPED_TRACE(perPage);
        std::vector<BookAddress> want, got;
        for (auto [it, end] = model.equal_range(key); it != end; ++it) want.push_back(it->second);
        for (const Hit& h : reader.Find(key)) got.push_back(h.body);
        std::sort(got.begin(), got.end());
        std::sort(want.begin(), want.end());
        EXPECT_EQ(got, want);
        // Prefix matching finds every key that begins with it.
        const size_t withPrefix = std::count_if(es.begin(), es.end(), [&](const TreeEntry& e) {
          return e.key.compare(0, key.size(), key) == 0;
        });
        EXPECT_EQ(reader.Find(key, true).size(), withPrefix);
      }
      EXPECT_TRUE(reader.Find("\x24\x30").empty());  // beyond every key
      EXPECT_TRUE(reader.Find("\x24\x21").empty());  // before every key
    }
  }
}

TEST(IndexTree, WordGroupsMatchTheWrittenFormOnly) {
  IndexTreeOptions o;
  o.leaves = LeafLayout::kGroupedWord;
  o.maxLeafEntries = 2;  // the group runs over two pages
  const std::vector<TreeEntry> es = {{J("かき"), {1, 0}, {}, J("かき")},
                                     {J("かき"), {2, 0}, {}, J("かぎ")},
                                     {J("かき"), {3, 0}, {}, J("ガキ")},
                                     {J("かく"), {4, 0}, {}}};
  const IndexTree t = BuildIndexTree(es, 1, o);
  const TreeReader reader(t.pages, 1, 0x90);
  ASSERT_EQ(reader.Find(J("かき"), false, J("がき")).size(), 1u);
  EXPECT_EQ(reader.Find(J("かき"), false, J("がき"))[0].body, (BookAddress{3, 0}));
  EXPECT_EQ(reader.Find(J("かき"), false, J("カキ")).size(), 1u);
  EXPECT_EQ(reader.Find(J("かく")).size(), 1u);
}

TEST(IndexTree, KeywordGroupMembersTakeTheGroupHeadingFirst) {
  IndexTreeOptions o;
  o.leaves = LeafLayout::kGroupedKeyword;
  const IndexTree t = BuildIndexTree({Entry("あ", 1), Entry("あ", 2), Entry("あ", 3), Entry("い", 4)}, 1, o);
  const std::vector<Hit> hits = TreeReader(t.pages, 1, 0x80).Find(J("あ"));
  ASSERT_EQ(hits.size(), 3u);
  EXPECT_EQ(hits[0], (Hit{{1, 0}, {1001, 0}}));
  EXPECT_EQ(hits[1], (Hit{{2, 0}, {}}));  // a reader takes the next heading line
  EXPECT_EQ(hits[2].body, (BookAddress{3, 0}));
}

TEST(IndexTree, CutBranchKeysLeadToTheChildWhoseKeyBeginsTheSearchKey) {
  IndexTreeOptions o;
  o.maxLeafEntries = 2;
  o.branchKeyLength = 4;  // two characters
  const IndexTree t = BuildIndexTree({Entry("あい", 1), Entry("かきあ", 2), Entry("かきく", 3), Entry("さ", 4)}, 1, o);
  // The root names the first leaf "かき" (cut); a search for かきく compares as
  // longer and equal, goes on, and the descent falls back on that leaf.
  EXPECT_EQ(PageOf(t, 1).substr(0, 12), Hex("60 04 0002 242B 242D 00000002"));
  const TreeReader reader(t.pages, 1);
  EXPECT_EQ(reader.Descend(J("かきく")), 2);
  ASSERT_EQ(reader.Find(J("かきく")).size(), 1u);
  EXPECT_EQ(reader.Find(J("かきく"))[0].body, (BookAddress{3, 0}));
}

TEST(IndexTree, RefusesKeysItCannotStore) {
  EXPECT_THROW(BuildIndexTree({Entry("", 1)}, 1), std::invalid_argument);
  EXPECT_THROW(BuildIndexTree({{std::string(256, '\x24'), {1, 0}, {}}}, 1), std::invalid_argument);
  IndexTreeOptions o;
  o.maxBranchEntries = 1;
  EXPECT_THROW(BuildIndexTree({Entry("あ", 1)}, 1, o), std::invalid_argument);
}

TEST(IndexTree, ReverseJisKeyReversesCharacters) {
  EXPECT_EQ(ReverseJisKey(J("ねこだ")), J("だこね"));
  EXPECT_EQ(ReverseJisKey(""), "");
  EXPECT_EQ(ReverseJisKey(Hex("2422 24")), Hex("24 2422"));
  EXPECT_EQ(FoldKatakana(J("カキー")), J("かきー"));
}

}  // namespace
}  // namespace morva::mkbook
