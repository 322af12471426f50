#include "app/clipboard/clipboard_word.h"

#include "engine/text/sjis.h"

namespace morva {
namespace {

// Length of the blank at pos (1 half-width, 2 full-width), 0 for none.
size_t BlankAt(std::string_view s, size_t pos) {
  if (s[pos] == ' ') return 1;
  if (pos + 1 < s.size() && static_cast<uint8_t>(s[pos]) == 0x81 &&
      static_cast<uint8_t>(s[pos + 1]) == 0x40)
    return 2;
  return 0;
}

}  // namespace

std::optional<std::string> TakeClipboardWord(std::string_view text, std::string_view neglect) {
  std::string buffer(SjisCut(text, kClipboardWordBytes));
  for (char& c : buffer)
    if (static_cast<uint8_t>(c) < 0x20) c = ' ';
  if (neglect.find(' ') != std::string_view::npos) {
    if (buffer.empty()) return std::nullopt;
    return buffer;
  }
  size_t start = 0;
  while (start < buffer.size()) {
    const size_t n = BlankAt(buffer, start);
    if (n == 0) break;
    start += n;
  }
  size_t end = std::string::npos;  // the first blank after the word
  for (size_t k = start; k < buffer.size();) {
    const size_t blank = BlankAt(buffer, k);
    if (blank != 0) {
      if (end == std::string::npos) end = k;
      k += blank;
      continue;
    }
    if (end != std::string::npos) return std::nullopt;  // an inner blank
    k += SjisCharLength(buffer, k);
  }
  std::string word =
      buffer.substr(start, end == std::string::npos ? std::string::npos : end - start);
  if (word.empty()) return std::nullopt;
  return word;
}

std::string RemoveNeglected(std::string_view word, std::string_view neglect) {
  if (neglect.empty()) return std::string(word);
  std::string out;
  for (size_t k = 0; k < word.size();) {
    const size_t n = SjisCharLength(word, k);
    const std::string_view c = word.substr(k, n);
    bool listed = false;
    for (size_t j = 0; j < neglect.size() && !listed;) {
      const size_t m = SjisCharLength(neglect, j);
      listed = neglect.substr(j, m) == c;
      j += m;
    }
    if (!listed) out.append(c);
    k += n;
  }
  return out;
}

}  // namespace morva
