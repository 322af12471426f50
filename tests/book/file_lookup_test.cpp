#include "engine/book/file_lookup.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string_view>

#include "engine/book/page_source.h"
#include "engine/book/tdisk.h"
#include "tests/support/test_dirs.h"

namespace morva {
namespace {

using testing::TempDir;
using testing::WriteFile;

TEST(FileLookupTest, FindsBookFilesWhateverTheirCase) {
  TempDir dir;
  WriteFile(dir / "CATALOGS", "x");
  WriteFile(dir / "SUB/DATA/HONMON", "y");
  WriteFile(dir / "cd/start;1", "z");
  WriteFile(dir / "cd2/START.", "w");

  EXPECT_EQ(FindPathNoCase(dir.str() + "/catalogs"), dir.str() + "/CATALOGS");
  EXPECT_EQ(FindPathNoCase(dir.str() + "/sub/data/honmon"), dir.str() + "/SUB/DATA/HONMON");
  EXPECT_EQ(FindPathNoCase(dir.str() + "\\SUB\\data\\Honmon"), dir.str() + "/SUB/DATA/HONMON");
  EXPECT_EQ(FindPathNoCase(dir.str() + "/CD/START"), dir.str() + "/cd/start;1");
  EXPECT_EQ(FindPathNoCase(dir.str() + "/cd2/start"), dir.str() + "/cd2/START.");
  EXPECT_FALSE(FindPathNoCase(dir.str() + "/catalog"));
  EXPECT_FALSE(FindPathNoCase(dir.str() + "/SUB/honmon"));
}

TEST(FileLookupTest, ExactNameWinsOverAnotherCase) {
  TempDir dir;
  WriteFile(dir / "honmon", "lower");
  WriteFile(dir / "HONMON", "upper");
  EXPECT_EQ(FindPathNoCase(dir.str() + "/HONMON"), dir.str() + "/HONMON");
  EXPECT_EQ(FindPathNoCase(dir.str() + "/honmon"), dir.str() + "/honmon");
}

TEST(FileLookupTest, FindFileUnderDirectoryWalksDepthFirstSkippingDotDirectories) {
  TempDir dir;
  WriteFile(dir / ".hidden/zkana.idx", "no");
  WriteFile(dir / "a/b/ZKANA.IDX", "deep");
  std::string found;
  ASSERT_TRUE(TDisk::FindFileUnderDirectory(dir.str(), "zkana.idx", &found));
  EXPECT_EQ(found, dir.str() + "/a/b/ZKANA.IDX");
  WriteFile(dir / "zkana.idx", "top");
  ASSERT_TRUE(TDisk::FindFileUnderDirectory(dir.str(), "zkana.idx", &found));
  EXPECT_EQ(found, dir.str() + "/zkana.idx");
  EXPECT_FALSE(TDisk::FindFileUnderDirectory(dir.str(), "kkana.idx", &found));
}

TEST(FileLookupTest, FindFileUnderDirectoryEntersNoDirectoryTwice) {
  TempDir dir;
  WriteFile(dir / "honmon", "index page");
  WriteFile(dir / "b/x/HONMON", "body");
  // Links back up the tree: without remembering what was entered, every
  // level would double the paths.
  for (const char* link : {"a", "c", "b/x/up"})
    std::filesystem::create_directory_symlink(".", dir / link);
  std::filesystem::create_directory_symlink("../..", dir / "b/x/top");
  std::string found;
  EXPECT_FALSE(TDisk::FindFileUnderDirectory(dir.str(), "joken.idx", &found));
  // The file passed over does not end the search.
  ASSERT_TRUE(TDisk::FindFileUnderDirectory(dir.str(), "honmon", &found, dir.str() + "/honmon"));
  EXPECT_EQ(found, dir.str() + "/b/x/HONMON");
  // Only regular files count.
  ASSERT_EQ(::mkfifo((dir / "b/menu").c_str(), 0600), 0);
  std::filesystem::create_directories(dir / "b/x/menu");
  WriteFile(dir / "b/x/z/menu", "menu");
  ASSERT_TRUE(TDisk::FindFileUnderDirectory(dir.str() + "/b", "menu", &found));
  EXPECT_EQ(found, dir.str() + "/b/x/z/menu");
}

TEST(FileLookupTest, SpecialFilesAreNotOpened) {
  TempDir dir;
  WriteFile(dir / "plain", "x");
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  ::alarm(30);  // a regression would wait for a writer for ever
  for (const char* name : {"fifo", ".", "absent"}) {
    EXPECT_EQ(OpenRegularFile((dir / name).string()), -1) << name;
    EXPECT_EQ(OpenPageSource((dir / name).string()), nullptr) << name;
    EXPECT_EQ(TDisk::FileSize((dir / name).string()), 0) << name;
    EXPECT_FALSE(IsCompressedBookFile((dir / name).string())) << name;
  }
  ::alarm(0);
  const int fd = OpenRegularFile((dir / "plain").string());
  ASSERT_GE(fd, 0);
  EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
  ::close(fd);
}

TEST(FileLookupTest, NamesThatStayInTheirDirectory) {
  for (const char* name : {"", ".", "honmon", "GAI16F", "a..b", "...", "eiwa  x"})
    EXPECT_TRUE(StaysInDirectory(name)) << name;
  using namespace std::string_view_literals;
  for (std::string_view name : {".."sv, "../x"sv, "a/b"sv, "/"sv, "..\\.."sv, "a\0b"sv})
    EXPECT_FALSE(StaysInDirectory(name)) << name;
}

TEST(FileLookupTest, DriveReadyProbesListableRootsOnly) {
  TempDir dir;
  EXPECT_TRUE(TDisk::DriveReady("\\\\server\\share\\"));
  EXPECT_TRUE(TDisk::DriveReady(dir.str() + "/"));
  EXPECT_FALSE(TDisk::DriveReady(dir.str() + "/absent/"));
  EXPECT_FALSE(TDisk::DriveReady(""));
}

}  // namespace
}  // namespace morva
