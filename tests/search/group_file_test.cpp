// The group file's one reader (the window's and the command line's): lines,
// headers, book lines and the bar of a section.
#include "engine/book/group_file.h"

#include <gtest/gtest.h>

#include "tests/support/book_test.h"

namespace morva {
namespace {

using testing::S;

TEST(GroupFileTest, BookLinesHaveNineFieldsAndLinesAreCutAtWholeCharacters) {
  const GroupBookLine b =
      ParseGroupBookLine(S("英和辞典,k1,k2,/cd/eiwa,2,ユーザー,0000ff,英和大辞典,yes"));
  EXPECT_EQ(b.userTitle, S("ユーザー"));
  EXPECT_EQ(b.shortName, S("英和大"));  // 6 bytes, not half of 辞
  EXPECT_EQ(b.selection, "yes");
  EXPECT_EQ(ParseGroupColour(" 0x80ff"), 0x80FFu);
  EXPECT_EQ(ParseGroupColour("zz"), 0u);
  EXPECT_EQ(ParseGroupBookLine("Title").subbookNumber, 0);  // missing fields are empty
  // Long lines are read in pieces and copied back whole.
  const std::string longLine = std::string(297, 'a') + S("語語") + "b";  // 302 bytes
  const std::string contents = "[g]\r\n" + longLine + "\n";
  const std::vector<GroupFileLine> lines = SplitGroupFileLines(contents);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].text.size(), 299u);  // 297 + one whole character
  std::string copy;
  for (const GroupFileLine& l : lines) copy += l.text + l.ending;
  EXPECT_EQ(copy, contents);
}

// A section becomes the bar after a leading separator; an empty line is a
// separator, a book line without short name stays a book.
TEST(GroupFileTest, FindGroupTakesTheFirstOfTwoSameNamesAndMakesItsBar) {
  const std::vector<GroupFileLine> lines = SplitGroupFileLines(
      S("; my groups\n[英和]\n英和辞典,,,/cd/eiwa,1,,0000FF,英和,yes\n\n"
        "和英辞典,,,/cd/waei,2,,00FF00,,no\n[国語]\n国語辞典,,,/cd/kokugo,1,,FF0000,国語,yes\n"
        "[英和]\n別の英和,,,/cd/other,3,,FFFFFF,別,yes\n"));
  EXPECT_EQ(GroupNames(lines), (std::vector<std::string>{S("英和"), S("国語"), S("英和")}));
  const std::optional<GroupSection> first = FindGroup(lines, S("英和"), 0);
  ASSERT_TRUE(first);
  const LoadedGroup g = BarFromSection(*first);
  ASSERT_EQ(g.bar.size(), 4u);
  EXPECT_TRUE(g.bar[0].IsSeparator());
  EXPECT_EQ(g.bar[1].shortName, S("英和"));
  EXPECT_EQ(g.bar[1].colour, 0xFFu);
  EXPECT_TRUE(g.bar[1].mark);
  EXPECT_TRUE(g.bar[2].IsSeparator());
  EXPECT_EQ(g.bar[3].subbook, 1);
  EXPECT_EQ(g.bar[3].shortName, S("和英"));
  EXPECT_FALSE(g.bar[3].mark);
  ASSERT_EQ(g.menuTitles.size(), 2u);
  EXPECT_EQ(g.menuTitles[1].title, S("和英辞典"));
  const std::optional<GroupSection> third = FindGroup(lines, "", 2);
  ASSERT_TRUE(third);
  EXPECT_EQ(third->lines.size(), 1u);
  EXPECT_FALSE(FindGroup(lines, S("英"), 0));  // compared whole, byte for byte
  EXPECT_FALSE(FindGroup("/nonexistent/MORVA.GRP", "x", 0));
  const auto blankFirst = SplitGroupFileLines("[g]\n\nBook,,,/cd,1,,0000FF,B,yes\n");
  const LoadedGroup two = BarFromSection(*FindGroup(blankFirst, "g", 0));
  ASSERT_EQ(two.bar.size(), 3u);
  EXPECT_TRUE(two.bar[0].IsSeparator() && two.bar[1].IsSeparator());
}

// Headers as other programs and hand edits write them; the name is what
// lies between "[" and the first "]" that is a character of its own.
TEST(GroupFileTest, HeadersAreReadTheSameWayWhateverFollowsTheBracket) {
  const std::pair<const char*, const char*> cases[] = {
      {"[test] ", "test"},  // a trailing blank
      {"[test]\t; note", "test"},
      {"[test", "test"},   // no closing bracket
      {"[ゾウ]", "ゾウ"},  // ゾ ends in the byte of "]"
      {"[表示]", "表示"},  // 表 ends in the byte of "\\"
      {"[a]b]", "a"},
  };
  for (const auto& [header, name] : cases) {
    const std::string file = S(std::string(header) + "\r\nBook,,,/cd,1,,FF,B,yes\r\n");
    const std::vector<GroupFileLine> lines = SplitGroupFileLines(file);
    EXPECT_EQ(GroupNames(lines), std::vector<std::string>{S(name)}) << header;
    const std::optional<GroupSection> found = FindGroup(lines, S(name), 0);
    ASSERT_TRUE(found) << header;
    EXPECT_EQ(BarFromSection(*found).bar.size(), 2u) << header;
  }
}

}  // namespace
}  // namespace morva
