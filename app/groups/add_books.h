// Adding the sub-books found in a folder to a group of the group file: the
// books the group does not hold yet go after its last used row, and the file
// is rewritten the way the group editor saves (atomically, the previous file
// kept as MORVA.BAK). A group that does not exist yet is appended.
#pragma once

#include <string>
#include <vector>

#include "app/groups/group_table.h"

namespace morva {

struct AddBooksResult {
  bool ok = false;
  // The bar entry (from 1, as the group's bar numbers them) of the first
  // found book, whether it was added now or was already in the group.
  int firstEntry = 0;
  int added = 0;       // rows written now; 0 when every book was there
  int left = 0;        // books that found no free row
  std::string reason;  // why nothing was saved (Shift-JIS), when !ok
};

// settingsDir holds MORVA.GRP; groupName (Shift-JIS) names the group. Refuses,
// changing nothing, when the group is full, when a name or value cannot be
// written to the file, or when the file cannot be written.
AddBooksResult AddBooksToGroup(const std::string& settingsDir, const std::string& groupName,
                               const std::vector<FoundSubbook>& found);

}  // namespace morva
