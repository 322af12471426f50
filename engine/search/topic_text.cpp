#include "engine/search/topic_text.h"

#include <cstddef>

#include "engine/text/jis.h"
#include "engine/text/width.h"

namespace morva {
namespace {

bool IsSpace(const std::array<char, 2>& bytes, int n) {
  return bytes[0] == ' ' || (n == 2 && bytes[0] == '\x81' && bytes[1] == '\x40');
}

// Mirrors the decoder's conversion of one code.
std::array<TopicGlyph, kJisCells * kJisCells> BuildGlyphs(bool foldCase) {
  std::array<TopicGlyph, kJisCells * kJisCells> glyphs{};
  for (int hi = 0x21; hi <= 0x7E; ++hi) {
    for (int lo = 0x21; lo <= 0x7E; ++lo) {
      const auto jis = static_cast<uint16_t>(hi << 8 | lo);
      TopicGlyph& g = glyphs[static_cast<size_t>(
          TopicGlyphIndex(static_cast<uint8_t>(hi), static_cast<uint8_t>(lo)))];
      const uint16_t sjis = JisToSjis(jis);
      g.full = {static_cast<char>(sjis >> 8), static_cast<char>(sjis & 0xFF)};
      g.fullSpace = IsSpace(g.full, 2);
      if (jis == 0x2148) {
        g.half = {'"', 0};  // “ has no half-width form of its own
        g.halfLength = 1;
      } else if (jis == 0x213D || jis == 0x213E) {
        g.half = {'-', 0};  // dash and hyphen
        g.halfLength = 1;
      } else if (const HalfWidthForm form = ToHalfWidth(sjis); form.ch == 0) {
        g.half = g.full;
        g.halfLength = 2;
      } else {
        char ch = static_cast<char>(form.ch);
        if (foldCase && ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - ('a' - 'A'));
        g.half = {ch, 0};
        g.halfLength = 1;
        // Kana carry their voiced or semi-voiced mark as a second character.
        if ((hi == 0x24 || hi == 0x25) && lo <= 0x76 && form.mark != 0) {
          g.half[1] = static_cast<char>(form.mark);
          g.halfLength = 2;
        }
      }
      g.halfSpace = IsSpace(g.half, g.halfLength);
    }
  }
  return glyphs;
}

}  // namespace

const std::array<TopicGlyph, kJisCells * kJisCells>& TopicGlyphs(bool foldCase) {
  static const auto plain = BuildGlyphs(false);
  static const auto folded = BuildGlyphs(true);
  return foldCase ? folded : plain;
}

}  // namespace morva
