// Drive search with its dialog: the dialog's controls and the command.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/drive_search/drive_search_command.h"
#include "app/drive_search/tdrive_search.h"
#include "app/settings/settings.h"
#include "tests/app/drive_books.h"

namespace morva {
namespace {

using testing::DriveWalkTest;

TEST_F(DriveWalkTest, CommandWithoutDialogWarnsThenShowsTheDialogWhenNothingIsFound) {
  Settings settings;
  settings.searchDialog = false;
  settings.searchRoots = (dir_ / "empty").string();
  settings.searchDepth = 0;
  int dialogs = 0;
  int refills = 0;
  std::vector<DicMenuItem> menu;
  auto refilled = [&](const std::vector<DicMenuItem>& items) {
    ++refills;
    menu = items;
  };
  auto showDialog = [&](DriveSearchChoice* choice) {
    ++dialogs;
    EXPECT_EQ(choice->roots, (dir_ / "empty").string());
    EXPECT_FALSE(choice->showDialog);
    choice->roots = Root().string();
    choice->depth = 1;
    choice->showDialog = true;
    return true;
  };
  EXPECT_TRUE(DriveSearchCommand(disk_, bar_, settings, nullptr, refilled, showDialog));
  EXPECT_EQ(dialogs, 1);
  ASSERT_EQ(reporter_.Count(testing::RecordedBox::kWarning), 1);
  EXPECT_EQ(
      reporter_.Last(testing::RecordedBox::kWarning),
      "辞書が見つかりません．辞書をﾊｰﾄﾞﾃﾞｨｽｸにｺﾋﾟｰしているときは，「深さ」を調節してください．");
  EXPECT_EQ(settings.searchRoots, Root().string());
  EXPECT_EQ(settings.searchDepth, 1);
  EXPECT_TRUE(settings.searchDialog);
  EXPECT_EQ(refills, 2);
  EXPECT_EQ(bar_.size(), 6u);
  EXPECT_EQ(menu.size(), 3u);

  // Cancelling the dialog changes nothing.
  EXPECT_FALSE(DriveSearchCommand(disk_, bar_, settings, nullptr, refilled,
                                  [](DriveSearchChoice*) { return false; }));
  EXPECT_EQ(refills, 2);
  EXPECT_EQ(bar_.size(), 6u);

  // At start-up: the bar and the menu only, never a box.
  BookBar startup;
  disk_.SetBookList(&startup);
  settings.searchRoots = (dir_ / "empty").string();
  StartupDriveSearch(disk_, startup, settings, nullptr,
                     [&](const std::vector<DicMenuItem>& items) { menu = items; });
  EXPECT_TRUE(startup.empty());
  EXPECT_TRUE(menu.empty());
  EXPECT_EQ(reporter_.Count(testing::RecordedBox::kWarning), 1);
  EXPECT_EQ(dialogs, 1);
  disk_.SetBookList(&bar_);
}

TEST(DriveSearchDialog, FillsAndReadsItsControls) {
  TDriveSearch dialog;
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("ﾄﾞﾗｲﾌﾞをｻｰﾁする"));
  dialog.Fill({kSearchRootsDefault, 2, true});
  auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("SearchDrive"));
  auto* depth = dialog.findChild<QLineEdit*>(QStringLiteral("Depth"));
  auto* notShow = dialog.findChild<QCheckBox*>(QStringLiteral("NotShow"));
  ASSERT_TRUE(edit && depth && notShow);
  EXPECT_TRUE(edit->text().isEmpty());
  EXPECT_EQ(depth->text(), QStringLiteral("2"));
  EXPECT_FALSE(notShow->isChecked());
  DriveSearchChoice c = dialog.Result();
  EXPECT_EQ(c.roots, kSearchRootsDefault);

  // Typing roots chooses the second item; a depth that is no number is 0.
  edit->setFocus();
  edit->setText(QStringLiteral("~/dict;/media/cdrom"));
  emit edit->textEdited(edit->text());
  depth->setText(QStringLiteral("x"));
  notShow->setChecked(true);
  c = dialog.Result();
  EXPECT_EQ(c.roots, "~/dict;/media/cdrom");
  EXPECT_EQ(c.depth, 0);
  EXPECT_FALSE(c.showDialog);

  dialog.Fill({"/mnt/books", 3, false});
  EXPECT_EQ(edit->text(), QStringLiteral("/mnt/books"));
  EXPECT_TRUE(notShow->isChecked());
  const QString memo = dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
  EXPECT_TRUE(memo.contains(QStringLiteral("/run/media")));
  EXPECT_TRUE(memo.contains(QString::fromUtf8("「深さ」")));
}

}  // namespace
}  // namespace morva
