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

using testing::FakeMetrics;
using testing::Gaiji;
using testing::Heading;
using testing::Indent;
using testing::J;
using testing::kBreak;
using testing::Link;
using testing::RefMarker;
using testing::Repeat;
using Lines = std::vector<std::string>;

class TBrowsTest : public ::testing::Test {
 protected:
  TBrowsTest() : brows_(reporter_, (dir_ / "marked.txt").string()) { brows_.SetMetrics(&metrics_); }

  // Lays out `text` at `columns` and returns the lines' texts.
  Lines Lay(const std::string& text, int columns, LayoutOptions options = {}) {
    testing::WriteFile(dir_ / "marked.txt", text);
    brows_.SetOptions(options);
    brows_.SetColumns(columns);
    target_ = brows_.LayOut(targetOffset_);
    Lines lines;
    for (int i = 0; i < brows_.LineCount(); ++i) lines.emplace_back(brows_.GetLine(i).text);
    return lines;
  }
  std::vector<int> Column(int (*field)(const LineText&)) {
    std::vector<int> out;
    for (int i = 0; i < brows_.LineCount(); ++i) out.push_back(field(brows_.GetLine(i)));
    return out;
  }
  std::vector<int> Styles() {
    return Column([](const LineText& l) { return static_cast<int>(l.style); });
  }
  std::vector<int> Indents() {
    return Column([](const LineText& l) { return l.indent; });
  }

  testing::TempDir dir_;
  testing::RecordingReporter reporter_;
  FakeMetrics metrics_;
  TBrows brows_;
  int64_t targetOffset_ = 0;
  int target_ = 0;
};

TEST_F(TBrowsTest, BreaksKeepTheirCarriageReturnAndEmptyLinesHaveEntries) {
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
}

TEST_F(TBrowsTest, WrapsByTheRulesOfEachKindOfText) {
  const std::string span = "\x0E" + J("あいうえおかきく") + "\x0F";
  const std::string full = Gaiji(true, 0xA121);
  const std::string half = Gaiji(false, 0xA122);
  const struct {
    const char* what;
    std::string text;
    int columns;
    bool wordWrap;
    Lines lines;
  } cases[] = {
      {"double-byte",
       J("あいうえおかきくけこさし"),
       10,
       false,
       {J("あいうえお"), J("かきくけこ"), J("さし")}},
      // "。", "」", small kana and the long vowel mark never begin a line.
      {"closing", J("あいうえお。」かき"), 10, false, {J("あいうえ"), J("お。」かき")}},
      {"closing fits", J("あいう。」かき"), 10, false, {J("あいう。」"), J("かき")}},
      {"small kana", J("あいうオーャ、か"), 10, false, {J("あいう"), J("オーャ、か")}},
      {"last closing", J("あいうえおか。"), 10, false, {J("あいうえお"), J("か。")}},
      // A unit wider than a whole line overflows its own line.
      {"wide unit", J("あ。、。、。、"), 6, false, {J("あ。、。、。、")}},
      {"single-byte", "hello world again", 8, false, {"hello wo", "rld agai", "n"}},
      // A space or ")" never begins a line.
      {"paren", "abcdefgh) x", 8, false, {"abcdefg", "h) x"}},
      {"paren fits", "abcdef) x", 8, false, {"abcdef) ", "x"}},
      {"word wrap", "hello world again", 8, true, {"hello ", "world ", "again"}},
      {"long word", "a verylongword b", 8, true, {"a ", "verylongword ", "b"}},
      // A no-break span is one unit and its codes are not in the line text;
      // a break ends a span never closed.
      {"span", "ab" + span + "cd", 10, false, {"ab", J("あいうえおかきく"), "cd"}},
      {"open span", "\x0E" + std::string("ab") + kBreak + "cd", 10, false, {"ab\r", "cd"}},
      // Markers and style codes take no room; external characters take one
      // or two columns; 0x11 is measured as a space.
      {"markers",
       Link("abcde", 1, 2) + Heading("fghij") + "k",
       10,
       false,
       {Link("abcde", 1, 2) + Heading("fghij"), "k"}},
      {"external",
       Repeat(full, 3) + Repeat(half, 4) + "x",
       10,
       false,
       {Repeat(full, 3) + Repeat(half, 4), "x"}},
      {"highlight end",
       "\x10" + std::string("abcd\x11") + "efghij",
       10,
       false,
       {"\x10" + std::string("abcd\x11") + "efghi", "j"}},
  };
  for (const auto& c : cases) {
    LayoutOptions options;
    options.wordWrap = c.wordWrap;
    EXPECT_EQ(Lay(c.text, c.columns, options), c.lines) << c.what;
  }
}

TEST_F(TBrowsTest, LinesCarryTheStyleAndIndentInForce) {
  const std::string text = Heading(J("あいうえおかきくけこさし")) + kBreak + "plain";
  LayoutOptions bold;
  bold.bold = 1;
  Lay(text, 10, bold);
  EXPECT_EQ(Styles(),
            (std::vector<int>{kStylePlain, kStyleHeadingBold, kStyleHeadingBold, kStylePlain}));
  Lay(text, 10);
  EXPECT_EQ(brows_.GetLine(1).style, kStyleHeading);
  // Link text continues in the link style; after its marker the text is plain.
  Lay(Link(J("あいうえおかき"), 1, 0) + J("あいうえおかき"), 10);
  EXPECT_EQ(Styles(), (std::vector<int>{kStylePlain, kStyleLink, kStylePlain}));
  Lay("\x0C" + J("あいうえおか"), 10);
  EXPECT_EQ(brows_.GetLine(1).style, kStyleBold);
  Lay("\x10" + J("あいうえおか"), 10);
  EXPECT_EQ(brows_.GetLine(1).style, kStyleItalic);

  // Level 2 is 4 columns; the first line was made before any indent code,
  // and lines begun by moving a whole word keep the indent too.
  EXPECT_EQ(Lay("AAAA" + kBreak + Indent(2) + "BBBBBB" + kBreak + Indent(0) + "C", 8),
            (Lines{"AAAA\r", "BBBB", "BB\r", "C"}));
  EXPECT_EQ(Indents(), (std::vector<int>{0, 4, 4, 0}));
  Lay(Indent(1) + "abc", 8);
  EXPECT_EQ(Indents(), (std::vector<int>{0}));
  LayoutOptions wrap;
  wrap.wordWrap = true;
  EXPECT_EQ(Lay("A" + kBreak + Indent(1) + "ab cd ef gh", 8, wrap),
            (Lines{"A\r", "ab cd ", "ef gh"}));
  EXPECT_EQ(Indents(), (std::vector<int>{0, 2, 2}));
}

TEST_F(TBrowsTest, LongLinesShrinkTheColumnCount) {
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

TEST_F(TBrowsTest, GetLineLeavesOutIndentAndSpanCodesAndReloadsFarLines) {
  // A marker whose digits could be mistaken for codes stays whole.
  EXPECT_EQ(Lay(Indent(1) + "a\x0E" + "b\x0F" + Link("c", 0x0909, 0x0E0F) + kBreak, 80),
            Lines{"ab" + Link("c", 0x0909, 0x0E0F) + "\r"});
  EXPECT_EQ(brows_.GetLine(-1).text, "");
  EXPECT_EQ(brows_.GetLine(1).text, "");
  EXPECT_EQ(brows_.ByteDistance(0, 1, 0, 3), 3);
  // 4,000 numbered lines: about 44 KB, more than one read window.
  std::string text;
  for (int i = 0; i < 4000; ++i) text += Format("line %05d", i) + kBreak;
  Lay(text, 80);
  ASSERT_EQ(brows_.LineCount(), 4000);
  for (int i : {0, 3999, 1, 2000, 3000, 5, 3998, 1638, 1639, 3276})
    EXPECT_EQ(brows_.GetLine(i).text, Format("line %05d\r", i)) << i;
}

}  // namespace
}  // namespace morva
