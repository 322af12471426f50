#include "engine/text/width.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/text/jis.h"
#include "engine/text/unicode.h"

namespace morva {

static void PrintTo(HalfWidthForm f, std::ostream* os) {
  *os << std::hex << "{" << int{f.ch} << ", " << int{f.mark} << "}";
}

namespace {

// The full-width forms of a range of single bytes as UTF-8, after checking
// that each is a JIS X 0208 character whose half-width form is the byte again.
std::string FullWidthOfRange(unsigned first, unsigned last) {
  std::string sjis;
  for (unsigned b = first; b <= last; ++b) {
    const uint16_t full = ToFullWidth(static_cast<uint8_t>(b));
    EXPECT_NE(SjisToJis(full), 0) << std::hex << b;
    EXPECT_EQ(ToHalfWidth(full), (HalfWidthForm{static_cast<uint8_t>(b), 0})) << std::hex << b;
    sjis.push_back(static_cast<char>(full >> 8));
    sjis.push_back(static_cast<char>(full & 0xFF));
  }
  return SjisToUtf8(sjis);
}

TEST(WidthTest, AsciiAndKatakanaRoundTrip) {
  EXPECT_EQ(FullWidthOfRange(0x20, 0x7E),
            "　！”＃＄％＆’（）＊＋，－．／０１２３４５６７８９：；＜＝＞？"
            "＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ［＼］＾＿"
            "｀ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～");
  EXPECT_EQ(FullWidthOfRange(0xA1, 0xDF),
            "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソ"
            "タチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜");
}

TEST(WidthTest, VoicedKanaAndHiraganaSplitIntoBaseAndMark) {
  const struct {
    uint16_t full;
    HalfWidthForm half;
  } cases[] = {
      {0x834B, {0xB6, 0xDE}},  // ガ -> ｶﾞ
      {0x8364, {0xC2, 0xDE}},  // ヅ -> ﾂﾞ
      {0x8370, {0xCA, 0xDF}},  // パ -> ﾊﾟ
      {0x837C, {0xCE, 0xDF}},  // ポ -> ﾎﾟ
      {0x8394, {0xB3, 0xDE}},  // ヴ -> ｳﾞ
      {0x8362, {0xAF, 0x00}},  // ッ -> ｯ
      {0x82AA, {0xB6, 0xDE}},  // が -> ｶﾞ
      {0x82CF, {0xCA, 0xDF}},  // ぱ -> ﾊﾟ
      {0x829F, {0xA7, 0x00}},  // ぁ -> ｧ
      {0x82DE, {0xD1, 0x00}},  // む -> ﾑ (after the katakana gap at 0x837F)
      {0x82F0, {0xA6, 0x00}},  // を -> ｦ
      {0x82F1, {0xDD, 0x00}},  // ん -> ﾝ
  };
  for (const auto& c : cases) EXPECT_EQ(ToHalfWidth(c.full), c.half) << std::hex << c.full;
}

TEST(WidthTest, CharactersWithoutHalfWidthForm) {
  // Kanji, kana without a half-width letter, opening quotes, ￥, out of range.
  for (uint16_t full : {0x889F, 0x8395, 0x8396, 0x838E, 0x8390, 0x8391, 0x82EC, 0x82EE, 0x82EF,
                        0x8167, 0x8165, 0x818F, 0x813F, 0x8397, 0x0041, 0xB1}) {
    EXPECT_EQ(ToHalfWidth(full), HalfWidthForm{}) << std::hex << full;
  }
  for (uint8_t single : {0x00, 0x1F, 0x7F, 0x80, 0xA0, 0xE0, 0xFF}) {
    EXPECT_EQ(ToFullWidth(single), 0) << std::hex << int{single};
  }
}

TEST(WidthTest, VoicedPairsCombineExactlyIntoTheirFullWidthKana) {
  // Every katakana that splits into base and mark comes back from the pair.
  for (uint16_t full = 0x8340; full <= 0x8396; ++full) {
    const HalfWidthForm half = ToHalfWidth(full);
    if (half.mark != 0) {
      EXPECT_EQ(ToFullWidthVoiced(half.ch, half.mark), full) << std::hex << full;
    }
  }
  EXPECT_EQ(ToFullWidthVoiced(0xB1, 0xDE), 0);  // ｱﾞ
  EXPECT_EQ(ToFullWidthVoiced(0xB6, 0xDF), 0);  // ｶﾟ
  EXPECT_EQ(ToFullWidthVoiced(0xB3, 0xDF), 0);  // ｳﾟ
  EXPECT_EQ(ToFullWidthVoiced(0xDD, 0xDE), 0);  // ﾝﾞ
  EXPECT_EQ(ToFullWidthVoiced(0xCA, 0x41), 0);  // ﾊA
  EXPECT_EQ(ToFullWidthVoiced(0x41, 0xDE), 0);  // Aﾞ
}

}  // namespace
}  // namespace morva
