#include "app/groups/open_group.h"

#include "engine/book/group_file.h"

namespace morva {

bool OpenGroup(GroupHost& host, const std::string& groupFilePath, const std::string& name) {
  host.GroupSetting() = name;
  // An empty name would pick the header at an index; a group is named here.
  std::optional<GroupSection> section;
  if (!name.empty()) section = FindGroup(groupFilePath, name, 0);
  if (section) {
    LoadedGroup group = BarFromSection(*section);
    host.ResetVolumes();
    host.Bar() = std::move(group.bar);
    std::vector<DicMenuItem> items;
    items.reserve(group.menuTitles.size());
    for (LoadedGroup::Title& t : group.menuTitles) items.push_back({t.entry, std::move(t.title)});
    host.FillDicMenu(items);
    host.CheckGroupMenuItem(group.index);
  } else {
    host.GroupSetting().clear();
  }
  host.LayoutBar();
  // The book to open is a place in the bar; when the loaded group has no
  // book there (the place belonged to another group), its first book opens.
  int book = host.BookToOpen();
  const BookBar& bar = host.Bar();
  const auto isBook = [&bar](int entry) {
    return entry >= 0 && entry < static_cast<int>(bar.size()) &&
           !bar[static_cast<size_t>(entry)].IsSeparator();
  };
  if (section && !isBook(book == -1 ? 1 : book)) {
    for (book = 1; book < static_cast<int>(bar.size()) && !isBook(book); ++book) {}
  }
  host.OpenBookOnIndexTab(book);
  host.RefreshLayout();
  host.SetTitle();
  return section.has_value();
}

}  // namespace morva
