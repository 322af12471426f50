#include <gtest/gtest.h>

#include <string>

#include "engine/book/tdisk.h"
#include "engine/decode/gaiji.h"
#include "tests/support/book_test.h"
#include "tools/mkbook/font.h"

namespace morva {
namespace {

using mkbook::Font;
using testing::RecordedBox;

constexpr int32_t kFullFontPage = BodyFileTable::kFontFirstPage;
constexpr int32_t kHalfFontPage = BodyFileTable::kFontFirstPage + BodyFileTable::kFontFilePages;

// A font of n characters whose every byte tells the character: byte i of
// character k is (k * 7 + i) & 0xFF.
Font MakeFont(int width, int height, int n, uint16_t firstCode = 0xA121) {
  Font font(width, height, firstCode);
  for (int k = 0; k < n; ++k) {
    std::string bitmap(static_cast<size_t>(font.BytesPerChar()), '\0');
    for (size_t i = 0; i < bitmap.size(); ++i)
      bitmap[i] = static_cast<char>((k * 7 + static_cast<int>(i)) & 0xFF);
    font.AddBitmap(bitmap);
  }
  return font;
}

// Codes of character numbers from 0xA121 on: 94 cells a row.
const Font kCodes(16, 16);

uint8_t Ink(int k, int i) { return static_cast<uint8_t>((k * 7 + i) & 0xFF); }

class GaijiCacheTest : public testing::BookTest {
 protected:
  void SetUp() override { Reset(); }
  // A page space of one body page and no fonts.
  void Reset() { LoadPages(std::string(kPageSize, '\x01')); }

  // Places a font file in the page space and enters it as IndexKind row code.
  void AddFont(uint8_t code, const Font& font) { AddFont(code, font.Build()); }
  void AddFont(uint8_t code, const std::string& file) {
    const int32_t first = code == 0xF1 ? kFullFontPage : kHalfFontPage;
    AddPageFile(code == 0xF1 ? "gai16f" : "gai16h", file, first);
    disk_.subbook().indexes.ByCode(code).start = first;
  }

  // Expects the fetched rows to be the inverted ink of character k, with
  // 0xFF filling each row to 2 or 4 bytes.
  void ExpectCharacter(int slot, uint16_t code, int k, int width, int height) {
    GaijiBitmap bitmap;
    ASSERT_TRUE(FetchGaijiBitmap(disk_, slot, code, &bitmap));
    ASSERT_EQ(bitmap.width, width);
    ASSERT_EQ(bitmap.height, height);
    const int sourceRow = width / 8;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < bitmap.BytesPerRow(); ++x) {
        const uint8_t expected =
            x < sourceRow ? static_cast<uint8_t>(~Ink(k, y * sourceRow + x)) : 0xFF;
        ASSERT_EQ(bitmap.rows[static_cast<size_t>(y * bitmap.BytesPerRow() + x)], expected)
            << "row " << y << " byte " << x;
      }
  }
};

TEST_F(GaijiCacheTest, FullWidthCharacterLiesWhereTheLayoutSays) {
  AddFont(0xF1, MakeFont(16, 16, 200));
  BuildGaijiCache(disk_);
  const GaijiFontSlot& slot = disk_.gaijiCache().fontSlots[1];
  EXPECT_EQ(slot.cachePage, 1);
  EXPECT_EQ(slot.sizeClass, 16);
  EXPECT_EQ(slot.firstCode, 0xA121);
  EXPECT_EQ(slot.count, 200);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[0].cachePage, 0);
  EXPECT_EQ(disk_.gaijiCache().bufferPage, -1);
  // 0xA221 is character 94: 32 a half, so half 2, position 30, byte 960 of the
  // slot's second cache page.
  ExpectCharacter(1, 0xA221, 94, 16, 16);
  EXPECT_EQ(disk_.gaijiCache().bufferPage, 2);
  const std::string cache = testing::ReadFile(disk_.GaijiCachePath());
  EXPECT_EQ(cache.size(), 4u * kPageSize);  // ceil(200 / 32) = 7 halves
  EXPECT_EQ(static_cast<uint8_t>(cache[kPageSize + 960]), Ink(94, 0));
  ExpectCharacter(1, 0xA121, 0, 16, 16);
  ExpectCharacter(1, 0xA17E, 93, 16, 16);
  ExpectCharacter(1, kCodes.CodeOf(199), 199, 16, 16);
  GaijiBitmap bitmap;
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 1, kCodes.CodeOf(200), &bitmap));
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 0, 0xA121, &bitmap));  // no half-width font
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 2, 0xA121, &bitmap));
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 1, 0xA121, nullptr));
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(GaijiCacheTest, HalfWidthFontFollowsTheFullWidthOneInTheCache) {
  AddFont(0xF1, MakeFont(24, 24, 20));  // 14 a half: 2 halves, 1 page
  AddFont(0xF2, MakeFont(8, 16, 300));  // 16 bytes a character, 64 a half: 5 halves, 3 pages
  BuildGaijiCache(disk_);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[1].cachePage, 1);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[1].sizeClass, 24);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[0].cachePage, 2);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[0].sizeClass, 16);
  EXPECT_EQ(testing::ReadFile(disk_.GaijiCachePath()).size(), 4u * kPageSize);
  ExpectCharacter(1, 0xA12F, 14, 24, 24);  // first of the second half
  ExpectCharacter(0, 0xA121, 0, 8, 16);
  ExpectCharacter(0, kCodes.CodeOf(64), 64, 8, 16);    // offset 1024
  ExpectCharacter(0, kCodes.CodeOf(299), 299, 8, 16);  // third page of the slot
  ExpectCharacter(1, 0xA130, 15, 24, 24);              // back to the first slot's page
}

TEST_F(GaijiCacheTest, FontsOfOtherSizesOrWithoutCharactersAreIgnored) {
  AddFont(0xF1, MakeFont(12, 12, 10));
  AddFont(0xF2, Font(8, 16));
  BuildGaijiCache(disk_);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[0].cachePage, 0);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[1].cachePage, 0);
  GaijiBitmap bitmap;
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 1, 0xA121, &bitmap));
  EXPECT_EQ(testing::ReadFile(disk_.GaijiCachePath()).size(), 0u);
  // 16x24 is a half-width size.
  Reset();
  AddFont(0xF1, MakeFont(16, 24, 5));
  BuildGaijiCache(disk_);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[1].cachePage, 0);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[0].sizeClass, 24);
  ExpectCharacter(0, 0xA125, 4, 16, 24);
  // A rebuild forgets what an earlier sub-book cached.
  disk_.subbook().indexes.Clear();
  BuildGaijiCache(disk_);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[0].cachePage, 0);
  EXPECT_EQ(disk_.gaijiCache().bufferPage, -1);
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 0, 0xA121, &bitmap));
}

TEST_F(GaijiCacheTest, CodesBeforeTheFirstCodeAreNotFound) {
  AddFont(0xF1, MakeFont(16, 16, 100, 0xA130));
  BuildGaijiCache(disk_);
  GaijiBitmap bitmap;
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 1, 0xA121, &bitmap));
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 1, 0xA12F, &bitmap));
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 1, 0x0021, &bitmap));
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 1, 0xA221, &bitmap));  // before the row's first cell
  ExpectCharacter(1, 0xA130, 0, 16, 16);
  ExpectCharacter(1, 0xA230, 94, 16, 16);
}

TEST_F(GaijiCacheTest, HeaderClaimingMoreThanTheFileHoldsIsCutToTheFile) {
  Font font = MakeFont(16, 16, 40);  // 2 halves: 1 page of bitmaps
  font.SetDeclaredCount(60000);
  AddFont(0xF1, font);
  BuildGaijiCache(disk_);
  EXPECT_TRUE(reporter_.boxes().empty());
  EXPECT_EQ(testing::ReadFile(disk_.GaijiCachePath()).size(), 1u * kPageSize);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[1].count, 64);
  ExpectCharacter(1, 0xA121 + 39, 39, 16, 16);
  GaijiBitmap bitmap;
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 1, kCodes.CodeOf(64), &bitmap));
}

TEST_F(GaijiCacheTest, SingleByteBookCountsFromTheLowByteOfTheUnmappedCode) {
  disk_.decoderState().singleByteBook = true;
  AddFont(0xF2, MakeFont(8, 16, 30, 0x0F21));
  BuildGaijiCache(disk_);
  ExpectCharacter(0, 0xF121, 0, 8, 16);
  ExpectCharacter(0, 0xF123, 2, 8, 16);
  GaijiBitmap bitmap;
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 0, 0xF120, &bitmap));
}

TEST(GaijiCacheOnRealBook, EdictSmallFontsAreServed) {
  MORVA_REQUIRE_SHARED_BOOKS();
  const auto gaiji = testing::SharedBooks() / "edict-small/edsmall/gaiji";
  testing::RecordingReporter reporter;
  TDisk disk(reporter);
  disk.BodyFiles().Add((testing::SharedBooks() / "edict-small/edsmall/data/honmon").string(), 1);
  disk.BodyFiles().Add((gaiji / "gai16f").string(), kFullFontPage);
  disk.BodyFiles().Add((gaiji / "gai16h").string(), kHalfFontPage);
  disk.SetMultiFile(true);
  disk.subbook().indexes.ByCode(0xF1).start = kFullFontPage;
  disk.subbook().indexes.ByCode(0xF2).start = kHalfFontPage;
  BuildGaijiCache(disk);
  EXPECT_EQ(disk.gaijiCache().fontSlots[1].count, 3);
  EXPECT_EQ(disk.gaijiCache().fontSlots[0].count, 9);
  for (const char* name : {"gai16f", "gai16h"}) {
    SCOPED_TRACE(name);
    const std::string file = testing::ReadFile(gaiji / name);
    const int slot = std::string(name) == "gai16f" ? 1 : 0;
    const int width = slot == 1 ? 16 : 8;
    GaijiBitmap bitmap;
    ASSERT_TRUE(FetchGaijiBitmap(disk, slot, 0xA123, &bitmap));
    const int rowBytes = width / 8;
    for (int y = 0; y < 16; ++y) {
      const auto ink = static_cast<uint8_t>(
          file[static_cast<size_t>(kPageSize + 2 * 16 * rowBytes + y * rowBytes)]);
      EXPECT_EQ(bitmap.rows[static_cast<size_t>(y * 2)], static_cast<uint8_t>(~ink));
    }
  }
  EXPECT_TRUE(reporter.boxes().empty());
}

}  // namespace
}  // namespace morva
