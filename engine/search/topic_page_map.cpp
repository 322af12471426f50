#include "engine/search/topic_page_map.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace morva {

void PageMap::Build(const uint8_t* bytes, int32_t pageNumber, const TopicPrefilter& filter) {
  page = pageNumber;
  prefilter = &filter;
#if defined(__SSE2__)
  const __m128i below = _mm_set1_epi8(0x1F);
  const __m128i escape = _mm_set1_epi8(0x1F);
  for (int word = 0; word < kWords; ++word) {
    uint64_t control = 0;
    uint64_t escapeBits = 0;
    for (int block = 0; block < 4; ++block) {
      const __m128i x =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + word * 64 + block * 16));
      const int shift = block * 16;
      control |= uint64_t{static_cast<unsigned>(
                     _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(x, below), x)))}
                 << shift;
      escapeBits |= uint64_t{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, escape)))}
                    << shift;
    }
    controls[static_cast<size_t>(word)] = control;
    escapes[static_cast<size_t>(word)] = escapeBits;
  }
#else
  controls.fill(0);
  escapes.fill(0);
  for (int i = 0; i < kPageSize; ++i) {
    if (bytes[i] < 0x20) controls[static_cast<size_t>(i >> 6)] |= uint64_t{1} << (i & 63);
    if (bytes[i] == 0x1F) escapes[static_cast<size_t>(i >> 6)] |= uint64_t{1} << (i & 63);
  }
#endif
  looked_ = 0;
  somewhere_ = 0;
  FindCodes(bytes, filter.PrimaryGroups());
}

void PageMap::FindCodes(const uint8_t* bytes, unsigned wanted) {
  const std::vector<TopicPrefilter::Group>& groups = prefilter->groups();
  for (size_t g = 0; g < groups.size(); ++g)
    if ((wanted >> g) & 1) codes_[g].fill(0);
  looked_ |= wanted;
  auto mark = [&](int at, uint16_t code) {
    for (size_t g = 0; g < groups.size(); ++g) {
      if (((wanted >> g) & 1) == 0) continue;
      if (std::find(groups[g].codes.begin(), groups[g].codes.end(), code) == groups[g].codes.end())
        continue;
      codes_[g][static_cast<size_t>(at >> 6)] |= uint64_t{1} << (at & 63);
      somewhere_ |= 1u << g;
    }
  };
  // Code positions whose second byte is the page's last byte or beyond it are
  // looked at one by one.
  int done = 0;
#if defined(__SSE2__)
  // The codes' first and second bytes, each once: a code can only begin
  // where both a first and a second byte fit.
  constexpr size_t kMax = TopicPrefilter::kMaxCodes;
  __m128i highs[kMax];
  __m128i lows[kMax];
  uint8_t highValue[kMax];
  uint8_t lowValue[kMax];
  size_t highCount = 0;
  size_t lowCount = 0;
  for (size_t g = 0; g < groups.size(); ++g) {
    if (((wanted >> g) & 1) == 0) continue;
    for (uint16_t code : groups[g].codes) {
      const auto high = static_cast<uint8_t>(code >> 8);
      const auto low = static_cast<uint8_t>(code & 0xFF);
      if (highCount < kMax &&
          std::find(highValue, highValue + highCount, high) == highValue + highCount) {
        highValue[highCount] = high;
        highs[highCount++] = _mm_set1_epi8(static_cast<char>(high));
      }
      if (lowCount < kMax && std::find(lowValue, lowValue + lowCount, low) == lowValue + lowCount) {
        lowValue[lowCount] = low;
        lows[lowCount++] = _mm_set1_epi8(static_cast<char>(low));
      }
    }
  }
  if (highCount == 0) return;
  for (; done + 17 <= kPageSize; done += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + done));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + done + 1));
    __m128i anyHigh = _mm_cmpeq_epi8(x, highs[0]);
    for (size_t h = 1; h < highCount; ++h)
      anyHigh = _mm_or_si128(anyHigh, _mm_cmpeq_epi8(x, highs[h]));
    __m128i anyLow = _mm_cmpeq_epi8(y, lows[0]);
    for (size_t l = 1; l < lowCount; ++l) anyLow = _mm_or_si128(anyLow, _mm_cmpeq_epi8(y, lows[l]));
    // The few places where a first and a second byte fit, one by one.
    unsigned candidates = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(anyHigh, anyLow)));
    while (candidates != 0) {
      const int at = done + __builtin_ctz(candidates);
      candidates &= candidates - 1;
      mark(at, static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1]));
    }
  }
#endif
  for (int at = done; at + 1 < kPageSize; ++at)
    mark(at, static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1]));
}

int PageMap::NextControl(int from) const {
  if (from >= kPageSize) return kPageSize;
  int word = from >> 6;
  uint64_t bits = controls[static_cast<size_t>(word)] & (~uint64_t{0} << (from & 63));
  while (bits == 0) {
    if (++word == kWords) return kPageSize;
    bits = controls[static_cast<size_t>(word)];
  }
  return word * 64 + __builtin_ctzll(bits);
}

unsigned PageMap::InRange(unsigned groups, int from, int to) const {
  unsigned found = 0;
  groups &= somewhere_;
  if (groups == 0) return 0;
  for (int i = from; i < to;) {
    const int bit = i & 63;
    const int n = std::min(64 - bit, to - i);
    const uint64_t range = (n == 64 ? ~uint64_t{0} : ((uint64_t{1} << n) - 1)) << bit;
    for (unsigned rest = groups; rest != 0; rest &= rest - 1) {
      const int g = __builtin_ctz(rest);
      if ((codes_[static_cast<size_t>(g)][static_cast<size_t>(i >> 6)] & range) != 0)
        found |= 1u << g;
    }
    i += n;
  }
  return found;
}

unsigned PageMap::GroupsIn(const uint8_t* bytes, int from, int to, int topicFrom, unsigned seen) {
  const unsigned primary = prefilter->PrimaryGroups();
  const unsigned found = InRange(primary, from, to);
  if (((found | seen) & primary) == 0) return 0;
  // A word's first group is in the topic: its others may be too, here or
  // earlier in the topic's part of the page.
  const unsigned others = prefilter->AllGroups() & ~primary;
  if ((others & ~looked_) != 0) FindCodes(bytes, others & ~looked_);
  return found | InRange(others, std::min(topicFrom, from), to);
}

}  // namespace morva
