// The start-up request: the program's one command-line argument, up to five
// comma-separated fields (Shift-JIS; a double-byte character is never split):
//   1 settings file (259 bytes)  2 instance rule (0 new window, 1 reuse the
//   window showing the same group, 2 reuse any window)  3 group (79 bytes)
//   4 book (4 bytes: "G" n = the n-th separator, n = the n-th book, from 1)
//   5 search word (127 bytes)
// The request travels through the settings value Options/Parm, which every
// start writes before anything else.
#pragma once

#include <string>
#include <string_view>

#include "engine/book/book_list.h"

namespace morva {

struct StartupRequest {
  std::string settingsFile;  // field 1, as given
  int instanceRule = 0;      // field 2; empty or not a number: 0
  std::string group;         // field 3
  std::string book;          // field 4
  std::string word;          // field 5

  bool operator==(const StartupRequest&) const = default;
};

StartupRequest ParseStartupRequest(std::string_view request);

// The window title a rule-1 start looks for: "Morva - " + group, or empty
// when the group is empty (UTF-8 in, UTF-8 out).
std::string WindowTitleForGroup(std::string_view groupUtf8);

// The entry a book request selects in the bar: "G" n the n-th separator, a
// number n the n-th book (both from 1); -1 for no request, a malformed one or
// one beyond the bar. A lower-case "g" is taken as "G".
int ResolveBookRequest(const BookBar& bar, std::string_view bookRequest);

}  // namespace morva
