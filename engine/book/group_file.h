// Book groups as the group file (MORVA.GRP) stores them: Shift-JIS text,
// one section per group headed by "[name]", one line per book-bar entry
// below it in bar order. An empty line is a separator; a book line has nine
// comma-separated fields: title, two hot-key fields, volume path, sub-book
// number (from 1), user title, colour (hexadecimal, red + green * 256 +
// blue * 65536), short name, and "yes" for a book marked for cross-book
// search. Only reading, from the file's text, is done here (for the
// command line); the application's group handling (app/groups) reads and
// writes the file itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_list.h"

namespace morva {

// Lines are read with at most this many characters; the rest of a longer
// line is read as the next line.
inline constexpr size_t kGroupLineLength = 299;

// The group names of the file's section headers, in file order.
std::vector<std::string> GroupNamesOfText(std::string_view fileText);

// The book-bar entries of the first group called `name` (compared byte for
// byte): a leading separator (the group header), then one entry per line of
// the section. Nothing when the file has no such group.
std::optional<BookBar> GroupBarOfText(std::string_view fileText, std::string_view name);

// One line of a section as a book-bar entry; an empty line is a separator.
BookBarEntry GroupBarEntryOfLine(std::string_view line);

}  // namespace morva
