// Volume trees on disk: layouts, name case, split and catalog-less volumes,
// damage, and the demonstration volume.
#include "tools/mkbook/volume.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/mkbook/hex.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/damage.h"
#include "tools/mkbook/demo_book.h"
#include "tools/mkbook/font.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/split_layout.h"
#include "tools/mkbook/subbook_pages.h"

namespace morva::mkbook {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;

Subbook SimpleSubbook(const char* dir) {
  SubbookPages pages;
  BodyText body({pages.NextFreePage(), 0});
  body.Indent(1).Headword("あ").Newline();
  pages.AddSection(0x00, body.Bytes());
  Subbook s;
  s.record.title = JisFromUtf8("本");
  s.record.directory = dir;
  s.body = pages.Build();
  return s;
}

TEST(Volume, CatalogsLayoutInUpperCase) {
  TempDir tmp;
  Volume v;
  v.SetNameCase(NameCase::kUpper);
  Subbook s = SimpleSubbook("test");
  Font font(16, 16);
  font.AddPattern({"#"});
  s.AddFont(0, "gai16f", font.Build());
  s.files.push_back({"Extra/Notes.txt", "hi"});
  v.AddSubbook(std::move(s));
  v.WriteTo(tmp.path());

  EXPECT_EQ(ReadFile(tmp / "CATALOGS"), v.CatalogBytes());
  EXPECT_EQ(v.BodyPath(0), fs::path("TEST/DATA/HONMON"));
  EXPECT_EQ(fs::file_size(tmp / "TEST/DATA/HONMON"), 2u * 2048);
  EXPECT_EQ(fs::file_size(tmp / "TEST/GAIJI/GAI16F"), 2u * 2048);
  EXPECT_EQ(ReadFile(tmp / "TEST/Extra/Notes.txt"), "hi");
  // The catalog keeps the names as given.
  EXPECT_EQ(v.CatalogBytes().substr(98, 8), "test    ");
  EXPECT_EQ(v.CatalogBytes().substr(116, 8), std::string("gai16f\0\0", 8));
}

TEST(Volume, CatalogLayoutKeepsBodyInStart) {
  TempDir tmp;
  Volume v(CatalogLayout::kCatalog);
  v.AddSubbook(SimpleSubbook("one"));
  v.AddSubbook(SimpleSubbook("two"));
  v.WriteTo(tmp.path());
  EXPECT_TRUE(fs::exists(tmp / "catalog"));
  EXPECT_FALSE(fs::exists(tmp / "catalogs"));
  EXPECT_EQ(ReadFile(tmp / "two/start"), v.subbook(1).body);
  EXPECT_EQ(ReadFile(tmp / "catalog").substr(88, 8), "two     ");
}

TEST(Volume, SplitLayoutKeepsOnlyTheIndexPageInHonmon) {
  TempDir tmp;
  PageFile words(10);  // the word index starts at page 10 of the page space
  words.AppendPages(std::string(3000, 'w'));
  PageFile titles(20);
  titles.AppendPages("t");

  Subbook s;
  s.record.title = JisFromUtf8("分割");
  s.record.directory = "split";
  MakeSplit(s, {{0x91, std::string(SplitFileName(0x91)), words, {}},
                {0x05, "sub/" + std::string(SplitFileName(0x05)), titles, {}}});
  Volume v;
  v.AddSubbook(std::move(s));
  v.WriteTo(tmp.path());

  const std::string honmon = ReadFile(tmp / "split/data/honmon");
  ASSERT_EQ(honmon.size(), 2048u);
  EXPECT_EQ(honmon.substr(1, 1), Hex("02"));
  EXPECT_EQ(honmon.substr(16, 10), Hex("91 00 0000000A 00000002"));
  EXPECT_EQ(honmon.substr(32, 10), Hex("05 00 00000014 00000001"));
  EXPECT_EQ(ReadFile(tmp / "split/data/zhyoki.idx").size(), 2u * 2048);
  EXPECT_EQ(ReadFile(tmp / "split/data/sub/zhyoki.txt")[0], 't');
  EXPECT_EQ(SplitFileName(0x04), "zkana.txt");
  EXPECT_EQ(SplitFileName(0x50), "");
}

TEST(Volume, WithoutCatalogHasOnlyItsDirectories) {
  TempDir tmp;
  Volume v = Volume::WithoutCatalog();
  v.AddDirectory("sekai");
  v.AddDirectory("ruigo.dat");
  v.AddFile("sekai/honmon", SubbookPages().Build());
  v.WriteTo(tmp.path());
  EXPECT_TRUE(fs::is_directory(tmp / "ruigo.dat"));
  EXPECT_EQ(fs::file_size(tmp / "sekai/honmon"), 2048u);
  EXPECT_FALSE(fs::exists(tmp / "catalogs"));
  EXPECT_FALSE(fs::exists(tmp / "catalog"));
  EXPECT_TRUE(v.CatalogBytes().empty());
}

TEST(Damage, TruncateRemoveOverwriteScramble) {
  TempDir tmp;
  Volume v;
  v.AddSubbook(SimpleSubbook("d"));
  v.WriteTo(tmp.path());
  const fs::path body = tmp.path() / v.BodyPath(0);
  const std::string before = ReadFile(body);

  damage::Scramble(body, 2, 0, 16, 7);
  const std::string once = ReadFile(body);
  EXPECT_NE(once.substr(2048, 16), before.substr(2048, 16));
  EXPECT_EQ(once.substr(2064), before.substr(2064));
  EXPECT_EQ(once.substr(0, 2048), before.substr(0, 2048));
  v.WriteTo(tmp.path());
  damage::Scramble(body, 2, 0, 16, 7);
  EXPECT_EQ(ReadFile(body), once);  // the same seed gives the same bytes

  damage::Overwrite(body, 1, Hex("FA"));  // an index page claiming 250 entries
  EXPECT_EQ(ReadFile(body)[1], '\xFA');
  damage::Truncate(body, 3000);
  EXPECT_EQ(fs::file_size(body), 3000u);
  damage::Remove(tmp / "catalogs");
  EXPECT_FALSE(fs::exists(tmp / "catalogs"));
}

TEST(DemoBook, TwoSubbooksWithLinkedEntries) {
  TempDir tmp;
  const DemoBook demo = BuildDemoBook();
  demo.volume.WriteTo(tmp.path());
  ASSERT_EQ(demo.entries.size(), 5u);
  EXPECT_EQ(demo.entries[0].text, (BookAddress{2, 2}));  // after the start-of-text escape

  const std::string catalog = ReadFile(tmp / "catalogs");
  EXPECT_EQ(catalog.substr(0, 2), Hex("0002"));
  const std::string body = ReadFile(tmp / "sample/data/honmon");
  EXPECT_EQ(body.substr(16, 2), Hex("0000"));   // body text entry
  EXPECT_EQ(body.substr(32, 2), Hex("0200"));   // copyright entry
  EXPECT_EQ(body.substr(2048, 8), Hex("1F02 1F09 0001 1F41"));
  // Both links were resolved: into the later entry and back to the first.
  const std::string toSecond = Hex("1F62") + BcdAddress(demo.entries[1].text);
  const std::string toFirst = Hex("1F62") + BcdAddress(demo.entries[0].text);
  EXPECT_NE(body.find(toSecond), std::string::npos);
  EXPECT_NE(body.find(toFirst), std::string::npos);
  EXPECT_GT(fs::file_size(tmp / "places/gaiji/gai16h"), 2048u);
}

}  // namespace
}  // namespace morva::mkbook
