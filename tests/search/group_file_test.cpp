// Reading book groups from the group file's text.
#include <gtest/gtest.h>

#include "engine/book/group_file.h"
#include "tests/search/search_test_support.h"

namespace morva {
namespace {

using testing::S;

const std::string kFile = S(
    "; carried along\r\n"
    "[辞書]\r\n"
    "広辞苑,,,/cd/koji,1,,0000FF,広辞,yes\r\n"
    "英和,,,cd\\eiwa,2,ユーザー,ff00,英和大辞典,no\r\n"
    "\r\n"
    "和英,,,/cd/waei,1,,FFFFFF,和英,yes\r\n"
    "[空]\r\n"
    "[辞書]\r\n"
    "二番目,,,/x,1,,0,二,yes\r\n");

TEST(GroupFileTest, NamesInFileOrder) {
  EXPECT_EQ(GroupNamesOfText(kFile), (std::vector<std::string>{S("辞書"), S("空"), S("辞書")}));
  EXPECT_TRUE(GroupNamesOfText("").empty());
}

TEST(GroupFileTest, TheFirstSectionOfANameBecomesTheBookBar) {
  const std::optional<BookBar> bar = GroupBarOfText(kFile, S("辞書"));
  ASSERT_TRUE(bar);
  ASSERT_EQ(bar->size(), 5u);
  EXPECT_TRUE((*bar)[0].IsSeparator());  // the group header
  const BookBarEntry& first = (*bar)[1];
  EXPECT_EQ(first.location, "/cd/koji");
  EXPECT_EQ(first.subbook, 0);
  EXPECT_EQ(first.colour, 0xFFu);  // red
  EXPECT_EQ(first.shortName, S("広辞"));
  EXPECT_TRUE(first.mark);
  const BookBarEntry& second = (*bar)[2];
  EXPECT_EQ(second.location, "cd\\eiwa");
  EXPECT_EQ(second.subbook, 1);
  EXPECT_EQ(second.userTitle, S("ユーザー"));
  EXPECT_EQ(second.colour, 0xFF00u);
  EXPECT_EQ(second.shortName, S("英和大"));  // at most 6 bytes, whole characters
  EXPECT_FALSE(second.mark);
  EXPECT_TRUE((*bar)[3].IsSeparator());  // the empty line
  EXPECT_EQ((*bar)[3].subbook, -1);
  EXPECT_EQ((*bar)[4].shortName, S("和英"));
}

TEST(GroupFileTest, MissingAndEmptyGroups) {
  EXPECT_FALSE(GroupBarOfText(kFile, S("無い")));
  EXPECT_FALSE(GroupBarOfText(kFile, S("[辞書")));
  const std::optional<BookBar> empty = GroupBarOfText(kFile, S("空"));
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->size(), 1u);
}

TEST(GroupFileTest, OddLines) {
  // A line of fewer fields, and one longer than the line reader takes.
  EXPECT_EQ(GroupBarEntryOfLine("t,,,/p").subbook, -1);
  EXPECT_TRUE(GroupBarEntryOfLine("t,,,/p").IsSeparator());
  const std::string longLine = "t,,,/" + std::string(400, 'p') + ",1,,0,n,yes";
  const std::optional<BookBar> bar = GroupBarOfText("[g]\n" + longLine + "\n", "g");
  ASSERT_TRUE(bar);
  EXPECT_EQ(bar->size(), 3u);  // the rest of the line is read as a line of its own
  EXPECT_EQ((*bar)[1].location.size(), 259u);
}

}  // namespace
}  // namespace morva
