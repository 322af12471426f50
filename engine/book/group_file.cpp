#include "engine/book/group_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>

#include "engine/book/file_lookup.h"
#include "engine/text/sjis.h"

namespace morva {
namespace {

// Field capacities: each keeps at most capacity - 1 bytes.
constexpr size_t kTitleCapacity = 80;
constexpr size_t kPathCapacity = 260;
constexpr size_t kNumberCapacity = 16;
constexpr size_t kShortNameCapacity = 7;

// A number as "%d" reads it: leading blanks, an optional sign, digits as far
// as they go (held at the limits of int); 0 when there are none.
int LeadingInt(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  long long value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
    value = std::min(value * 10 + (s[i] - '0'), static_cast<long long>(INT_MAX) + 1);
  value = negative ? -value : value;
  return static_cast<int>(
      std::clamp(value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

// The position of the first c that is a character of its own, never the
// second byte of a double-byte character ("]" and "[" can be one).
size_t FindAsciiChar(std::string_view s, char c, size_t from = 0) {
  for (size_t i = from; i < s.size(); i += SjisCharLength(s, i))
    if (s[i] == c) return i;
  return std::string_view::npos;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

std::string GroupFileLine::HeaderName() const {
  if (!IsHeader()) return {};
  const size_t close = FindAsciiChar(text, ']', 1);
  return text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
}

std::vector<GroupFileLine> SplitGroupFileLines(std::string_view contents) {
  std::vector<GroupFileLine> lines;
  size_t pos = 0;
  while (pos < contents.size()) {
    size_t newline = contents.find('\n', pos);
    std::string_view text;
    std::string ending;
    if (newline == std::string_view::npos) {
      text = contents.substr(pos);
      pos = contents.size();
    } else {
      text = contents.substr(pos, newline - pos);
      ending = "\n";
      pos = newline + 1;
      if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
        ending = "\r\n";
      }
    }
    // A long line is read in pieces, each ending on a character boundary.
    while (text.size() > kGroupLineLimit) {
      std::string_view piece = SjisCut(text, kGroupLineLimit);
      lines.push_back({std::string(piece), ""});
      text.remove_prefix(piece.size());
    }
    lines.push_back({std::string(text), std::move(ending)});
  }
  return lines;
}

std::optional<std::string> ReadGroupFileText(const std::string& path) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return std::nullopt;
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return text;
}

std::vector<GroupFileLine> ReadGroupFileLines(const std::string& path) {
  const std::optional<std::string> text = ReadGroupFileText(path);
  return text ? SplitGroupFileLines(*text) : std::vector<GroupFileLine>{};
}

std::string FormatGroupColour(uint32_t colour) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%06X", static_cast<unsigned>(colour));
  return buffer;
}

uint32_t ParseGroupColour(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) i += 2;
  uint32_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else break;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return value;
}

GroupBookLine ParseGroupBookLine(std::string_view line) {
  GroupBookLine book;
  std::string_view cursor = line;
  book.title = ReadField(cursor, kTitleCapacity);
  book.hotKey1 = ReadField(cursor, kTitleCapacity);
  book.hotKey2 = ReadField(cursor, kTitleCapacity);
  book.location = ReadField(cursor, kPathCapacity);
  book.subbookNumber = LeadingInt(ReadField(cursor, kNumberCapacity));
  book.userTitle = ReadField(cursor, kTitleCapacity);
  book.colourText = ReadField(cursor, kNumberCapacity);
  book.colour = ParseGroupColour(book.colourText);
  book.shortName = ReadField(cursor, kShortNameCapacity);
  book.selection = ReadField(cursor, kTitleCapacity);
  return book;
}

std::optional<GroupSection> FindGroup(const std::vector<GroupFileLine>& lines,
                                      std::string_view name, int index) {
  int k = -1;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].IsHeader()) continue;
    ++k;
    const std::string header = lines[i].HeaderName();
    if (name.empty() ? k != index : header != name) continue;
    GroupSection section;
    section.index = k;
    section.name = header;
    for (size_t j = i + 1; j < lines.size() && !lines[j].IsHeader(); ++j)
      section.lines.push_back(lines[j]);
    return section;
  }
  return std::nullopt;
}

std::optional<GroupSection> FindGroup(const std::string& path, std::string_view name, int index) {
  return FindGroup(ReadGroupFileLines(path), name, index);
}

std::vector<std::string> GroupNames(const std::vector<GroupFileLine>& lines) {
  std::vector<std::string> names;
  for (const GroupFileLine& line : lines)
    if (line.IsHeader()) names.push_back(line.HeaderName());
  return names;
}

std::vector<std::string> GroupNames(const std::string& path) {
  return GroupNames(ReadGroupFileLines(path));
}

LoadedGroup BarFromSection(const GroupSection& section) {
  LoadedGroup group;
  group.index = section.index;
  group.name = section.name;
  group.bar.push_back(BookBarEntry{});
  for (const GroupFileLine& line : section.lines) {
    if (line.text.empty()) {
      group.bar.push_back(BookBarEntry{});
      continue;
    }
    GroupBookLine book = ParseGroupBookLine(line.text);
    BookBarEntry entry;
    entry.title = book.title;  // for the book menu and the tooltip
    entry.location = book.location;
    entry.userTitle = book.userTitle;
    entry.subbook = static_cast<int16_t>(std::clamp(book.subbookNumber - 1, -1, 32767));
    entry.colour = book.colour;
    // The bar tells separators by their empty short name, so a book line
    // without one borrows the start of its title rather than turn into a
    // separator.
    entry.shortName = book.shortName;
    if (entry.shortName.empty()) entry.shortName = SjisCut(book.title, 5);
    if (entry.shortName.empty()) entry.shortName = "?";
    entry.mark = book.selection == "yes";
    group.menuTitles.push_back({static_cast<int>(group.bar.size()), book.title});
    group.bar.push_back(std::move(entry));
  }
  return group;
}

std::string ComposeGroupFile(const std::vector<GroupFileLine>& old, int index,
                             std::string_view name, const std::vector<std::string>& lines) {
  std::string text;
  size_t i = 0;
  // Everything before the header of the edited index, unchanged.
  for (int k = -1; i < old.size(); ++i) {
    if (old[i].IsHeader() && ++k == index) break;
    text += old[i].text;
    text += old[i].ending;
  }
  if (!lines.empty()) {
    if (!text.empty() && text.back() != '\n') text += '\n';
    text += "[";
    text += name;
    text += "]\n";
    for (const std::string& line : lines) text += line + "\n";
  }
  // Skip the old section, then copy the rest unchanged.
  if (i < old.size()) ++i;
  while (i < old.size() && !old[i].IsHeader()) ++i;
  for (; i < old.size(); ++i) {
    text += old[i].text;
    text += old[i].ending;
  }
  return text;
}

std::optional<GroupTextProblem> GroupNameProblem(std::string_view name) {
  if (HasLineBreak(name)) return GroupTextProblem::kLineBreak;
  if (FindAsciiChar(name, ']') != std::string_view::npos) return GroupTextProblem::kCloseBracket;
  if (name.size() + 2 > kGroupLineLimit) return GroupTextProblem::kTooLong;
  return std::nullopt;
}

std::optional<GroupTextProblem> GroupFieldProblem(std::string_view field) {
  if (HasLineBreak(field)) return GroupTextProblem::kLineBreak;
  if (FindAsciiChar(field, ',') != std::string_view::npos) return GroupTextProblem::kComma;
  return std::nullopt;
}

std::string GroupFilePath(const std::string& settingsDir) { return settingsDir + kGroupFileName; }
std::string GroupBackupPath(const std::string& settingsDir) {
  return settingsDir + kGroupBackupName;
}

}  // namespace morva
