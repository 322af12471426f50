// Character classes for selecting a word by double-click: a word is a run of
// characters of one class (see WordClassAt), with a few joins for the long
// vowel mark and for words that begin with a control byte.
#pragma once

#include <cstddef>
#include <string_view>

namespace morva {

enum WordClass {
  kClassEnd = 0,        // end of the line text
  kClassAlnum = 1,      // ASCII letters and digits (and C0-FF in single-byte books)
  kClassHalfKana = 2,   // half-width katakana
  kClassPunct = 3,      // ASCII punctuation and blank
  kClassOther = 4,      // control bytes and anything else single
  kClassWideAlnum = 5,  // full-width digits and Latin letters
  kClassKatakana = 6,
  kClassLongVowel = 7,  // ー
  kClassHiragana = 8,
  kClassKanji = 9,    // double-byte characters outside 8140-889E
  kClassSymbol = 10,  // other double-byte characters in 8140-889E
};

struct ClassedChar {
  WordClass cls = kClassEnd;
  int bytes = 0;  // 0 at the end, 2 for double-byte classes, else 1
};

// The class of the character at pos of a line's text. singleByteBook: the
// book is shown with font set 1, which has no double-byte characters.
ClassedChar WordClassAt(std::string_view text, size_t pos, bool singleByteBook);

}  // namespace morva
