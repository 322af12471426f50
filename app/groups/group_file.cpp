#include "app/groups/group_file.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "app/settings/value_forms.h"
#include "engine/text/sjis.h"

namespace morva {

std::string GroupFileLine::HeaderName() const {
  if (!IsHeader()) return {};
  const size_t close = text.find(']', 1);
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

std::vector<GroupFileLine> ReadGroupFileLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return SplitGroupFileLines(contents);
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
  book.title = ReadField(cursor, 80);
  book.hotKey1 = ReadField(cursor, 80);
  book.hotKey2 = ReadField(cursor, 80);
  book.location = ReadField(cursor, 260);
  book.subbookNumber = ParseInt(ReadField(cursor, 16)).value_or(0);
  book.userTitle = ReadField(cursor, 80);
  book.colourText = ReadField(cursor, 16);
  book.colour = ParseGroupColour(book.colourText);
  book.shortName = ReadField(cursor, 7);
  book.selection = ReadField(cursor, 80);
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

std::optional<GroupSection> FindGroup(const std::string& path, std::string_view name,
                                      int index) {
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
    entry.location = book.location;
    entry.userTitle = book.userTitle;
    entry.title = book.title;
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

std::string GroupFilePath(const std::string& settingsDir) { return settingsDir + kGroupFileName; }
std::string GroupBackupPath(const std::string& settingsDir) {
  return settingsDir + kGroupBackupName;
}

}  // namespace morva
