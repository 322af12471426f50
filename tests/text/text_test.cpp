// Text encodings: JIS X 0208 and Shift-JIS, the code page 932 table, the
// half-width forms, and Shift-JIS helpers.
#include <gtest/gtest.h>

#include <string>

#include "engine/text/jis.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "engine/text/width.h"

namespace morva {

static void PrintTo(HalfWidthForm f, std::ostream* os) {
  *os << std::hex << "{" << int{f.ch} << ", " << int{f.mark} << "}";
}

namespace {

// SjisToJis takes valid Shift-JIS only, and both areas hold 94 x 94 codes:
// a round trip of every JIS code proves both ways. Known codes at the row and
// cell edges: 亜, the full-width space, an odd row's trails around 0x7F, an
// even row's first trail, the jump of leads from 0x9F to 0xE0, the last code.
TEST(JisTest, EveryCodeRoundTripsKnownCodesMatchAndInvalidCodesGiveZero) {
  for (unsigned hi = 0x21; hi <= 0x7E; ++hi)
    for (auto jis = static_cast<uint16_t>(hi << 8 | 0x21); (jis & 0xFF) <= 0x7E; ++jis)
      ASSERT_EQ(SjisToJis(JisToSjis(jis)), jis) << std::hex << jis;
  const uint16_t pairs[][2] = {{0x3021, 0x889F}, {0x2121, 0x8140}, {0x2160, 0x8180},
                               {0x215F, 0x817E}, {0x2221, 0x819F}, {0x5E7E, 0x9FFC},
                               {0x5F21, 0xE040}, {0x7E7E, 0xEFFC}, {0x2422, 0x82A0}};
  for (const auto& [jis, sjis] : pairs) EXPECT_EQ(JisToSjis(jis), sjis) << std::hex << jis;
  for (uint16_t jis : {0x0000, 0x2020, 0x2120, 0x217F, 0x7F21, 0xA221, 0xFFFF}) {
    EXPECT_FALSE(IsValidJis(jis)) << std::hex << jis;
    EXPECT_EQ(JisToSjis(jis), 0) << std::hex << jis;
  }
  // Bad lead (single bytes, half-width katakana, beyond 0xEF) or bad trail.
  for (uint16_t sjis :
       {0x0041, 0x8041, 0xA040, 0xDF40, 0xF040, 0xFA40, 0x813F, 0x817F, 0x81FD, 0x8100})
    EXPECT_EQ(SjisToJis(sjis), 0) << std::hex << sjis;
}

TEST(SjisTest, CharactersAreWholeOrLoneBytesAndCutsNeverSplitThem) {
  const std::string_view s = "a\x88\x9F\xB1\x82";  // a 亜 ｱ and a lone lead
  for (const auto& [pos, length] : {std::pair{0, 1}, {1, 2}, {3, 1}, {4, 1}, {5, 0}})
    EXPECT_EQ(SjisCharLength(s, pos), size_t(length)) << pos;
  // ＝＝ is 0x81 0x81 0x81 0x81: every byte looks like a lead, so only a walk
  // from the start finds the boundaries.
  const std::string_view t = "a\x81\x81\x81\x81\x62\x82";
  const size_t kept[] = {0, 1, 1, 3, 3, 5, 6, 7, 7};
  for (size_t max = 0; max < std::size(kept); ++max)
    EXPECT_EQ(SjisCut(t, max), t.substr(0, kept[max])) << max;
  // Ｂ is 0x82 0x61: its trail byte is an ASCII 'a'.
  EXPECT_EQ(SjisAsciiUpper("az\x82\x61m\xB1{"), "AZ\x82\x61M\xB1{");
}

TEST(SjisTest, ReadFieldSplitsBetweenCharactersAndDropsWhatDoesNotFit) {
  std::string_view cursor = "abc,,\x88\x9F,";
  EXPECT_EQ(ReadField(cursor, 80), "abc");
  EXPECT_EQ(ReadField(cursor, 80), "");
  EXPECT_EQ(ReadField(cursor, 80), "\x88\x9F");
  EXPECT_EQ(cursor, "");
  cursor = "\x95\x5C\\x";  // 表 ends in 0x5C, the backslash
  EXPECT_EQ(ReadField(cursor, 80, '\\'), "\x95\x5C");
  EXPECT_EQ(cursor, "x");
  // Capacity counts the terminating zero: capacity 4 keeps 3 bytes.
  cursor = "a\x88\x9F,b";
  EXPECT_EQ(ReadField(cursor, 4), "a\x88\x9F");
  EXPECT_EQ(cursor, "b");
  cursor = "ab\x88\x9F\x63,z";            // 亜 would need bytes 3 and 4
  EXPECT_EQ(ReadField(cursor, 4), "ab");  // and c is not pulled in after the gap
  EXPECT_EQ(cursor, "z");
  cursor = "abc,d";
  EXPECT_EQ(ReadField(cursor, 1), "");
  EXPECT_EQ(ReadField(cursor, 0), "");
  EXPECT_EQ(cursor, "");
}

TEST(UnicodeTest, KnownCharactersDuplicatesAndUnmappedCodes) {
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
  // Duplicates decode to the character of the code Windows writes.
  EXPECT_EQ(SjisToUnicode(0xEEE0), U'髙');  // NEC-selected duplicate of 0xFBFC
  EXPECT_EQ(SjisToUnicode(0xEEEF), U'ⅰ');   // of 0xFA40
  EXPECT_EQ(SjisToUnicode(0xFA4A), U'Ⅰ');   // IBM duplicate of NEC row 13 0x8754
  EXPECT_EQ(SjisToUnicode(0x879A), U'∵');   // NEC duplicate of JIS X 0208 0x81E6
  EXPECT_EQ(SjisToUnicode(0xFA5B), U'∵');
  EXPECT_EQ(UnicodeToSjis(U'〜'), 0x8160);  // WAVE DASH, the JIS form of ～
  EXPECT_EQ(UnicodeToSjis(U'−'), 0x817C);   // MINUS SIGN
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

// Every code of the table decodes to a character that encodes back to it,
// except the duplicates: NEC row 13 copies of JIS X 0208 symbols, the
// NEC-selected IBM rows 0xED/0xEE, and the IBM copies at 0xFA4A..0xFA5B. Those
// encode to another code that decodes to the same character. Every character
// also goes through UTF-8 and back.
TEST(UnicodeTest, TableAndStringsRoundTripExceptDocumentedDuplicates) {
  std::string all;
  for (unsigned b = 0x01; b <= 0xDF; ++b)
    if (b < 0x80 || b >= 0xA1) all.push_back(static_cast<char>(b));
  int codes = 0;
  int duplicates = 0;
  for (unsigned code = 0x8140; code <= 0xFCFC; ++code) {
    if ((code & 0xFF) < 0x40 || (code & 0xFF) > 0xFC) continue;
    const char32_t c = SjisToUnicode(static_cast<uint16_t>(code));
    if (c == 0) continue;
    ++codes;
    const uint16_t back = UnicodeToSjis(c);
    if (back == code) {
      all += {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
      continue;
    }
    ++duplicates;
    EXPECT_TRUE((code >= 0x8790 && code <= 0x879C) || (code >= 0xED40 && code <= 0xEEFC) ||
                (code >= 0xFA4A && code <= 0xFA5B))
        << std::hex << code;
    EXPECT_EQ(SjisToUnicode(back), c) << std::hex << code;
  }
  EXPECT_EQ(codes, 7724);
  EXPECT_EQ(duplicates, 398);
  EXPECT_EQ(Utf8ToSjis(SjisToUtf8(all)), all);
  const std::string mixed = "A\x88\x9F\xB1\x81\x5F~\\\x87\x40";
  EXPECT_EQ(SjisToUtf8(mixed), "A亜ｱ＼~\\①");
  EXPECT_EQ(Utf8ToSjis("A亜ｱ＼~\\①"), mixed);
  EXPECT_EQ(SjisToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(Utf8ToSjis(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(UnicodeTest, BadInputBecomesReplacementCharactersOrQuestionMarks) {
  EXPECT_EQ(SjisToUtf8("ab\x88"), "ab\uFFFD");                  // lone lead at the end
  EXPECT_EQ(SjisToUtf8("\x88\nx"), "\uFFFD\nx");                // no trail: the byte is kept
  EXPECT_EQ(SjisToUtf8("\xF0\x40\x61"), "\uFFFD\x61");          // unmapped pair: one mark
  EXPECT_EQ(SjisToUtf8("\x80\xA0\xFD"), "\uFFFD\uFFFD\uFFFD");  // unmapped single bytes
  EXPECT_EQ(Utf8ToSjis("é😀亜"), "??\x88\x9F");
  EXPECT_EQ(Utf8ToSjis("\xE4\xBA\x41"), "?A");             // cut short: A is not swallowed
  EXPECT_EQ(Utf8ToSjis("x\xE4"), "x?");                    // cut at the end
  EXPECT_EQ(Utf8ToSjis("\xC0\xAF\xED\xA0\x80"), "?????");  // overlong, surrogate
  EXPECT_EQ(Utf8ToSjis("\xF4\x90\x80\x80"), "????");       // beyond U+10FFFF
}

// The full-width forms of a range of single bytes as UTF-8, after checking
// that the half-width form of each is the byte again.
std::string FullWidthOfRange(unsigned first, unsigned last) {
  std::string sjis;
  for (unsigned b = first; b <= last; ++b) {
    const uint16_t full = ToFullWidth(static_cast<uint8_t>(b));
    EXPECT_EQ(ToHalfWidth(full), (HalfWidthForm{static_cast<uint8_t>(b), 0})) << std::hex << b;
    sjis += {static_cast<char>(full >> 8), static_cast<char>(full & 0xFF)};
  }
  return SjisToUtf8(sjis);
}

TEST(WidthTest, AsciiAndKatakanaRoundTripAndOthersHaveNoOtherWidth) {
  EXPECT_EQ(FullWidthOfRange(0x20, 0x7E),
            "　！”＃＄％＆’（）＊＋，－．／０１２３４５６７８９：；＜＝＞？"
            "＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ［＼］＾＿"
            "｀ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～");
  EXPECT_EQ(FullWidthOfRange(0xA1, 0xDF),
            "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソ"
            "タチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜");
  // Kanji, kana without a half-width letter, opening quotes, ￥, out of range.
  for (uint16_t full : {0x889F, 0x8395, 0x8396, 0x838E, 0x8390, 0x8391, 0x82EC, 0x82EE, 0x82EF,
                        0x8167, 0x8165, 0x818F, 0x813F, 0x8397, 0x0041, 0xB1}) {
    EXPECT_EQ(ToHalfWidth(full), HalfWidthForm{}) << std::hex << full;
  }
  for (uint8_t single : {0x00, 0x1F, 0x7F, 0x80, 0xA0, 0xE0, 0xFF})
    EXPECT_EQ(ToFullWidth(single), 0) << std::hex << int{single};
}

TEST(WidthTest, VoicedKanaAndHiraganaSplitIntoBaseAndMarkAndCombineBack) {
  // ガ ヅ パ ポ ヴ ッ, が ぱ ぁ, む (after the katakana gap at 0x837F), を ん.
  const std::pair<uint16_t, HalfWidthForm> cases[] = {
      {0x834B, {0xB6, 0xDE}}, {0x8364, {0xC2, 0xDE}}, {0x8370, {0xCA, 0xDF}},
      {0x837C, {0xCE, 0xDF}}, {0x8394, {0xB3, 0xDE}}, {0x8362, {0xAF, 0x00}},
      {0x82AA, {0xB6, 0xDE}}, {0x82CF, {0xCA, 0xDF}}, {0x829F, {0xA7, 0x00}},
      {0x82DE, {0xD1, 0x00}}, {0x82F0, {0xA6, 0x00}}, {0x82F1, {0xDD, 0x00}},
  };
  for (const auto& [full, half] : cases) EXPECT_EQ(ToHalfWidth(full), half) << std::hex << full;
  // Every katakana that splits into base and mark comes back from the pair.
  for (uint16_t full = 0x8340; full <= 0x8396; ++full) {
    const HalfWidthForm half = ToHalfWidth(full);
    EXPECT_EQ(half.mark == 0 ? full : ToFullWidthVoiced(half.ch, half.mark), full)
        << std::hex << full;
  }
  // ｱﾞ ｶﾟ ｳﾟ ﾝﾞ ﾊA Aﾞ
  const std::pair<uint8_t, uint8_t> none[] = {{0xB1, 0xDE}, {0xB6, 0xDF}, {0xB3, 0xDF},
                                              {0xDD, 0xDE}, {0xCA, 0x41}, {0x41, 0xDE}};
  for (const auto& [base, mark] : none)
    EXPECT_EQ(ToFullWidthVoiced(base, mark), 0) << std::hex << int{base} << " " << int{mark};
}

}  // namespace
}  // namespace morva
