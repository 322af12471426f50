// The group editor as the main window runs it: its folder search walks the
// folders typed in it, OK opens the edited group with a book, ｷｬﾝｾﾙ leaves
// the window as it was.
#include <QMenu>
#include <QSpinBox>
#include <QTableWidget>

#include "app/groups/group_edit_dlg.h"
#include "tests/gui/main_window_fixture.h"

namespace morva::testing {
namespace {

class GroupEditorWindowTest : public WiringTest {
 protected:
  // The group editor is answered by steps run on it; they return its result.
  void OnEditor(std::function<int(TGroupEditDlg&)> steps) {
    answerDialog_ = [steps = std::move(steps)](QDialog& dialog) {
      auto* editor = qobject_cast<TGroupEditDlg*>(&dialog);
      return editor ? steps(*editor) : static_cast<int>(QDialog::Rejected);
    };
  }
  template <typename T>
  static T* In(QDialog& dialog, const char* name) {
    T* widget = dialog.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  static void Press(QDialog& dialog, const char* name) {
    QTest::mouseClick(In<QPushButton>(dialog, name), Qt::LeftButton);
  }
};

TEST_F(GroupEditorWindowTest, TypedFoldersAreSearchedAndOkOpensTheEditedGroup) {
  // The third book is open; the edit leaves two books in the group.
  WriteGroup("G", {{"試験", MakeBook("a", "試験", Many("ねこ", 2))},
                   {"二", MakeBook("b", "二", Many("いぬ", 1))},
                   {"三", MakeBook("c", "三", Many("いぬ", 1))}});
  WriteIni("[Options]\nGroup=G\nBook=3\nSearchRoots=/nonexistent\nSearchDepth=0\n");
  MakeBook("Tree/Mixed Case/Book", "新しい本", Many("いぬ", 1));
  std::filesystem::create_directories(dir_.path() / "Empty");
  const std::string tree = (dir_.path() / "Tree").string();
  TMorvaForm& form = OpenWired();

  OnEditor([&](TGroupEditDlg& dlg) {
    auto* table = In<QTableWidget>(dlg, "Group");
    for (int i = 0; i < 2; ++i) {
      table->setCurrentCell(1, 0);
      Press(dlg, "Delete");
    }
    auto* folders = In<QLineEdit>(dlg, "SearchDrive");
    folders->setText(QString::fromStdString((dir_.path() / "Empty").string()));
    Press(dlg, "Search");  // nothing there: said so
    folders->setText(QString::fromStdString(tree));
    EXPECT_EQ(folders->text().toStdString(), tree);  // the case is kept
    In<QSpinBox>(dlg, "Depth")->setValue(2);
    Press(dlg, "Search");
    In<QTableWidget>(dlg, "Title")->setCurrentCell(0, 0);
    Press(dlg, "Add");
    In<QLineEdit>(dlg, "GroupName")->setText(QStringLiteral("二冊"));
    Press(dlg, "OKBtn");
    return dlg.result();
  });
  Action("E1")->trigger();

  const std::string warning = reporter_.Last(RecordedBox::kWarning);
  EXPECT_NE(warning.find("Empty」に辞書が見つかりません"), std::string::npos) << warning;
  // The typed folders and depth are the search settings from now on.
  EXPECT_EQ(form.settings().searchRoots, tree);
  EXPECT_EQ(form.settings().searchDepth, 2);
  EXPECT_NE(ReadFile(SettingsDir() / "MORVA.GRP").find("/Tree/Mixed Case/Book,1,"),
            std::string::npos);

  // The edited group is open with a book and named: the third place is gone,
  // so its first book.
  EXPECT_EQ(form.settings().group, Sjis("二冊"));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Morva - 二冊"));
  EXPECT_EQ(form.Bar().size(), 3u);
  EXPECT_EQ(form.CurrentBook(), 1);
  SearchWired("ねこ");
  EXPECT_EQ(form.wordlist().Count(), 2);
}

TEST_F(GroupEditorWindowTest, CancelLeavesTheWindowAsItWas) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 3))}},
           "SearchRoots=" + dir_.str() + "\nSearchDepth=1");
  TMorvaForm& form = OpenWired();
  SearchWired("ねこ");
  form.ShowItem(1);
  const BookAddress shown = form.view()->ShownAddress();
  const std::string status = Status(1);

  // A search in the editor, a group saved under a new name by 次のｸﾞﾙｰﾌﾟ,
  // then ｷｬﾝｾﾙ.
  OnEditor([&](TGroupEditDlg& dlg) {
    Press(dlg, "Search");
    In<QLineEdit>(dlg, "GroupName")->setText(QStringLiteral("改名"));
    Press(dlg, "NextGroup");
    Press(dlg, "CancelBtn");
    return dlg.result();
  });
  Action("E1")->trigger();

  EXPECT_EQ(form.wordlist().Count(), 3);
  EXPECT_EQ(form.view()->ShownAddress(), shown);
  EXPECT_EQ(Status(1), status);
  EXPECT_EQ(form.settings().group, "G");
  // The menu names the groups of the file as it is now.
  EXPECT_EQ(Find<QMenu>("MenuGroup")->actions().back()->text(), QStringLiteral("&1 改名"));
  EXPECT_TRUE(reporter_.boxes().empty());
}

}  // namespace
}  // namespace morva::testing
