#include "app/main_window/word_rules.h"

#include <vector>

#include "engine/text/sjis.h"

namespace morva {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool OnlyLettersAndApostrophes(std::string_view word) {
  for (char c : word)
    if (!IsAsciiLetter(c) && c != '\'') return false;
  return true;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(separator, start);
    parts.push_back(
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

// Whether word ends in ending; *letter receives the letter the "?"s matched
// (0 when the ending has none).
bool EndsWith(std::string_view word, std::string_view ending, char* letter) {
  *letter = 0;
  if (ending.size() > word.size()) return false;
  const std::string_view tail = word.substr(word.size() - ending.size());
  for (size_t i = 0; i < ending.size(); ++i) {
    const char w = tail[i];
    if (ending[i] == '?') {
      if (!IsAsciiLetter(w)) return false;
      if (*letter == 0) *letter = w;
      else if (Lower(*letter) != Lower(w)) return false;
    } else if (Lower(ending[i]) != Lower(w)) {
      return false;
    }
  }
  return true;
}

// Shift-JIS characters of a text, each as its own view.
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> chars;
  for (size_t i = 0; i < text.size();) {
    const size_t n = SjisCharLength(text, i);
    chars.push_back(text.substr(i, n));
    i += n;
  }
  return chars;
}

}  // namespace

EndingResult ApplyEndingSet(std::string* word, int set, const std::array<std::string, 10>& sets) {
  if (set < 0 || set > 9 || !OnlyLettersAndApostrophes(*word)) return {};
  for (std::string_view rule : Split(sets[static_cast<size_t>(set)], ';')) {
    const std::vector<std::string_view> fields = Split(rule, ',');
    if (fields.size() < 2) continue;  // not a rule: an ending without replacement
    char letter = 0;
    if (!EndsWith(*word, fields[0], &letter)) continue;
    std::string rewritten = word->substr(0, word->size() - fields[0].size());
    for (char c : fields[1]) {
      if (c != '?') rewritten.push_back(c);
      else if (letter != 0) rewritten.push_back(letter);
    }
    // A set that keeps lengthening the word would otherwise never end.
    if (rewritten.size() > kMaxSearchWord) return {};
    *word = std::move(rewritten);
    EndingResult result{true, -1};
    if (fields.size() >= 3 && !fields[2].empty() && fields[2][0] >= '1' && fields[2][0] <= '9')
      result.nextSet = fields[2][0] - '0';
    return result;
  }
  return {};
}

std::string Translate(std::string_view word, std::string_view pairs) {
  if (pairs.empty() || word.find(' ') != std::string_view::npos ||
      word.find("\x81\x40") != std::string_view::npos)
    return std::string(word);
  const std::vector<std::string_view> table = Characters(pairs);
  std::string out;
  for (std::string_view c : Characters(word)) {
    std::string_view replacement = c;
    for (size_t i = 0; i + 1 < table.size(); i += 2) {
      if (table[i] == c) {
        replacement = table[i + 1];
        break;
      }
    }
    out.append(replacement);
  }
  return out;
}

std::string AddPrefix(std::string_view word, std::string_view prefix) {
  if (prefix.size() + word.size() < kMaxSearchWord + 1)
    return std::string(prefix) + std::string(word);
  return std::string(word);
}

}  // namespace morva
