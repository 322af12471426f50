// Shift-JIS string helpers. A double-byte character (lead byte 0x81..0x9F or
// 0xE0..0xFC, then its trail byte) is never split by anything here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morva {

inline bool IsSjisLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Length in bytes (1 or 2) of the character that starts at pos. A lead byte at
// the very end of the text counts as one byte; 0 when pos is at or past the end.
size_t SjisCharLength(std::string_view s, size_t pos);

// The longest prefix of s that is at most maxBytes long and ends on a
// character boundary.
std::string_view SjisCut(std::string_view s, size_t maxBytes);

// Reads one field of a separated value from the cursor, which is advanced past
// the separator. The field keeps at most capacity - 1 bytes (room for the
// terminating zero of the stored form); a character whose bytes do not fit the
// remaining room is dropped, and reading goes on to the separator. The field
// ends at that character: nothing after it is kept. Without a separator the
// cursor ends up empty.
std::string ReadField(std::string_view& cursor, size_t capacity, char separator = ',');

// ASCII upper-casing of a-z only; other bytes (and both bytes of a double-byte
// character) stay as they are.
std::string SjisAsciiUpper(std::string_view s);

}  // namespace morva
