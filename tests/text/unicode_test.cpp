#include "engine/text/unicode.h"

#include <gtest/gtest.h>

#include <string>

namespace morva {
namespace {

TEST(UnicodeTest, KnownCharactersBothWays) {
  const struct {
    uint16_t sjis;
    char32_t unicode;
  } known[] = {
      {0x41, U'A'},    {0x5C, U'\\'},   {0x7E, U'~'},    {0xB1, U'ｱ'},    {0xDF, U'ﾟ'},
      {0x8140, U'　'}, {0x82A0, U'あ'}, {0x889F, U'亜'}, {0x815F, U'＼'}, {0x8160, U'～'},
      {0x817C, U'－'}, {0x8740, U'①'},  {0x8754, U'Ⅰ'},  {0x81E6, U'∵'},  {0x81CA, U'￢'},
      {0xEAA4, U'熙'}, {0xFA40, U'ⅰ'},  {0xFBFC, U'髙'}, {0xFC4B, U'黑'},
  };
  for (const auto& k : known) {
    EXPECT_EQ(SjisToUnicode(k.sjis), k.unicode) << std::hex << k.sjis;
    EXPECT_EQ(UnicodeToSjis(k.unicode), k.sjis) << std::hex << k.sjis;
  }
}

TEST(UnicodeTest, DuplicatesEncodeToTheCodeWindowsWrites) {
  EXPECT_EQ(SjisToUnicode(0xEEE0), U'髙');  // NEC-selected duplicate of 0xFBFC
  EXPECT_EQ(SjisToUnicode(0xEEEF), U'ⅰ');   // of 0xFA40
  EXPECT_EQ(SjisToUnicode(0xFA4A), U'Ⅰ');   // IBM duplicate of NEC row 13 0x8754
  EXPECT_EQ(SjisToUnicode(0x879A), U'∵');   // NEC duplicate of JIS X 0208 0x81E6
  EXPECT_EQ(SjisToUnicode(0xFA5B), U'∵');
  EXPECT_EQ(UnicodeToSjis(U'〜'), 0x8160);  // WAVE DASH, the JIS form of ～
  EXPECT_EQ(UnicodeToSjis(U'−'), 0x817C);   // MINUS SIGN
}

TEST(UnicodeTest, UnmappedCodesGiveZero) {
  // Single bytes outside ASCII and katakana, unused leads and trails, the
  // user-defined area, holes inside rows.
  for (uint16_t sjis : {0x80, 0xA0, 0xFD, 0xFF, 0x81, 0x8540, 0xEB40, 0xF040, 0xF9FC, 0x817F,
                        0x81AD, 0x8130, 0xFC4C}) {
    EXPECT_EQ(SjisToUnicode(sjis), 0U) << std::hex << sjis;
  }
  for (char32_t c : {U'é', U'¥', U'😀', U'\uE000', U'\uFFFD', char32_t{0x110000}}) {
    EXPECT_EQ(UnicodeToSjis(c), 0) << std::hex << static_cast<uint32_t>(c);
  }
}

// Every double-byte code of the table decodes to a character that encodes
// back to it, except the duplicates: NEC row 13 copies of JIS X 0208 symbols,
// the NEC-selected IBM rows 0xED/0xEE, and the IBM copies of JIS X 0208 and
// NEC row 13 characters at 0xFA4A..0xFA5B. Those encode to another code that
// decodes to the same character.
TEST(UnicodeTest, TableRoundTripsExceptDocumentedDuplicates) {
  int codes = 0;
  int duplicates = 0;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const auto code = static_cast<uint16_t>(lead << 8 | trail);
      const char32_t c = SjisToUnicode(code);
      if (c == 0) continue;
      ++codes;
      const uint16_t back = UnicodeToSjis(c);
      if (back == code) continue;
      ++duplicates;
      EXPECT_TRUE((code >= 0x8790 && code <= 0x879C) || (code >= 0xED40 && code <= 0xEEFC) ||
                  (code >= 0xFA4A && code <= 0xFA5B))
          << std::hex << code;
      EXPECT_EQ(SjisToUnicode(back), c) << std::hex << code;
    }
  }
  EXPECT_EQ(codes, 7724);
  EXPECT_EQ(duplicates, 398);
}

std::string AllPreferredCharacters() {
  std::string s;
  for (unsigned b = 0x01; b <= 0xDF; ++b) {
    if (b < 0x80 || b >= 0xA1) s.push_back(static_cast<char>(b));
  }
  for (unsigned code = 0x8140; code <= 0xFCFC; ++code) {
    const char32_t c = SjisToUnicode(static_cast<uint16_t>(code));
    if (c != 0 && UnicodeToSjis(c) == code) {
      s.push_back(static_cast<char>(code >> 8));
      s.push_back(static_cast<char>(code & 0xFF));
    }
  }
  return s;
}

TEST(UnicodeTest, StringsRoundTripThroughUtf8) {
  const std::string all = AllPreferredCharacters();
  EXPECT_EQ(Utf8ToSjis(SjisToUtf8(all)), all);

  const std::string mixed = "A\x88\x9F\xB1\x81\x5F~\\\x87\x40";
  EXPECT_EQ(SjisToUtf8(mixed), "A亜ｱ＼~\\①");
  EXPECT_EQ(Utf8ToSjis("A亜ｱ＼~\\①"), mixed);
  EXPECT_EQ(SjisToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(Utf8ToSjis(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(UnicodeTest, BadShiftJisBecomesReplacementCharacters) {
  EXPECT_EQ(SjisToUtf8("ab\x88"), "ab\uFFFD");    // lone lead at the end
  EXPECT_EQ(SjisToUtf8("\x88\nx"), "\uFFFD\nx");  // no trail: the byte is kept
  EXPECT_EQ(SjisToUtf8("\xF0\x40"
                       "a"),
            "\uFFFD"
            "a");                                               // unmapped pair: one mark
  EXPECT_EQ(SjisToUtf8("\x80\xA0\xFD"), "\uFFFD\uFFFD\uFFFD");  // unmapped single bytes
}

TEST(UnicodeTest, UnmappedAndMalformedUtf8BecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToSjis("é😀亜"), "??\x88\x9F");
  EXPECT_EQ(Utf8ToSjis("\xE4\xBA"
                       "A"),
            "?A");                                         // cut short: A is not swallowed
  EXPECT_EQ(Utf8ToSjis("x\xE4"), "x?");                    // cut at the end
  EXPECT_EQ(Utf8ToSjis("\xC0\xAF\xED\xA0\x80"), "?????");  // overlong, surrogate
  EXPECT_EQ(Utf8ToSjis("\xF4\x90\x80\x80"), "????");       // beyond U+10FFFF
}

}  // namespace
}  // namespace morva
