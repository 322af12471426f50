#include "engine/text/unicode.h"

#include <algorithm>
#include <vector>

#include "engine/text/sjis.h"
#include "engine/text/sjis_unicode_table.h"

namespace morva {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kHalfWidthKatakanaFirst = 0xFF61;  // ｡, Shift-JIS 0xA1
constexpr char32_t kHalfWidthKatakanaLast = 0xFF9F;   // ﾟ, Shift-JIS 0xDF

bool IsSjisTrail(uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

char32_t SingleByteToUnicode(uint8_t b) {
  if (b < 0x80) return b;
  if (b >= 0xA1 && b <= 0xDF) return kHalfWidthKatakanaFirst + (b - 0xA1);
  return 0;
}

char32_t DoubleByteToUnicode(uint8_t lead, uint8_t trail) {
  const uint8_t row = sjis_table::kRowOfLead[lead];
  if (row == sjis_table::kNoRow || !IsSjisTrail(trail)) return 0;
  return sjis_table::kRows[row][trail - sjis_table::kFirstTrail];
}

struct ScalarCode {
  char32_t scalar;
  uint16_t code;
};

// The table turned around and sorted by scalar, built once on first use and
// never changed afterwards. Duplicates keep only the preferred code.
const std::vector<ScalarCode>& ReverseTable() {
  static const std::vector<ScalarCode> table = [] {
    const auto notPreferred = sjis_table::NotPreferredCodes();
    std::vector<ScalarCode> reverse;
    for (unsigned lead = 0; lead < 256; ++lead) {
      const uint8_t row = sjis_table::kRowOfLead[lead];
      if (row == sjis_table::kNoRow) continue;
      for (size_t i = 0; i < sjis_table::kTrailCount; ++i) {
        const char32_t scalar = sjis_table::kRows[row][i];
        const auto code = static_cast<uint16_t>(lead << 8 | (sjis_table::kFirstTrail + i));
        if (scalar == 0 || std::binary_search(notPreferred.begin(), notPreferred.end(), code)) {
          continue;
        }
        reverse.push_back({scalar, code});
      }
    }
    for (const auto& alias : sjis_table::EncodeAliases()) {
      reverse.push_back({alias.scalar, alias.code});
    }
    std::sort(reverse.begin(), reverse.end(),
              [](const ScalarCode& a, const ScalarCode& b) { return a.scalar < b.scalar; });
    return reverse;
  }();
  return table;
}

constexpr char32_t kInvalidUtf8 = 0xFFFFFFFF;

// Decodes the UTF-8 sequence at pos and moves pos past it. A malformed
// sequence (bad lead, overlong form, surrogate, beyond U+10FFFF, cut short)
// gives kInvalidUtf8 and is skipped up to the first byte that cannot continue
// it, so a following valid character is never swallowed.
char32_t DecodeUtf8(std::string_view s, size_t& pos) {
  const auto lead = static_cast<uint8_t>(s[pos++]);
  if (lead < 0x80) return lead;
  size_t more;
  char32_t c;
  uint8_t low = 0x80;  // allowed range of the second byte
  uint8_t high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2;
    c = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3;
    c = lead & 0x07;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return kInvalidUtf8;
  }
  for (size_t i = 0; i < more; ++i) {
    if (pos >= s.size()) return kInvalidUtf8;
    const auto b = static_cast<uint8_t>(s[pos]);
    if (b < low || b > high) return kInvalidUtf8;
    c = c << 6 | (b & 0x3F);
    ++pos;
    low = 0x80;
    high = 0xBF;
  }
  return c;
}

}  // namespace

char32_t SjisToUnicode(uint16_t code) {
  if (code < 0x100) return SingleByteToUnicode(static_cast<uint8_t>(code));
  return DoubleByteToUnicode(static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code & 0xFF));
}

uint16_t UnicodeToSjis(char32_t c) {
  if (c < 0x80) return static_cast<uint16_t>(c);
  if (c >= kHalfWidthKatakanaFirst && c <= kHalfWidthKatakanaLast) {
    return static_cast<uint16_t>(0xA1 + (c - kHalfWidthKatakanaFirst));
  }
  const auto& table = ReverseTable();
  const auto it = std::lower_bound(table.begin(), table.end(), c,
                                   [](const ScalarCode& e, char32_t v) { return e.scalar < v; });
  return it != table.end() && it->scalar == c ? it->code : 0;
}

std::string SjisToUtf8(std::string_view sjis) {
  std::string out;
  out.reserve(sjis.size() + sjis.size() / 2);
  AppendSjisAsUtf8(sjis, &out);
  return out;
}

void AppendSjisAsUtf8(std::string_view sjis, std::string* target) {
  // Written through a pointer into room made once: a Shift-JIS byte never
  // becomes more than three bytes of UTF-8.
  std::string& out = *target;
  const size_t base = out.size();
  out.resize(base + 3 * sjis.size());
  char* w = out.data() + base;
  const auto put = [&w](char32_t c) {
    if (c < 0x80) {
      *w++ = static_cast<char>(c);
    } else if (c < 0x800) {
      *w++ = static_cast<char>(0xC0 | c >> 6);
      *w++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      // Every scalar of the table lies below 0x10000.
      *w++ = static_cast<char>(0xE0 | c >> 12);
      *w++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
      *w++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  };
  size_t pos = 0;
  while (pos < sjis.size()) {
    const auto b = static_cast<uint8_t>(sjis[pos]);
    if (b < 0x80) {
      *w++ = static_cast<char>(b);
      ++pos;
      continue;
    }
    char32_t c;
    if (!IsSjisLead(b)) {
      c = SingleByteToUnicode(b);
      ++pos;
    } else if (pos + 1 < sjis.size() && IsSjisTrail(static_cast<uint8_t>(sjis[pos + 1]))) {
      c = DoubleByteToUnicode(b, static_cast<uint8_t>(sjis[pos + 1]));
      pos += 2;
    } else {
      // A lead at the end, or one whose next byte cannot be a trail: that
      // byte is read again as a character of its own, so no text is lost.
      c = 0;
      ++pos;
    }
    put(c != 0 ? c : kReplacement);
  }
  out.resize(static_cast<size_t>(w - out.data()));
}

std::string Utf8ToSjis(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t c = DecodeUtf8(utf8, pos);
    const uint16_t code = c == kInvalidUtf8 ? 0 : UnicodeToSjis(c);
    if (c == 0 || (code != 0 && code < 0x100)) {
      out.push_back(static_cast<char>(code));
    } else if (code != 0) {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    } else {
      out.push_back('?');
    }
  }
  return out;
}

}  // namespace morva
