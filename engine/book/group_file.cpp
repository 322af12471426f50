#include "engine/book/group_file.h"

#include <charconv>

#include "engine/text/sjis.h"

namespace morva {
namespace {

// Field capacities: each keeps at most capacity - 1 bytes.
constexpr size_t kTitleCapacity = 80;
constexpr size_t kPathCapacity = 260;
constexpr size_t kNumberCapacity = 80;
constexpr size_t kShortNameCapacity = 7;

// Splits the file into lines as the line reader gives them: line ends (LF or
// CR LF) removed, longer lines cut into pieces of kGroupLineLength bytes.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    do {
      lines.push_back(line.substr(0, kGroupLineLength));
      line = line.size() > kGroupLineLength ? line.substr(kGroupLineLength) : std::string_view();
    } while (!line.empty());
  }
  return lines;
}

std::optional<std::string_view> HeaderName(std::string_view line) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  return line.substr(1, line.size() - 2);
}

// A number as "%d" or "%x" reads it: leading spaces, then digits as far as
// they go; 0 when there are none.
template <typename T>
T LeadingNumber(std::string_view s, int base) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  if (base == 16 && s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.remove_prefix(2);
  T value = 0;
  std::from_chars(s.data(), s.data() + s.size(), value, base);
  return value;
}

}  // namespace

std::vector<std::string> GroupNamesOfText(std::string_view fileText) {
  std::vector<std::string> names;
  for (std::string_view line : Lines(fileText))
    if (auto name = HeaderName(line)) names.emplace_back(*name);
  return names;
}

BookBarEntry GroupBarEntryOfLine(std::string_view line) {
  BookBarEntry entry;
  if (line.empty()) return entry;  // a separator
  std::string_view cursor = line;
  entry.title = ReadField(cursor, kTitleCapacity);  // for the book menu and the tooltip
  ReadField(cursor, kTitleCapacity);  // two hot-key fields, carried only
  ReadField(cursor, kTitleCapacity);
  entry.location = ReadField(cursor, kPathCapacity);
  const int subbook = LeadingNumber<int>(ReadField(cursor, kNumberCapacity), 10);
  entry.subbook = static_cast<int16_t>(subbook >= 1 && subbook <= 32767 ? subbook - 1 : -1);
  entry.userTitle = ReadField(cursor, kTitleCapacity);
  entry.colour = LeadingNumber<uint32_t>(ReadField(cursor, kNumberCapacity), 16);
  entry.shortName = ReadField(cursor, kShortNameCapacity);
  entry.mark = ReadField(cursor, kTitleCapacity) == "yes";
  return entry;
}

std::optional<BookBar> GroupBarOfText(std::string_view fileText, std::string_view name) {
  const std::vector<std::string_view> lines = Lines(fileText);
  size_t i = 0;
  while (i < lines.size() && HeaderName(lines[i]) != name) ++i;
  if (i == lines.size()) return std::nullopt;
  BookBar bar(1);  // the group header
  for (++i; i < lines.size() && (lines[i].empty() || lines[i].front() != '['); ++i)
    bar.push_back(GroupBarEntryOfLine(lines[i]));
  return bar;
}

}  // namespace morva
