// The book-group file MORVA.GRP: Shift-JIS text of sections "[name]", one
// line per book-bar entry below each header (an empty line is a separator),
// book lines of nine comma-separated fields:
//   title, hot key 1, hot key 2, volume directory, sub-book number (from 1),
//   user title, colour ("%06X" of red + green*256 + blue*65536), short name,
//   selection ("yes": marked).
// Lines before the first header belong to no group and are kept on saving.
// Lines are read in pieces of at most 299 bytes (never half a double-byte
// character); LF and CR LF line ends are both accepted.
//
// This is the one reader of the file, for the window and the command line,
// and the one place that composes its text; writing the file (with its
// backup) is the application's. The format has no escaping, so a value that
// holds a separator of the format cannot be stored (see GroupLineProblem).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_list.h"

namespace morva {

inline constexpr char kGroupFileName[] = "MORVA.GRP";
inline constexpr char kGroupBackupName[] = "MORVA.BAK";
inline constexpr size_t kGroupLineLimit = 299;

// One line of the file as read: its text without the line end, and the line
// end it had ("\n", "\r\n" or "" for a piece of a longer line or the last
// line without one), so that copying reproduces the file byte for byte.
struct GroupFileLine {
  std::string text;
  std::string ending;
  bool IsHeader() const { return !text.empty() && text[0] == '['; }
  // The name of a header line: the text between "[" and the first "]" that
  // is a character of its own (not the second byte of a double-byte
  // character), or the end of the line when there is none.
  std::string HeaderName() const;
};

// Reads the file into lines; empty when it cannot be read.
std::vector<GroupFileLine> ReadGroupFileLines(const std::string& path);
// The whole text of a group file; nothing when it is not a readable regular
// file (a FIFO of that name is refused rather than waited on).
std::optional<std::string> ReadGroupFileText(const std::string& path);
// Splits file contents into lines as ReadGroupFileLines does.
std::vector<GroupFileLine> SplitGroupFileLines(std::string_view contents);

// A book line's nine fields, each cut to its limit.
struct GroupBookLine {
  std::string title;      // 79 bytes
  std::string hotKey1;    // 79 bytes
  std::string hotKey2;    // 79 bytes
  std::string location;   // 259 bytes
  int subbookNumber = 0;  // from 1
  std::string userTitle;  // 79 bytes
  uint32_t colour = 0;
  std::string colourText;  // the field as written (the editor shows it)
  std::string shortName;   // 6 bytes
  std::string selection;   // "yes": marked
};
GroupBookLine ParseGroupBookLine(std::string_view line);

// Colours: written with "%06X", read with "%x" (leading blanks, an optional
// "0x", hexadecimal digits; 0 when there are none).
std::string FormatGroupColour(uint32_t colour);
uint32_t ParseGroupColour(std::string_view text);

// A group found in the file: its index among the headers (from 0), its name
// and the lines of its section (without the header; up to the next header or
// the end of the file).
struct GroupSection {
  int index = -1;
  std::string name;
  std::vector<GroupFileLine> lines;
};

// FindGroup: with a non-empty name the first header with exactly that name
// (bytes compared with case); with an empty name the header at index.
std::optional<GroupSection> FindGroup(const std::vector<GroupFileLine>& lines,
                                      std::string_view name, int index);
std::optional<GroupSection> FindGroup(const std::string& path, std::string_view name, int index);

// The names of every header, in file order (empty for a missing file).
std::vector<std::string> GroupNames(const std::vector<GroupFileLine>& lines);
std::vector<std::string> GroupNames(const std::string& path);

// A group turned into bar entries: the leading separator, then one entry per
// line; menuTitles holds each book's bar index and title (field 1) for the
// 辞書 menu, in bar order.
struct LoadedGroup {
  int index = -1;
  std::string name;
  BookBar bar;
  struct Title {
    int entry = 0;
    std::string title;
  };
  std::vector<Title> menuTitles;
};
LoadedGroup BarFromSection(const GroupSection& section);

// The file's new text with the group at index replaced by a section of the
// given name and lines (appended when no group has that index; dropped when
// lines is empty). Lines before the group's header and after its section are
// copied unchanged.
std::string ComposeGroupFile(const std::vector<GroupFileLine>& old, int index,
                             std::string_view name, const std::vector<std::string>& lines);

// Why a value cannot be stored: the name of a header, or a book line as the
// editor composes it (fields joined by commas). Nothing when it reads back
// as written.
enum class GroupTextProblem {
  kLineBreak,     // CR or LF inside
  kCloseBracket,  // a name with "]": the header would end early
  kComma,         // a field with ",": the fields after it would shift
  kOpenBracket,   // a book line starting with "[": it would read as a header
  kTooLong,       // a line longer than the line reader takes
};
std::optional<GroupTextProblem> GroupNameProblem(std::string_view name);
// A single field (title, user title, colour, short name, selection).
std::optional<GroupTextProblem> GroupFieldProblem(std::string_view field);

// The group file and its backup in the settings directory (ending in "/").
std::string GroupFilePath(const std::string& settingsDir);
std::string GroupBackupPath(const std::string& settingsDir);

}  // namespace morva
