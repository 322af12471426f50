#include "tools/mkbook/index_keys.h"

#include <array>

namespace morva::mkbook {
namespace {

constexpr uint16_t kMiddleDot = 0x2126;
constexpr uint16_t kApostrophe = 0x2147;
constexpr uint16_t kMinusSign = 0x215D;
constexpr uint16_t kHyphen = 0x213E;
constexpr uint16_t kLongVowel = 0x213C;

constexpr int kFirstCell = 0x21;
constexpr int kLastCell = 0x76;  // ヶ; the hiragana row ends at ん 0x73

// The vowel of every kana cell 0x21..0x76 (hiragana order; 0x74..0x76 are
// ヴ, ヵ, ヶ), 'n' for ん.
constexpr std::string_view kVowels =
    "aaiiuueeoo"       // ぁあぃいぅうぇえぉお
    "aaiiuueeoo"       // かがきぎくぐけげこご
    "aaiiuueeoo"       // さざしじすずせぜそぞ
    "aaiiuuueeoo"      // ただちぢっつづてでとど
    "aiueo"            // なにぬねの
    "aaaiiiuuueeeooo"  // はばぱひびぴふぶぷへべぺほぼぽ
    "aiueo"            // まみむめも
    "aauuoo"           // ゃやゅゆょよ
    "aiueo"            // らりるれろ
    "aaieon"           // ゎわゐゑをん
    "uae";             // ヴヵヶ
static_assert(kVowels.size() == kLastCell - kFirstCell + 1);

int VowelCell(int cell) {
  switch (kVowels[static_cast<size_t>(cell - kFirstCell)]) {
    case 'a': return 0x22;
    case 'i': return 0x24;
    case 'u': return 0x26;
    case 'e': return 0x28;
    case 'o': return 0x2A;
    default: return 0x73;
  }
}

// The plain kana of a small, voiced or semi-voiced one.
int BaseCell(int cell) {
  switch (cell) {
    case 0x21:
    case 0x23:
    case 0x25:
    case 0x27:
    case 0x29:
    case 0x43:
    case 0x63:
    case 0x65:
    case 0x67:
    case 0x6E: return cell + 1;
    case 0x2C:
    case 0x2E:
    case 0x30:
    case 0x32:
    case 0x34:
    case 0x36:
    case 0x38:
    case 0x3A:
    case 0x3C:
    case 0x3E:
    case 0x40:
    case 0x42:
    case 0x45:
    case 0x47:
    case 0x49:
    case 0x50:
    case 0x53:
    case 0x56:
    case 0x59:
    case 0x5C: return cell - 1;
    case 0x51:
    case 0x54:
    case 0x57:
    case 0x5A:
    case 0x5D: return cell - 2;
    case 0x74: return 0x26;
    case 0x75: return 0x2B;
    case 0x76: return 0x31;
    default: return cell;
  }
}

bool IsKana(uint16_t c) {
  const int row = c >> 8;
  const int cell = c & 0xFF;
  return (row == 0x24 || row == 0x25) && cell >= kFirstCell && cell <= kLastCell;
}

}  // namespace

std::string CanonicalIndexKey(std::string_view jis, uint8_t indexCode, uint8_t firstOption) {
  const bool kanaIndex = indexCode == 0x90 || indexCode == 0x70;
  const bool keepsMarks = indexCode == 0x80 || indexCode == 0xFF;
  std::string out;
  out.reserve(jis.size());
  uint16_t lastVowel = 0;
  for (size_t i = 0; i + 1 < jis.size(); i += 2) {
    auto c =
        static_cast<uint16_t>(static_cast<uint8_t>(jis[i]) << 8 | static_cast<uint8_t>(jis[i + 1]));
    // Typed text carries a minus sign as a hyphen, so a stored one must too.
    if (c == kMinusSign) c = kHyphen;
    if ((firstOption & 0x30) == 0 && c >= 0x2361 && c <= 0x237A) c -= 0x20;
    if (kanaIndex && (c >> 8) == 0x25 && IsKana(c)) c -= 0x100;
    if (!keepsMarks && (firstOption & 0x0C) == 0 && (c == kMiddleDot || c == kApostrophe)) continue;
    if (IsKana(c)) {
      const int cell = c & 0xFF;
      if (kanaIndex) c = static_cast<uint16_t>((c & 0xFF00) | BaseCell(cell));
      lastVowel = static_cast<uint16_t>((c & 0xFF00) | VowelCell(cell));
    } else if (c == kLongVowel) {
      if (indexCode != 0x80 && (firstOption & 0x03) == 0) c = lastVowel;
      else if (indexCode != 0x80 && (firstOption & 0x03) == 2) continue;
    } else {
      lastVowel = 0;
    }
    if (c == 0) continue;
    out += static_cast<char>(c >> 8);
    out += static_cast<char>(c & 0xFF);
  }
  return out;
}

}  // namespace morva::mkbook
