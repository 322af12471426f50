#include "engine/text/sjis.h"

namespace morva {

size_t SjisCharLength(std::string_view s, size_t pos) {
  if (pos >= s.size()) return 0;
  const bool lead = IsSjisLead(static_cast<uint8_t>(s[pos]));
  return lead && pos + 1 < s.size() ? 2 : 1;
}

std::string_view SjisCut(std::string_view s, size_t maxBytes) {
  size_t end = 0;
  while (end < s.size()) {
    const size_t next = end + SjisCharLength(s, end);
    if (next > maxBytes) break;
    end = next;
  }
  return s.substr(0, end);
}

// The field ends at the first character that does not fit: keeping later,
// shorter characters would leave a field with a hole in the middle.
std::string ReadField(std::string_view& cursor, size_t capacity, char separator) {
  const size_t room = capacity > 0 ? capacity - 1 : 0;
  std::string field;
  bool full = false;
  size_t pos = 0;
  while (pos < cursor.size() && cursor[pos] != separator) {
    const size_t length = SjisCharLength(cursor, pos);
    if (!full && field.size() + length <= room) {
      field.append(cursor.substr(pos, length));
    } else {
      full = true;
    }
    pos += length;
  }
  cursor.remove_prefix(pos < cursor.size() ? pos + 1 : pos);
  return field;
}

std::string SjisAsciiUpper(std::string_view s) {
  std::string upper(s);
  for (size_t pos = 0; pos < upper.size();) {
    const size_t length = SjisCharLength(upper, pos);
    if (length == 1 && upper[pos] >= 'a' && upper[pos] <= 'z') {
      upper[pos] = static_cast<char>(upper[pos] - 'a' + 'A');
    }
    pos += length;
  }
  return upper;
}

}  // namespace morva
