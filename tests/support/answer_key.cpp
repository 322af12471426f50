#include "tests/support/answer_key.h"

#include <zlib.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "tests/support/test_dirs.h"

namespace morva::testing {

namespace {

// The tab-separated fields of a line, unescaped (\\, \n, \t).
std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\t') {
      fields.emplace_back();
    } else if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] != '\t') {
      const char c = line[++i];
      fields.back() += c == 'n' ? '\n' : c == 't' ? '\t' : c;
    } else {
      fields.back() += line[i];
    }
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

AnswerKey ReadAnswerKey(const std::string& name) {
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
  }
  return key;
}

}  // namespace morva::testing
