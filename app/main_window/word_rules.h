// The rewriting rules the main window applies to a search word before and
// between searches, all on Shift-JIS text and taken from the open book's
// per-book information:
//
//   ApplyEndingSet   word-ending rules (ENDINGn): "dogs" -> "dog" when the
//                    first search finds nothing
//   Translate        character substitution pairs (TRANSLATE=)
//   AddPrefix        the screen-word search's prefix (PRESTRING=, SPRESTRING=)
//
// Pure functions: no book access, no state.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace morva {

// The longest search word in bytes (the word buffer holds one byte more).
inline constexpr size_t kMaxSearchWord = 127;

// What applying an ending-rule set did.
struct EndingResult {
  bool applied = false;  // a rule matched and the word was rewritten
  int nextSet = -1;      // the set to apply after a further miss; -1 none
};

// Applies set `set` of the ten ending-rule sets to *word. A set is a list of
// rules separated by ";"; a rule is "ending,replacement" optionally followed
// by ",d" (d 1-9: the set to try next). The first rule whose ending the word
// ends in (letters compared without case; every "?" of the ending matches one
// letter, the same letter for all of them; an empty ending always matches)
// replaces that ending by the replacement, in which "?" stands for the
// matched letter. Nothing happens for a set outside 0-9, a word with anything
// but ASCII letters and apostrophes, or a result longer than kMaxSearchWord.
EndingResult ApplyEndingSet(std::string* word, int set, const std::array<std::string, 10>& sets);

// Replaces every character of word found at an even position of pairs by the
// character after it (characters, not bytes: a double-byte character is one).
// A word with a blank (ASCII or full-width space) or an empty pairs text is
// returned unchanged.
std::string Translate(std::string_view word, std::string_view pairs);

// prefix + word when together they stay below 128 bytes, else word.
std::string AddPrefix(std::string_view word, std::string_view prefix);

}  // namespace morva
