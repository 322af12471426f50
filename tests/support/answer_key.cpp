#include "tests/support/answer_key.h"

#include <zlib.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "engine/text/width.h"
#include "tests/support/test_dirs.h"

namespace morva::testing {

namespace {

std::string Unescape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char c = s[++i];
      out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
    } else {
      out += s[i];
    }
  }
  return out;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    size_t tab = line.find('\t', start);
    fields.push_back(Unescape(std::string_view(line).substr(
        start, tab == std::string::npos ? std::string::npos : tab - start)));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return fields;
}

}  // namespace

const std::string& AnswerKey::Get(const std::vector<std::string>& row,
                                  const std::string& column) const {
  for (size_t i = 0; i < header.size(); ++i)
    if (header[i] == column) {
      static const std::string empty;
      return i < row.size() ? row[i] : empty;
    }
  throw std::runtime_error("no column " + column);
}

BookAddress AnswerKey::Address(const std::vector<std::string>& row,
                               const std::string& column) const {
  const std::string& pos = Get(row, column);
  return {std::stoi(pos), std::stoi(pos.substr(pos.find(':') + 1))};
}

std::vector<std::string> AnswerKey::List(const std::vector<std::string>& row,
                                         const std::string& column) const {
  const std::string& list = Get(row, column);
  std::vector<std::string> items;
  for (size_t start = 0; start < list.size();) {
    const size_t bar = std::min(list.find('|', start), list.size());
    items.push_back(list.substr(start, bar - start));
    start = bar + 1;
  }
  return items;
}

AnswerKey ReadAnswerKey(const std::string& name, size_t maxRows) {
  // zlib reads the gzipped key and the plain one alike.
  std::string all;
  if (gzFile f = gzopen((SharedBooks() / name).c_str(), "rb")) {
    char buf[1 << 16];
    int n;
    while ((n = gzread(f, buf, sizeof buf)) > 0) all.append(buf, static_cast<size_t>(n));
    gzclose(f);
  }
  std::istringstream in(all);
  AnswerKey key;
  std::string line;
  if (!std::getline(in, line)) return key;
  key.header = SplitTabs(line);
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    key.rows.push_back(SplitTabs(line));
    if (maxRows && key.rows.size() >= maxRows) break;
  }
  return key;
}

std::string FoldVisibleText(const std::string& utf8) {
  std::string text = utf8;
  // {hA121} as the answer keys write external characters, [hA121] as we do.
  for (size_t p = 0; (p = text.find('{', p)) != std::string::npos; ++p) {
    if (p + 6 < text.size() && text[p + 6] == '}' && (text[p + 1] == 'h' || text[p + 1] == 'z')) {
      text[p] = '[';
      text[p + 6] = ']';
    }
  }
  const std::string sjis = Utf8ToSjis(text);
  std::string folded;
  for (size_t i = 0; i < sjis.size();) {
    const size_t len = SjisCharLength(sjis, i);
    if (len == 2) {
      const uint16_t code = static_cast<uint16_t>(static_cast<uint8_t>(sjis[i]) << 8 |
                                                  static_cast<uint8_t>(sjis[i + 1]));
      const HalfWidthForm half = ToHalfWidth(code);
      if (half.ch != 0) {
        folded += static_cast<char>(half.ch);
        if (half.mark) folded += static_cast<char>(half.mark);
      } else {
        folded.append(sjis, i, 2);
      }
    } else if (len == 1) {
      folded += sjis[i];
    } else {
      break;
    }
    i += len ? len : 1;
  }
  // Line by line: no leading or trailing spaces, no blank lines.
  std::string out;
  size_t start = 0;
  while (start <= folded.size()) {
    size_t nl = folded.find('\n', start);
    std::string_view line(folded.data() + start,
                          (nl == std::string::npos ? folded.size() : nl) - start);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.remove_suffix(1);
    if (!line.empty()) {
      out.append(line);
      out += '\n';
    }
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return out;
}

}  // namespace morva::testing
