#include <gtest/gtest.h>

#include <filesystem>

#include "engine/book/keyed_index.h"
#include "engine/text/unicode.h"
#include "tests/support/book_test.h"
#include "tools/mkbook/damage.h"
#include "tools/mkbook/font.h"

namespace morva {
namespace {

using mkbook::CatalogLayout;
using mkbook::Volume;
using testing::SimpleSubbook;

constexpr int32_t kFont = BodyFileTable::kFontFirstPage;

std::string FileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

// A font file of one character: a header page and a bitmap page.
std::string FontFile(int width, int height) {
  mkbook::Font f(width, height);
  f.AddPattern({"#"});
  return f.Build();
}

class CatalogTest : public testing::BookTest {
 protected:
  std::string Title() const { return SjisToUtf8(disk_.subbook().title); }
  const IndexKindTable& Indexes() const { return disk_.subbook().indexes; }
  std::string BodyFile(int row) const { return FileName(disk_.BodyFiles().Row(row).path); }
};

// ---- Volumes ---------------------------------------------------------------------

TEST_F(CatalogTest, CatalogsLayoutWinsOverCatalog) {
  testing::WriteVolume(Root(), {SimpleSubbook("国語辞典", "kokugo")});
  Volume other(CatalogLayout::kCatalog);
  other.AddSubbook(SimpleSubbook("別の本", "other"));
  other.WriteTo(Root());
  ASSERT_TRUE(Select(0));
  EXPECT_EQ(disk_.subbook().volumeKind, 0);
  EXPECT_EQ(disk_.BodyFiles().Row(0).path, Root() + "/kokugo/data/honmon");
}

TEST_F(CatalogTest, VolumesWithoutCatalog) {
  Volume v = Volume::WithoutCatalog();
  v.AddFile("data/honmon", testing::SimpleBody());
  v.WriteTo(Root());
  WriteInfo(Sjis("[個人辞書]\nHONMON=data\\honmon,1\n"));
  ASSERT_TRUE(Select(0, "個人辞書"));
  EXPECT_EQ(disk_.subbook().volumeKind, 2);
  EXPECT_EQ(Title(), "個人辞書");

  // Without a title, a volume is known only by sekai/ or ruigo.dat/.
  EXPECT_FALSE(Select(0));
  EXPECT_EQ(disk_.subbook().volumeKind, -1);

  const std::string sekai = dir_.str() + "/sekai";
  mkbook::WriteBytes(sekai + "/SEKAI/HONMON", testing::SimpleBody());
  WriteInfo(Sjis("[平凡社「世界大百科事典」]\nHONMON=sekai/honmon,1\n"));
  ASSERT_TRUE(Select(0, "", sekai));
  EXPECT_TRUE(disk_.subbook().specialTitle);
  EXPECT_TRUE(Indexes().Has(0x00));

  std::filesystem::create_directories(dir_ / "ruigo" / "ruigo.dat");
  EXPECT_TRUE(disk_.OpenVolume(dir_.str() + "/ruigo", ""));
  EXPECT_EQ(SjisToUtf8(disk_.ReadSubbookTitle(0)), "角川類語新辞典");
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(CatalogTest, CatalogCountIsNotTrustedBeyondTheFileAndTitlesAreListedAside) {
  Volume v;
  v.AddSubbook(SimpleSubbook("一", "one"));
  v.AddSubbook(SimpleSubbook("二番目", "two"));
  v.SetDeclaredSubbookCount(1);
  v.WriteTo(Root());
  EXPECT_FALSE(Select(1));
  EXPECT_FALSE(Select(-1));

  // One catalog page holds (2048 - 16) / 164 = 12 records.
  v.SetDeclaredSubbookCount(60000);
  v.WriteTo(Root());
  ASSERT_TRUE(Select(1));
  EXPECT_EQ(disk_.subbook().subbookCount, 12);
  EXPECT_FALSE(Select(12));

  // Listing titles leaves the open sub-book readable.
  v.SetDeclaredSubbookCount(2);
  v.WriteTo(Root());
  ASSERT_TRUE(Select(1));
  EXPECT_EQ(SjisToUtf8(disk_.ReadSubbookTitle(0)), "一");
  ASSERT_EQ(disk_.ReadPage(1), 0);  // the index page, not the catalog's page 1
  EXPECT_EQ(TDisk::Be32(disk_.PageBuffer() + 18), 2u);
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(CatalogTest, SelectingTheCurrentRowAgainDoesNothing) {
  testing::WriteVolume(Root(), {SimpleSubbook("辞典", "jiten")});
  WriteInfo(Sjis("[辞典]\nnKey=5\n"));
  ASSERT_TRUE(Select(0));
  WriteInfo(Sjis("[辞典]\nnKey=6\n"));
  disk_.decoderState().contentStart = {3, 4};
  EXPECT_TRUE(disk_.SelectSubbook(0));
  EXPECT_EQ(disk_.info().nKey, 5);
  EXPECT_EQ(disk_.decoderState().contentStart, (BookAddress{3, 4}));

  disk_.CloseSubbook();
  EXPECT_TRUE(disk_.subbook().title.empty());
  EXPECT_FALSE(disk_.MultiFile());
  ASSERT_TRUE(disk_.SelectSubbook(0));
  EXPECT_EQ(disk_.info().nKey, 6);
  EXPECT_EQ(disk_.decoderState().contentStart, (BookAddress{}));
}

// ---- Index page ------------------------------------------------------------------

TEST_F(CatalogTest, IndexPageEntriesFillTheTableUpToAHundred) {
  std::vector<mkbook::IndexEntry> entries = {{0x91, 5, 3, {1, 2, 3}},
                                             {0x91, 9, 1, {}},   // the same code again
                                             {0x33, 7, 1, {}},   // a code the table does not know
                                             {0x26, 12, 2, {}},  // menu variants
                                             {0x20, 14, 1, {}}};
  entries.resize(99, {0x05, 2, 1, {}});
  entries.push_back({0x80, 4, 1, {}});  // entry 100
  mkbook::Subbook s = SimpleSubbook("辞典", "jiten", entries);
  s.body[1] = static_cast<char>(0xFF);  // claims too many entries
  s.body[3] = 0x05;                     // protection bits
  testing::WriteVolume(Root(), {s});

  ASSERT_TRUE(Select(0));
  const IndexKindRow& word = Indexes().ByCode(0x91);
  EXPECT_EQ(word.start, 5);
  EXPECT_EQ(word.end, 7);
  EXPECT_EQ(word.options, (std::array<uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ(Indexes().Start(0x00), 2);
  EXPECT_EQ(disk_.subbook().protection, 5);
  EXPECT_EQ(Indexes().Start(0x01), 12);  // the menu row takes the first variant
  EXPECT_EQ(disk_.subbook().menus.count, 2);
  EXPECT_TRUE(Indexes().Has(0x05));
  EXPECT_FALSE(Indexes().Has(0x80));
}

TEST_F(CatalogTest, KeyedIndexesAndTheInputMethod) {
  testing::WriteVolume(
      Root(),
      {SimpleSubbook("表記", "hyoki", {{0x71, 3, 1, {}}, {0x05, 4, 1, {}}, {0x91, 5, 1, {}}}),
       SimpleSubbook("かな", "kana", {{0x90, 3, 1, {}}})});
  ASSERT_TRUE(Select(0));
  uint8_t code = 0;
  std::string caption;
  ASSERT_TRUE(KeyedIndexCaption(disk_, 1, &code, &caption));
  EXPECT_EQ(code, 0x71);
  EXPECT_EQ(SjisToUtf8(caption), "後表記");
  EXPECT_FALSE(KeyedIndexCaption(disk_, 2, &code, &caption));
  EXPECT_EQ(disk_.subbook().imeMode, 0);
  ASSERT_TRUE(Select(1));  // a kana index turns the input method on
  EXPECT_EQ(disk_.subbook().imeMode, 1);
}

// ---- Font files --------------------------------------------------------------------

TEST_F(CatalogTest, FontFilesBecomeF1AndF2) {
  mkbook::Subbook both = SimpleSubbook("両方", "both");
  both.AddFont(0, "GAI16F", FontFile(16, 16));
  both.AddFont(1, "GAI24F", FontFile(24, 24));
  both.AddFont(6, "GAI16H", FontFile(8, 16));
  mkbook::Subbook second = SimpleSubbook("半角", "half");
  second.AddFont(5, "GAI24H", FontFile(16, 24));
  mkbook::Subbook outside = SimpleSubbook("外", "out");
  outside.AddFont(0, "../../gf", FontFile(16, 16));  // the volume root's gf
  outside.AddFont(4, "../gh", FontFile(8, 16));      // out/gh
  testing::WriteVolume(Root(), {both, second, outside});

  ASSERT_TRUE(Select(0));
  ASSERT_EQ(disk_.BodyFiles().Count(), 3);
  EXPECT_EQ(BodyFile(1), "gai16f");
  EXPECT_EQ(BodyFile(2), "gai16h");
  EXPECT_EQ(Indexes().Start(0xF1), kFont);
  EXPECT_EQ(Indexes().End(0xF1), kFont + 99);
  EXPECT_EQ(Indexes().Start(0xF2), kFont + 100);

  // A lone font of the second group is still the first font.
  ASSERT_TRUE(Select(1));
  EXPECT_EQ(Indexes().Start(0xF1), kFont);
  EXPECT_FALSE(Indexes().Has(0xF2));

  // Font names that leave the gaiji directory are not used.
  ASSERT_TRUE(std::filesystem::exists(Root() + "/gf"));
  ASSERT_TRUE(Select(2));
  EXPECT_EQ(disk_.BodyFiles().Count(), 1);
  EXPECT_FALSE(Indexes().Has(0xF1));
}

TEST_F(CatalogTest, DamagedCatalogsAndIndexPagesAreHarmless) {
  mkbook::Subbook s = SimpleSubbook("辞典", "jiten", {{0x91, 3, 1, {}}});
  s.AddFont(0, "GAI16F", FontFile(16, 16));
  Volume v;
  v.AddSubbook(s);
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    const std::filesystem::path root = dir_ / ("damaged" + std::to_string(seed));
    v.WriteTo(root);
    if (seed % 4 == 0) mkbook::damage::Truncate(root / v.CatalogPath(), seed);
    const auto file = seed % 4 == 1 ? v.CatalogPath() : v.BodyPath(0);
    if (seed % 4 != 0) mkbook::damage::Scramble(root / file, 1, 0, 300, seed);
    Select(0, "", root.string());
    disk_.OpenVolume(root.string(), "");
    for (int i = 0; i < disk_.subbook().subbookCount; ++i) disk_.ReadSubbookTitle(i);
  }
}

}  // namespace
}  // namespace morva
