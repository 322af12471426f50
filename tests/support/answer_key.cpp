#include "tests/support/answer_key.h"

#include <zlib.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>

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

}  // namespace morva::testing
