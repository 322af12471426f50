// Reading the answer keys of the real test books (*.tsv beside them).
#pragma once

#include <string>
#include <vector>

namespace morva::testing {

// One row of an answer key, fields unescaped (\\, \n, \t).
struct AnswerRow {
  std::vector<std::string> fields;
  const std::string& Field(const std::vector<std::string>& header, const std::string& name) const;
};

struct AnswerKey {
  std::vector<std::string> header;
  std::vector<AnswerRow> rows;
  const std::string& Get(const AnswerRow& row, const std::string& column) const {
    return row.Field(header, column);
  }
};

// Reads a .tsv file (plain text); rows beyond maxRows are not read (0: all).
AnswerKey ReadAnswerKey(const std::string& path, size_t maxRows = 0);
// The same for a gzip-compressed key (*.tsv.gz).
AnswerKey ReadGzAnswerKey(const std::string& path, size_t maxRows = 0);

// Visible text folded for comparison: full-width ASCII and katakana to their
// half-width forms, "{hA121}" to "[hA121]", leading spaces of every line and
// trailing spaces and blank lines dropped.
std::string FoldVisibleText(const std::string& utf8);

}  // namespace morva::testing
