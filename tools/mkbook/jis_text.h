// Text in the forms books store it: JIS X 0208 codes for ordinary books,
// single bytes for single-byte books. Input arrives as UTF-8 (convenient in
// tests and sources) or as Shift-JIS (the program's own form).
#pragma once

#include <string>
#include <string_view>

namespace morva::mkbook {

// JIS X 0208 code bytes, two per character, high byte first ("あ" -> 24 22).
// ASCII and half-width katakana are stored in their full-width forms (a
// half-width kana followed by a voicing mark becomes one voiced kana).
// Throws std::invalid_argument for malformed input, control characters and
// characters outside JIS X 0208.
std::string JisFromUtf8(std::string_view utf8);
std::string JisFromSjis(std::string_view sjis);

// Shift-JIS bytes of UTF-8 text. Throws std::invalid_argument for malformed
// UTF-8 and for characters that Shift-JIS cannot hold.
std::string SjisFromUtf8(std::string_view utf8);

}  // namespace morva::mkbook
