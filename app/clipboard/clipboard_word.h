// Taking a search word from clipboard text, and the book's NEGLECT= rule.
// All text is Shift-JIS.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morva {

inline constexpr size_t kClipboardWordBytes = 127;

// The word in clipboard text, or nothing when it is refused:
//  - at most 127 bytes are taken (never half a double-byte character), each
//    byte below 0x20 becoming a blank;
//  - when neglect (the book's NEGLECT= value) contains a blank, that text is
//    the word as it stands;
//  - otherwise leading blanks are skipped and the text is refused when a
//    blank (half-width, or the full-width 0x81 0x40) is followed later by
//    anything else; the first trailing blank ends the word.
// An empty text, or one made only of blanks, is refused.
std::optional<std::string> TakeClipboardWord(std::string_view text, std::string_view neglect);

// The word without any character listed in neglect; a double-byte character
// is compared as a pair.
std::string RemoveNeglected(std::string_view word, std::string_view neglect);

}  // namespace morva
