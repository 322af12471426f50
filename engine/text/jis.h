// JIS X 0208 <-> Shift-JIS by the standard arithmetic rule.
//
// A JIS X 0208 code is the two-byte row/cell form in which book text is stored
// (both bytes 0x21..0x7E, high byte first as a 16-bit value: 0x3021 is 亜).
// Shift-JIS is the form all text takes inside the program.
#pragma once

#include <cstdint>

namespace morva {

// True when both bytes of the code lie in 0x21..0x7E.
inline bool IsValidJis(uint16_t jis) {
  const unsigned hi = jis >> 8;
  const unsigned lo = jis & 0xFF;
  return hi >= 0x21 && hi <= 0x7E && lo >= 0x21 && lo <= 0x7E;
}

// Shift-JIS code of a JIS X 0208 code, or 0 when the code is not valid.
// Inline: the decoder converts every character of a book through it.
inline uint16_t JisToSjis(uint16_t jis) {
  if (!IsValidJis(jis)) return 0;
  const unsigned hi = jis >> 8;
  const unsigned lo = jis & 0xFF;
  unsigned lead = (hi + 1) / 2 + 0x70;
  if (lead >= 0xA0) lead += 0x40;
  unsigned trail;
  if (hi % 2 == 1) {
    trail = lo + 0x1F;
    if (trail >= 0x7F) ++trail;
  } else {
    trail = lo + 0x7E;
  }
  return static_cast<uint16_t>(lead << 8 | trail);
}

// JIS X 0208 code of a Shift-JIS double-byte code, or 0 when the code is not
// a valid Shift-JIS pair of the JIS X 0208 area (lead 0x81..0x9F / 0xE0..0xEF,
// trail 0x40..0x7E / 0x80..0xFC).
uint16_t SjisToJis(uint16_t sjis);

// The white square that stands for a code that cannot be converted.
inline constexpr uint16_t kSjisWhiteSquare = 0x81A0;

}  // namespace morva
