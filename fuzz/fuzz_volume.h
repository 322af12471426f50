// Turns fuzz input into a book volume on disk: a valid catalogs file naming
// one sub-book whose body file is the input itself (its first page is the
// index page), so every reader of the page space sees mutated pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/book/book_list.h"
#include "engine/book/report.h"

namespace morva::fuzz {

// The fuzz targets show no boxes.
class NullReporter : public Reporter {
 public:
  void Fatal(std::string_view) override {}
  void Warning(std::string_view) override {}
  void RetryOrAbort(std::string_view) override {}
};

class FuzzVolume {
 public:
  FuzzVolume();
  ~FuzzVolume();
  // Writes the body file; returns the volume directory.
  const std::string& Write(const uint8_t* data, size_t size);
  // A book list whose row 1 is the volume's one sub-book.
  BookBar Books() const;

 private:
  std::string dir_;
};

}  // namespace morva::fuzz
