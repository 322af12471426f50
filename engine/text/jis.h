// JIS X 0208 <-> Shift-JIS by the standard arithmetic rule.
//
// A JIS X 0208 code is the two-byte row/cell form in which book text is stored
// (both bytes 0x21..0x7E, high byte first as a 16-bit value: 0x3021 is 亜).
// Shift-JIS is the form all text takes inside the program.
#pragma once

#include <cstdint>

namespace morva {

// True when both bytes of the code lie in 0x21..0x7E.
bool IsValidJis(uint16_t jis);

// Shift-JIS code of a JIS X 0208 code, or 0 when the code is not valid.
uint16_t JisToSjis(uint16_t jis);

// JIS X 0208 code of a Shift-JIS double-byte code, or 0 when the code is not
// a valid Shift-JIS pair of the JIS X 0208 area (lead 0x81..0x9F / 0xE0..0xEF,
// trail 0x40..0x7E / 0x80..0xFC).
uint16_t SjisToJis(uint16_t sjis);

// The white square that stands for a code that cannot be converted.
inline constexpr uint16_t kSjisWhiteSquare = 0x81A0;

}  // namespace morva
