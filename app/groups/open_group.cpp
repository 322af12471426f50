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
  host.OpenBookOnIndexTab(host.BookToOpen());
  host.RefreshLayout();
  host.SetTitle();
  return section.has_value();
}

}  // namespace morva
