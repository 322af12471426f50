// External characters: the bitmap cache of a sub-book's fonts, the
// information file's conversion table and Unicode maps.
#include "engine/decode/gaiji.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

#include "engine/book/gaiji_map.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
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
  void AddFont(uint8_t code, const Font& font) {
    const int32_t first = code == 0xF1 ? kFullFontPage : kHalfFontPage;
    AddPageFile(code == 0xF1 ? "gai16f" : "gai16h", font.Build(), first);
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
  EXPECT_EQ(disk_.gaijiCache().fontSlots[1].cachePage, 1);
  // 0xA221 is character 94: 32 a half, so half 2, position 30, byte 960 of the
  // slot's second cache page.
  ExpectCharacter(1, 0xA221, 94, 16, 16);
  const std::string cache = testing::ReadFile(disk_.GaijiCachePath());
  EXPECT_EQ(cache.size(), 4u * kPageSize);  // ceil(200 / 32) = 7 halves
  EXPECT_EQ(static_cast<uint8_t>(cache[kPageSize + 960]), Ink(94, 0));
  ExpectCharacter(1, 0xA121, 0, 16, 16);
  ExpectCharacter(1, 0xA17E, 93, 16, 16);
  ExpectCharacter(1, kCodes.CodeOf(199), 199, 16, 16);
  GaijiBitmap bitmap;
  for (auto [slot, code] : {std::pair{1, kCodes.CodeOf(200)}, {0, 0xA121}, {2, 0xA121}})
    EXPECT_FALSE(FetchGaijiBitmap(disk_, slot, static_cast<uint16_t>(code), &bitmap));
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 1, 0xA121, nullptr));
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(GaijiCacheTest, HalfWidthFontFollowsTheFullWidthOneInTheCache) {
  AddFont(0xF1, MakeFont(24, 24, 20));  // 14 a half: 2 halves, 1 page
  AddFont(0xF2, MakeFont(8, 16, 300));  // 16 bytes a character, 64 a half: 5 halves, 3 pages
  BuildGaijiCache(disk_);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[0].cachePage, 2);
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
  GaijiBitmap bitmap;
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 1, 0xA121, &bitmap));
  EXPECT_EQ(testing::ReadFile(disk_.GaijiCachePath()).size(), 0u);
  // 16x24 is a half-width size.
  Reset();
  AddFont(0xF1, MakeFont(16, 24, 5));
  BuildGaijiCache(disk_);
  ExpectCharacter(0, 0xA125, 4, 16, 24);
  // A rebuild forgets what an earlier sub-book cached.
  disk_.subbook().indexes.Clear();
  BuildGaijiCache(disk_);
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 0, 0xA121, &bitmap));
}

TEST_F(GaijiCacheTest, CodesOutsideTheFontAreNotFound) {
  AddFont(0xF1, MakeFont(16, 16, 100, 0xA130));
  Font half = MakeFont(8, 16, 40);  // a header claiming more than the file holds
  half.SetDeclaredCount(60000);
  AddFont(0xF2, half);
  BuildGaijiCache(disk_);
  EXPECT_TRUE(reporter_.boxes().empty());
  EXPECT_EQ(disk_.gaijiCache().fontSlots[0].count, 128);  // one page of bitmaps
  GaijiBitmap bitmap;
  // Before the first code, or before the first cell of a later row.
  for (uint16_t code : {0xA121, 0xA12F, 0x0021, 0xA221})
    EXPECT_FALSE(FetchGaijiBitmap(disk_, 1, code, &bitmap)) << code;
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 0, kCodes.CodeOf(128), &bitmap));
  ExpectCharacter(1, 0xA130, 0, 16, 16);
  ExpectCharacter(1, 0xA230, 94, 16, 16);
  ExpectCharacter(0, 0xA121 + 39, 39, 8, 16);

  // A single-byte book counts from the low byte of the unmapped code.
  Reset();
  disk_.decoderState().singleByteBook = true;
  AddFont(0xF2, MakeFont(8, 16, 30, 0x0F21));
  BuildGaijiCache(disk_);
  ExpectCharacter(0, 0xF121, 0, 8, 16);
  ExpectCharacter(0, 0xF123, 2, 8, 16);
  EXPECT_FALSE(FetchGaijiBitmap(disk_, 0, 0xF120, &bitmap));
}

// The real book's font files, found through its catalog.
TEST_F(GaijiCacheTest, EdictSmallFontsAreFoundAndServed) {
  MORVA_REQUIRE_SHARED_BOOKS();
  ASSERT_TRUE(disk_.SelectSubbook(AddRow((testing::SharedBooks() / "edict-small").string())));
  EXPECT_EQ(disk_.subbook().indexes.Start(0xF1), kFullFontPage);
  EXPECT_EQ(disk_.subbook().indexes.Start(0xF2), kHalfFontPage);
  BuildGaijiCache(disk_);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[1].count, 3);
  EXPECT_EQ(disk_.gaijiCache().fontSlots[0].count, 9);
  // Character 2 of the half-width font: 16 rows of one byte, each row of the
  // bitmap filled to two bytes.
  const std::string file =
      testing::ReadFile(testing::SharedBooks() / "edict-small/edsmall/gaiji/gai16h");
  GaijiBitmap bitmap;
  ASSERT_TRUE(FetchGaijiBitmap(disk_, 0, 0xA123, &bitmap));
  for (int y = 0; y < 16; ++y)
    EXPECT_EQ(bitmap.rows[static_cast<size_t>(y * 2)],
              static_cast<uint8_t>(~file[static_cast<size_t>(kPageSize + 2 * 16 + y)]));
  EXPECT_TRUE(reporter_.boxes().empty());
}

// ---- Conversion table -----------------------------------------------------------

class TGaijiTest : public testing::BookTest {
 protected:
  // The text for a code and width, or "(none)".
  std::string Text(uint32_t code, bool fullWidth) const {
    const int position = table_.Lookup(code, fullWidth);
    return position < 0 ? "(none)" : table_.TextAt(position);
  }
  bool Add(std::string_view line) { return table_.AddLine(disk_, line); }

  TGaiji& table_ = disk_.decoderState().conversion;
};

TEST_F(TGaijiTest, TheThreeLineFormsLaterReplacementsAndSkippedLines) {
  // Lines that do not parse are skipped; a later line replaces the text of
  // its width only.
  for (const char* line : {"", "\r\n", "A121", "A121 =x", "=x", "h=x", "HXYZ=x", "G121=x", "A1G1=x",
                           "A12z=x", "ZZZZ=x", "12345=x", "A121h x", "A121=(1)", "hA122=x",
                           "A122z=X", "b0a1H=\r\n", "21=short code", "hA121=half"})
    EXPECT_TRUE(Add(line)) << line;
  EXPECT_TRUE(Add(Sjis("Zb0a1=→参照")));
  const std::tuple<uint32_t, bool, std::string> expected[] = {
      {0xA121, false, "half"},    {0xA121, true, "(1)"},         {0xA122, false, "x"},
      {0xA122, true, "X"},        {0xB0A1, true, Sjis("→参照")}, {0xB0A1, false, ""},
      {0x21, true, "short code"}, {0xA123, true, "(none)"}};
  for (const auto& [code, fullWidth, text] : expected) EXPECT_EQ(Text(code, fullWidth), text);
  EXPECT_EQ(table_.Count(), 4);
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(TGaijiTest, TheTwoThousandAndFirstCodeIsRefused) {
  for (uint32_t code = 0; code < TGaiji::kMaxEntries; ++code)
    ASSERT_TRUE(Add(Format("%04X=x", 0xA121 + code)));
  EXPECT_TRUE(reporter_.boxes().empty());
  EXPECT_FALSE(Add("0021=y"));  // the pool still has room
  EXPECT_EQ(reporter_.Last(RecordedBox::kWarning),
            "外字変換指定が2,000を越えました\n超過分を無視します");
  EXPECT_EQ(Text(0x21, true), "(none)");
  EXPECT_TRUE(Add("hA121=z"));  // a code already in the table needs no new entry
  EXPECT_EQ(Text(0xA121, false), "z");
}

// ---- Unicode maps -----------------------------------------------------------------

struct MapCase {
  const char* line;
  bool full;
  uint16_t code;
  const char* utf8;  // nullptr: the line is malformed
  const char* replacement;
};

TEST(GaijiMapTest, ParsesLinesAndRejectsMalformedOnes) {
  const MapCase cases[] = {
      {"zA121\tu00E9", true, 0xA121, "\xC3\xA9", ""},
      {"hb03F\tU0065,u0301\te'", false, 0xB03F, "e\xCC\x81", "e'"},
      {"zA122\tu1F600", true, 0xA122, "\xF0\x9F\x98\x80", ""},
      {"zA124\t-\tdagger", true, 0xA124, "", "dagger"},
      {"hA125\tNULL", false, 0xA125, "", ""},
      {"zA126\tu00E9\tC# # note", true, 0xA126, "\xC3\xA9", "C#"},
      {"xA121\tu00E9", false, 0, nullptr, nullptr},    // bad prefix
      {"zA12G\tu00E9", false, 0, nullptr, nullptr},    // bad hex in the code
      {"zA121\tu0E9", false, 0, nullptr, nullptr},     // three digits
      {"zA121\tu110000", false, 0, nullptr, nullptr},  // above 10FFFF
      {"zA121\tuD800", false, 0, nullptr, nullptr},    // a surrogate
      {"zA121\tu00E9,", false, 0, nullptr, nullptr},   // empty item
      {"zA121\t", false, 0, nullptr, nullptr},         // no code points
  };
  for (const MapCase& c : cases) {
    SCOPED_TRACE(c.line);
    const GaijiMapParse parsed = ParseGaijiMap(c.line);
    if (c.utf8 == nullptr) {
      EXPECT_TRUE(parsed.map.Empty());
      EXPECT_EQ(parsed.badLines, std::vector<int>{1});
      continue;
    }
    EXPECT_TRUE(parsed.badLines.empty());
    const GaijiMapEntry* e = parsed.map.Find(c.full, c.code);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->utf8, c.utf8);
    EXPECT_EQ(e->replacement, c.replacement);
    EXPECT_EQ(parsed.map.Find(!c.full, c.code), nullptr);  // widths are kept apart
  }
}

TEST(GaijiMapTest, CommentsBlankLinesAndLineNumbers) {
  const GaijiMapParse parsed = ParseGaijiMap(
      "\xEF\xBB\xBF# a map\r\n\r\nzA121\tu00E9\r\n   \nbad\nzA122\tu00EA # "
      "trailing\nzA121\tu00EB\nhA121\tuDFFF");
  EXPECT_EQ(parsed.badLines, (std::vector<int>{5, 8}));
  EXPECT_EQ(parsed.map.Size(), 2u);
  EXPECT_EQ(parsed.map.Find(true, 0xA121)->utf8, "\xC3\xAB");  // the later line wins
  EXPECT_EQ(parsed.map.Find(true, 0xA122)->utf8, "\xC3\xAA");
  EXPECT_EQ(GaijiMapWarning("x.map", ParseGaijiMap("zA121\tu00E9\n")), "");
}

}  // namespace
}  // namespace morva
