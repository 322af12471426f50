#include "app/startup/startup_request.h"

#include "app/book_bar/book_bar_layout.h"
#include "app/settings/value_forms.h"
#include "engine/text/sjis.h"

namespace morva {

StartupRequest ParseStartupRequest(std::string_view request) {
  StartupRequest r;
  std::string_view cursor = request;
  r.settingsFile = ReadField(cursor, 260);
  r.instanceRule = ParseInt(ReadField(cursor, 16)).value_or(0);
  r.group = ReadField(cursor, 80);
  r.book = ReadField(cursor, 5);
  r.word = ReadField(cursor, 128);
  return r;
}

std::string WindowTitleForGroup(std::string_view groupUtf8) {
  if (groupUtf8.empty()) return {};
  return "Morva - " + std::string(groupUtf8);
}

int ResolveBookRequest(const BookBar& bar, std::string_view bookRequest) {
  if (bookRequest.empty()) return -1;
  const bool header = bookRequest[0] == 'G' || bookRequest[0] == 'g';
  if (header) bookRequest.remove_prefix(1);
  if (bookRequest.empty() || bookRequest[0] < '0' || bookRequest[0] > '9') return -1;
  const int n = ParseInt(bookRequest).value_or(0);
  if (n < 1) return -1;
  return header ? NthSeparator(bar, n - 1) : NthBook(bar, n - 1);
}

}  // namespace morva
