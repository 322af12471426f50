#include "app/groups/group_table.h"

#include <algorithm>

#include "app/settings/value_forms.h"
#include "engine/book/text_utils.h"
#include "engine/text/sjis.h"
#include "platform/atomic_file.h"

namespace morva {

std::string FoundSubbook::PathColumn() const { return directory + "," + std::to_string(number); }

namespace {
constexpr const char* kTitles[GroupTable::kColumns] = {"辞書ﾀｲﾄﾙ名", "ﾎｯﾄｷｰ", "ﾊﾟｽ", "ﾕｰｻﾞｰﾀｲﾄﾙ",
                                                       "色",         "略称",  "選択"};
constexpr int kWidths[GroupTable::kColumns] = {126, 0, 74, 66, 18, 50, 30};
}  // namespace

GroupTable::GroupTable() {
  for (int c = 0; c < kColumns; ++c) rows_[0][static_cast<size_t>(c)] = Sjis(kTitles[c]);
}

const char* GroupTable::ColumnTitle(int column) { return kTitles[column]; }
int GroupTable::ColumnWidth(int column) { return kWidths[column]; }

std::string GroupTable::NewRowColour(int row) {
  static constexpr uint32_t kColours[] = {
      MakeColor(255, 0, 0), MakeColor(0, 255, 0),   MakeColor(255, 255, 0),  MakeColor(0, 128, 0),
      MakeColor(0, 0, 255), MakeColor(128, 0, 128), MakeColor(255, 255, 255)};
  if (row >= 1 && row <= 7) return FormatGroupColour(kColours[row - 1]);
  return "FFFFFF";
}

void GroupTable::Clear() {
  for (int r = 1; r < kRows; ++r) rows_[static_cast<size_t>(r)] = Row{};
}

void GroupTable::Load(const std::vector<GroupFileLine>& lines) {
  Clear();
  int r = 1;
  for (const GroupFileLine& line : lines) {
    if (r >= kRows) break;
    Row& row = rows_[static_cast<size_t>(r++)];
    if (line.text.empty()) continue;
    const GroupBookLine book = ParseGroupBookLine(line.text);
    row[kTitle] = book.title;
    row[kHotKey] = book.hotKey1 + "," + book.hotKey2;
    row[kPath] = book.location + "," + std::to_string(book.subbookNumber);
    row[kUserTitle] = book.userTitle;
    row[kColour] = book.colourText;
    row[kShortName] = book.shortName;
    row[kSelection] = book.selection;
  }
}

int GroupTable::LastUsedRow() const {
  for (int r = kRows - 1; r >= 1; --r)
    if (!Cell(r, kTitle).empty()) return r;
  return 0;
}

int GroupTable::Add(const FoundSubbook& book) {
  const int r = LastUsedRow() + 1;
  if (r >= kRows) return 0;
  Row& row = rows_[static_cast<size_t>(r)];
  row[kTitle] = std::string(SjisCut(book.title, 79));
  row[kHotKey] = ",";
  row[kPath] = book.PathColumn();
  row[kUserTitle].clear();
  row[kColour] = NewRowColour(r);
  row[kShortName] = std::string(SjisCut(book.title, 5));
  row[kSelection] = "yes";
  return r;
}

bool GroupTable::MoveUp(int row) {
  if (row < 2 || row >= kRows) return false;
  std::swap(rows_[static_cast<size_t>(row)], rows_[static_cast<size_t>(row - 1)]);
  return true;
}

bool GroupTable::MoveDown(int row) {
  if (row < 1 || row > kRows - 2) return false;
  std::swap(rows_[static_cast<size_t>(row)], rows_[static_cast<size_t>(row + 1)]);
  return true;
}

void GroupTable::Delete(int row) {
  if (row < 1 || row >= kRows) return;
  for (int r = row; r < kRows - 1; ++r)
    rows_[static_cast<size_t>(r)] = rows_[static_cast<size_t>(r + 1)];
  rows_[kRows - 1] = Row{};
}

std::vector<std::string> GroupTable::SectionLines() const {
  std::vector<std::string> lines;
  const int last = LastUsedRow();
  for (int r = 1; r <= last; ++r) {
    const Row& row = At(r);
    if (row[kTitle].empty()) {
      lines.emplace_back();
      continue;
    }
    std::string line = row[kTitle];
    for (int c = kHotKey; c <= kSelection; ++c) {
      std::string value = row[static_cast<size_t>(c)];
      if (c == kHotKey && value.empty()) value = ",";
      if (c == kSelection && value.empty()) value = "yes";
      line += ",";
      line += value;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::optional<GroupTable::Problem> GroupTable::FindProblem() const {
  const std::vector<std::string> lines = SectionLines();
  for (int r = 1; r <= static_cast<int>(lines.size()); ++r) {
    const Row& row = At(r);
    if (row[kTitle].empty()) continue;
    for (int c = 0; c < kColumns; ++c) {
      const std::string& cell = row[static_cast<size_t>(c)];
      std::optional<GroupTextProblem> problem;
      if (c == kHotKey || c == kPath) {
        // Two fields with their comma; an empty hot key is written as ",".
        const size_t commas = static_cast<size_t>(std::count(cell.begin(), cell.end(), ','));
        if (cell.find_first_of("\r\n") != std::string::npos) problem = GroupTextProblem::kLineBreak;
        else if (commas != 1 && !(c == kHotKey && cell.empty())) problem = GroupTextProblem::kComma;
      } else {
        problem = GroupFieldProblem(cell);
      }
      if (!problem && c == kTitle && cell.front() == '[') problem = GroupTextProblem::kOpenBracket;
      if (problem) return Problem{r, c, *problem};
    }
    if (lines[static_cast<size_t>(r - 1)].size() > kGroupLineLimit)
      return Problem{r, -1, GroupTextProblem::kTooLong};
  }
  return std::nullopt;
}

bool SaveGroup(const std::string& groupPath, const std::string& backupPath, int index,
               const std::string& name, const GroupTable& table, std::error_code* error) {
  // A file that exists but cannot be read is never replaced: its groups
  // would be lost.
  std::string old;
  std::error_code readError;
  if (!ReadFileContents(groupPath, old, &readError) &&
      readError != std::errc::no_such_file_or_directory) {
    if (error) *error = readError;
    return false;
  }
  // The backup becomes a copy of the present file before that is replaced,
  // each file replaced whole: at every moment one of them holds the groups.
  // An empty or missing file leaves the last good backup alone.
  if (!old.empty() && !ReplaceFileContents(backupPath, old, error)) return false;
  return ReplaceFileContents(
      groupPath, ComposeGroupFile(SplitGroupFileLines(old), index, name, table.SectionLines()),
      error);
}

}  // namespace morva
