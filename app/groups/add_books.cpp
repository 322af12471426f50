#include "app/groups/add_books.h"

#include <optional>
#include <system_error>

#include "engine/book/group_file.h"
#include "engine/book/text_utils.h"

namespace morva {

AddBooksResult AddBooksToGroup(const std::string& settingsDir, const std::string& groupName,
                               const std::vector<FoundSubbook>& found) {
  AddBooksResult result;
  const std::string path = GroupFilePath(settingsDir);
  if (groupName.empty() || GroupNameProblem(groupName)) {
    result.reason = Sjis("ｸﾞﾙｰﾌﾟ名をｸﾞﾙｰﾌﾟﾌｧｲﾙに書けません．");
    return result;
  }
  const std::vector<GroupFileLine> lines = ReadGroupFileLines(path);
  const std::optional<GroupSection> section = FindGroup(lines, groupName, 0);
  const int index = section ? section->index : static_cast<int>(GroupNames(lines).size());
  // A section longer than the table would lose its last lines on saving.
  if (section && section->lines.size() >= static_cast<size_t>(GroupTable::kRows)) {
    result.reason = Sjis("ｸﾞﾙｰﾌﾟがいっぱいで，辞書を加えられません．");
    return result;
  }
  GroupTable table;
  if (section) table.Load(section->lines);
  for (const FoundSubbook& book : found) {
    const std::string pathColumn = book.PathColumn();
    int row = 0;
    for (int r = 1; r <= table.LastUsedRow() && row == 0; ++r)
      if (!table.Cell(r, GroupTable::kTitle).empty() &&
          table.Cell(r, GroupTable::kPath) == pathColumn)
        row = r;
    if (row == 0) {
      row = table.Add(book);
      if (row == 0) {
        ++result.left;
        continue;
      }
      ++result.added;
    }
    if (result.firstEntry == 0) result.firstEntry = row;
  }
  if (result.firstEntry == 0) {
    result.reason = Sjis("ｸﾞﾙｰﾌﾟがいっぱいで，辞書を加えられません．");
    return result;
  }
  if (result.added > 0) {
    if (table.FindProblem()) {
      result.reason =
          Sjis("辞書のﾀｲﾄﾙかﾌｫﾙﾀﾞ名に，ｸﾞﾙｰﾌﾟﾌｧｲﾙに書けない文字（「,」など）があります．");
      return result;
    }
    std::error_code error;
    if (!SaveGroup(path, GroupBackupPath(settingsDir), index, groupName, table, &error)) {
      result.reason = Sjis("ｸﾞﾙｰﾌﾟﾌｧｲﾙを保存できません：") + error.message();
      return result;
    }
  }
  result.ok = true;
  return result;
}

}  // namespace morva
