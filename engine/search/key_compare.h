// Comparison of a search key with the key of an index page entry. Index keys
// have a length L given by the page or the entry; a search key may be shorter
// or longer than L.
#pragma once

#include <cstdint>
#include <string_view>

namespace morva {

// Results; positive means "go on", negative means "past the key".
inline constexpr int kKeyMatch = 0;
inline constexpr int kKeyGoesOn = 1;       // equal over all L bytes, the search key is longer
inline constexpr int kIndexKeyBefore = 2;  // the index key sorts before the search key
inline constexpr int kKeyEndsFirst = -1;   // exact matching: the index key is longer
inline constexpr int kIndexKeyAfter = -2;  // the index key sorts after the search key

// Compares key with the `length` bytes at indexKey. With kanaFold, both are
// walked as 2-byte JIS codes with katakana folded to hiragana (a lone last
// byte is compared as a byte). When key ends undecided the result is a match
// if all L bytes were walked or exact is off, else kKeyEndsFirst.
int CompareKey(std::string_view key, const uint8_t* indexKey, int length, bool exact,
               bool kanaFold);

}  // namespace morva
