// The group editor dialog driven through its controls and hooks.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
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

constexpr const char* kFile = "[first]\nA,,,/a,1,,0000FF,A,yes\n[second]\nB,,,/b,1,,00FF00,B,yes\n";

class GroupEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteFile(dir_ / "MORVA.GRP", kFile);
    hooks_.beep = [this] { ++beeps_; };
    hooks_.searchFolders = [this](const std::string& roots, int depth) {
      searched_ = roots + "|" + std::to_string(depth);
      return std::vector<FoundSubbook>{{Sjis("英和辞典"), "/cd/eiwa", 1},
                                       {"Second", "/cd/eiwa", 2}};
    };
    hooks_.warning = [this](const std::string& text) { warnings_.push_back(SjisToUtf8(text)); };
    hooks_.chooseColour = [](uint32_t) { return std::optional<uint32_t>(0x123456); };
  }
  TGroupEditDlg& Make() {
    dlg_ = std::make_unique<TGroupEditDlg>(dir_.str() + "/", group_, "/Media/CD;~", 2, hooks_);
    grid_ = Find<QTableWidget>("Group");
    name_ = Find<QLineEdit>("GroupName");
    return *dlg_;
  }
  template <class W>
  W* Find(const char* name) {
    W* w = dlg_->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
  // Clicks the button and expects one warning holding `text`.
  void ExpectWarning(const char* button, const std::string& text) {
    warnings_.clear();
    Click(button);
    ASSERT_EQ(warnings_.size(), 1u) << button << " " << text;
    EXPECT_NE(warnings_[0].find(text), std::string::npos) << warnings_[0];
  }

  testing::TempDir dir_;
  std::string group_ = "second";
  GroupEditHooks hooks_;
  std::unique_ptr<TGroupEditDlg> dlg_;
  QTableWidget* grid_ = nullptr;
  QLineEdit* name_ = nullptr;
  int beeps_ = 0;
  std::string searched_;
  std::vector<std::string> warnings_;
};

// The editor starts at the open group; the search fills the found books, Add
// and All copy them into the table, edits and the colour hook reach it, and
// OK saves the file with the old one kept as MORVA.BAK.
TEST_F(GroupEditorTest, SearchAndAddFillTheTableAndOkSavesIt) {
  TGroupEditDlg& dlg = Make();
  Find<QLineEdit>("SearchDrive")->setText(QStringLiteral(" /Media/ＣＤ "));
  Click("Search");
  EXPECT_EQ(searched_, "/Media/ＣＤ|2");  // as typed, in the file system's bytes
  Find<QTableWidget>("Title")->setCurrentCell(1, 0);
  Click("Add");
  Click("All");
  grid_->item(1, 5)->setText(QStringLiteral("二番"));
  grid_->setCurrentCell(1, 0);
  Click("Color");
  name_->setText(QStringLiteral("二番目"));
  Click("OKBtn");
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_TRUE(warnings_.empty());
  EXPECT_EQ(group_, Sjis("二番目"));
  EXPECT_EQ(ReadFile(dir_ / "MORVA.GRP"),
            "[first]\nA,,,/a,1,,0000FF,A,yes\n" + Sjis("[二番目]\n") +
                "B,,,/b,1,,00FF00,B,yes\nSecond,,,/cd/eiwa,2,,123456," + Sjis("二番") + ",yes\n" +
                Sjis("英和辞典") + ",,,/cd/eiwa,1,,00FFFF," + Sjis("英和") +
                ",yes\nSecond,,,/cd/eiwa,2,,008000,Secon,yes\n");
  EXPECT_EQ(ReadFile(dir_ / "MORVA.BAK"), kFile);
}

// Rows move within the table (beeping at its ends, the selection following
// the row); 次のｸﾞﾙｰﾌﾟ and ｸﾞﾙｰﾌﾟを削除 save and move on.
TEST_F(GroupEditorTest, RowsMoveWithinTheTableAndGroupsAreWalkedAndDeleted) {
  group_.clear();  // no open group: the editor starts at a new group
  TGroupEditDlg& dlg = Make();
  EXPECT_EQ(dlg.GroupIndex(), 2);
  Click("NextGroup");  // from a new group to group 0
  EXPECT_EQ(name_->text(), "first");
  Click("NextGroup");
  EXPECT_EQ(dlg.GroupIndex(), 1);
  grid_->setCurrentCell(98, 0);  // row 99
  Click("Down");
  grid_->setCurrentCell(0, 0);  // row 1
  Click("Up");
  EXPECT_EQ(beeps_, 2);
  Click("Down");
  EXPECT_EQ(beeps_, 2);
  EXPECT_EQ(dlg.Table().Cell(2, GroupTable::kTitle), "B");
  EXPECT_EQ(grid_->currentRow(), 1);
  Click("DeleteGroup");  // second is dropped; index 1 now has no group
  EXPECT_EQ(ReadFile(dir_ / "MORVA.GRP"), "[first]\nA,,,/a,1,,0000FF,A,yes\n");
  EXPECT_EQ(name_->text(), QStringLiteral("新規グループ"));
}

// Text the file cannot hold is refused with a message naming the place; the
// dialog stays open with the edits and the file is not touched. Names and
// titles whose double-byte characters end in the byte of "]" are fine.
TEST_F(GroupEditorTest, TextTheFileCannotHoldIsRefusedBeforeSaving) {
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
    SCOPED_TRACE(c.text);
    TGroupEditDlg& dlg = Make();
    if (c.row == 0) name_->setText(QString::fromStdString(c.text));
    else grid_->item(c.row - 1, c.column)->setText(QString::fromStdString(c.text));
    ExpectWarning("OKBtn", c.named);
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(ReadFile(dir_ / "MORVA.GRP"), kFile);
    EXPECT_EQ(group_, "second");
    if (c.row > 0) {
      EXPECT_EQ(grid_->currentRow(), c.row - 1);
    }
    Click("NextGroup");  // stays on the group too
    EXPECT_EQ(dlg.GroupIndex(), 1);
  }

  TGroupEditDlg& dlg = Make();
  name_->setText(QStringLiteral("ゾウ"));
  grid_->item(0, 0)->setText(QStringLiteral("ゾウの辞典"));
  warnings_.clear();
  Click("OKBtn");
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
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
  TGroupEditDlg& dlg = Make();
  grid_->item(0, 5)->setText(QStringLiteral("編集"));
  for (const char* button : {"OKBtn", "NextGroup", "DeleteGroup"}) {
    SCOPED_TRACE(button);
    ExpectWarning(button, "MORVA.GRP を保存できません");
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.GroupIndex(), 1);
    EXPECT_EQ(dlg.Table().Cell(1, GroupTable::kShortName), Sjis("編集"));
    EXPECT_EQ(ReadFile(dir_ / "MORVA.GRP"), kFile);
  }
  EXPECT_EQ(dlg.Result(), GroupEditResult::kNothingSaved);
}

}  // namespace
}  // namespace morva
