// The group editor dialog driven through its controls and hooks.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "app/groups/group_edit_dlg.h"
#include "engine/book/text_utils.h"
#include "tests/support/test_dirs.h"

namespace morva {
namespace {

using testing::ReadFile;
using testing::WriteFile;

class GroupEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir_ / "MORVA.GRP",
              "[first]\nA,,,/a,1,,0000FF,A,yes\n[second]\nB,,,/b,1,,00FF00,B,yes\n");
    hooks_.beep = [this] { ++beeps_; };
    hooks_.searchDrives = [this](const std::string& drives, int depth) {
      searchedDrives_ = drives;
      searchedDepth_ = depth;
      return std::vector<FoundSubbook>{{Sjis("英和辞典"), "/cd/eiwa", 1}, {"Second", "/cd/eiwa", 2}};
    };
    hooks_.chooseColour = [this](uint32_t present) -> std::optional<uint32_t> {
      offeredColour_ = present;
      return 0x123456;
    };
  }
  std::unique_ptr<TGroupEditDlg> Make() {
    return std::make_unique<TGroupEditDlg>(dir_.str() + "/", group_, "c-d", 2, hooks_);
  }
  template <class W>
  static W* Find(QWidget& dlg, const char* name) {
    W* w = dlg.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  static void Click(QWidget& dlg, const char* name) {
    if (auto* b = Find<QPushButton>(dlg, name)) QTest::mouseClick(b, Qt::LeftButton);
  }

  testing::TempDir dir_;
  std::string group_ = "second";
  GroupEditHooks hooks_;
  int beeps_ = 0;
  std::string searchedDrives_;
  int searchedDepth_ = -1;
  uint32_t offeredColour_ = 0;
};

TEST_F(GroupEditorTest, StartsAtTheOpenGroupWithItsControls) {
  auto dlg = Make();
  EXPECT_EQ(dlg->windowTitle(), QStringLiteral("辞書ｸﾞﾙｰﾌﾟ編集"));
  EXPECT_EQ(dlg->GroupIndex(), 1);
  EXPECT_EQ(Find<QLineEdit>(*dlg, "GroupName")->text(), "second");
  EXPECT_EQ(Find<QLineEdit>(*dlg, "SearchDrive")->text(), "C-D");
  EXPECT_EQ(Find<QSpinBox>(*dlg, "Depth")->value(), 2);
  QTableWidget* grid = Find<QTableWidget>(*dlg, "Group");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->columnCount(), 7);
  EXPECT_EQ(grid->rowCount(), 99);
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("辞書ﾀｲﾄﾙ名"));
  EXPECT_EQ(grid->horizontalHeaderItem(6)->text(), QStringLiteral("選択"));
  EXPECT_TRUE(grid->isColumnHidden(1));
  EXPECT_EQ(grid->columnWidth(0), 126);
  EXPECT_EQ(grid->item(0, 0)->text(), "B");
  EXPECT_EQ(grid->item(0, 2)->text(), "/b,1");
  for (const char* name : {"Search", "Add", "All", "Up", "Down", "Delete", "Color", "NextGroup",
                           "DeleteGroup", "ButtonHelp", "OKBtn", "CancelBtn"})
    Find<QPushButton>(*dlg, name);
  EXPECT_EQ(Find<QPushButton>(*dlg, "Down")->text(), QStringLiteral("下へ(&D)"));
}

TEST_F(GroupEditorTest, SearchAndAddFillTheTableAndOkSavesIt) {
  auto dlg = Make();
  Click(*dlg, "Search");
  EXPECT_EQ(searchedDrives_, "C-D");
  EXPECT_EQ(searchedDepth_, 2);
  QTableWidget* found = Find<QTableWidget>(*dlg, "Title");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->item(0, 0)->text(), QStringLiteral("英和辞典"));
  EXPECT_EQ(found->item(1, 1)->text(), "/cd/eiwa,2");
  found->setCurrentCell(1, 0);
  Click(*dlg, "Add");
  Click(*dlg, "All");
  EXPECT_EQ(dlg->Table().LastUsedRow(), 4);
  EXPECT_EQ(dlg->Table().Cell(2, GroupTable::kTitle), "Second");
  EXPECT_EQ(dlg->Table().Cell(3, GroupTable::kShortName), Sjis("英和"));
  EXPECT_EQ(dlg->Table().Cell(3, GroupTable::kColour), "00FFFF");

  // Editing a cell reaches the table; the colour comes from the hook.
  QTableWidget* grid = Find<QTableWidget>(*dlg, "Group");
  grid->item(1, 5)->setText(QStringLiteral("二番"));
  grid->setCurrentCell(1, 0);
  Click(*dlg, "Color");
  EXPECT_EQ(offeredColour_, 0x00FF00u);
  EXPECT_EQ(dlg->Table().Cell(2, GroupTable::kColour), "123456");
  Find<QLineEdit>(*dlg, "GroupName")->setText(QStringLiteral("二番目"));
  Click(*dlg, "OKBtn");
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_EQ(group_, Sjis("二番目"));
  EXPECT_EQ(ReadFile(dir_ / "MORVA.GRP"),
            "[first]\nA,,,/a,1,,0000FF,A,yes\n" + Sjis("[二番目]\n") +
                "B,,,/b,1,,00FF00,B,yes\nSecond,,,/cd/eiwa,2,,123456," + Sjis("二番") +
                ",yes\n" + Sjis("英和辞典") + ",,,/cd/eiwa,1,,00FFFF," + Sjis("英和") +
                ",yes\nSecond,,,/cd/eiwa,2,,008000,Secon,yes\n");
  EXPECT_EQ(ReadFile(dir_ / "MORVA.BAK"),
            "[first]\nA,,,/a,1,,0000FF,A,yes\n[second]\nB,,,/b,1,,00FF00,B,yes\n");
}

TEST_F(GroupEditorTest, MovingBeyondTheTableBeeps) {
  auto dlg = Make();
  QTableWidget* grid = Find<QTableWidget>(*dlg, "Group");
  grid->setCurrentCell(98, 0);  // row 99
  Click(*dlg, "Down");
  EXPECT_EQ(beeps_, 1);
  grid->setCurrentCell(0, 0);  // row 1
  Click(*dlg, "Up");
  EXPECT_EQ(beeps_, 2);
  grid->setCurrentCell(0, 0);
  Click(*dlg, "Down");
  EXPECT_EQ(beeps_, 2);
  EXPECT_EQ(dlg->Table().Cell(2, GroupTable::kTitle), "B");
  EXPECT_EQ(grid->currentRow(), 1);  // the selection follows the row
  Click(*dlg, "Delete");
  EXPECT_EQ(dlg->Table().LastUsedRow(), 0);
}

TEST_F(GroupEditorTest, NextAndDeleteGroupSaveAndMoveOn) {
  group_.clear();  // no open group: the editor starts at a new group
  auto dlg = Make();
  EXPECT_EQ(dlg->GroupIndex(), 2);
  EXPECT_EQ(Find<QLineEdit>(*dlg, "GroupName")->text(), QStringLiteral("新規グループ"));
  Click(*dlg, "NextGroup");  // from a new group to group 0
  EXPECT_EQ(dlg->GroupIndex(), 0);
  EXPECT_EQ(Find<QLineEdit>(*dlg, "GroupName")->text(), "first");
  Click(*dlg, "NextGroup");
  EXPECT_EQ(dlg->GroupIndex(), 1);
  Click(*dlg, "DeleteGroup");  // second is dropped; index 1 now has no group
  EXPECT_EQ(ReadFile(dir_ / "MORVA.GRP"), "[first]\nA,,,/a,1,,0000FF,A,yes\n");
  EXPECT_EQ(Find<QLineEdit>(*dlg, "GroupName")->text(), QStringLiteral("新規グループ"));
  Click(*dlg, "CancelBtn");
  EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

}  // namespace
}  // namespace morva
