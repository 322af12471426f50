#include "view/word_classes.h"

#include <cstdint>

#include "engine/text/sjis.h"

namespace morva {

ClassedChar WordClassAt(std::string_view text, size_t pos, bool singleByteBook) {
  if (pos >= text.size()) return {kClassEnd, 0};
  const uint8_t b = static_cast<uint8_t>(text[pos]);
  const bool alnum = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
  if (alnum) return {kClassAlnum, 1};
  if (b >= 0x20 && b <= 0x7E) return {kClassPunct, 1};
  if (singleByteBook) return {b >= 0xC0 ? kClassAlnum : kClassOther, 1};
  if (b >= 0xA1 && b <= 0xDF) return {kClassHalfKana, 1};
  if (!IsSjisLead(b) || pos + 1 >= text.size()) return {kClassOther, 1};
  const uint16_t c = static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(text[pos + 1]));
  WordClass cls;
  if ((c >= 0x824F && c <= 0x8258) || (c >= 0x8260 && c <= 0x8279) || (c >= 0x8281 && c <= 0x829A))
    cls = kClassWideAlnum;
  else if (c >= 0x8340 && c <= 0x8396 && c != 0x837F) cls = kClassKatakana;
  else if (c == 0x815B) cls = kClassLongVowel;
  else if (c >= 0x829F && c <= 0x82F1) cls = kClassHiragana;
  else if (c < 0x8140 || c > 0x889E) cls = kClassKanji;
  else cls = kClassSymbol;
  return {cls, 2};
}

}  // namespace morva
