// Drive search with its dialog: the command and the dialog's controls.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>

#include "app/drive_search/drive_search_command.h"
#include "app/drive_search/tdrive_search.h"
#include "app/settings/settings.h"
#include "tests/app/drive_books.h"

namespace morva {
namespace {

using testing::DriveWalkTest;

// Without the dialog a search that finds nothing warns and then shows the
// dialog, whose choice is kept; cancelling it changes nothing; at start-up
// nothing found fills nothing and shows no box.
TEST_F(DriveWalkTest, CommandWithoutDialogWarnsThenShowsTheDialogWhenNothingIsFound) {
  Settings settings;
  settings.searchDialog = false;
  settings.searchRoots = (dir_ / "empty").string();
  settings.searchDepth = 0;
  int dialogs = 0;
  std::vector<DicMenuItem> menu;
  auto refilled = [&](const std::vector<DicMenuItem>& items) { menu = items; };
  auto showDialog = [&](DriveSearchChoice* choice) {
    ++dialogs;
    EXPECT_EQ(choice->roots, (dir_ / "empty").string());
    *choice = {Root().string(), 1, true};
    return true;
  };
  EXPECT_TRUE(DriveSearchCommand(disk_, bar_, settings, nullptr, refilled, showDialog));
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(
      reporter_.Last(testing::RecordedBox::kWarning),
      "辞書が見つかりません．辞書をﾊｰﾄﾞﾃﾞｨｽｸにｺﾋﾟｰしているときは，「深さ」を調節してください．");
  EXPECT_EQ(settings.searchRoots, Root().string());
  EXPECT_EQ(settings.searchDepth, 1);
  EXPECT_TRUE(settings.searchDialog);
  EXPECT_EQ(bar_.size(), 6u);
  EXPECT_EQ(menu.size(), 3u);
  EXPECT_FALSE(DriveSearchCommand(disk_, bar_, settings, nullptr, refilled,
                                  [](DriveSearchChoice*) { return false; }));
  EXPECT_EQ(bar_.size(), 6u);

  BookBar startup;
  disk_.SetBookList(&startup);
  settings.searchRoots = (dir_ / "empty").string();
  StartupDriveSearch(disk_, startup, settings, nullptr, refilled);
  EXPECT_TRUE(startup.empty());
  EXPECT_TRUE(menu.empty());
  EXPECT_EQ(reporter_.Count(testing::RecordedBox::kWarning), 1);
  disk_.SetBookList(&bar_);
}

TEST(DriveSearchDialog, FillsAndReadsItsControls) {
  TDriveSearch dialog;
  dialog.Fill({kSearchRootsDefault, 2, true});
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("SearchDrive"));
  auto* depth = dialog.findChild<QLineEdit*>(QStringLiteral("Depth"));
  auto* notShow = dialog.findChild<QCheckBox*>(QStringLiteral("NotShow"));
  EXPECT_TRUE(edit->text().isEmpty());
  EXPECT_EQ(depth->text(), QStringLiteral("2"));
  EXPECT_EQ(dialog.Result().roots, kSearchRootsDefault);
  // Typing roots chooses the second item; a depth that is no number is 0.
  edit->setFocus();
  edit->setText(QStringLiteral("~/dict;/media/cdrom"));
  emit edit->textEdited(edit->text());
  depth->setText(QStringLiteral("x"));
  notShow->setChecked(true);
  const DriveSearchChoice c = dialog.Result();
  EXPECT_EQ(c.roots, "~/dict;/media/cdrom");
  EXPECT_EQ(c.depth, 0);
  EXPECT_FALSE(c.showDialog);
}

}  // namespace
}  // namespace morva
