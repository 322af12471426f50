// The group editor dialog driven through its controls and hooks.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

#include "app/groups/group_edit_dlg.h"
#include "engine/book/text_utils.h"
#include "engine/text/unicode.h"
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
    hooks_.searchFolders = [this](const std::string& roots, int depth) {
      searchedRoots_ = roots;
      searchedDepth_ = depth;
      return found_;
    };
    hooks_.warning = [this](const std::string& text) { warnings_.push_back(SjisToUtf8(text)); };
    hooks_.chooseColour = [this](uint32_t present) -> std::optional<uint32_t> {
      offeredColour_ = present;
      return 0x123456;
    };
  }
  std::unique_ptr<TGroupEditDlg> Make() {
    return std::make_unique<TGroupEditDlg>(dir_.str() + "/", group_, "/Media/CD;~", 2, hooks_);
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
  std::string searchedRoots_;
  std::vector<FoundSubbook> found_{{Sjis("英和辞典"), "/cd/eiwa", 1}, {"Second", "/cd/eiwa", 2}};
  std::vector<std::string> warnings_;
  int searchedDepth_ = -1;
  uint32_t offeredColour_ = 0;
};

TEST_F(GroupEditorTest, StartsAtTheOpenGroup) {
  auto dlg = Make();
  EXPECT_EQ(dlg->GroupIndex(), 1);
  EXPECT_EQ(Find<QLineEdit>(*dlg, "GroupName")->text(), "second");
  EXPECT_EQ(Find<QLineEdit>(*dlg, "SearchDrive")->text(), "/Media/CD;~");
  EXPECT_EQ(Find<QSpinBox>(*dlg, "Depth")->value(), 2);
  QTableWidget* grid = Find<QTableWidget>(*dlg, "Group");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->item(0, 0)->text(), "B");
  EXPECT_EQ(grid->item(0, 2)->text(), "/b,1");
}

TEST_F(GroupEditorTest, SearchAndAddFillTheTableAndOkSavesIt) {
  auto dlg = Make();
  Find<QLineEdit>(*dlg, "SearchDrive")->setText(QStringLiteral(" /Media/ＣＤ "));
  Click(*dlg, "Search");
  EXPECT_EQ(searchedRoots_, "/Media/ＣＤ");  // as typed, in the file system's bytes
  EXPECT_TRUE(warnings_.empty());
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
                "B,,,/b,1,,00FF00,B,yes\nSecond,,,/cd/eiwa,2,,123456," + Sjis("二番") + ",yes\n" +
                Sjis("英和辞典") + ",,,/cd/eiwa,1,,00FFFF," + Sjis("英和") +
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

TEST_F(GroupEditorTest, ASearchThatFindsNothingSaysSo) {
  found_.clear();
  auto dlg = Make();
  Click(*dlg, "Search");
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_NE(warnings_[0].find("/Media/CD;~"), std::string::npos) << warnings_[0];
  EXPECT_NE(warnings_[0].find("辞書が見つかりません"), std::string::npos) << warnings_[0];
}

// Text the file cannot hold is refused with a message naming the place; the
// dialog stays open with the edits and the file is not touched. Names and
// titles whose double-byte characters end in the byte of "]" are fine.
TEST_F(GroupEditorTest, TextTheFileCannotHoldIsRefusedBeforeSaving) {
  const std::string before = ReadFile(dir_ / "MORVA.GRP");
  const struct {
    int row;  // 0: the group name
    int column;
    std::string text;   // UTF-8
    const char* named;  // in the message
  } refused[] = {
      {0, 0, "My]group", "ｸﾞﾙｰﾌﾟ名に「]」"},
      {1, GroupTable::kTitle, "Smith, J.", "1行目の「辞書ﾀｲﾄﾙ名」に「,」"},
      {1, GroupTable::kTitle, "[新版]辞典", "「[」で始められません"},
      {1, GroupTable::kShortName, "a,b", "「略称」に「,」"},
      {1, GroupTable::kUserTitle, "x,y", "「ﾕｰｻﾞｰﾀｲﾄﾙ」に「,」"},
      {1, GroupTable::kPath, "/media/a,b,1", "ﾌｫﾙﾀﾞ,番号"},
      {1, GroupTable::kPath, "/media/a", "ﾌｫﾙﾀﾞ,番号"},
      {1, GroupTable::kPath, "/" + std::string(280, 'p') + ",1", "1行目が長すぎます"},
  };
  for (const auto& c : refused) {
    auto dlg = Make();
    QTableWidget* grid = Find<QTableWidget>(*dlg, "Group");
    if (c.row == 0) Find<QLineEdit>(*dlg, "GroupName")->setText(QString::fromStdString(c.text));
    else grid->item(c.row - 1, c.column)->setText(QString::fromStdString(c.text));
    warnings_.clear();
    Click(*dlg, "OKBtn");
    EXPECT_NE(dlg->result(), QDialog::Accepted) << c.text;
    ASSERT_EQ(warnings_.size(), 1u) << c.text;
    EXPECT_NE(warnings_[0].find(c.named), std::string::npos) << warnings_[0];
    EXPECT_EQ(ReadFile(dir_ / "MORVA.GRP"), before) << c.text;
    EXPECT_EQ(group_, "second");
    if (c.row > 0) {
      EXPECT_EQ(grid->currentRow(), c.row - 1) << c.text;
    }
    // 次のｸﾞﾙｰﾌﾟ stays on the group too.
    Click(*dlg, "NextGroup");
    EXPECT_EQ(dlg->GroupIndex(), 1) << c.text;
  }

  auto dlg = Make();
  Find<QLineEdit>(*dlg, "GroupName")->setText(QStringLiteral("ゾウ"));
  Find<QTableWidget>(*dlg, "Group")->item(0, 0)->setText(QStringLiteral("ゾウの辞典"));
  warnings_.clear();
  Click(*dlg, "OKBtn");
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_TRUE(warnings_.empty());
  const std::optional<GroupSection> saved =
      FindGroup((dir_ / "MORVA.GRP").string(), Sjis("ゾウ"), 0);
  ASSERT_TRUE(saved);
  EXPECT_EQ(ParseGroupBookLine(saved->lines[0].text).title, Sjis("ゾウの辞典"));
}

// A save the system refuses (here the backup cannot replace a folder in its
// place) is shown with the reason, and the dialog keeps the edits: OK leaves
// it open, 次のｸﾞﾙｰﾌﾟ and ｸﾞﾙｰﾌﾟを削除 stay on the group.
TEST_F(GroupEditorTest, AFailedSaveIsShownAndTheEditsStay) {
  std::filesystem::create_directories(dir_ / "MORVA.BAK" / "occupied");
  const std::string before = ReadFile(dir_ / "MORVA.GRP");
  auto dlg = Make();
  QTableWidget* grid = Find<QTableWidget>(*dlg, "Group");
  grid->item(0, 5)->setText(QStringLiteral("編集"));
  for (const char* button : {"OKBtn", "NextGroup", "DeleteGroup"}) {
    warnings_.clear();
    Click(*dlg, button);
    EXPECT_NE(dlg->result(), QDialog::Accepted) << button;
    ASSERT_EQ(warnings_.size(), 1u) << button;
    EXPECT_NE(warnings_[0].find("MORVA.GRP を保存できません"), std::string::npos) << warnings_[0];
    EXPECT_EQ(dlg->GroupIndex(), 1) << button;
    EXPECT_EQ(grid->item(0, 5)->text(), QStringLiteral("編集")) << button;
    EXPECT_EQ(dlg->Table().Cell(1, GroupTable::kShortName), Sjis("編集")) << button;
    EXPECT_EQ(ReadFile(dir_ / "MORVA.GRP"), before) << button;
  }
  EXPECT_EQ(dlg->Result(), GroupEditResult::kNothingSaved);
}

}  // namespace
}  // namespace morva