// The ｸﾞﾙｰﾌﾟ menu: its captions, rebuilding it and checking an item.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <string>
#include <vector>

#include "app/groups/group_menu.h"
#include "engine/book/text_utils.h"

namespace morva {
namespace {

TEST(GroupMenuTest, TheTenthUsesDigitZeroAndTheEleventhHasTwoBlanks) {
  EXPECT_EQ(GroupMenuCaption(0, Sjis("英和")), QStringLiteral("&1 英和"));
  EXPECT_EQ(GroupMenuCaption(9, "ten"), QStringLiteral("&0 ten"));
  EXPECT_EQ(GroupMenuCaption(10, "eleven"), QStringLiteral("  eleven"));

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
  EXPECT_EQ(actions[0], &edit);
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_EQ(actions[11]->text(), QStringLiteral("&0 g9"));
  EXPECT_EQ(actions[12]->text(), QStringLiteral("  g10"));
  actions[12]->trigger();
  EXPECT_EQ(chosen, std::vector<std::string>{"g10"});
  CheckGroupMenuItem(menu, 5);
  EXPECT_TRUE(actions[7]->isChecked());
  EXPECT_FALSE(actions[2]->isChecked());  // same name, other index

  // Rebuilding keeps the editor item only; a missing file leaves it and the separator.
  BuildGroupMenu(menu, &edit, {}, {});
  ASSERT_EQ(menu.actions().size(), 2);
  EXPECT_EQ(menu.actions()[0], &edit);
}

}  // namespace
}  // namespace morva
