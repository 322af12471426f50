// Drive search without its dialog: the drive list, the search roots and the
// walk with its depth, "." and stream rules and the book bar it builds.
#include "app/drive_search/drive_walk.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "app/drive_search/drive_list.h"
#include "app/settings/value_forms.h"
#include "tests/app/drive_books.h"

namespace morva {
namespace {

namespace fs = std::filesystem;
using testing::DriveWalkTest;

// ---- Drive list and roots ------------------------------------------------------

TEST(DriveList, SearchRootsResolveHomeAndDropRepeats) {
  EXPECT_EQ(ParseSearchRoots("~;/media; /mnt/ ;;/media;~/dict", "/home/u"),
            (std::vector<std::string>{"/home/u", "/media", "/mnt", "/home/u/dict"}));
  EXPECT_EQ(ParseSearchRoots("/", "/h"), (std::vector<std::string>{"/"}));
}

// ---- The walk ----------------------------------------------------------------------

// Every book but those in and under directories whose names hold a ".".
std::vector<std::string> AllFound() {
  return {"|", "深さ一", "|", "深さ二", "|", "深さ三", "|", "本体", "|", "深さ零"};
}

TEST_F(DriveWalkTest, SubdirectoriesComeBeforeTheirParentAndDotsAreNotProbed) {
  DriveSearchResult r = SearchDrives(disk_, Root().string(), 0, nullptr);
  EXPECT_EQ(Titles(r), (std::vector<std::string>{"|", "深さ零"}));
  ASSERT_EQ(r.menu.size(), 1u);
  EXPECT_EQ(SjisToUtf8(r.menu[0].title), "深さ零の辞書");
  EXPECT_EQ(r.bar[1].location, Root().string());
  EXPECT_TRUE(r.bar[1].mark);
  r = SearchDrives(disk_, Root().string(), 1, nullptr);
  EXPECT_EQ(Titles(r), (std::vector<std::string>{"|", "深さ一", "|", "本体", "|", "深さ零"}));
  r = SearchDrives(disk_, Root().string(), 3, nullptr);
  EXPECT_EQ(Titles(r), AllFound());
  // The sound-only sub-book is skipped, its volume's first book kept; the
  // colours run in the order found and end in white.
  EXPECT_EQ(r.bar[7].subbook, 0);
  for (int i = 0; i < r.BookCount(); ++i)
    EXPECT_EQ(r.bar[static_cast<size_t>(r.menu[static_cast<size_t>(i)].entry)].colour,
              FoundBookColor(i));
  EXPECT_EQ(FoundBookColor(0), MakeColor(255, 0, 0));
  EXPECT_EQ(FoundBookColor(6), MakeColor(255, 255, 255));
  EXPECT_EQ(FoundBookColor(40), MakeColor(255, 255, 255));
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
  EXPECT_EQ(Titles(r), AllFound());
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(DriveWalkTest, ProgressShowsOneStepPerRootAndCancelKeepsWhatWasFound) {
  const std::string roots =
      Root().string() + ";" + (Root() / "a").string() + ";/nonexistent-morva-root";
  testing::RecordingProgress progress;
  DriveSearchResult r = SearchDrives(disk_, roots, 0, &progress);
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

}  // namespace
}  // namespace morva
