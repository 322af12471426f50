#include "engine/decode/decoder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "tests/support/book_test.h"

namespace morva {
namespace {

using testing::Hex;
using testing::RecordedBox;

// あ as stored: what follows every escape below, to prove that exactly the
// escape's parameters were read.
constexpr const char* kA = "2422";

class DecoderTest : public testing::BookTest {
 protected:
  int Next(bool allowConversion = true) { return DecodeNext(disk_, item_, allowConversion); }

  // Every value up to and including the end of data (at most limit values).
  std::vector<int> All(bool allowConversion = true, size_t limit = 10000) {
    std::vector<int> values;
    while (values.size() < limit) {
      values.push_back(Next(allowConversion));
      if (values.back() == kDecodeEnd) break;
    }
    return values;
  }
  // Decodes text from the start of page 1 on.
  std::string Text(size_t capacity, int32_t offset = 0, int endCode = 0) {
    EXPECT_EQ(disk_.Seek(1, offset), 0);
    return DecodeText(disk_, capacity, endCode, true);
  }

  EscapeItem item_;
};

TEST_F(DecoderTest, TextAndExternalCharactersComeOutAsShiftJisOneByteACall) {
  LoadPages(Hex("2422 0A 217F 7F21 8021 A121 B02F"));
  EXPECT_EQ(Next(), 0x82);
  EXPECT_EQ(Next(), 0xA0);            // the pending byte
  EXPECT_EQ(Next(), kDecodeUnknown);  // a stray control byte
  // Invalid codes become the white square; an external character is its code.
  EXPECT_EQ(All(), (std::vector<int>{0x81, 0xA0, 0x81, 0xA0, 0x81, 0xA0, 0xA121, 0xB02F, 0}));
  ASSERT_EQ(disk_.Seek(1, 9), 0);
  EXPECT_EQ(Next(), 0xA121);
  EXPECT_EQ(item_.p1, 1);
  EXPECT_EQ(Next(false), 0xB0);  // without conversion its raw bytes
  EXPECT_EQ(item_.p1, 0);
  EXPECT_EQ(Next(false), 0x2F);

  // Half-width mode: ガ カ ‐ ― “ ぱ Ａ 亜 and an invalid code, then full width: Ａ.
  LoadPages(Hex("1F04 252C 252B 213E 213D 2148 2451 2341 3021 217F 1F05 2341"));
  EXPECT_EQ(Next(), kDecodeEscape);
  EXPECT_FALSE(disk_.decoderState().fullWidth);
  EXPECT_EQ(All(), (std::vector<int>{0xB6, 0xDE, 0xB6, '-', '-', '"', 0xCA, 0xDF, 'A', 0x88, 0x9F,
                                     0x81, 0xA0, kDecodeEscape, 0x82, 0x60, 0}));
  EXPECT_TRUE(disk_.decoderState().fullWidth);
}

struct EscapeCase {
  std::string bytes;  // after 0x1F, the code and its parameters
  int code;           // item code
  int32_t p1 = 0, p2 = 0, p3 = 0;
  bool special = false;
  bool refParam = false;
  int value = kDecodeEscape;
};

TEST_F(DecoderTest, EveryEscapeReadsItsParameters) {
  std::vector<EscapeCase> cases = {
      {"09 0003", 0x09, 2},
      {"09 0099", 0x09, 98},
      {"09 00A0", 0x09, 0},       // level 100 is out of range
      {"09 0103", 0x09, 0},       // only x = 0 indents
      {"09 1F1234 03", 0x09, 0},  // 0x1F brings two bytes to drop
      {"14 1E12 1E34", 0x14},
      {"67 1E01", 0x67},
      {"31 0001 0020 0030", 0x31, 20, 30},
      {"32 0110 0220", 0x32},
      {"33 0501", 0x33},
      {"42 0010 0020", 0x42, 10, 20, 0, false, true},
      {"32 0007 0008", 0x32, 7, 8, 0, false, true},
      {"41 1234", 0x41, 12},
      {"44 0000 0000 0120 0000 0240", 0x44, 120, 240},
      {"44 0000 0000 0120 0000 0240 12345678", 0x44, 120, 240, 0, true},
      {"45 1F0A", 0x45},
      {"48 0300 01020300 00100000", 0x48, 3, 4653, 4653 + 750},
      {"49 0005 0000 00000123 0045", 0x49, 123, 45, 5},
      {"49 00000123 0045", 0x20, 123, 45, 123, true},
      {"4A 00000001 00000002 00000003 00000004", 0x4A},
      {"4B 00000001 0002 0003 0004", 0x4B},
      {"4C 00000001 0002 0003 0004 2422 1F6C 00000007 0008", 0x49, 7, 8},
      {"4D 0001 0002 0003 0004 0005 0006 00000009 0010", 0x4D, 9, 10},
      {"4D 2422 1F62 1F6D", 0x4D, 0, 0, 0, true},
      {"53 0001 00000002 0003", 0x53},
      {"66 00000001 0002", 0x66},
      {"69 00000001 0002", 0x69, 0, 0, 0, true},
      {"6A 00000015 0016", 0x6A, 15, 16, 0, true},
      {"E0 0003", 0xE0, 3},
      {"E2 0001 2424 2426 1F0A", 0xE2},
      {"E4 0102", 0xE4},
      {"99", 0x99, 0, 0, 0, false, false, kDecodeUnknown},
      {"7F", 0x7F, 0, 0, 0, false, false, kDecodeUnknown},
  };
  // Escapes without parameters, and those with a page and an offset.
  for (int code : {0x02, 0x06, 0x07, 0x0A, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x15,
                   0x43, 0x46, 0x47, 0x61, 0xE1, 0xE3, 0xE5, 0xFE, 0xFF, 0x03, 0x05,
                   0x16, 0x14, 0x42, 0x45, 0x65, 0x68, 0x6D, 0x69, 0x6A})
    cases.push_back({Format("%02X", code), code});
  for (int code : {0x51, 0x52, 0x62, 0x63, 0x64, 0x6B, 0x6E, 0x6F})
    cases.push_back({Format("%02X 00001234 0056", code), code, 1234, 56});
  for (const EscapeCase& c : cases) {
    SCOPED_TRACE(c.bytes);
    disk_.subbook().specialTitle = c.special;
    disk_.decoderState().refParamFlag = c.refParam;
    LoadPages(Hex("1F" + c.bytes + kA));
    EXPECT_EQ(Next(), c.value);
    EXPECT_EQ(item_.code, c.code);
    EXPECT_EQ(item_.p1, c.p1);
    EXPECT_EQ(item_.p2, c.p2);
    EXPECT_EQ(item_.p3, c.p3);
    // 0x45 and 0xE2 stop at the next escape, which then comes out on its own.
    if (c.bytes.ends_with("1F0A")) {
      EXPECT_EQ(Next(), kDecodeEscape);
      EXPECT_EQ(item_.code, 0x0A);
    }
    EXPECT_EQ(Next(), 0x82);
    EXPECT_EQ(Next(), 0xA0);
  }
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(DecoderTest, EndOfTextIsALineBreakOnlyInTheSpecialBookWhileScrolling) {
  for (auto [special, scroll, code] :
       {std::tuple{true, true, 0x0A}, {true, false, 0x03}, {false, true, 0x03}}) {
    disk_.subbook().specialTitle = special;
    disk_.settings().scroll = scroll;
    LoadPages(Hex("1F03"));
    EXPECT_EQ(Next(), kDecodeEscape);
    EXPECT_EQ(item_.code, code);
  }
}

TEST_F(DecoderTest, SkipListMakesEscapesInvisible) {
  disk_.info().skipCodes = {{0xAB, 2}, {0xE4, 2}, {0x0A, 0}};
  LoadPages(Hex("1FAB 0102 2422 1FAB 1F1F 1FE4 0000 1F0A 1F0A 2424"));
  EXPECT_EQ(All(), (std::vector<int>{0x82, 0xA0, 0x82, 0xA2, 0}));

  // An escape hiding `count` bytes, then filler, then あ; what comes after.
  struct Case {
    int count;
    size_t filler;
    std::vector<int> expected;
  };
  for (const Case& c : {Case{5000, 5000, {0x82, 0xA0, 0}}, Case{2046, 2046, {0x82, 0xA0, 0}},
                        Case{4095, 4094, {0}}, Case{INT32_MAX, 3 * kPageSize, {0}}}) {
    SCOPED_TRACE(c.count);
    disk_.info().skipCodes = {{0xAB, c.count}};
    reporter_.Clear();
    // The page space is padded to whole pages, as books are.
    std::string data = Hex("1FAB") + std::string(c.filler, '\x01') + Hex(kA);
    data.resize((data.size() + kPageSize - 1) / kPageSize * kPageSize, '\0');
    LoadPages(data);
    EXPECT_EQ(All(), c.expected);  // skipping stops where the data ends instead of counting on
    EXPECT_EQ(reporter_.Count(RecordedBox::kWarning), c.count == INT32_MAX ? 1 : 0);
  }
}

TEST_F(DecoderTest, SingleByteBookReturnsBytesAndMapsItsExternalCharacters) {
  disk_.decoderState().singleByteBook = true;
  LoadPages(Hex("41 0F21 0F10 0A 0FFF 81"));
  EXPECT_FALSE(disk_.decoderState().fullWidth);
  EXPECT_EQ(Next(), 0x41);
  EXPECT_EQ(Next(), 0xF121);
  EXPECT_EQ(item_.p1, 1);
  EXPECT_EQ(All(), (std::vector<int>{0xF030, kDecodeUnknown, 0xF1FF, 0x81, 0}));
  ASSERT_EQ(disk_.Seek(1, 1), 0);
  EXPECT_EQ(Next(false), 0x0F);  // without conversion the raw pair comes out

  for (unsigned c = 0x0F00; c <= 0x0FFF; ++c)
    EXPECT_EQ(UnmapSingleByteGaiji(MapSingleByteGaiji(static_cast<uint16_t>(c))), c);
}

TEST_F(DecoderTest, ConversionTextIsDeliveredOneByteACall) {
  ASSERT_TRUE(disk_.decoderState().conversion.AddLine(disk_, Sjis("A121=(あ)")));
  ASSERT_TRUE(disk_.decoderState().conversion.AddLine(disk_, "A122="));
  ASSERT_TRUE(disk_.decoderState().conversion.AddLine(disk_, "hA123=x"));
  disk_.decoderState().gaijiMode = GaijiMode::kText;
  LoadPages(Hex("A121 2422 A122 A123 A124 1F04 A123 A121"));
  // The stream goes on after the text; an empty text is a space; a code with
  // no text for its width, or none at all, stays a code. "(あ)" is 28 82 A0 29.
  EXPECT_EQ(All(), (std::vector<int>{'(', 0x82, 0xA0, ')', 0x82, 0xA0, ' ', 0xA123, 0xA124,
                                     kDecodeEscape, 'x', '(', 0x82, 0xA0, ')', 0}));
  // Without conversion, or in bitmap mode, the table is not used.
  ASSERT_EQ(disk_.Seek(1, 0), 0);
  EXPECT_EQ(Next(false), 0xA1);
  disk_.decoderState().gaijiMode = GaijiMode::kBitmap;
  ASSERT_EQ(disk_.Seek(1, 0), 0);
  EXPECT_EQ(Next(), 0xA121);
}

// ---- Data that ends inside a unit --------------------------------------------

TEST_F(DecoderTest, UnitsCutByAZeroByteOrTheLastPageEndTheData) {
  for (const std::string bytes :
       {"24", "1F", "1F14 1E01", "1F42 0102", "1F45", "1F4C 00000001 0002 0003 0004 2422",
        "1F4C 00000001 0002 0003 0004 1F", "1FE2 0000 2422", "1FE2 0000 24", "1F4D 2422 1F"}) {
    SCOPED_TRACE(bytes);
    disk_.subbook().specialTitle = bytes.starts_with("1F4D");
    LoadPages(Hex(bytes) + std::string(1, '\0') + Hex("2422 2422"));
    EXPECT_EQ(Next(), kDecodeEnd);
  }

  // Each escape is followed by a whole page of bytes that keep its loop going;
  // the read of the next page fails and ends the data.
  struct Case {
    const char* head;
    const char* filler;
    bool special;
  };
  disk_.info().skipCodes = {{0xAB, 2}};
  for (const Case c :
       {Case{"1F14", "1E01", false}, Case{"1F42", "0101", false},
        Case{"1F4C 00000001 0002 0003 0004", "2422", false}, Case{"1F4D", "2422", true},
        Case{"1FE2 0000", "2422", false}, Case{"1FAB 0102", "1FAB 0102", false}}) {
    SCOPED_TRACE(c.head);
    disk_.subbook().specialTitle = c.special;
    reporter_.Clear();
    std::string page = Hex(c.head);
    if (page.size() % 2 == 1) page += '\x01';
    while (page.size() < kPageSize) page += Hex(c.filler);
    LoadPages(page);
    EXPECT_EQ(All(), std::vector<int>{0});
    EXPECT_EQ(reporter_.Count(RecordedBox::kWarning), 1);
  }
}

// ---- DecodeText --------------------------------------------------------------

TEST_F(DecoderTest, DecodeTextStopsAtTheEndAndWritesExternalCharactersThatFitWhole) {
  LoadPages(Hex("2422 1F04 2341 1F05 1F0A 2424 1F03 2426"));
  disk_.decoderState().fullWidth = false;
  EXPECT_EQ(Text(100), Sjis("あAい"));
  EXPECT_EQ(Text(100, 0, 0x0A), Sjis("あA"));

  LoadPages(Hex("2422 A121 2424"));
  disk_.decoderState().gaijiMode = GaijiMode::kText;
  EXPECT_EQ(Text(100), Sjis("あ[a121]い"));
  EXPECT_EQ(Text(8), Sjis("あい"));  // 6 bytes do not fit after あ
  disk_.decoderState().gaijiMode = GaijiMode::kBitmap;
  const std::string bitmap =
      "\x0B"
      "1\xA1\x21";
  EXPECT_EQ(Text(100), Sjis("あ") + bitmap + Sjis("い"));
  EXPECT_EQ(Text(6), Sjis("あい"));

  // A character is never split; a title without terminator stops at the
  // capacity, or where the data ends.
  std::string page;
  while (page.size() < kPageSize) page += Hex("2422");
  LoadPages(page);
  for (size_t capacity : {0, 1, 2, 3, 6})
    EXPECT_EQ(Text(capacity), capacity < 3 ? "" : capacity < 6 ? Sjis("あ") : Sjis("ああ"));
  EXPECT_EQ(Text(81).size(), 80u);
  EXPECT_EQ(Text(81, 2040), Sjis("ああああ"));
}

}  // namespace
}  // namespace morva
