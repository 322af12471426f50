// OpenGroup: loading a named group of the group file into the book bar and
// the 辞書 menu, driven through a small interface of the main window.
//
//  1. Group := name; look the group up (the first header with that name).
//  2. Found: reset the book-access object's volume list, replace the bar by
//     the group's entries (leading separator first), refill the 辞書 menu,
//     check the group's ｸﾞﾙｰﾌﾟ menu item. Not found: the bar stays as it was
//     and Group becomes empty.
//  3. Always: lay out the bar, open book `Book` on the 索引 tab (when a
//     group was loaded and has no book at that place, its first book), refresh
//     the layout and set the window title.
#pragma once

#include <string>
#include <vector>

#include "app/book_bar/dic_menu_item.h"
#include "engine/book/book_list.h"

namespace morva {

class GroupHost {
 public:
  virtual ~GroupHost() = default;
  virtual BookBar& Bar() = 0;
  // The Group setting (Shift-JIS).
  virtual std::string& GroupSetting() = 0;
  // The Book setting / CurrentBook to open after loading.
  virtual int BookToOpen() const = 0;
  // TDisk::CloseSubbook(): the book list changes under it.
  virtual void ResetVolumes() = 0;
  virtual void FillDicMenu(const std::vector<DicMenuItem>& items) = 0;
  virtual void CheckGroupMenuItem(int groupIndex) = 0;
  // The bar's contents changed: BookBarWidget::BarChanged + ApplyDisplay.
  virtual void LayoutBar() = 0;
  // OpenBook (book_opener.h) with the 索引 tab preferred.
  virtual void OpenBookOnIndexTab(int entry) = 0;
  virtual void RefreshLayout() = 0;
  virtual void SetTitle() = 0;
};

// Returns whether the group was found and loaded.
bool OpenGroup(GroupHost& host, const std::string& groupFilePath, const std::string& name);

}  // namespace morva
