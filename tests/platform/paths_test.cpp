#include "platform/paths.h"

#include <gtest/gtest.h>

namespace morva {
namespace {

TEST(PathsTest, SettingsDirectoryFollowsXdgConfigHome) {
  EXPECT_EQ(SettingsDirectoryFor("/x/cfg", "/home/u"), "/x/cfg/morva/");
  EXPECT_EQ(SettingsDirectoryFor("/x/cfg/", "/home/u"), "/x/cfg/morva/");
  EXPECT_EQ(SettingsDirectoryFor(nullptr, "/home/u"), "/home/u/.config/morva/");
  EXPECT_EQ(SettingsDirectoryFor("", "/home/u/"), "/home/u/.config/morva/");
  // A relative XDG_CONFIG_HOME is not valid and is ignored.
  EXPECT_EQ(SettingsDirectoryFor("cfg", "/home/u"), "/home/u/.config/morva/");
  EXPECT_EQ(SettingsDirectory().back(), '/');
}

TEST(PathsTest, ResolvePutsRelativeNamesInTheSettingsDirectory) {
  const std::string dir = "/home/u/.config/morva/";
  EXPECT_EQ(ResolvePath("MORVA.DAT", dir), dir + "MORVA.DAT");
  EXPECT_EQ(ResolvePath("sub\\MORVA.DAT", dir), dir + "sub/MORVA.DAT");
  EXPECT_EQ(ResolvePath("/data/MORVA.DAT", dir), "/data/MORVA.DAT");
  EXPECT_EQ(ResolvePath("\\data\\MORVA.DAT", dir), "/data/MORVA.DAT");
  EXPECT_EQ(ResolvePath("D:\\MORVA.DAT", dir), "D:/MORVA.DAT");
  EXPECT_EQ(ResolvePath("", dir), "");
  // 表 ends in the byte of "\"; it stays a character.
  EXPECT_EQ(ResolvePath("\x95\x5c\\a.dat", dir), dir + "\x95\x5c/a.dat");
}

TEST(PathsTest, RelativeRemovesOnlyTheWholeSettingsDirectory) {
  const std::string dir = "/home/u/.config/morva/";
  EXPECT_EQ(RelativePath(dir + "MORVA.DAT", dir), "MORVA.DAT");
  EXPECT_EQ(RelativePath(dir + "sub/X.DAT", dir), "sub/X.DAT");
  EXPECT_EQ(RelativePath("/home/u/.config/morva2/X.DAT", dir), "/home/u/.config/morva2/X.DAT");
  EXPECT_EQ(RelativePath("D:\\X.DAT", dir), "D:\\X.DAT");
  EXPECT_EQ(RelativePath(ResolvePath("MORVA.$$$", dir), dir), "MORVA.$$$");
}

}  // namespace
}  // namespace morva
