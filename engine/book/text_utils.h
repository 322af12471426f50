// Small shared helpers of book access: Shift-JIS texts from UTF-8 literals,
// trimming, relative names, and the text width interface that the GUI fills.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morva {

// A Shift-JIS text from a UTF-8 literal of the source code.
std::string Sjis(std::string_view utf8);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Removes leading and trailing spaces (the space character only).
std::string Trim(std::string_view s);

// A name whose second character is a colon, or that starts with "/" or "\",
// is used unchanged; otherwise it is placed in the directory of baseFile (the
// base file's path up to its last "/", "\" or ":").
std::string ResolveRelativeName(std::string_view name, std::string_view baseFile);

// Measures text in pixels; the GUI implements it with its fonts.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual int TextWidth(std::string_view sjis) const = 0;
};

}  // namespace morva
