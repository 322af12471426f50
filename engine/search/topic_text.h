// What the text decoder gives for each JIS X 0208 code in full-width and in
// half-width mode, as a table for the code that reads body text in bulk
// (topic reading, the full-text prefilter).
#pragma once

#include <array>
#include <cstdint>

namespace morva {

struct TopicGlyph {
  std::array<char, 2> full{};  // the Shift-JIS pair
  std::array<char, 2> half{};  // one byte, a half-width kana and its mark, or the pair
  uint8_t halfLength = 0;
  bool fullSpace = false;  // the full-width space
  bool halfSpace = false;  // a space
};

inline constexpr int kJisCells = 94;

// Indexed by (high - 0x21) * 94 + (low - 0x21) for both bytes in 0x21..0x7E.
// With foldCase, half-width a-z come upper-cased.
const std::array<TopicGlyph, kJisCells * kJisCells>& TopicGlyphs(bool foldCase);

inline int TopicGlyphIndex(uint8_t high, uint8_t low) {
  return (high - 0x21) * kJisCells + (low - 0x21);
}
inline bool IsJisByte(uint8_t b) { return b >= 0x21 && b <= 0x7E; }

}  // namespace morva
