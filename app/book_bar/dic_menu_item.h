// A book item of the 辞書 menu, as the group and drive-search logic hands it
// to the menu (dic_menu.h).
#pragma once

#include <string>

namespace morva {

// The bar entry and its title from the group file (Shift-JIS).
struct DicMenuItem {
  int entry = 0;
  std::string title;
};

}  // namespace morva
