#include "engine/book/file_lookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "tests/support/recording_reporter.h"
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
  WriteFile(dir / "catalogs", "lower");  // the exact name wins over another case
  EXPECT_EQ(FindPathNoCase(dir.str() + "/catalogs"), dir.str() + "/catalogs");
  EXPECT_EQ(FindPathNoCase(dir.str() + "/CATALOGS"), dir.str() + "/CATALOGS");
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

TEST(FileLookupTest, RelativeNamesLieBesideTheBaseFileAndDriveReadyProbesListableRoots) {
  EXPECT_EQ(ResolveRelativeName("extra.dat", "/home/u/.config/morva/MORVA.DAT"),
            "/home/u/.config/morva/extra.dat");
  EXPECT_EQ(ResolveRelativeName("D:\\x.dat", "/a/MORVA.DAT"), "D:\\x.dat");
  EXPECT_EQ(ResolveRelativeName("/abs/x.dat", "/a/MORVA.DAT"), "/abs/x.dat");
  EXPECT_EQ(ResolveRelativeName("x.dat", "MORVA.DAT"), "x.dat");
  EXPECT_EQ(Trim("\tx "), "\tx");  // spaces only
  TempDir dir;
  EXPECT_TRUE(TDisk::DriveReady(dir.str() + "/"));
  EXPECT_FALSE(TDisk::DriveReady(dir.str() + "/absent/"));
}

TEST(FileLookupTest, TDiskOwnsTwoDistinctTemporaryFilesUntilItEnds) {
  testing::RecordingReporter reporter;
  std::string a, b;
  {
    TDisk disk(reporter);
    a = disk.MarkedTextPath();
    b = disk.GaijiCachePath();
    EXPECT_NE(a, b);
    EXPECT_EQ(std::filesystem::path(a).filename().string().rfind("Mrv", 0), 0u);
    EXPECT_EQ(std::filesystem::file_size(a), 0u);
    EXPECT_TRUE(std::filesystem::exists(b));
  }
  EXPECT_FALSE(std::filesystem::exists(a));
  EXPECT_FALSE(std::filesystem::exists(b));
}

}  // namespace
}  // namespace morva
