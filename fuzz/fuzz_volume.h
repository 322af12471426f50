// Turns fuzz input into a book volume on disk: a valid catalogs file naming
// one sub-book whose body file is the input itself (its first page is the
// index page), so every reader of the page space sees mutated pages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace morva::fuzz {

class FuzzVolume {
 public:
  FuzzVolume();
  ~FuzzVolume();
  // Writes the body file; returns the volume directory.
  const std::string& Write(const uint8_t* data, size_t size);

 private:
  std::string dir_;
};

}  // namespace morva::fuzz
