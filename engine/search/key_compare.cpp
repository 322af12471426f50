#include "engine/search/key_compare.h"

namespace morva {
namespace {

// Katakana ァ..ン fold to the hiragana of the same cell; ヴヵヶ have none.
uint16_t FoldKana(uint16_t jis) {
  if (jis >= 0x2521 && jis <= 0x2573) return static_cast<uint16_t>(jis - 0x100);
  return jis;
}

}  // namespace

int CompareKey(std::string_view key, const uint8_t* indexKey, int length, bool exact,
               bool kanaFold) {
  const size_t L = length > 0 ? static_cast<size_t>(length) : 0;
  size_t i = 0;
  while (i < key.size()) {
    if (i >= L) return kKeyGoesOn;
    const auto k = static_cast<uint8_t>(key[i]);
    if (kanaFold && i + 1 < key.size() && i + 1 < L) {
      // Shift-JIS order equals JIS order, so folded JIS codes compare alike.
      const uint16_t a = FoldKana(static_cast<uint16_t>(k << 8 | static_cast<uint8_t>(key[i + 1])));
      const uint16_t b = FoldKana(static_cast<uint16_t>(indexKey[i] << 8 | indexKey[i + 1]));
      if (b < a) return kIndexKeyBefore;
      if (b > a) return kIndexKeyAfter;
      i += 2;
      continue;
    }
    if (indexKey[i] < k) return kIndexKeyBefore;
    if (indexKey[i] > k) return kIndexKeyAfter;
    ++i;
  }
  return (i >= L || !exact) ? kKeyMatch : kKeyEndsFirst;
}

}  // namespace morva
