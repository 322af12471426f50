// Starting with no book and adding books from a folder through the wired
// main window: the content pane's hint, ﾌｧｲﾙ > 辞書ﾌｫﾙﾀﾞを開く (the folder
// dialog answered by the test), and a folder dropped on the window.
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QUrl>
#include <filesystem>

#include "engine/book/group_file.h"
#include "tests/gui/main_window_fixture.h"

namespace morva::testing {
namespace {

namespace fs = std::filesystem;

class FirstStartTest : public WiringTest {
 protected:
  // A folder "dicts" holding one volume at its top (a volume folder itself),
  // one two levels down and one three levels down (beyond the search).
  std::string MakeTree() {
    MakeBook("dicts", "上の本", Many("ねこ", 1));
    MakeBook("dicts/sub/deep", "下の本", Many("いぬ", 1));
    MakeBook("dicts/sub/deep/er/est", "遠い本", Many("とり", 1));
    return (dir_.path() / "dicts").string();
  }
  // Opens the wired window whose folder dialog answers with chosen_.
  TMorvaForm& OpenWithFolder() {
    MorvaWindowOptions options;
    options.chooseFolder = [this](const QString&) {
      return std::optional<QString>(QString::fromStdString(chosen_));
    };
    return OpenWired(std::move(options));
  }
  QLabel* Hint() { return Child<QLabel>("FirstStartHint"); }
  std::string Grp() { return ReadFile(SettingsDir() / kGroupFileName); }
  std::vector<std::string> BarTitles() {
    std::vector<std::string> titles;
    for (const BookBarEntry& e : Form().Bar())
      if (!e.IsSeparator()) titles.push_back(SjisToUtf8(e.title));
    return titles;
  }
  std::string OpenTitle() {
    const int book = Form().CurrentBook();
    return book < 0 ? std::string() : SjisToUtf8(Form().Bar()[static_cast<size_t>(book)].title);
  }
  std::string chosen_;
};

// With no book the pane tells how to add books while searching and 後退 stay
// usable; the folder's two volumes within reach join a new group named after
// the folder, saved with a backup of the file as it was, and the hint goes.
TEST_F(FirstStartTest, HintUntilFolderAddsBooksToANewGroup) {
  const std::string tree = chosen_ = MakeTree();
  WriteIni("[Options]\nBook=-1\n");
  WriteGroup("他", {{"別の本", MakeBook("other", "別の本", Many("うま", 1))}});
  const std::string before = Grp();
  TMorvaForm& form = OpenWithFolder();
  ASSERT_TRUE(Hint()->isVisible());
  SearchWired("ねこ");
  EXPECT_EQ(form.wordlist().Count(), 0);
  EXPECT_TRUE(Child<QPushButton>("ButtonBack")->isVisible());

  Act("OpenFolder")->trigger();
  EXPECT_TRUE(reporter_.boxes().empty()) << reporter_.Last(RecordedBox::kWarning);
  EXPECT_EQ(SjisToUtf8(form.settings().group), "dicts");
  EXPECT_EQ(BarTitles(), (std::vector<std::string>{"下の本", "上の本"}));
  EXPECT_EQ(OpenTitle(), "下の本");
  EXPECT_FALSE(Hint()->isVisible());
  EXPECT_EQ(ReadFile(SettingsDir() / kGroupBackupName), before);
  const std::string grp = SjisToUtf8(Grp());
  EXPECT_TRUE(grp.starts_with(SjisToUtf8(before) + "[dicts]")) << grp;
  EXPECT_NE(grp.find(tree + "/sub/deep,1,"), std::string::npos) << grp;
  EXPECT_EQ(grp.find("遠い本"), std::string::npos) << grp;
  EXPECT_EQ(Child<QMenu>("MenuGroup")->actions().size(), 4);  // 編集, separator, 他, dicts
  SearchWired("いぬ");
  EXPECT_EQ(form.wordlist().Count(), 1);

  // The same folder again adds nothing and leaves the file alone.
  const std::string saved = Grp();
  Act("OpenFolder")->trigger();
  EXPECT_EQ(Grp(), saved);
  EXPECT_EQ(BarTitles().size(), 2u);
}

// The open group gets the books after its own; the first found one opens. A
// folder without a volume warns and changes nothing.
TEST_F(FirstStartTest, FolderJoinsTheOpenGroupAndEmptyFolderChangesNothing) {
  const std::string tree = MakeTree();
  UseBooks({{"別の本", MakeBook("other", "別の本", Many("うま", 1))}});
  fs::create_directories(dir_.path() / "empty" / "a" / "b");
  const std::string empty = chosen_ = (dir_.path() / "empty").string();
  TMorvaForm& form = OpenWithFolder();
  EXPECT_FALSE(Hint()->isVisible());
  const std::string before = Grp();

  Act("OpenFolder")->trigger();
  EXPECT_EQ(reporter_.Count(RecordedBox::kWarning), 1);
  EXPECT_NE(reporter_.Last(RecordedBox::kWarning).find(empty), std::string::npos);
  EXPECT_EQ(Grp(), before);
  EXPECT_FALSE(fs::exists(SettingsDir() / kGroupBackupName));
  EXPECT_EQ(BarTitles(), (std::vector<std::string>{"別の本"}));

  chosen_ = tree;
  Act("OpenFolder")->trigger();
  EXPECT_EQ(SjisToUtf8(form.settings().group), "G");
  EXPECT_EQ(BarTitles(), (std::vector<std::string>{"別の本", "下の本", "上の本"}));
  EXPECT_EQ(OpenTitle(), "下の本");
  EXPECT_EQ(ReadFile(SettingsDir() / kGroupBackupName), before);
}

// A folder dragged from a file manager and dropped on the window.
TEST_F(FirstStartTest, DroppedFolderAddsItsBooks) {
  const std::string tree = MakeTree();
  WriteIni("[Options]\nBook=-1\n");
  TMorvaForm& form = OpenWired();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(tree))});
  const QPoint at = form.rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &drop);
  EXPECT_EQ(BarTitles().size(), 2u);
  EXPECT_EQ(OpenTitle(), "下の本");

  // A file is not taken.
  WriteFile(dir_.path() / "note.txt", "x");
  QMimeData file;
  file.setUrls({QUrl::fromLocalFile(QString::fromStdString((dir_.path() / "note.txt").string()))});
  QDragEnterEvent fileEnter(at, Qt::CopyAction, &file, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &fileEnter);
  EXPECT_FALSE(fileEnter.isAccepted());
}

}  // namespace
}  // namespace morva::testing
