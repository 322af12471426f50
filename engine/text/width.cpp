#include "engine/text/width.h"

#include <array>

namespace morva {

namespace {

// Full-width forms of ASCII 0x20..0x7E. Code page 932 has no JIS X 0208
// double-byte form of the straight quotes, so " and ' take the closing quotes
// ” and ’, as the Japanese Windows width mapping does; the opening quotes “ ‘
// have no half-width form. \ and ~ take ＼ and ～ (0x5C and 0x7E are
// backslash and tilde here, not yen and overline).
constexpr std::array<uint16_t, 0x7F - 0x20> kFullWidthAscii = {
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166,  //   ! " # $ % & '
    0x8169, 0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E,  // ( ) * + , - . /
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256,  // 0 .. 7
    0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148,  // 8 9 : ; < = > ?
    0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266,  // @ A .. G
    0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E,  // H .. O
    0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276,  // P .. W
    0x8277, 0x8278, 0x8279, 0x816D, 0x815F, 0x816E, 0x814F, 0x8151,  // X Y Z [ \ ] ^ _
    0x814D, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287,  // ` a .. g
    0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F,  // h .. o
    0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297,  // p .. w
    0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8160,          // x y z { | } ~
};

// Full-width forms of the half-width katakana and marks 0xA1..0xDF.
constexpr std::array<uint16_t, 0xE0 - 0xA1> kFullWidthKana = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340,          // ｡ ｢ ｣ ､ ･ ｦ ｧ
    0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362,  // ｨ ｩ ｪ ｫ ｬ ｭ ｮ ｯ
    0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C,  // ｰ ｱ ｲ ｳ ｴ ｵ ｶ ｷ
    0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C,  // ｸ ｹ ｺ ｻ ｼ ｽ ｾ ｿ
    0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B,  // ﾀ ﾁ ﾂ ﾃ ﾄ ﾅ ﾆ ﾇ
    0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D,  // ﾈ ﾉ ﾊ ﾋ ﾌ ﾍ ﾎ ﾏ
    0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389,  // ﾐ ﾑ ﾒ ﾓ ﾔ ﾕ ﾖ ﾗ
    0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,  // ﾘ ﾙ ﾚ ﾛ ﾜ ﾝ ﾞ ﾟ
};

constexpr uint8_t kVoicedMark = 0xDE;
constexpr uint8_t kSemiVoicedMark = 0xDF;
constexpr uint8_t kHalfWidthU = 0xB3;      // ｳ
constexpr uint16_t kFullWidthVu = 0x8394;  // ヴ

// ｶ..ﾄ and ﾊ..ﾎ take the voiced mark; their voiced kana follow the plain one
// directly in Shift-JIS (カ ガ, ハ バ パ).
constexpr bool TakesVoicedMark(uint8_t kana) {
  return (kana >= 0xB6 && kana <= 0xC4) || (kana >= 0xCA && kana <= 0xCE);
}
constexpr bool TakesSemiVoicedMark(uint8_t kana) { return kana >= 0xCA && kana <= 0xCE; }

// Hiragana ぁ..ん lie in the same order as katakana ァ..ン, which skip 0x837F.
constexpr uint16_t kFirstHiragana = 0x829F;  // ぁ
constexpr uint16_t kLastHiragana = 0x82F1;   // ん
constexpr uint16_t KatakanaOfHiragana(uint16_t hiragana) {
  const uint16_t index = hiragana - kFirstHiragana;
  return index < 0x3F ? 0x8340 + index : 0x8341 + index;
}

// Every full-width character with a half-width form lies in 0x8140..0x8396.
constexpr uint16_t kFirstFull = 0x8140;
constexpr uint16_t kLastFull = 0x8396;
using HalfWidthTable = std::array<HalfWidthForm, kLastFull - kFirstFull + 1>;

constexpr HalfWidthTable BuildHalfWidthTable() {
  HalfWidthTable table{};
  auto put = [&table](uint16_t full, uint8_t ch, uint8_t mark) {
    table[full - kFirstFull] = HalfWidthForm{ch, mark};
  };
  for (unsigned c = 0x20; c <= 0x7E; ++c) put(kFullWidthAscii[c - 0x20], c, 0);
  for (unsigned kana = 0xA1; kana <= 0xDF; ++kana) {
    const uint16_t full = kFullWidthKana[kana - 0xA1];
    put(full, kana, 0);
    if (TakesVoicedMark(kana)) put(full + 1, kana, kVoicedMark);
    if (TakesSemiVoicedMark(kana)) put(full + 2, kana, kSemiVoicedMark);
  }
  put(kFullWidthVu, kHalfWidthU, kVoicedMark);
  for (uint16_t hiragana = kFirstHiragana; hiragana <= kLastHiragana; ++hiragana) {
    table[hiragana - kFirstFull] = table[KatakanaOfHiragana(hiragana) - kFirstFull];
  }
  return table;
}

constexpr HalfWidthTable kHalfWidth = BuildHalfWidthTable();

}  // namespace

HalfWidthForm ToHalfWidth(uint16_t sjis) {
  if (sjis < kFirstFull || sjis > kLastFull) return {};
  return kHalfWidth[sjis - kFirstFull];
}

uint16_t ToFullWidth(uint8_t single) {
  if (single >= 0x20 && single <= 0x7E) return kFullWidthAscii[single - 0x20];
  if (single >= 0xA1 && single <= 0xDF) return kFullWidthKana[single - 0xA1];
  return 0;
}

uint16_t ToFullWidthVoiced(uint8_t kana, uint8_t mark) {
  if (mark == kVoicedMark && TakesVoicedMark(kana)) return ToFullWidth(kana) + 1;
  if (mark == kSemiVoicedMark && TakesSemiVoicedMark(kana)) return ToFullWidth(kana) + 2;
  if (mark == kVoicedMark && kana == kHalfWidthU) return kFullWidthVu;
  return 0;
}

}  // namespace morva
