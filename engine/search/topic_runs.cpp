#include "engine/search/topic_runs.h"

#include <algorithm>

#include "engine/search/topic_page_map.h"
#include "engine/search/topic_text.h"

namespace morva::topic {

const uint8_t* StoreItems(const uint8_t* p, const uint8_t* end, RunState& r,
                          const TopicLimits& limits, const TopicGlyph* glyphs, char* text,
                          bool refParamFlag) {
  while (p < end) {
    const uint8_t b = *p;
    if (IsJisByte(b)) {
      // Text: JIS X 0208 pairs (other pairs go to the decoder).
      if (end - p < 2 || !IsJisByte(p[1])) break;
      r.length = 2;
      if (r.state.atLineStart) {
        // The first character of a line decides whether the line counts.
        const TopicGlyph& g = glyphs[TopicGlyphIndex(b, p[1])];
        r.ending =
            AtCharacter(r.state, limits, r.used > 0, r.fullWidth ? g.fullSpace : g.halfSpace);
        if (r.ending != Ending::kNone) break;
      }
      char* out = text + r.used;
      if (r.fullWidth) {
        do {
          const TopicGlyph& g = glyphs[TopicGlyphIndex(p[0], p[1])];
          out[0] = g.full[0];
          out[1] = g.full[1];
          out += 2;
          p += 2;
        } while (end - p >= 2 && IsJisByte(p[0]) && IsJisByte(p[1]));
      } else {
        do {
          const TopicGlyph& g = glyphs[TopicGlyphIndex(p[0], p[1])];
          out[0] = g.half[0];
          out[1] = g.half[1];
          out += g.halfLength;
          p += 2;
        } while (end - p >= 2 && IsJisByte(p[0]) && IsJisByte(p[1]));
      }
      r.used = static_cast<size_t>(out - text);
      continue;
    }
    if (b != kEscape || end - p < 2) break;
    int32_t parameter = 0;
    if (!ReadFastEscape(p, end, refParamFlag, &r.length, &parameter)) break;
    r.ending = FastEscapeItem(r, limits, p[1], parameter, text);
    if (r.ending != Ending::kNone) break;
    p += r.length;
  }
  return p;
}

int LeapItems(int at, const uint8_t* page, const PageMap& map, RunState& state,
              const TopicLimits& limits, const TopicGlyph* glyphs, bool refParamFlag) {
  RunState r = state;  // a local copy stays in registers
  // The bytes of the escapes passed, word by word: `cover` for the current
  // word, `carry` for what an escape puts into the next.
  std::array<uint64_t, PageMap::kWords> escaped;
  int pos = at;  // everything before it has been read
  int word = at >> 6;
  uint64_t bits = map.escapes[static_cast<size_t>(word)] & (~uint64_t{0} << (at & 63));
  uint64_t cover = 0;
  uint64_t carry = 0;
  for (;;) {
    while (bits == 0) {
      escaped[static_cast<size_t>(word)] = cover;
      if (++word == PageMap::kWords) break;
      cover = carry;
      carry = 0;
      bits = map.escapes[static_cast<size_t>(word)];
    }
    if (word == PageMap::kWords) break;
    const int q = word * 64 + __builtin_ctzll(bits);
    bits &= bits - 1;
    if (q < pos) continue;  // a parameter byte of the escape just passed
    if (((q - pos) & 1) != 0) break;
    const bool text = q > pos;
    if (text && r.state.atLineStart) {
      const uint8_t* const p = page + pos;
      if (!IsJisByte(p[0]) || !IsJisByte(p[1])) break;
      const TopicGlyph& g = glyphs[TopicGlyphIndex(p[0], p[1])];
      r.length = 2;
      r.ending = AtCharacter(r.state, limits, r.used > 0, r.fullWidth ? g.fullSpace : g.halfSpace);
      if (r.ending != Ending::kNone) break;
    }
    r.used += text;
    pos = q;
    if (q + 1 >= kPageSize) break;
    const uint8_t* const p = page + q;
    const uint8_t code = p[1];
    const FastEscape info = kFastEscapes[code];
    int length = info.length;
    if (info.kind == EscapeKind::kPlain || info.kind == EscapeKind::kNarrow ||
        info.kind == EscapeKind::kWide) {
      if (q + length > kPageSize) break;
      if (info.kind != EscapeKind::kPlain) r.fullWidth = info.kind == EscapeKind::kWide;
    } else {
      if (info.kind == EscapeKind::kUnknown) break;
      int32_t parameter = 0;
      size_t read = 0;
      if (!ReadFastEscape(p, page + kPageSize, refParamFlag, &read, &parameter) || read > 64) break;
      length = static_cast<int>(read);
      r.length = read;
      r.ending = FastEscapeItem(r, limits, code, parameter, nullptr);
      if (r.ending != Ending::kNone) break;
    }
    // length is 2..64: (2 << (length - 1)) - 1 has its low `length` bits set.
    const int bit = q & 63;
    const uint64_t mask = (uint64_t{2} << (length - 1)) - 1;
    cover |= mask << bit;
    if (bit + length > 64) carry |= mask >> (64 - bit);
    pos = q + length;
  }
  if (word < PageMap::kWords) {
    escaped[static_cast<size_t>(word)] = cover;
    if (word + 1 < PageMap::kWords) escaped[static_cast<size_t>(word + 1)] = carry;
  }
  // No byte below 0x20 may lie in [at, pos) outside the escapes passed.
  for (int i = at; i < pos;) {
    const int bit = i & 63;
    const int n = std::min(64 - bit, pos - i);
    const uint64_t range = (n == 64 ? ~uint64_t{0} : ((uint64_t{1} << n) - 1)) << bit;
    const size_t w = static_cast<size_t>(i >> 6);
    if ((map.controls[w] & ~escaped[w] & range) != 0) return at;
    i += n;
  }
  state = r;
  return pos;
}

int SkimItems(int at, const uint8_t* page, const PageMap& map, RunState& r,
              const TopicLimits& limits, const TopicGlyph* glyphs, bool refParamFlag) {
  const uint8_t* const end = page + kPageSize;
  while (at < kPageSize) {
    int next = map.NextControl(at);
    if (next > at) {
      // A text run: pairs up to the next byte below 0x20 at an even
      // distance. One at an odd distance is a pair's second byte, which ends
      // the data when it is 0.
      while (next < kPageSize && ((next - at) & 1) != 0 && page[next] != 0)
        next = map.NextControl(next + 1);
      if (((next - at) & 1) != 0) --next;  // a pair cut by the page end, or one with a 0 in it
      if (next == at) break;
      if (r.state.atLineStart) {
        // The first character of a line decides whether the line counts;
        // the decoder reads any but a JIS X 0208 pair.
        const uint8_t* const p = page + at;
        if (!IsJisByte(p[0]) || !IsJisByte(p[1])) break;
        const TopicGlyph& g = glyphs[TopicGlyphIndex(p[0], p[1])];
        r.length = 2;
        r.ending =
            AtCharacter(r.state, limits, r.used > 0, r.fullWidth ? g.fullSpace : g.halfSpace);
        if (r.ending != Ending::kNone) break;
      }
      ++r.used;
      at = next;
      if (at >= kPageSize) break;
    }
    const uint8_t* const p = page + at;
    if (*p != kEscape || at + 1 >= kPageSize) break;
    const FastEscape info = kFastEscapes[p[1]];
    if (info.kind == EscapeKind::kUnknown) break;
    if (info.kind == EscapeKind::kPlain || info.kind == EscapeKind::kNarrow ||
        info.kind == EscapeKind::kWide) {
      if (at + info.length > kPageSize) break;
      if (info.kind != EscapeKind::kPlain) r.fullWidth = info.kind == EscapeKind::kWide;
      at += info.length;
      continue;
    }
    int32_t parameter = 0;
    if (!ReadFastEscape(p, end, refParamFlag, &r.length, &parameter)) break;
    r.ending = FastEscapeItem(r, limits, p[1], parameter, nullptr);
    if (r.ending != Ending::kNone) break;
    at += static_cast<int>(r.length);
  }
  return at;
}

}  // namespace morva::topic
