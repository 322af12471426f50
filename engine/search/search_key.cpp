#include "engine/search/search_key.h"

#include "engine/book/tdisk.h"
#include "engine/search/kana_base.h"
#include "engine/text/jis.h"
#include "engine/text/sjis.h"
#include "engine/text/width.h"

namespace morva {
namespace {

using namespace search_flags;

// JIS codes of the characters the conversion treats specially.
constexpr uint16_t kJisAsterisk = 0x2176;
constexpr uint16_t kJisPlus = 0x215C;
constexpr uint16_t kJisAt = 0x2177;
constexpr uint16_t kJisMinus = 0x215D;
constexpr uint16_t kJisHyphen = 0x213E;
constexpr uint16_t kJisLongVowel = 0x213C;
constexpr uint16_t kJisMiddleDot = 0x2126;
constexpr uint16_t kJisApostrophe = 0x2147;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads one character of a 2-byte book's operand at pos as a code to store:
// a JIS code, or an external-character code 0xA1xx..0xAFxx kept as typed.
// Returns 0 for bytes that have no such form; advances pos in every case.
uint16_t NextCode(std::string_view s, size_t& pos) {
  const auto b = static_cast<uint8_t>(s[pos++]);
  const bool hasNext = pos < s.size();
  const uint8_t next = hasNext ? static_cast<uint8_t>(s[pos]) : 0;
  if (IsSjisLead(b)) {
    if (!hasNext) return 0;
    ++pos;
    return SjisToJis(static_cast<uint16_t>(b << 8 | next));
  }
  if (b >= 0xA1 && b <= 0xAF && hasNext) {
    ++pos;
    return static_cast<uint16_t>(b << 8 | next);
  }
  // Half-width ｶ..ﾄ and ﾊ..ﾎ take a following voiced mark, ﾊ..ﾎ a semi-voiced one.
  const bool takesVoiced = (b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE);
  const bool takesSemiVoiced = b >= 0xCA && b <= 0xCE;
  if ((takesVoiced && next == 0xDE) || (takesSemiVoiced && next == 0xDF)) {
    if (const uint16_t voiced = ToFullWidthVoiced(b, next)) {
      ++pos;
      return SjisToJis(voiced);
    }
  }
  const uint16_t full = ToFullWidth(b);
  return full != 0 ? SjisToJis(full) : 0;
}

unsigned ClassOfByte(uint8_t& c) {
  if (c >= '0' && c <= '9') return kDigit;
  if (c >= 'a' && c <= 'z') c = static_cast<uint8_t>(c - 0x20);
  else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) c = static_cast<uint8_t>(c - 0x20);
  return kAlpha;
}

unsigned ClassOfCode(uint16_t& code, bool catalogVolume) {
  if (code == kJisLongVowel || (code >= 0x2421 && code <= 0x2576)) return kKana;
  if (code >= 0x2341 && code <= 0x237A) {
    if (catalogVolume && code >= 0x2361) code = static_cast<uint16_t>(code - 0x20);
    return kAlpha;
  }
  if (code >= 0x2330 && code <= 0x2339) return kDigit;
  if (code >= 0x3021) return kKanji;
  if (code == kJisMinus) {
    code = kJisHyphen;
    return kAlpha;
  }
  return kOther;
}

bool OnlyFlags(unsigned flags, unsigned allowed) { return (flags & ~allowed) == 0; }

uint8_t ChooseIndex(unsigned f, const TDisk& disk) {
  const IndexKindTable& ix = disk.subbook().indexes;
  if ((f & kLeadPlus) && ix.Has(index_codes::kKeyword)) return index_codes::kKeyword;
  if (f & kDoubleAt) return index_codes::kCross;
  if ((f & kSingleAt) && ix.Has(index_codes::kCompoundSlot)) return index_codes::kCompoundSlot;
  if ((f & kDigit) && OnlyFlags(f, kTrailStar | kAlpha | kDigit) && ix.Has(index_codes::kNumber))
    return index_codes::kNumber;
  if ((f & kAlpha) && OnlyFlags(f, kTrailStar | kLeadStar | kAlpha | kDigit)) {
    if ((f & kLeadStar) && ix.Has(index_codes::kBackwardAlpha)) return index_codes::kBackwardAlpha;
    if (ix.Has(index_codes::kForwardAlpha)) return index_codes::kForwardAlpha;
  } else if ((f & kKana) && OnlyFlags(f, kTrailStar | kLeadStar | kKana)) {
    if ((f & kLeadStar) && ix.Has(index_codes::kBackwardKana)) return index_codes::kBackwardKana;
    if (ix.Has(index_codes::kForwardKana)) return index_codes::kForwardKana;
  } else if ((f & kKanji) && OnlyFlags(f, kTrailStar | kKanji)) {
    if (disk.subbook().specialTitle) return index_codes::kForwardWord;
    if (ix.Has(index_codes::kKanji)) return index_codes::kKanji;
  }
  if ((f & kLeadStar) && ix.Has(index_codes::kBackwardWord)) return index_codes::kBackwardWord;
  if (ix.Has(index_codes::kForwardWord)) return index_codes::kForwardWord;
  return index_codes::kKeyword;
}

bool IsPrefixCode(uint8_t code) {
  return (code >= 0x90 && code <= 0x92) || (code >= 0x70 && code <= 0x72);
}

}  // namespace

ConvertedKey ConvertKey(const TDisk& disk, std::string_view operand, size_t capacity) {
  ConvertedKey out;
  size_t pos = 0;
  if (operand.size() >= 3 && operand[0] == '$' && HexValue(operand[1]) >= 0 &&
      HexValue(operand[2]) >= 0) {
    const int code = HexValue(operand[1]) * 16 + HexValue(operand[2]);
    pos = 3;
    if (code != 0) {
      out.keyId = static_cast<uint8_t>(code);
      out.explicitCode = true;
      out.prefixRequested = IsPrefixCode(out.keyId);
    }
  }

  const bool singleByte = disk.SingleByteBook();
  const bool catalogVolume = disk.subbook().volumeKind == 1;
  bool atSeen = false;
  while (pos < operand.size()) {
    uint16_t code;
    if (singleByte) {
      code = static_cast<uint8_t>(operand[pos++]);
    } else {
      code = NextCode(operand, pos);
      if (code == 0) continue;  // no JIS form: dropped
    }
    const bool last = pos >= operand.size();
    const bool nothingStored = out.exact.empty();
    const bool star = singleByte ? code == '*' : code == kJisAsterisk;
    const bool plus = singleByte ? code == '+' : code == kJisPlus;
    const bool at = singleByte ? code == '@' : code == kJisAt;
    if (star && (nothingStored || last)) {
      out.flags |= nothingStored ? kLeadStar : kTrailStar;
      out.prefixRequested = true;
      continue;
    }
    if (plus && nothingStored) {
      out.flags |= kLeadPlus;
      continue;
    }
    if (at && nothingStored) {
      if (!atSeen) {
        out.flags |= kSingleAt;
        atSeen = true;
      } else {
        out.flags = (out.flags & ~kSingleAt) | kDoubleAt;
      }
      continue;
    }

    if (singleByte) {
      auto c = static_cast<uint8_t>(code);
      out.flags |= (star || plus || at) ? kOther : ClassOfByte(c);
      if (out.exact.size() + 1 >= capacity) break;
      out.exact.push_back(static_cast<char>(c));
    } else {
      out.flags |= ClassOfCode(code, catalogVolume);
      if (out.exact.size() + 2 >= capacity) break;
      out.exact.push_back(static_cast<char>(code >> 8));
      out.exact.push_back(static_cast<char>(code & 0xFF));
    }
  }
  if (!out.explicitCode) out.keyId = ChooseIndex(out.flags, disk);
  return out;
}

MatchMode DecideMatchMode(const ConvertedKey& key, const TDisk& disk) {
  if (key.prefixRequested) return MatchMode::kPrefix;
  const uint8_t id = key.keyId;
  const bool zenpoIndex = id == index_codes::kForwardKana || id == index_codes::kForwardWord ||
                          id == index_codes::kForwardAlpha || id == index_codes::kCompoundSlot;
  return disk.info().zenpo && zenpoIndex ? MatchMode::kPrefix : MatchMode::kExact;
}

std::string Canonicalise(std::string_view exactKey, const IndexKindRow& index, const TDisk& disk) {
  if (disk.SingleByteBook()) return std::string(exactKey);
  const uint8_t id = index.code;
  const uint8_t option = index.options[0];
  const bool kanaIndex = id == index_codes::kForwardKana || id == index_codes::kBackwardKana;
  const bool keywordLike = id == index_codes::kKeyword || id == index_codes::kCompoundSlot;
  const bool upperCase = (option & 0x30) == 0;
  const bool dropPunctuation = !keywordLike && (option & 0x0C) == 0;
  const int longVowelRule = option & 0x03;

  std::string out;
  out.reserve(exactKey.size());
  uint16_t lastVowel = 0;
  for (size_t i = 0; i + 1 < exactKey.size(); i += 2) {
    uint16_t code = static_cast<uint16_t>(static_cast<uint8_t>(exactKey[i]) << 8 |
                                          static_cast<uint8_t>(exactKey[i + 1]));
    if (upperCase && code >= 0x2361 && code <= 0x237A) code = static_cast<uint16_t>(code - 0x20);
    if (kanaIndex && code >= 0x2521 && code <= 0x2576) code = static_cast<uint16_t>(code - 0x100);
    // A typed minus sign was stored as the hyphen, so both go: books store
    // "one-to-many" as ONETOMANY.
    if (dropPunctuation && (code == kJisMiddleDot || code == kJisApostrophe || code == kJisMinus ||
                            code == kJisHyphen))
      continue;

    if (IsKanaCode(code)) {
      const uint16_t row = code & 0xFF00;
      const KanaCell cell = KanaBase(static_cast<uint8_t>(code));
      if (kanaIndex) code = static_cast<uint16_t>(row | cell.base);
      lastVowel = static_cast<uint16_t>(row | cell.vowel);
    } else if (code == kJisLongVowel) {
      // The vowel is kept: a second mark in a row yields it again.
      if (disk.subbook().specialTitle || (id != index_codes::kKeyword && longVowelRule == 0)) {
        code = lastVowel;
      } else if (id != index_codes::kKeyword && longVowelRule == 2) {
        continue;
      }
    } else {
      lastVowel = 0;
    }
    if (code == 0) continue;  // a long-vowel mark with no kana before it
    out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
  }
  return out;
}

std::string ReverseKey(std::string_view key, bool singleByte) {
  if (singleByte) return std::string(key.rbegin(), key.rend());
  std::string out;
  out.reserve(key.size());
  for (size_t end = key.size() & ~size_t{1}; end >= 2; end -= 2) out.append(key.substr(end - 2, 2));
  if (key.size() % 2 != 0) out.push_back(key.back());
  return out;
}

bool IsBackwardIndex(uint8_t keyId) {
  return keyId == index_codes::kBackwardKana || keyId == index_codes::kBackwardWord ||
         keyId == index_codes::kBackwardAlpha;
}

PreparedKey PrepareKey(const TDisk& disk, std::string_view operand) {
  PreparedKey key;
  key.converted = ConvertKey(disk, operand);
  const uint8_t id = key.converted.keyId;
  key.indexRow = disk.subbook().indexes.RowOf(id);
  const IndexKindRow& row = disk.subbook().indexes.Row(key.indexRow);
  // A code the table does not know answers with the body-text row: absent.
  key.indexPresent = row.code == id && row.start != 0;
  if (!key.indexPresent) return key;
  key.mode = DecideMatchMode(key.converted, disk);
  key.exact = key.converted.exact;
  key.canonical = Canonicalise(key.exact, row, disk);
  if (IsBackwardIndex(id)) {
    key.exact = ReverseKey(key.exact, disk.SingleByteBook());
    key.canonical = ReverseKey(key.canonical, disk.SingleByteBook());
  }
  return key;
}

}  // namespace morva
