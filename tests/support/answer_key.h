// The answer keys of the real test books (*.tsv or *.tsv.gz beside them):
// UTF-8, tab-separated, one header line, one row per entry in book order.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/book/book_address.h"

namespace morva::testing {

struct AnswerKey {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;  // fields unescaped (\\, \n, \t)

  // The field of a column; throws for a column the key lacks.
  const std::string& Get(const std::vector<std::string>& row, const std::string& column) const;
  // A "PAGE:OFFSET" column as an address.
  BookAddress Address(const std::vector<std::string>& row, const std::string& column) const;
  // A "|"-separated list column.
  std::vector<std::string> List(const std::vector<std::string>& row,
                                const std::string& column) const;
};

// Reads a key, plain or gzip-compressed, of a file under the shared books
// ("edict-small.tsv").
AnswerKey ReadAnswerKey(const std::string& name);

}  // namespace morva::testing
