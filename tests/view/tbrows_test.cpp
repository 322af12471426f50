// Line layout of marked text with exact fake metrics: unit rules, wrapping,
// styles and indents recorded per line, the 300-byte rule, the line table
// and the read window.
#include "view/tbrows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tests/view/layout_fixture.h"

namespace morva {
namespace {

using namespace testing;
using Lines = std::vector<std::string>;

struct TBrowsTest : ::testing::Test {
  TBrowsTest() : brows_(reporter_, (dir_ / "marked.txt").string()) { brows_.SetMetrics(&metrics_); }

  // Lays out `text` at `columns` and returns the lines' texts.
  Lines Lay(const std::string& text, int columns, LayoutOptions options = {}) {
    testing::WriteFile(dir_ / "marked.txt", text);
    brows_.SetOptions(options);
    brows_.SetColumns(columns);
    target_ = brows_.LayOut(targetOffset_);
    Lines lines;
    styles_.clear();
    indents_.clear();
    for (int i = 0; i < brows_.LineCount(); ++i) {
      const LineText line = brows_.GetLine(i);
      lines.emplace_back(line.text);
      styles_.push_back(line.style);
      indents_.push_back(line.indent);
    }
    return lines;
  }

  testing::TempDir dir_;
  testing::RecordingReporter reporter_;
  FakeMetrics metrics_;
  TBrows brows_;
  int64_t targetOffset_ = 0;
  int target_ = 0;
  std::vector<int> styles_, indents_;
};

TEST_F(TBrowsTest, LineTableBreaksTargetReadWindowAndTheByteLimit) {
  EXPECT_EQ(Lay("abc" + kBreak + kBreak + "de" + kBreak, 80), (Lines{"abc\r", "\r", "de\r"}));
  EXPECT_EQ(brows_.LineStart(1), 5u);
  EXPECT_EQ(brows_.LineStart(3), 11u);  // the sentinel: end of text
  // A bare line feed breaks too, and a 0 byte ends the text.
  EXPECT_EQ(Lay("ab\ncd" + std::string(1, '\0') + "ignored", 80), (Lines{"ab", "cd"}));
  // A marker directly after a break belongs to the break.
  EXPECT_EQ(Lay("ab" + kBreak + RefMarker(1, 2) + "cd", 80), (Lines{"ab\r", "cd"}));
  EXPECT_EQ(brows_.LineStart(1), 4u + 15u);
  // The target line is one past the line where the offset falls; 0 when the
  // offset is never reached.
  targetOffset_ = 8;
  Lay("L0" + kBreak + "L1" + kBreak + "L2" + kBreak, 80);
  EXPECT_EQ(target_, 3);
  targetOffset_ = 1000;
  Lay("L0" + kBreak, 80);
  EXPECT_EQ(target_, 0);
  // GetLine leaves out indent and span codes; a marker whose digits could be
  // mistaken for codes stays whole.
  EXPECT_EQ(Lay(Indent(1) + "a\x0E" + "b\x0F" + Link("c", 0x0909, 0x0E0F) + kBreak, 80),
            Lines{"ab" + Link("c", 0x0909, 0x0E0F) + "\r"});
  EXPECT_EQ(brows_.GetLine(-1).text, "");
  EXPECT_EQ(brows_.GetLine(1).text, "");
  EXPECT_EQ(brows_.ByteDistance(0, 1, 0, 3), 3);
  // 4,000 numbered lines: about 39 KB, more than one read window.
  Lay(NumberedLines(4000), 80);
  ASSERT_EQ(brows_.LineCount(), 4000);
  for (int i : {0, 3999, 1, 2000, 3000, 5, 3998, 1638, 1639, 3276})
    EXPECT_EQ(brows_.GetLine(i).text, Format("line %d", i)) << i;
  // 300 characters and CR LF make a 302-byte line at 310 columns; the column
  // count drops until no line reaches 300 bytes.
  EXPECT_EQ(Lay(std::string(300, 'a') + kBreak, 310), (Lines{std::string(298, 'a'), "aa\r"}));
  EXPECT_EQ(brows_.Columns(), 298);
  // Long runs of markers: 20 visible columns but 17 bytes each.
  const std::string piece = Link("x", 1, 1);
  std::string joined;
  for (const auto& line : Lay(Repeat(piece, 40) + kBreak, 80)) joined += line;
  EXPECT_LT(brows_.LongestLine(), 300);
  EXPECT_EQ(joined, Repeat(piece, 40) + "\r");
  // A single unit that no column count can fit ends the shrinking at 1.
  EXPECT_EQ(Lay("\x0E" + std::string(400, 'b') + "\x0F", 80), Lines{std::string(298, 'b')});
  EXPECT_EQ(brows_.Columns(), 1);
}

TEST_F(TBrowsTest, WrapsByTheRulesOfEachKindOfTextAndKeepsStylesAndIndents) {
  const std::string span = "\x0E" + J("あいうえおかきく") + "\x0F";
  const std::string full = Gaiji(true, 0xA121);
  const std::string half = Gaiji(false, 0xA122);
  const struct {
    std::string text;
    int columns;
    Lines lines;
    bool wordWrap = false;
  } cases[] = {
      {J("あいうえおかきくけこさし"), 10, {J("あいうえお"), J("かきくけこ"), J("さし")}},
      // "。", "」", small kana and the long vowel mark never begin a line.
      {J("あいうえお。」かき"), 10, {J("あいうえ"), J("お。」かき")}},
      {J("あいう。」かき"), 10, {J("あいう。」"), J("かき")}},
      {J("あいうオーャ、か"), 10, {J("あいう"), J("オーャ、か")}},
      {J("あいうえおか。"), 10, {J("あいうえお"), J("か。")}},
      // A unit wider than a whole line overflows its own line.
      {J("あ。、。、。、"), 6, {J("あ。、。、。、")}},
      {"hello world again", 8, {"hello wo", "rld agai", "n"}},
      // A space or ")" never begins a line.
      {"abcdefgh) x", 8, {"abcdefg", "h) x"}},
      {"abcdef) x", 8, {"abcdef) ", "x"}},
      {"hello world again", 8, {"hello ", "world ", "again"}, true},
      {"a verylongword b", 8, {"a ", "verylongword ", "b"}, true},
      // A no-break span is one unit and its codes are not in the line text;
      // a break ends a span never closed.
      {"ab" + span + "cd", 10, {"ab", J("あいうえおかきく"), "cd"}},
      {"\x0E" + std::string("ab") + kBreak + "cd", 10, {"ab\r", "cd"}},
      // Markers and style codes take no room; external characters take one
      // or two columns; 0x11 is measured as a space.
      {Link("abcde", 1, 2) + Heading("fghij") + "k",
       10,
       {Link("abcde", 1, 2) + Heading("fghij"), "k"}},
      {Repeat(full, 3) + Repeat(half, 4) + "x", 10, {Repeat(full, 3) + Repeat(half, 4), "x"}},
      {"\x10" + std::string("abcd\x11") + "efghij",
       10,
       {"\x10" + std::string("abcd\x11") + "efghi", "j"}},
  };
  int i = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(Lay(c.text, c.columns, {.wordWrap = c.wordWrap}), c.lines) << i++;
  }
  // Lines carry the style and indent in force.
  const std::string heading = Heading(J("あいうえおかきくけこさし")) + kBreak + "plain";
  const int h = kStyleHeading, hb = kStyleHeadingBold, p = kStylePlain;
  const struct {
    std::string text;
    std::vector<int> styles;
    LayoutOptions options = {};
  } styled[] = {{heading, {p, hb, hb, p}, {.bold = 1}},
                {heading, {p, h, h, p}},
                // Link text continues in the link style; after its marker the text is plain.
                {Link(J("あいうえおかき"), 1, 0) + J("あいうえおかき"), {p, kStyleLink, p}},
                {"\x0C" + J("あいうえおか"), {p, kStyleBold}},
                {"\x10" + J("あいうえおか"), {p, kStyleItalic}}};
  for (const auto& c : styled) {
    Lay(c.text, 10, c.options);
    EXPECT_EQ(styles_, c.styles) << c.styles[1];
  }

  // Level 2 is 4 columns; the first line was made before any indent code,
  // and lines begun by moving a whole word keep the indent too.
  EXPECT_EQ(Lay("AAAA" + kBreak + Indent(2) + "BBBBBB" + kBreak + Indent(0) + "C", 8),
            (Lines{"AAAA\r", "BBBB", "BB\r", "C"}));
  EXPECT_EQ(indents_, (std::vector<int>{0, 4, 4, 0}));
  Lay(Indent(1) + "abc", 8);
  EXPECT_EQ(indents_, (std::vector<int>{0}));
  EXPECT_EQ(Lay("A" + kBreak + Indent(1) + "ab cd ef gh", 8, {.wordWrap = true}),
            (Lines{"A\r", "ab cd ", "ef gh"}));
  EXPECT_EQ(indents_, (std::vector<int>{0, 2, 2}));
}

}  // namespace
}  // namespace morva
