// The group file: saving with the backup, the editor's table and opening a
// group.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/groups/group_table.h"
#include "app/groups/open_group.h"
#include "engine/book/group_file.h"
#include "engine/book/text_utils.h"
#include "platform/atomic_file.h"
#include "tests/support/kill_harness.h"
#include "tests/support/test_dirs.h"

namespace morva {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::string S(std::string_view utf8) { return Sjis(utf8); }

// Three groups, a comment line before the first.
std::string ThreeGroups() {
  return S(
      "; my groups\n"
      "[英和]\n"
      "英和辞典,,,/cd/eiwa,1,,0000FF,英和,yes\n"
      "\n"
      "和英辞典,,,/cd/waei,2,,00FF00,和英,no\n"
      "[国語]\n"
      "国語辞典,,,/cd/kokugo,1,,FF0000,国語,yes\n"
      "[英和]\n"
      "別の英和,,,/cd/other,3,,FFFFFF,別,yes\n");
}

class SaveGroupTest : public ::testing::Test {
 protected:
  std::string Grp() const { return GroupFilePath(dir_.str() + "/"); }
  std::string Bak() const { return GroupBackupPath(dir_.str() + "/"); }
  GroupTable TableOf(int index) const {
    GroupTable t;
    t.Load(FindGroup(Grp(), "", index)->lines);
    return t;
  }
  TempDir dir_;
};

TEST_F(SaveGroupTest, SavingAnUnchangedGroupReproducesTheFile) {
  WriteFile(Grp(), ThreeGroups());
  for (int index = 0; index < 3; ++index) {
    ASSERT_TRUE(SaveGroup(Grp(), Bak(), index, FindGroup(Grp(), "", index)->name, TableOf(index)));
    EXPECT_EQ(ReadFile(Grp()), ThreeGroups()) << index;
  }
  // An empty table drops the group.
  ASSERT_TRUE(SaveGroup(Grp(), Bak(), 1, "gone", GroupTable{}));
  EXPECT_EQ(GroupNames(Grp()), (std::vector<std::string>{S("英和"), S("英和")}));
}

TEST_F(SaveGroupTest, WhenNoBackupCanBeMadeTheFileIsLeftAlone) {
  WriteFile(Grp(), ThreeGroups());
  std::filesystem::create_directory(Bak());
  WriteFile(Bak() + "/occupied", "x");  // a backup path that cannot be replaced
  EXPECT_FALSE(SaveGroup(Grp(), Bak(), 0, "x", GroupTable{}));
  EXPECT_EQ(ReadFile(Grp()), ThreeGroups());
}

// What the backup holds after a save, by the state of the group file before
// it: only a file with content is ever copied over the backup.
TEST_F(SaveGroupTest, TheBackupIsOnlyReplacedByAGoodFile) {
  GroupTable t;
  t.Add({"New", "/new", 1});
  const struct {
    const char* state;
    std::function<void()> make;
    bool saved;
    std::string backup;
  } cases[] = {
      {"good", [&] { WriteFile(Grp(), ThreeGroups()); }, true, ThreeGroups()},
      {"missing", [] {}, true, "older"},
      {"empty", [&] { WriteFile(Grp(), ""); }, true, "older"},
      {"unreadable", [&] { std::filesystem::create_directory(Grp()); }, false, "older"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(Grp());
    WriteFile(Bak(), "older");
    c.make();
    std::error_code error;
    EXPECT_EQ(SaveGroup(Grp(), Bak(), 0, "g", t, &error), c.saved) << c.state;
    EXPECT_EQ(static_cast<bool>(error), !c.saved) << c.state;
    EXPECT_EQ(ReadFile(Bak()), c.backup) << c.state;
    if (c.saved) {
      EXPECT_NE(ReadFile(Grp()).find("[g]\nNew,,,/new,1,,0000FF,New,yes\n"), std::string::npos)
          << c.state;
    }
  }
  EXPECT_TRUE(std::filesystem::is_directory(Grp()));  // a file it could not read stays
}

// A full disk: writes beyond the limit fail. Whether the backup or the new
// file is the one that does not fit, saving again and again keeps the groups
// in the file and the previous good file in the backup.
TEST_F(SaveGroupTest, OnAFullDiskNeitherFileLosesTheGroups) {
  WriteFile(Grp(), ThreeGroups());
  GroupTable bigger = TableOf(0);
  bigger.Add({"More", "/more", 1});
  for (const rlim_t limit : {rlim_t{0}, rlim_t{64}, rlim_t{ThreeGroups().size()}}) {
    WriteFile(Grp(), ThreeGroups());
    WriteFile(Bak(), "older");
    for (int retry = 0; retry < 2; ++retry) {
      EXPECT_FALSE(testing::WorkWithFileSizeLimit(limit, [&] {
        return SaveGroup(Grp(), Bak(), 0, S("英和"), bigger);
      })) << limit;
      EXPECT_EQ(ReadFile(Grp()), ThreeGroups()) << limit;
      const std::string backup = ReadFile(Bak());
      EXPECT_TRUE(backup == "older" || backup == ThreeGroups()) << limit << backup;
    }
  }
  EXPECT_EQ(ReadFile(Bak()), ThreeGroups());  // the backup fitted, the new file did not
}

// Killed at any moment of a save, the group file holds all 30 groups, and so
// does the backup; what is left of the unfinished files is cleared away.
TEST_F(SaveGroupTest, KilledWhileSavingNoGroupIsLost) {
  std::string file;
  for (int g = 0; g < 30; ++g)
    file += "[g" + std::to_string(g) + "]\nA,,,/a,1,,0000FF,A,yes\nB,,,/b,2,,00FF00,B,no\n";
  WriteFile(Grp(), file);
  auto intact = [](const std::string& path) {
    const std::vector<GroupFileLine> lines = ReadGroupFileLines(path);
    if (GroupNames(lines).size() != 30) return false;
    for (int g = 0; g < 30; ++g)
      if (FindGroup(lines, "", g)->lines.size() != 2) return false;
    return true;
  };
  int saves = 0;
  testing::KillWhileWorking(
      200,
      [&] {
        // Each save changes a group's colour, so that every save writes
        // something new.
        const int index = saves++ % 30;
        GroupTable t = TableOf(index);
        t.Cell(1, GroupTable::kColour) = FormatGroupColour(static_cast<uint32_t>(saves));
        SaveGroup(Grp(), Bak(), index, "g" + std::to_string(index), t);
      },
      [&](int kill) {
        EXPECT_TRUE(intact(Grp())) << "after kill " << kill;
        EXPECT_TRUE(intact(Bak())) << "after kill " << kill;
      });
  RemoveStaleTemporaryFiles(dir_.str());  // leaves the two files checked above
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 2);
}

TEST(GroupTableTest, RowsFillMoveAndWriteSeparatorsUpToTheLastUsedRow) {
  GroupTable t;
  for (int i = 1; i < GroupTable::kRows; ++i)
    ASSERT_EQ(t.Add({S("英和辞典") + std::to_string(i), "/cd", i}), i);
  EXPECT_EQ(t.Cell(1, GroupTable::kShortName), S("英和"));  // 5 bytes: two characters
  EXPECT_EQ(t.Add({"extra", "/d", 1}), 0);                  // full
  EXPECT_FALSE(t.MoveDown(99));
  EXPECT_TRUE(t.MoveDown(98));
  EXPECT_EQ(t.Cell(99, GroupTable::kTitle), S("英和辞典98"));
  t.Delete(1);
  EXPECT_EQ(t.Cell(1, GroupTable::kTitle), S("英和辞典2"));
  EXPECT_EQ(t.LastUsedRow(), 98);
  t.Load(SplitGroupFileLines("\nA,x,y,/a,1,u,FF,A,no\n\n\n"));
  EXPECT_EQ(t.Cell(2, GroupTable::kHotKey), "x,y");
  EXPECT_EQ(t.SectionLines(), (std::vector<std::string>{"", "A,x,y,/a,1,u,FF,A,no"}));
}

// OpenGroup over a recording host.
struct FakeGroupHost : GroupHost {
  BookBar bar{BookBarEntry{}, BookBarEntry{"old", "/old", "", 0}};
  std::string group = "before";
  int book = 1;
  int opened = -9;
  std::vector<DicMenuItem> menu{{1, "old"}};
  BookBar& Bar() override { return bar; }
  std::string& GroupSetting() override { return group; }
  int BookToOpen() const override { return book; }
  void ResetVolumes() override {}
  void FillDicMenu(const std::vector<DicMenuItem>& items) override { menu = items; }
  void CheckGroupMenuItem(int) override {}
  void LayoutBar() override {}
  void OpenBookOnIndexTab(int entry) override { opened = entry; }
  void RefreshLayout() override {}
  void SetTitle() override {}
};

// The first group of the name goes into the bar and the menu. The Book
// setting is a place in the bar: a place where the loaded group has no book
// (it belonged to the group open before) opens the group's first (英和:
// separator, book, separator, book). An unknown group leaves the bar and
// empties the group name; a book is opened all the same.
TEST(OpenGroupTest, LoadsTheGroupAndOpensABookOfIt) {
  TempDir dir;
  const std::string grp = (dir / "MORVA.GRP").string();
  WriteFile(grp, ThreeGroups());
  const std::pair<int, int> bookAndOpened[] = {{1, 1}, {3, 3}, {-1, -1}, {2, 1}, {7, 1}};
  for (const auto& [book, opened] : bookAndOpened) {
    FakeGroupHost host;
    host.book = book;
    ASSERT_TRUE(OpenGroup(host, grp, S("英和")));
    EXPECT_EQ(host.opened, opened) << book;
    EXPECT_EQ(host.group, S("英和"));
    ASSERT_EQ(std::make_pair(host.bar.size(), host.menu.size()), std::make_pair(4ul, 2ul));
    EXPECT_EQ(host.bar[3].location + host.menu[0].title, "/cd/waei" + S("英和辞典"));
  }
  FakeGroupHost unknown;
  EXPECT_FALSE(OpenGroup(unknown, grp, "missing"));
  EXPECT_EQ(unknown.group, "");
  EXPECT_EQ(std::make_pair(unknown.bar.size(), unknown.menu.size()), std::make_pair(2ul, 1ul));
  EXPECT_EQ(unknown.opened, 1);
}

}  // namespace
}  // namespace morva
