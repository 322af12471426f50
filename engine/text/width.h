// Full-width <-> half-width forms of Shift-JIS characters: ASCII and katakana,
// with the voiced (゛, ﾞ 0xDE) and semi-voiced (゜, ﾟ 0xDF) marks.
#pragma once

#include <cstdint>

namespace morva {

// The half-width form of a full-width Shift-JIS double-byte character.
// ch is the single byte (ASCII 0x20..0x7E or half-width katakana 0xA1..0xDF),
// 0 when the character has no half-width form. Voiced and semi-voiced kana
// (katakana and hiragana alike: ガ and が give ｶ) return their unvoiced base
// with mark 0xDE or 0xDF; mark is 0 otherwise. Hiragana take the half-width
// katakana form; ヴ gives ｳ with 0xDE.
struct HalfWidthForm {
  uint8_t ch = 0;
  uint8_t mark = 0;
  bool operator==(const HalfWidthForm&) const = default;
};
HalfWidthForm ToHalfWidth(uint16_t sjis);

// The full-width Shift-JIS form of a single byte (ASCII 0x20..0x7E, half-width
// katakana and marks 0xA1..0xDF), 0 when there is none. All of them are JIS X
// 0208 characters; " and ' take the closing quotes ” and ’.
uint16_t ToFullWidth(uint8_t single);

// A half-width katakana followed by ﾞ (0xDE) or ﾟ (0xDF) as one full-width
// voiced or semi-voiced katakana (ｶ ﾞ -> ガ, ﾊ ﾟ -> パ, ｳ ﾞ -> ヴ); 0 when the
// pair does not combine.
uint16_t ToFullWidthVoiced(uint8_t kana, uint8_t mark);

}  // namespace morva
