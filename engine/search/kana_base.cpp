#include "engine/search/kana_base.h"

#include <array>
#include <string_view>

namespace morva {
namespace {

// Vowel of every cell 0x21..0x76 in row order (ぁあぃい… ゐゑをん ヴヵヶ);
// 'n' is ん.
constexpr std::string_view kVowels =
    "aaiiuueeoo"       // ぁ..お
    "aaiiuueeoo"       // か..ご
    "aaiiuueeoo"       // さ..ぞ
    "aaiiuuueeoo"      // た..ど (っ つ づ)
    "aiueo"            // な..の
    "aaaiiiuuueeeooo"  // は..ぽ
    "aiueo"            // ま..も
    "aauuoo"           // ゃ..よ
    "aiueo"            // ら..ろ
    "aaieon"           // ゎ わ ゐ ゑ を ん
    "uae";             // ヴ ヵ ヶ
static_assert(kVowels.size() == kLastKanaCell - kFirstKanaCell + 1);

constexpr uint8_t VowelCell(char v) {
  switch (v) {
    case 'a': return 0x22;
    case 'i': return 0x24;
    case 'u': return 0x26;
    case 'e': return 0x28;
    case 'o': return 0x2A;
    default: return 0x73;  // ん
  }
}

constexpr bool IsVoicedCell(uint8_t c) {
  return (c >= 0x2C && c <= 0x42 && c % 2 == 0) || c == 0x45 || c == 0x47 || c == 0x49 ||
         (c >= 0x50 && c <= 0x5C && (c - 0x50) % 3 == 0) || c == 0x74;
}

constexpr bool IsSemiVoicedCell(uint8_t c) { return c >= 0x51 && c <= 0x5D && (c - 0x51) % 3 == 0; }

constexpr uint8_t BaseCell(uint8_t c) {
  switch (c) {
    case 0x21:
    case 0x23:
    case 0x25:
    case 0x27:
    case 0x29:  // ぁぃぅぇぉ
    case 0x43:  // っ
    case 0x63:
    case 0x65:
    case 0x67:  // ゃゅょ
    case 0x6E:  // ゎ
      return c + 1;
    case 0x74: return 0x26;  // ヴ -> う
    case 0x75: return 0x2B;  // ヵ -> か
    case 0x76: return 0x31;  // ヶ -> け
    default: break;
  }
  if (IsVoicedCell(c)) return c - 1;
  if (IsSemiVoicedCell(c)) return c - 2;
  return c;
}

constexpr std::array<KanaCell, kVowels.size()> BuildTable() {
  std::array<KanaCell, kVowels.size()> table{};
  for (size_t i = 0; i < table.size(); ++i) {
    const auto cell = static_cast<uint8_t>(kFirstKanaCell + i);
    table[i].base = BaseCell(cell);
    table[i].vowel = VowelCell(kVowels[i]);
    table[i].voicing = IsVoicedCell(cell)       ? Voicing::kVoiced
                       : IsSemiVoicedCell(cell) ? Voicing::kSemiVoiced
                                                : Voicing::kPlain;
  }
  return table;
}

constexpr auto kTable = BuildTable();

}  // namespace

KanaCell KanaBase(uint8_t cell) {
  if (cell < kFirstKanaCell || cell > kLastKanaCell) return {};
  return kTable[cell - kFirstKanaCell];
}

}  // namespace morva
