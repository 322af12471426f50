// The group file's one reader (the window's and the command line's): lines,
// headers, book lines, the bar of a section, and the text a save composes.
#include "engine/book/group_file.h"

#include <gtest/gtest.h>

#include "tests/support/book_test.h"

namespace morva {
namespace {

using testing::S;

// Three groups, a comment line before the first.
std::string ThreeGroups() {
  return S(
      "; my groups\n"
      "[英和]\n"
      "英和辞典,,,/cd/eiwa,1,,0000FF,英和,yes\n"
      "\n"
      "和英辞典,,,/cd/waei,2,,00FF00,和英,no\n"
      "[国語]\n"
      "国語辞典,,,/cd/kokugo,1,,FF0000,国語,yes\n"
      "[英和]\n"
      "別の英和,,,/cd/other,3,,FFFFFF,別,yes\n");
}

TEST(GroupFileTest, BookLinesHaveNineFieldsCutAtWholeCharacters) {
  const GroupBookLine b =
      ParseGroupBookLine(S("英和辞典,k1,k2,/cd/eiwa,2,ユーザー,0000ff,英和大辞典,yes"));
  EXPECT_EQ(b.title, S("英和辞典"));
  EXPECT_EQ(b.hotKey1, "k1");
  EXPECT_EQ(b.hotKey2, "k2");
  EXPECT_EQ(b.location, "/cd/eiwa");
  EXPECT_EQ(b.subbookNumber, 2);
  EXPECT_EQ(b.userTitle, S("ユーザー"));
  EXPECT_EQ(b.colour, 0xFFu);           // red
  EXPECT_EQ(b.shortName, S("英和大"));  // 6 bytes, not half of 辞
  EXPECT_EQ(b.selection, "yes");
  EXPECT_EQ(FormatGroupColour(0xFF), "0000FF");
  EXPECT_EQ(ParseGroupColour(" 0x80ff"), 0x80FFu);
  EXPECT_EQ(ParseGroupColour("zz"), 0u);
  // A short line leaves the missing fields empty.
  const GroupBookLine shortLine = ParseGroupBookLine("Title");
  EXPECT_EQ(shortLine.title, "Title");
  EXPECT_EQ(shortLine.location, "");
  EXPECT_EQ(shortLine.subbookNumber, 0);
}

TEST(GroupFileTest, LongLinesAreReadInPiecesAndCopiedBackWhole) {
  const std::string longLine = std::string(297, 'a') + S("語語") + "b";  // 302 bytes
  const std::string contents = "[g]\r\n" + longLine + "\n";
  const std::vector<GroupFileLine> lines = SplitGroupFileLines(contents);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].text, "[g]");
  EXPECT_EQ(lines[0].ending, "\r\n");
  EXPECT_EQ(lines[1].text.size(), 299u);  // 297 + one whole character
  EXPECT_EQ(lines[1].ending, "");
  EXPECT_EQ(lines[2].text, S("語") + "b");
  std::string copy;
  for (const GroupFileLine& l : lines) copy += l.text + l.ending;
  EXPECT_EQ(copy, contents);
  EXPECT_TRUE(SplitGroupFileLines("").empty());
  EXPECT_EQ(SplitGroupFileLines("x").back().ending, "");
}

TEST(GroupFileTest, FindGroupTakesTheFirstOfTwoSameNamesOrTheOneAtAnIndex) {
  const std::vector<GroupFileLine> lines = SplitGroupFileLines(ThreeGroups());
  EXPECT_EQ(GroupNames(lines), (std::vector<std::string>{S("英和"), S("国語"), S("英和")}));
  std::optional<GroupSection> first = FindGroup(lines, S("英和"), 0);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->index, 0);
  EXPECT_EQ(first->lines.size(), 3u);
  std::optional<GroupSection> third = FindGroup(lines, "", 2);
  ASSERT_TRUE(third);
  EXPECT_EQ(third->name, S("英和"));
  EXPECT_EQ(third->lines.size(), 1u);
  EXPECT_FALSE(FindGroup(lines, S("英"), 0));  // compared whole, byte for byte
  EXPECT_FALSE(FindGroup(lines, "", 3));
  EXPECT_FALSE(FindGroup("/nonexistent/MORVA.GRP", "x", 0));
  EXPECT_TRUE(GroupNames("/nonexistent/MORVA.GRP").empty());
}

TEST(GroupFileTest, ASectionBecomesTheBarAfterALeadingSeparator) {
  const std::vector<GroupFileLine> lines = SplitGroupFileLines(ThreeGroups());
  const LoadedGroup g = BarFromSection(*FindGroup(lines, S("英和"), 0));
  ASSERT_EQ(g.bar.size(), 4u);
  EXPECT_TRUE(g.bar[0].IsSeparator());
  EXPECT_EQ(g.bar[1].shortName, S("英和"));
  EXPECT_EQ(g.bar[1].location, "/cd/eiwa");
  EXPECT_EQ(g.bar[1].subbook, 0);
  EXPECT_EQ(g.bar[1].colour, 0xFFu);
  EXPECT_TRUE(g.bar[1].mark);
  EXPECT_TRUE(g.bar[2].IsSeparator());
  EXPECT_EQ(g.bar[2].subbook, -1);
  EXPECT_EQ(g.bar[3].subbook, 1);
  EXPECT_FALSE(g.bar[3].mark);
  ASSERT_EQ(g.menuTitles.size(), 2u);
  EXPECT_EQ(g.menuTitles[1].entry, 3);
  EXPECT_EQ(g.menuTitles[1].title, S("和英辞典"));
}

TEST(GroupFileTest, ASectionBeginningWithAnEmptyLineHasTwoSeparators) {
  const auto lines = SplitGroupFileLines("[g]\n\nBook,,,/cd,1,,0000FF,B,yes\n");
  const LoadedGroup g = BarFromSection(*FindGroup(lines, "g", 0));
  ASSERT_EQ(g.bar.size(), 3u);
  EXPECT_TRUE(g.bar[0].IsSeparator());
  EXPECT_TRUE(g.bar[1].IsSeparator());
  EXPECT_FALSE(g.bar[2].IsSeparator());
}

TEST(GroupFileTest, ABookLineWithoutShortNameStaysABook) {
  const auto lines = SplitGroupFileLines(S("[g]\n英和辞典,,,/cd,1,,0000FF,,yes\n"));
  const LoadedGroup g = BarFromSection(*FindGroup(lines, "g", 0));
  ASSERT_EQ(g.bar.size(), 2u);
  EXPECT_FALSE(g.bar[1].IsSeparator());
  EXPECT_EQ(g.bar[1].shortName, S("英和"));
}

// Headers as other programs and hand edits write them; the name is what
// lies between "[" and the first "]" that is a character of its own.
TEST(GroupFileTest, HeadersAreReadTheSameWayWhateverFollowsTheBracket) {
  const struct {
    const char* header;  // UTF-8
    const char* name;
  } cases[] = {
      {"[test] ", "test"},  // a trailing blank
      {"[test]\t; note", "test"},
      {"[test", "test"},   // no closing bracket
      {"[ゾウ]", "ゾウ"},  // ゾ ends in the byte of "]"
      {"[表示]", "表示"},  // 表 ends in the byte of "\\"
      {"[a]b]", "a"},
  };
  for (const auto& c : cases) {
    const std::string file = S(std::string(c.header) + "\r\nBook,,,/cd,1,,FF,B,yes\r\n");
    const std::vector<GroupFileLine> lines = SplitGroupFileLines(file);
    EXPECT_EQ(GroupNames(lines), std::vector<std::string>{S(c.name)}) << c.header;
    const std::optional<GroupSection> found = FindGroup(lines, S(c.name), 0);
    ASSERT_TRUE(found) << c.header;
    EXPECT_EQ(BarFromSection(*found).bar.size(), 2u) << c.header;
  }
}

TEST(GroupFileTest, ComposingReplacesAppendsOrDropsOneSectionAndCopiesTheRest) {
  const std::vector<GroupFileLine> old = SplitGroupFileLines("pre\r\n[a]\r\nA\r\n[b]\r\nB");
  const std::vector<std::string> lines{"X", ""};
  EXPECT_EQ(ComposeGroupFile(old, 0, "n", lines), "pre\r\n[n]\nX\n\n[b]\r\nB");
  EXPECT_EQ(ComposeGroupFile(old, 1, "n", lines), "pre\r\n[a]\r\nA\r\n[n]\nX\n\n");
  EXPECT_EQ(ComposeGroupFile(old, 2, "n", lines), "pre\r\n[a]\r\nA\r\n[b]\r\nB\n[n]\nX\n\n");
  EXPECT_EQ(ComposeGroupFile(old, 0, "n", {}), "pre\r\n[b]\r\nB");
  EXPECT_EQ(ComposeGroupFile({}, 0, "n", {"X"}), "[n]\nX\n");
}

TEST(GroupFileTest, TextThatWouldReadBackAsSomethingElseIsNamed) {
  EXPECT_EQ(GroupNameProblem("My]group"), GroupTextProblem::kCloseBracket);
  EXPECT_EQ(GroupNameProblem("a\nb"), GroupTextProblem::kLineBreak);
  EXPECT_EQ(GroupNameProblem(std::string(298, 'n')), GroupTextProblem::kTooLong);
  for (const char* fine : {"ゾウ", "表示", "a,b", "[x", ""})
    EXPECT_FALSE(GroupNameProblem(S(fine))) << fine;
  EXPECT_EQ(GroupFieldProblem("Smith, J."), GroupTextProblem::kComma);
  EXPECT_EQ(GroupFieldProblem("a\rb"), GroupTextProblem::kLineBreak);
  for (const char* fine : {"ゾウ", "[x]", ""}) EXPECT_FALSE(GroupFieldProblem(S(fine))) << fine;
}

}  // namespace
}  // namespace morva
