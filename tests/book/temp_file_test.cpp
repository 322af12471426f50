#include "engine/book/temp_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/book/tdisk.h"
#include "tests/support/recording_reporter.h"

namespace morva {
namespace {

TEST(TempFileTest, IsCreatedEmptyWithPrefixAndRemoved) {
  std::string path;
  {
    TempFile f;
    path = f.Path();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::filesystem::path(path).filename().string().rfind("Mrv", 0), 0u);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(TempFileTest, TDiskOwnsTwoDistinctFiles) {
  testing::RecordingReporter reporter;
  std::string a, b;
  {
    TDisk disk(reporter);
    a = disk.MarkedTextPath();
    b = disk.GaijiCachePath();
    EXPECT_NE(a, b);
    EXPECT_TRUE(std::filesystem::exists(a));
    EXPECT_TRUE(std::filesystem::exists(b));
  }
  EXPECT_FALSE(std::filesystem::exists(a));
  EXPECT_FALSE(std::filesystem::exists(b));
}

}  // namespace
}  // namespace morva
