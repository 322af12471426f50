// Catalog files, index pages and fonts against hand-computed positions.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/mkbook/hex.h"
#include "tools/mkbook/catalog.h"
#include "tools/mkbook/font.h"
#include "tools/mkbook/index_page.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/subbook_pages.h"

namespace morva::mkbook {
namespace {

CatalogRecord Record(const char* title, const char* dir) {
  CatalogRecord r;
  r.title = JisFromUtf8(title);
  r.directory = dir;
  return r;
}

TEST(IndexPage, EntriesProtectionAndCount) {
  IndexPage page;
  page.SetProtection(0x05);
  page.Add({0x00, 2, 409, {}});
  page.Add({0x91, 0x1D8, 0x113, {0x41, 0x55, 0x54}});
  const std::string bytes = page.Build();
  ASSERT_EQ(bytes.size(), 2048u);
  EXPECT_EQ(bytes.substr(0, 4), Hex("00 02 00 05"));
  EXPECT_EQ(bytes.substr(16, 16), Hex("00 00 00000002 00000199 00 000000 0000"));
  EXPECT_EQ(bytes.substr(32, 16), Hex("91 00 000001D8 00000113 00 415554 0000"));
  EXPECT_EQ(bytes.substr(48), std::string(2000, '\0'));

  page.SetDeclaredCount(255);
  EXPECT_EQ(page.Build()[1], '\xFF');

  IndexPage full;
  for (int i = 0; i < IndexPage::kMaxEntries; ++i) full.Add({});
  EXPECT_THROW(full.Add({}), std::length_error);
}

TEST(SubbookPages, SectionsFollowTheIndexPageAndAreListed) {
  SubbookPages pages;
  EXPECT_EQ(pages.NextFreePage(), 2);
  EXPECT_EQ(pages.AddSection(0x00, std::string(3000, 'x')), 2);
  EXPECT_EQ(pages.AddSection(0x02, "c"), 4);
  const std::string file = pages.Build();
  ASSERT_EQ(file.size(), 4u * 2048);
  EXPECT_EQ(file.substr(0, 2), Hex("0002"));
  EXPECT_EQ(file.substr(16, 10), Hex("00 00 00000002 00000002"));
  EXPECT_EQ(file.substr(32, 10), Hex("02 00 00000004 00000001"));
  EXPECT_EQ(file[2048], 'x');
  EXPECT_EQ(file[3 * 2048], 'c');

  SubbookPages later(3);  // the catalog may name another index page
  EXPECT_EQ(later.AddSection(0x00, "x"), 4);
  EXPECT_EQ(later.Build().substr(2 * 2048, 2), Hex("0001"));
}

TEST(Catalog, CatalogsRecordsLieAt164ByteSteps) {
  CatalogRecord first = Record("テスト", "test");
  first.fontFiles[0] = "GAI16F";
  CatalogRecord second = Record("地名", "places");
  second.indexPage = 12;
  second.fontFiles[4] = "GAI16H";
  const std::string c = BuildCatalog(CatalogLayout::kCatalogs, {first, second});
  ASSERT_EQ(c.size(), 2048u);
  EXPECT_EQ(c.substr(0, 2), Hex("0002"));
  EXPECT_EQ(c.substr(18, 8), Hex("2546 2539 2548 0000"));
  EXPECT_EQ(c.substr(98, 8), "test    ");
  EXPECT_EQ(c.substr(106, 6), Hex("000000000001"));
  EXPECT_EQ(c.substr(116, 8), std::string("GAI16F\0\0", 8));
  EXPECT_EQ(c.substr(182, 6), Hex("434F 4C3E 0000"));  // record 1: 18 + 164
  EXPECT_EQ(c.substr(262, 8), "places  ");            // 98 + 164
  EXPECT_EQ(c.substr(270, 6), Hex("000000000012"));
  EXPECT_EQ(c.substr(312, 8), std::string("GAI16H\0\0", 8));  // 262 + 18 + 8 * 4
  EXPECT_EQ(c.substr(344), std::string(2048 - 344, '\0'));
}

TEST(Catalog, CatalogRecordsLieAt40ByteSteps) {
  const std::string c =
      BuildCatalog(CatalogLayout::kCatalog, {Record("あ", "one"), Record("い", "two")}, 7);
  ASSERT_EQ(c.size(), 2048u);
  EXPECT_EQ(c.substr(0, 2), Hex("0007"));
  EXPECT_EQ(c.substr(18, 2), Hex("2422"));
  EXPECT_EQ(c.substr(48, 8), "one     ");
  EXPECT_EQ(c.substr(58, 2), Hex("2424"));  // 18 + 40
  EXPECT_EQ(c.substr(88, 8), "two     ");   // 48 + 40
  EXPECT_EQ(c.substr(96), std::string(2048 - 96, '\0'));
}

TEST(Catalog, TitlesFillTheirFieldAndLongFieldsAreRefused) {
  CatalogRecord plain;
  plain.title = "Demo Book";  // a single-byte volume keeps its bytes
  plain.directory = "demo";
  CatalogRecord full = Record("", "full");
  for (int i = 0; i < 40; ++i) full.title += JisFromUtf8("字");
  const std::string c = BuildCatalog(CatalogLayout::kCatalogs, {plain, full});
  EXPECT_EQ(c.substr(18, 10), std::string("Demo Book\0", 10));
  EXPECT_EQ(c.substr(182, 80).find('\0'), std::string::npos);  // no terminating code
  EXPECT_EQ(c.substr(262, 4), "full");

  CatalogRecord tooLong = Record("", "x");
  tooLong.title = full.title + "ab";
  EXPECT_THROW(BuildCatalog(CatalogLayout::kCatalogs, {tooLong}), std::length_error);
  EXPECT_THROW(BuildCatalog(CatalogLayout::kCatalog, {full}), std::length_error);  // 30 bytes there
  EXPECT_THROW(BuildCatalog(CatalogLayout::kCatalog, {Record("", "ninechars")}), std::length_error);

  std::vector<CatalogRecord> many(13, Record("あ", "d"));  // 16 + 13 * 164 = 2148 bytes
  EXPECT_EQ(BuildCatalog(CatalogLayout::kCatalogs, many).size(), 4096u);
}

TEST(Font, HeaderAndFullWidthPacking) {
  Font f(16, 16);
  EXPECT_EQ(f.CharsPerHalf(), 32);
  for (int n = 0; n < 95; ++n) f.AddBitmap(std::string(32, static_cast<char>(n + 1)));
  EXPECT_EQ(f.CodeOf(93), 0xA17E);
  EXPECT_EQ(f.CodeOf(94), 0xA221);
  const std::string file = f.Build();
  ASSERT_EQ(file.size(), 3u * 2048);  // header, 64 characters, 31 characters
  EXPECT_EQ(file.substr(8, 6), Hex("10 10 A121 005F"));
  EXPECT_EQ(file[2048 + 31 * 32], 32);        // character 31 ends the first half
  EXPECT_EQ(file[2048 + 1024], 33);           // character 32 opens the second half
  EXPECT_EQ(file[2 * 2048 + 960], 95);        // character 94 (0xA221): half 2, place 30
  EXPECT_EQ(f.PlaceOf(94).page, 3);
  EXPECT_EQ(f.PlaceOf(94).offset, 960);
}

TEST(Font, HalfWidthAndTwentyFourDotPacking) {
  Font half(8, 16);  // 16 bytes: 64 characters per half, 128 per page
  EXPECT_EQ(half.CharsPerHalf(), 64);
  EXPECT_EQ(half.PlaceOf(64).offset, 1024);
  EXPECT_EQ(half.PlaceOf(127).offset, 2032);
  EXPECT_EQ(half.PlaceOf(128).page, 3);
  EXPECT_EQ(half.PlaceOf(128).offset, 0);

  Font big(24, 24);  // 72 bytes: 14 characters per half, 16 bytes left over
  EXPECT_EQ(big.CharsPerHalf(), 14);
  EXPECT_EQ(big.PlaceOf(13).offset, 936);
  EXPECT_EQ(big.PlaceOf(14).offset, 1024);
  EXPECT_EQ(big.PlaceOf(28).page, 3);

  Font narrow24(16, 24);
  EXPECT_EQ(narrow24.CharsPerHalf(), 21);
}

TEST(Font, PatternsOddSizesAndFalseCounts) {
  Font f(8, 16, 0xA121);
  f.AddPattern({"#......#", ".##"});
  f.SetDeclaredCount(500);
  const std::string file = f.Build();
  EXPECT_EQ(file.substr(2048, 3), Hex("81 60 00"));
  EXPECT_EQ(file.substr(12, 2), Hex("01F4"));

  Font odd(12, 12);  // rows padded to whole bytes
  EXPECT_EQ(odd.BytesPerRow(), 2);
  odd.AddPattern({"...........#"});
  EXPECT_EQ(odd.Build().substr(8, 2), Hex("0C 0C"));
  EXPECT_EQ(odd.Build().substr(2048, 2), Hex("0010"));

  EXPECT_THROW(Font(256, 16), std::invalid_argument);
  EXPECT_THROW(Font(64, 160), std::invalid_argument);  // 1280 bytes per character
  EXPECT_THROW(f.AddBitmap("short"), std::invalid_argument);
}

}  // namespace
}  // namespace morva::mkbook
