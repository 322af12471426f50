// The ｸﾞﾙｰﾌﾟ(&G) menu: the editor item 辞書ｸﾞﾙｰﾌﾟを編集する(&E)..., a separator,
// and one radio item per header of the group file in file order. Item k
// (from 0) reads "&%d %s" with (k + 1) mod 10 and the name for k < 10, "  %s"
// otherwise. The action's data holds the group name (Shift-JIS bytes as a
// QByteArray) and its property "groupIndex" the header index, so two groups
// with the same name stay apart.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QMenu;

namespace morva {

// Caption of the k-th group item (name in Shift-JIS).
QString GroupMenuCaption(int k, std::string_view nameSjis);

// BuildGroupMenu: removes every item of the menu but editAction (which is
// added when absent), adds a separator and one item per name. Choosing an
// item calls onChoose with the group's name (Shift-JIS) — the same name the
// caption shows after its access prefix.
void BuildGroupMenu(QMenu& menu, QAction* editAction, const std::vector<std::string>& names,
                    std::function<void(const std::string& nameSjis)> onChoose);

// Checks the item of the group at index (unchecks all for -1).
void CheckGroupMenuItem(QMenu& menu, int groupIndex);

}  // namespace morva
