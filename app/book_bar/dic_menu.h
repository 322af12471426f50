// The 辞書(&B) menu: one radio item per book of the open group, in bar order.
// Item k (from 0, separators not counted) reads "&%d %s" with (k + 1) mod 10
// and the book's title for k < 10, "  %s" with the title otherwise; the action
// remembers the bar entry index in its data (an int).
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/book_bar/dic_menu_item.h"

class QMenu;

namespace morva {

// Caption of the k-th item (title in Shift-JIS, caption in Unicode).
QString DicMenuCaption(int k, std::string_view titleSjis);

// Empties the menu and adds one checkable, exclusive item per book. Choosing
// an item calls onChoose with its entry index.
void FillDicMenu(QMenu& menu, const std::vector<DicMenuItem>& items,
                 std::function<void(int entry)> onChoose);

// Empties the menu.
void ClearDicMenu(QMenu& menu);

// Checks the item of entry (and unchecks the others); none when no item has it.
void CheckDicMenuItem(QMenu& menu, int entry);

}  // namespace morva
