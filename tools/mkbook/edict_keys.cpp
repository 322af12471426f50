#include "tools/mkbook/edict_keys.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "tools/mkbook/index_keys.h"

namespace morva::mkbook {
namespace {

constexpr uint16_t kFullHyphen = 0x213E;

bool IsWordByte(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '\'';
}

bool IsStopWord(std::string_view lower) {
  // Words in so many glosses that a search for them lists thousands of entries.
  static constexpr std::array<std::string_view, 23> kStop = {
      "an", "and", "are", "as", "at", "be",   "by", "esp",  "etc", "for", "from", "in",
      "is", "it",  "not", "of", "on", "ones", "or", "that", "the", "to",  "with"};
  return std::find(kStop.begin(), kStop.end(), lower) != kStop.end();
}

// The gloss after its leading tags: "(n) (2) (sl) word" -> "word".
std::string_view WithoutTags(std::string_view gloss) {
  while (true) {
    const size_t start = gloss.find_first_not_of(' ');
    if (start == std::string_view::npos) return {};
    gloss.remove_prefix(start);
    if (gloss.front() != '(') return gloss;
    const size_t close = gloss.find(')');
    if (close == std::string_view::npos) return gloss;
    gloss.remove_prefix(close + 1);
  }
}

// Full-width upper-case key of one ASCII word, or empty when the word is not
// worth a key.
std::string AlphaKey(std::string_view word) {
  std::string lower;
  for (char c : word)
    if (c != '\'') lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const size_t first = lower.find_first_not_of('-');
  if (first == std::string::npos) return {};
  lower = lower.substr(first, lower.find_last_not_of('-') - first + 1);
  const bool hasLetter = std::any_of(lower.begin(), lower.end(), [](char c) {
    return std::isalpha(static_cast<unsigned char>(c));
  });
  if (!hasLetter || lower.size() < 2 || IsStopWord(lower)) return {};
  std::string key;
  for (char c : lower) {
    uint16_t code = kFullHyphen;
    if (std::isalpha(static_cast<unsigned char>(c)))
      code = static_cast<uint16_t>(0x2341 + (c - 'a'));
    if (std::isdigit(static_cast<unsigned char>(c)))
      code = static_cast<uint16_t>(0x2330 + (c - '0'));
    key += static_cast<char>(code >> 8);
    key += static_cast<char>(code & 0xFF);
  }
  return key;
}

// True when a canonical key is made of full-width letters and digits only,
// with at least one letter: the words a search sends to the alphabet index.
bool IsAlphabetKey(std::string_view key) {
  bool letter = false;
  for (size_t i = 0; i + 1 < key.size(); i += 2) {
    const auto code =
        static_cast<uint16_t>(static_cast<uint8_t>(key[i]) << 8 | static_cast<uint8_t>(key[i + 1]));
    if (code >= 0x2341 && code <= 0x237A) letter = true;
    else if (code < 0x2330 || code > 0x2339) return false;
  }
  return letter;
}

void AddOnce(std::vector<std::string>& keys, std::string key) {
  if (key.empty() || std::find(keys.begin(), keys.end(), key) != keys.end()) return;
  keys.push_back(std::move(key));
}

}  // namespace

std::string CutEdictKey(std::string key) {
  if (key.size() > kEdictMaxKey) key.resize(kEdictMaxKey);
  return key;
}

std::string EdictKanaKey(const EdictEntry& e) {
  return CanonicalIndexKey(e.reading.empty() ? e.headword : e.reading, 0x90);
}

std::string EdictNotationKey(const EdictEntry& e) { return CanonicalIndexKey(e.headword, 0x91); }

std::vector<std::string> EdictAlphaKeys(const EdictEntry& e) {
  std::vector<std::string> keys;
  if (const std::string head = CanonicalIndexKey(e.headword, 0x92); IsAlphabetKey(head))
    AddOnce(keys, CutEdictKey(head));
  for (const std::string& gloss : e.glosses) {
    const std::string_view text = WithoutTags(gloss);
    for (size_t i = 0; i < text.size();) {
      if (!IsWordByte(text[i])) {
        ++i;
        continue;
      }
      size_t end = i;
      while (end < text.size() && IsWordByte(text[end])) ++end;
      AddOnce(keys, CutEdictKey(AlphaKey(text.substr(i, end - i))));
      i = end;
    }
  }
  return keys;
}

}  // namespace morva::mkbook
