// KanaBaseTable: for the kana cells 0x21..0x76 of JIS rows 4 (hiragana) and 5
// (katakana), the plain kana a cell folds to and the vowel it ends in. Used to
// canonicalise keys of the kana indexes (small and voiced kana fold to their
// plain form) and to replace the long-vowel mark by the vowel before it.
#pragma once

#include <cstdint>

namespace morva {

inline constexpr uint8_t kFirstKanaCell = 0x21;
inline constexpr uint8_t kLastKanaCell = 0x76;

enum class Voicing : uint8_t { kPlain, kVoiced, kSemiVoiced };

struct KanaCell {
  uint8_t base = 0;  // cell of the plain kana: ぁ->あ, が->か, ぱ->は, ヴ->う, ヵ->か, ヶ->け
  uint8_t vowel =
      0;  // cell of the vowel kana: あ 0x22, い 0x24, う 0x26, え 0x28, お 0x2A, ん 0x73
  Voicing voicing = Voicing::kPlain;
};

// The entry of a cell in 0x21..0x76; a cell outside gives an entry of zeros.
KanaCell KanaBase(uint8_t cell);

// True for 0x2421..0x2476 and 0x2521..0x2576.
inline bool IsKanaCode(uint16_t jis) {
  const uint8_t row = static_cast<uint8_t>(jis >> 8);
  const uint8_t cell = static_cast<uint8_t>(jis);
  return (row == 0x24 || row == 0x25) && cell >= kFirstKanaCell && cell <= kLastKanaCell;
}

}  // namespace morva
