// The search history as it is stored: the words of the search box, newest
// first, joined by "." into one value of fewer than 300 bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morva {

constexpr size_t kHistoryValueSize = 300;  // the stored value, with its terminating zero
constexpr size_t kHistoryWordSize = 80;    // one word, with its terminating zero

// The words of a stored value, in order: the non-empty pieces between "."s,
// each cut to 79 bytes without splitting a double-byte character.
std::vector<std::string> SplitHistory(std::string_view value);

// The value to store: words joined by "." for as long as the length so far,
// plus the word, plus one stays below 300; the first word that does not fit
// ends the list. Empty words are skipped.
std::string JoinHistory(const std::vector<std::string>& words);

}  // namespace morva
