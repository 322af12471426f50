// The demonstration volume: two sub-books in the "catalogs" layout with a few
// entries, links between them, an external character in both widths and a
// copyright page. `mkbook demo` writes it; tests may use the entry list to
// know where each entry lies.
#pragma once

#include <string>
#include <vector>

#include "engine/book/book_address.h"
#include "tools/mkbook/volume.h"

namespace morva::mkbook {

struct DemoEntry {
  int subbook = 0;
  std::string headword;  // UTF-8
  BookAddress text;      // where the entry starts (its indent escape)
};

struct DemoBook {
  Volume volume;
  std::vector<DemoEntry> entries;
};

DemoBook BuildDemoBook();

}  // namespace morva::mkbook
