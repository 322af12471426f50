// The keyed indexes of the open sub-book as the search window offers them.
#pragma once

#include <cstdint>
#include <string>

namespace morva {

class TDisk;

// The k-th present IndexKind row (from 0, in table order) whose input class
// marks a keyed index: its code and its caption (Shift-JIS; English when the
// language is English or the book is a single-byte book). False when there
// are fewer than k + 1 such rows.
bool KeyedIndexCaption(const TDisk& disk, int k, uint8_t* code, std::string* caption);

}  // namespace morva
