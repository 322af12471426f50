// The numbered message catalogue (resources/messages.tsv, built into the
// program) in its Japanese and English halves. Message n (odd) is Japanese,
// n + 1 is its English text. Texts are converted to Shift-JIS once, on first
// use, and stay valid for the life of the program.
#pragma once

#include <string_view>

namespace morva {

// Message n in the chosen language: text n, or n + 1 when english is set.
// A missing message gives the empty text.
std::string_view Message(int n, bool english);

// The exact catalogue entry n, whatever its language.
std::string_view CatalogueEntry(int n);

// Caption of IndexKind row r: message 300 + 2r. The English half is taken
// when english is set; callers also pass true for a single-byte book.
std::string_view IndexCaption(int row, bool english);

}  // namespace morva
