// The split layout: the body file is exactly one page, the index page, and
// each listed area (body text, indexes, title lists) lives in a file of its
// own. A reader finds such a file by the name that belongs to its index code,
// looking in the body file's directory and below it; the file's first page is
// the area's start page from the index page.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/mkbook/index_page.h"
#include "tools/mkbook/page_file.h"
#include "tools/mkbook/volume.h"

namespace morva::mkbook {

// The file name that belongs to an index code ("zhyoki.idx" for 0x91), the
// first choice where two exist; empty for codes without one.
std::string_view SplitFileName(uint8_t code);

struct SplitFile {
  uint8_t code = 0;
  std::string name;  // relative to the body file's directory, e.g. "zhyoki.idx"
  PageFile pages;    // pages.FirstPage() is the area's start page
  std::array<uint8_t, 3> options{};
};

// Makes subbook.body the one-page index page (the given page plus an entry per
// file) and puts the files beside it.
void MakeSplit(Subbook& subbook, const std::vector<SplitFile>& files, IndexPage index = {});

}  // namespace morva::mkbook
