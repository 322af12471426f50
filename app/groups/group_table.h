// The group editor's table: 100 rows of 7 columns, row 0 the column titles,
// rows 1-99 one group line each. Column 1 holds the two hot-key fields with
// their comma, column 2 the directory and the sub-book number with theirs.
// Text is Shift-JIS. Pure data with the editor's row operations, so the
// dialog stays thin and the operations are testable without widgets.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "engine/book/group_file.h"

namespace morva {

// A sub-book found by a drive search, as the editor's Title list shows it.
struct FoundSubbook {
  std::string title;      // Shift-JIS
  std::string directory;  // volume directory
  int number = 1;         // sub-book number from 1
  // "%s,%d": directory and number, the editor's path column.
  std::string PathColumn() const;
};

class GroupTable {
 public:
  static constexpr int kRows = 100;
  static constexpr int kColumns = 7;
  enum Column { kTitle = 0, kHotKey, kPath, kUserTitle, kColour, kShortName, kSelection };
  using Row = std::array<std::string, kColumns>;

  GroupTable();

  // Column titles (UTF-8) and widths of row 0.
  static const char* ColumnTitle(int column);
  static int ColumnWidth(int column);
  // Colour ("%06X") given to a newly added row: 1 red, 2 green, 3 yellow,
  // 4 dark green, 5 blue, 6 purple, 7 and beyond white.
  static std::string NewRowColour(int row);

  // REQUIRES: 0 <= row < kRows. Row 0 holds the titles (in Shift-JIS).
  const Row& At(int row) const { return rows_[static_cast<size_t>(row)]; }
  std::string& Cell(int row, int column) {
    return rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
  }
  const std::string& Cell(int row, int column) const {
    return At(row)[static_cast<size_t>(column)];
  }

  // Empties rows 1-99.
  void Clear();
  // Fills rows from 1 with up to 99 lines of a section: a book line into
  // the seven columns, an empty line as an empty row.
  void Load(const std::vector<GroupFileLine>& lines);

  // The last row from 1 to 99 with a non-empty title, 0 when none.
  int LastUsedRow() const;
  // Add: the found sub-book into the row after the last used row; the row,
  // or 0 when the table is full.
  int Add(const FoundSubbook& book);
  // Swap with the row above (rows 2..99) / below (rows 1..98); false (the
  // caller beeps) otherwise. The selection follows the row.
  bool MoveUp(int row);
  bool MoveDown(int row);
  // Removes the row; the rows below move up and row 99 becomes empty.
  void Delete(int row);

  // The lines a save writes for this table: the book lines and the empty
  // lines of separators, up to the last used row; empty when no row is used.
  std::vector<std::string> SectionLines() const;

  // The first cell of the used rows whose text the file cannot hold (it
  // would read back as other fields, another line or a header): a comma or
  // line break in a one-field column, anything but one comma in the hot-key
  // and path columns, a title starting with "["; column -1 when the row's
  // line is longer than the file's lines. Nothing when every row can be
  // saved.
  struct Problem {
    int row = 0;
    int column = 0;
    GroupTextProblem kind = GroupTextProblem::kComma;
  };
  std::optional<Problem> FindProblem() const;

 private:
  std::array<Row, kRows> rows_;
};

// SaveGroup: rewrites the group file with the group at index replaced by
// name and table (appended when no group has that index; dropped when the
// table has no used row). Lines before the group's header and after its
// section are copied unchanged. The backup first becomes a copy of the
// present file (unless that is missing or empty), then the group file is
// replaced; each is written beside the old one and renamed over it. Returns
// false when a file could not be read or written, error (when given) telling
// why; the group file is then as it was.
bool SaveGroup(const std::string& groupPath, const std::string& backupPath, int index,
               const std::string& name, const GroupTable& table, std::error_code* error = nullptr);

}  // namespace morva
