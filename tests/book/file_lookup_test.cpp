#include <gtest/gtest.h>

#include "engine/book/file_lookup.h"
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

TEST(FileLookupTest, DriveReadyProbesListableRootsOnly) {
  TempDir dir;
  EXPECT_TRUE(TDisk::DriveReady("\\\\server\\share\\"));
  EXPECT_TRUE(TDisk::DriveReady(dir.str() + "/"));
  EXPECT_FALSE(TDisk::DriveReady(dir.str() + "/absent/"));
  EXPECT_FALSE(TDisk::DriveReady(""));
}

}  // namespace
}  // namespace morva
