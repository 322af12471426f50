// The hexadecimal dump of a book page for the dump window: a title line,
// then up to 128 rows of 16 bytes (2048 bytes from the requested offset
// rounded down to 16, running on into the next page), with a column header
// before the first row and before every row at a multiple of 256. Rows of
// zero bytes are left out. Every line is Shift-JIS without a line end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morva {

class TDisk;

// Dumps from (page, offset) of book-list row `row` (below 0: the current
// sub-book). When the page cannot be read the title line is followed by the
// input-error line and nothing else.
std::vector<std::string> DumpPage(TDisk& disk, int row, int32_t page, int32_t offset);

// Dumps from the start of the last formatted item of the sub-book
// (disk.decoderState().contentStart); empty when there is none.
std::vector<std::string> DumpCurrentItem(TDisk& disk, int row);

}  // namespace morva
