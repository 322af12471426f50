#include "engine/search/topic_prefilter.h"

#include <algorithm>

#include "engine/search/topic_text.h"
#include "engine/text/sjis.h"

namespace morva {
namespace {

// Characters that bytes other than valid codes also decode to: the white
// square of a broken code, the stand-in of an external character.
bool DecodedFromOtherBytes(std::string_view c) { return c == "\x81\xA0" || c == "\x1A"; }

// The characters a glyph puts into the text, each as it is compared.
void ForEachCharacter(const std::array<char, 2>& bytes, int n, auto&& visit) {
  if (n == 2 && IsSjisLead(static_cast<uint8_t>(bytes[0]))) {
    visit(std::string_view(bytes.data(), 2));
    return;
  }
  for (int i = 0; i < n; ++i) visit(std::string_view(bytes.data() + i, 1));
}

// The codes that give a character.
std::vector<uint16_t> CodesOf(std::string_view character, bool matchCase) {
  std::vector<uint16_t> codes;
  const auto& glyphs = TopicGlyphs(!matchCase);
  for (int hi = 0x21; hi <= 0x7E; ++hi) {
    for (int lo = 0x21; lo <= 0x7E; ++lo) {
      const TopicGlyph& g = glyphs[static_cast<size_t>(
          TopicGlyphIndex(static_cast<uint8_t>(hi), static_cast<uint8_t>(lo)))];
      bool gives = false;
      auto check = [&](std::string_view c) { gives = gives || c == character; };
      ForEachCharacter(g.full, 2, check);
      ForEachCharacter(g.half, g.halfLength, check);
      if (gives) codes.push_back(static_cast<uint16_t>(hi << 8 | lo));
    }
  }
  return codes;
}

}  // namespace

TopicPrefilter::TopicPrefilter(const std::vector<std::string>& words, bool matchCase) {
  size_t codeCount = 0;
  for (const std::string& word : words) {
    if (word.empty()) continue;  // an empty word needs no text
    // The word's characters that only valid codes give, fewest codes first.
    std::vector<std::pair<std::string, std::vector<uint16_t>>> candidates;
    for (size_t pos = 0; pos < word.size();) {
      const size_t n = SjisCharLength(word, pos);
      const std::string c = word.substr(pos, n);
      pos += n;
      const bool whole =
          n == 2 ? IsSjisLead(static_cast<uint8_t>(c[0])) : !IsSjisLead(static_cast<uint8_t>(c[0]));
      if (!whole || DecodedFromOtherBytes(c)) continue;
      if (std::any_of(candidates.begin(), candidates.end(),
                      [&c](const auto& k) { return k.first == c; }))
        continue;
      std::vector<uint16_t> codes = CodesOf(c, matchCase);
      if (!codes.empty()) candidates.emplace_back(c, std::move(codes));
      else
        candidates.emplace_back(c,
                                std::vector<uint16_t>{});  // no code gives it: only the decoder can
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
      return a.second.size() < b.second.size();
    });
    // A character no code gives may still come from the decoder's other
    // paths, which the reader checks character by character; it is a fine
    // group with no codes.
    unsigned needed = 0;
    for (size_t k = 0; k < candidates.size() && k < 2; ++k) {
      auto found = std::find_if(groups_.begin(), groups_.end(),
                                [&](const Group& g) { return g.character == candidates[k].first; });
      if (found == groups_.end()) {
        if (groups_.size() == kMaxGroups) break;
        codeCount += candidates[k].second.size();
        groups_.push_back({candidates[k].first, candidates[k].second});
        found = groups_.end() - 1;
      }
      needed |= 1u << (found - groups_.begin());
      if (k == 0) primaryGroups_ |= 1u << (found - groups_.begin());
    }
    if (needed == 0) usable_ = false;
    wordGroups_.push_back(needed);
  }
  if (codeCount > kMaxCodes) usable_ = false;
}

unsigned TopicPrefilter::GroupsOf(std::string_view character) const {
  unsigned bits = 0;
  for (size_t g = 0; g < groups_.size(); ++g)
    if (groups_[g].character == character) bits |= 1u << g;
  return bits;
}

bool TopicPrefilter::MayMatch(unsigned seen) const {
  return std::any_of(wordGroups_.begin(), wordGroups_.end(),
                     [seen](unsigned needed) { return (needed & seen) == needed; });
}

}  // namespace morva
