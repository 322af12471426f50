// Drive search: the drive list, the search roots, the walk with its depth,
// "." and stream rules, the book bar it builds, the dialog and the command.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "app/drive_search/drive_list.h"
#include "app/drive_search/drive_search_command.h"
#include "app/drive_search/drive_walk.h"
#include "app/drive_search/tdrive_search.h"
#include "app/settings/settings.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/text/unicode.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/index_page.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/subbook_pages.h"
#include "tools/mkbook/volume.h"

namespace morva {
namespace {

namespace fs = std::filesystem;

// ---- Drive list and roots ------------------------------------------------------

TEST(DriveList, LettersAndRanges) {
  DriveFlags f = ParseDriveList("ef-d");
  EXPECT_EQ(f.count, 1);
  EXPECT_TRUE(f.drive[4]);
  f = ParseDriveList("D-F");
  EXPECT_EQ(f.count, 3);
  EXPECT_TRUE(f.drive[3] && f.drive[4] && f.drive[5]);
  EXPECT_EQ(ParseDriveList("A-Z").count, 26);
  f = ParseDriveList("EH-K");
  EXPECT_EQ(f.count, 5);
  EXPECT_TRUE(f.drive[4] && f.drive[7] && f.drive[10]);
  EXPECT_EQ(ParseDriveList("1;:-").count, 0);
  EXPECT_EQ(ParseDriveList("c-").count, 1);
}

TEST(DriveList, SearchRootsResolveHomeAndDropRepeats) {
  EXPECT_EQ(ParseSearchRoots("~;/media; /mnt/ ;;/media;~/dict", "/home/u"),
            (std::vector<std::string>{"/home/u", "/media", "/mnt", "/home/u/dict"}));
  EXPECT_EQ(ParseSearchRoots("/", "/h"), (std::vector<std::string>{"/"}));
  EXPECT_TRUE(ParseSearchRoots("", "/h").empty());
}

TEST(DriveList, FoundBookColours) {
  EXPECT_EQ(FoundBookColor(0), MakeColor(255, 0, 0));
  EXPECT_EQ(FoundBookColor(1), MakeColor(0, 255, 0));
  EXPECT_EQ(FoundBookColor(2), MakeColor(255, 255, 0));
  EXPECT_EQ(FoundBookColor(3), MakeColor(0, 128, 0));
  EXPECT_EQ(FoundBookColor(4), MakeColor(0, 0, 255));
  EXPECT_EQ(FoundBookColor(5), MakeColor(128, 0, 128));
  EXPECT_EQ(FoundBookColor(6), MakeColor(255, 255, 255));
  EXPECT_EQ(FoundBookColor(7), MakeColor(255, 255, 255));
}

// ---- The walk ----------------------------------------------------------------------

mkbook::Subbook MakeSubbook(const std::string& titleUtf8, const std::string& directory) {
  mkbook::SubbookPages pages;
  mkbook::BodyText body({pages.NextFreePage(), 0});
  body.Indent(1).Headword("あ").Text("本文").Newline();
  pages.AddSection(mkbook::index_code::kBody, body.Bytes());
  mkbook::Subbook s;
  s.record.title = mkbook::JisFromUtf8(titleUtf8);
  s.record.directory = directory;
  s.body = pages.Build();
  return s;
}

void WriteVolume(const fs::path& at, const std::vector<std::pair<std::string, std::string>>& books) {
  mkbook::Volume v(mkbook::CatalogLayout::kCatalogs);
  for (const auto& [title, directory] : books) v.AddSubbook(MakeSubbook(title, directory));
  v.WriteTo(at);
}

// Books at depths 0 to 3 below the root, a volume with a sound-only sub-book,
// and volumes in and under directories whose names hold a ".".
class DriveWalkTest : public ::testing::Test {
 protected:
  DriveWalkTest() {
    const fs::path r = Root();
    WriteVolume(r, {{"深さ零の辞書", "zero"}});
    WriteVolume(r / "a", {{"深さ一", "one"}});
    WriteVolume(r / "b" / "c", {{"深さ二", "two"}});
    WriteVolume(r / "d" / "e" / "f", {{"深さ三", "three"}});
    WriteVolume(r / "s", {{"本体", "main"}, {"音声", "snd"}});
    fs::create_directories(r / "s" / "snd" / "stream");
    WriteVolume(r / "x.d", {{"点", "dot"}});
    WriteVolume(r / "y.d" / "z", {{"点の下", "under"}});
    disk_.SetBookList(&bar_);
  }

  fs::path Root() const { return dir_ / "root"; }

  std::vector<std::string> Titles(const DriveSearchResult& r) const {
    std::vector<std::string> out;
    for (const BookBarEntry& e : r.bar) out.push_back(e.IsSeparator() ? "|" : SjisToUtf8(e.shortName));
    return out;
  }

  testing::TempDir dir_;
  testing::RecordingReporter reporter_;
  BookBar bar_;
  TDisk disk_{reporter_};
};

TEST_F(DriveWalkTest, DepthZeroProbesTheRootOnly) {
  const DriveSearchResult r = SearchDrives(disk_, Root().string(), 0, nullptr);
  EXPECT_EQ(Titles(r), (std::vector<std::string>{"|", "深さ零"}));
  ASSERT_EQ(r.menu.size(), 1u);
  EXPECT_EQ(r.menu[0].entry, 1);
  EXPECT_EQ(SjisToUtf8(r.menu[0].title), "深さ零の辞書");
  const BookBarEntry& e = r.bar[1];
  EXPECT_EQ(e.location, Root().string());
  EXPECT_EQ(e.subbook, 0);
  EXPECT_TRUE(e.mark);
  EXPECT_TRUE(e.userTitle.empty());
  EXPECT_EQ(e.colour, FoundBookColor(0));
}

TEST_F(DriveWalkTest, SubdirectoriesComeBeforeTheirParentAndDotsAreNotProbed) {
  DriveSearchResult r = SearchDrives(disk_, Root().string(), 1, nullptr);
  EXPECT_EQ(Titles(r), (std::vector<std::string>{"|", "深さ一", "|", "本体", "|", "深さ零"}));
  r = SearchDrives(disk_, Root().string(), 3, nullptr);
  EXPECT_EQ(Titles(r), (std::vector<std::string>{"|", "深さ一", "|", "深さ二", "|", "深さ三", "|", "本体", "|", "深さ零"}));
  // The sound-only sub-book is skipped, its volume's first book kept.
  EXPECT_EQ(r.bar[7].subbook, 0);
  for (int i = 0; i < r.BookCount(); ++i) EXPECT_EQ(r.bar[static_cast<size_t>(r.menu[static_cast<size_t>(i)].entry)].colour, FoundBookColor(i));
}

TEST_F(DriveWalkTest, LinksAndFifosNeitherRepeatNorHangTheWalk) {
  // Two links to the root double the paths at every level, a link to a
  // volume would list it twice, and a FIFO named like a catalog would wait
  // for a writer for ever.
  fs::create_directory_symlink(".", Root() / "loop1");
  fs::create_directory_symlink(".", Root() / "loop2");
  fs::create_directory_symlink("..", Root() / "a" / "up");
  fs::create_directory_symlink("a", Root() / "again");
  fs::create_directories(Root() / "fifo");
  ASSERT_EQ(::mkfifo((Root() / "fifo" / "CATALOGS").c_str(), 0600), 0);
  ::alarm(60);  // a regression ends the test run instead of hanging it
  const DriveSearchResult r = SearchDrives(disk_, Root().string(), 40, nullptr);
  ::alarm(0);
  EXPECT_EQ(Titles(r), (std::vector<std::string>{"|", "深さ一", "|", "深さ二", "|", "深さ三", "|", "本体", "|", "深さ零"}));
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(DriveWalkTest, ProgressShowsOneStepPerRootAndCancelKeepsWhatWasFound) {
  const std::string roots = Root().string() + ";" + (Root() / "a").string() + ";/nonexistent-morva-root";
  testing::RecordingProgress progress;
  DriveSearchResult r = SearchDrives(disk_, roots, 0, &progress);
  EXPECT_EQ(SjisToUtf8(progress.caption()), "ﾄﾞﾗｲﾌﾞをｻｰﾁしています");
  EXPECT_EQ(progress.maximum(), 3);
  EXPECT_FALSE(progress.open());
  EXPECT_EQ(r.BookCount(), 2);
  EXPECT_TRUE(reporter_.boxes().empty());

  testing::RecordingProgress cancelling;
  cancelling.cancelAfterSteps = 2;  // the second step cancels
  r = SearchDrives(disk_, roots, 0, &cancelling);
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(r.BookCount(), 1);
}

// ---- Command and dialog ---------------------------------------------------------------

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
  EXPECT_EQ(reporter_.Last(testing::RecordedBox::kWarning),
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
  StartupDriveSearch(disk_, startup, settings, nullptr, [&](const std::vector<DicMenuItem>& items) { menu = items; });
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
