// The ｸﾞﾙｰﾌﾟ menu: its captions, rebuilding it and checking an item.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <string>
#include <vector>

#include "app/groups/group_menu.h"

namespace morva {
namespace {

// The tenth item uses digit 0, the eleventh two blanks; an item is checked
// by its place, not its name; rebuilding keeps the editor item only.
TEST(GroupMenuTest, CaptionsCheckingAndRebuilding) {
  QMenu menu;
  QAction edit(QStringLiteral("辞書ｸﾞﾙｰﾌﾟを編集する(&E)..."));
  menu.addAction(&edit);
  std::vector<std::string> names;
  for (int k = 0; k < 11; ++k) names.push_back("g" + std::to_string(k));
  names[5] = "g0";  // a second group with the same name
  std::vector<std::string> chosen;
  BuildGroupMenu(menu, &edit, names, [&](const std::string& n) { chosen.push_back(n); });
  QList<QAction*> actions = menu.actions();
  ASSERT_EQ(actions.size(), 13);
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_EQ(actions[2]->text(), QStringLiteral("&1 g0"));
  EXPECT_EQ(actions[11]->text(), QStringLiteral("&0 g9"));
  EXPECT_EQ(actions[12]->text(), QStringLiteral("  g10"));
  actions[12]->trigger();
  EXPECT_EQ(chosen, std::vector<std::string>{"g10"});
  CheckGroupMenuItem(menu, 5);
  EXPECT_TRUE(actions[7]->isChecked());
  EXPECT_FALSE(actions[2]->isChecked());  // same name, other index
  BuildGroupMenu(menu, &edit, {}, {});
  ASSERT_EQ(menu.actions().size(), 2);
  EXPECT_EQ(menu.actions()[0], &edit);
}

}  // namespace
}  // namespace morva
