// Line layout of marked text with exact fake metrics: unit rules, wrapping,
// styles and indents recorded per line, the 300-byte rule, the line table,
// the read window and continuous display.
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
using testing::RecordedBox;
using testing::RefMarker;
using testing::Repeat;

class TBrowsTest : public ::testing::Test {
 protected:
  TBrowsTest() : brows_(reporter_, (dir_ / "marked.txt").string()) { brows_.SetMetrics(&metrics_); }

  // Lays out `text` at `columns` and returns the lines' texts.
  std::vector<std::string> Lay(const std::string& text, int columns, LayoutOptions options = {}) {
    testing::WriteFile(dir_ / "marked.txt", text);
    brows_.SetOptions(options);
    brows_.SetColumns(columns);
    target_ = brows_.LayOut(targetOffset_);
    return AllLines();
  }
  std::vector<std::string> AllLines() {
    std::vector<std::string> lines;
    for (int i = 0; i < brows_.LineCount(); ++i) lines.emplace_back(brows_.GetLine(i).text);
    return lines;
  }

  testing::TempDir dir_;
  testing::RecordingReporter reporter_;
  FakeMetrics metrics_;
  TBrows brows_;
  int64_t targetOffset_ = 0;
  int target_ = 0;
};

using Lines = std::vector<std::string>;

TEST_F(TBrowsTest, BreaksKeepTheirCarriageReturnAndEmptyLinesHaveEntries) {
  EXPECT_EQ(Lay("abc" + kBreak + kBreak + "de" + kBreak, 80), (Lines{"abc\r", "\r", "de\r"}));
  EXPECT_EQ(brows_.LineStart(1), 5u);
  EXPECT_EQ(brows_.LineStart(3), 11u);  // the sentinel: end of text
  EXPECT_EQ(brows_.TextLength(), 11u);
  // Without a final break the last line still ends at the end of the text;
  // a bare line feed breaks too, and a 0 byte ends the text.
  EXPECT_EQ(Lay("ab\ncd" + std::string(1, '\0') + "ignored", 80), (Lines{"ab", "cd"}));
  EXPECT_EQ(Lay("", 80), Lines{});
}

TEST_F(TBrowsTest, DoubleByteTextWrapsAndKeepsClosingPunctuation) {
  // 10 columns: five double-byte characters a line.
  EXPECT_EQ(Lay(J("あいうえおかきくけこさし"), 10),
            (Lines{J("あいうえお"), J("かきくけこ"), J("さし")}));
  // "。" and "」" never begin a line: they go with the character before them.
  EXPECT_EQ(Lay(J("あいうえお。」かき"), 10), (Lines{J("あいうえ"), J("お。」かき")}));
  EXPECT_EQ(Lay(J("あいう。」かき"), 10), (Lines{J("あいう。」"), J("かき")}));
  // So do the small kana and the long vowel mark.
  EXPECT_EQ(Lay(J("あいうオーャ、か"), 10), (Lines{J("あいう"), J("オーャ、か")}));
  EXPECT_EQ(Lay(J("あいうえおか。"), 10), (Lines{J("あいうえお"), J("か。")}));
  // A unit wider than a whole line overflows its own line.
  EXPECT_EQ(Lay(J("あ。、。、。、"), 6), (Lines{J("あ。、。、。、")}));
}

TEST_F(TBrowsTest, SingleByteTextBreaksAnywhereUnlessWordWrapIsOn) {
  const std::string text = "hello world again";
  EXPECT_EQ(Lay(text, 8), (Lines{"hello wo", "rld agai", "n"}));
  // A space or ")" never begins a line.
  EXPECT_EQ(Lay("abcdefgh) x", 8), (Lines{"abcdefg", "h) x"}));
  EXPECT_EQ(Lay("abcdef) x", 8), (Lines{"abcdef) ", "x"}));
  LayoutOptions wrap;
  wrap.wordWrap = true;
  EXPECT_EQ(Lay(text, 8, wrap), (Lines{"hello ", "world ", "again"}));
  // A word longer than the line overflows it rather than being split.
  EXPECT_EQ(Lay("a verylongword b", 8, wrap), (Lines{"a ", "verylongword ", "b"}));
}

TEST_F(TBrowsTest, NoBreakSpanIsOneUnitAndIsNotCopied) {
  const std::string span = "\x0E" + J("あいうえおかきく") + "\x0F";
  EXPECT_EQ(Lay("ab" + span + "cd", 10), (Lines{"ab", J("あいうえおかきく"), "cd"}));
  // A line break ends a span that was never closed.
  EXPECT_EQ(Lay("\x0E"
                "ab" +
                    kBreak + "cd",
                10),
            (Lines{"ab\r", "cd"}));
}

TEST_F(TBrowsTest, ControlCodesAreZeroWidthAndExternalCharactersTakeColumns) {
  // Markers and style codes take no room: ten visible columns fit.
  EXPECT_EQ(Lay(Link("abcde", 1, 2) + Heading("fghij") + "k", 10).size(), 2u);
  EXPECT_EQ(brows_.GetLine(1).text, "k");
  // Full-width external characters take two columns, half-width ones one.
  const std::string full = Gaiji(true, 0xA121);
  const std::string half = Gaiji(false, 0xA122);
  Lines lines = Lay(Repeat(full, 3) + Repeat(half, 4) + "x", 10);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], Repeat(full, 3) + Repeat(half, 4));
  // 0x11 (end of a highlight) is measured as a space.
  EXPECT_EQ(Lay("\x10"
                "abcd\x11"
                "efghi",
                10)
                .size(),
            1u);
  EXPECT_EQ(Lay("\x10"
                "abcd\x11"
                "efghij",
                10)
                .size(),
            2u);
}

TEST_F(TBrowsTest, WrappedLinesCarryTheStyleInForce) {
  const std::string text = Heading(J("あいうえおかきくけこさし")) + kBreak + "plain";
  LayoutOptions bold;
  bold.bold = 1;
  Lay(text, 10, bold);
  ASSERT_EQ(brows_.LineCount(), 4);
  EXPECT_EQ(brows_.GetLine(0).style, kStylePlain);
  EXPECT_EQ(brows_.GetLine(1).style, kStyleHeadingBold);
  EXPECT_EQ(brows_.GetLine(2).style, kStyleHeadingBold);
  EXPECT_EQ(brows_.GetLine(3).style, kStylePlain);  // after a break
  Lay(text, 10, LayoutOptions{});
  EXPECT_EQ(brows_.GetLine(1).style, kStyleHeading);
  // Link text continues in the link style; after its marker the text is plain.
  Lay(Link(J("あいうえおかき"), 1, 0) + J("あいうえおかき"), 10);
  ASSERT_EQ(brows_.LineCount(), 3);
  EXPECT_EQ(brows_.GetLine(1).style, kStyleLink);
  EXPECT_EQ(brows_.GetLine(2).style, kStylePlain);
  // Highlights: 0C bold, 10 italic.
  Lay("\x0C" + J("あいうえおか"), 10);
  EXPECT_EQ(brows_.GetLine(1).style, kStyleBold);
  Lay("\x10" + J("あいうえおか"), 10);
  EXPECT_EQ(brows_.GetLine(1).style, kStyleItalic);
}

TEST_F(TBrowsTest, StyleChoosesTheMeasuringFontUnlessFixedPitch) {
  metrics_.boldExtra = 5;     // a bold double-byte character is 25 pixels
  metrics_.italicExtra = 10;  // an italic one 30
  LayoutOptions bold;
  bold.bold = 1;
  // Four bold characters (100 pixels) fill a 10-column line.
  EXPECT_EQ(Lay(Heading(J("あいうえおか")), 10, bold),
            (Lines{"\x03" + J("あいうえ"), J("おか") + "\x04"}));
  EXPECT_EQ(Lay(Heading(J("あいうえおか")), 10),
            (Lines{"\x03" + J("あいうえお"), J("か") + "\x04"}));
  EXPECT_EQ(Lay("\x10" + J("あいうえ"), 10).size(), 2u);
  metrics_.fixed = true;  // the shortcut: bytes times cw
  EXPECT_EQ(Lay(Heading(J("あいうえおか")), 10, bold).size(), 2u);
  EXPECT_EQ(brows_.GetLine(0).text, "\x03" + J("あいうえお"));
}

TEST_F(TBrowsTest, IndentAppliesToLinesBegunAfterIt) {
  // Level 2 is 4 columns: with 8 columns two characters a line remain.
  Lines lines = Lay("AAAA" + kBreak + Indent(2) + "BBBBBB" + kBreak + Indent(0) + "C", 8);
  EXPECT_EQ(lines, (Lines{"AAAA\r", "BBBB", "BB\r", "C"}));
  EXPECT_EQ(brows_.GetLine(0).indent, 0);
  EXPECT_EQ(brows_.GetLine(1).indent, 4);
  EXPECT_EQ(brows_.GetLine(2).indent, 4);
  EXPECT_EQ(brows_.GetLine(3).indent, 0);
  // The first line of the text was made before any indent code.
  Lay(Indent(1) + "abc", 8);
  EXPECT_EQ(brows_.GetLine(0).indent, 0);
  // Lines begun by moving a whole word keep the indent too.
  LayoutOptions wrap;
  wrap.wordWrap = true;
  EXPECT_EQ(Lay("A" + kBreak + Indent(1) + "ab cd ef gh", 8, wrap),
            (Lines{"A\r", "ab cd ", "ef gh"}));
  EXPECT_EQ(brows_.GetLine(1).indent, 2);
  EXPECT_EQ(brows_.GetLine(2).indent, 2);
}

TEST_F(TBrowsTest, MarkerDirectlyAfterABreakBelongsToTheBreak) {
  Lines lines = Lay("ab" + kBreak + RefMarker(1, 2) + "cd", 80);
  EXPECT_EQ(lines, (Lines{"ab\r", "cd"}));
  EXPECT_EQ(brows_.LineStart(1), 4u + 15u);
}

TEST_F(TBrowsTest, LongLinesShrinkTheColumnCount) {
  // 300 characters and CR LF make a 302-byte line at 310 columns; the column
  // count drops until no line reaches 300 bytes.
  Lines lines = Lay(std::string(300, 'a') + kBreak, 310);
  EXPECT_EQ(brows_.Columns(), 298);
  EXPECT_LT(brows_.LongestLine(), 300);
  EXPECT_EQ(lines, (Lines{std::string(298, 'a'), "aa\r"}));
  // Long runs of markers: 20 visible columns but 17 bytes each.
  const std::string piece = Link("x", 1, 1);
  lines = Lay(Repeat(piece, 40) + kBreak, 80);
  EXPECT_LT(brows_.LongestLine(), 300);
  std::string joined;
  for (const auto& line : lines) joined += line;
  EXPECT_EQ(joined, Repeat(piece, 40) + "\r");
  // A single unit that no column count can fit ends the shrinking at 1.
  lines = Lay("\x0E" + std::string(400, 'b') + "\x0F", 80);
  EXPECT_EQ(brows_.Columns(), 1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], std::string(298, 'b'));  // 299 bytes of the line, less the 0E
}

TEST_F(TBrowsTest, TargetLineIsOnePastTheLineWhereTheOffsetFalls) {
  targetOffset_ = 8;  // start of "L2"
  Lay("L0" + kBreak + "L1" + kBreak + "L2" + kBreak + "L3" + kBreak, 80);
  EXPECT_EQ(target_, 3);
  targetOffset_ = 1000;  // never reached
  Lay("L0" + kBreak, 80);
  EXPECT_EQ(target_, 0);
}

TEST_F(TBrowsTest, LineTableGrowsBy512) {
  Lay(Repeat("x" + kBreak, 1200), 80);
  EXPECT_EQ(brows_.LineCount(), 1200);
  EXPECT_EQ(brows_.TableCapacity(), 1536u);
  EXPECT_EQ(reporter_.boxes().size(), 0u);
  brows_.Release();
  EXPECT_EQ(brows_.LineCount(), 0);
  EXPECT_EQ(brows_.TableCapacity(), 0u);
}

TEST_F(TBrowsTest, TableAllocationFailuresAreFatal) {
  brows_.SetTableLimit(100);
  Lay("abc" + kBreak, 80);
  EXPECT_EQ(brows_.LineCount(), 0);
  EXPECT_EQ(reporter_.Last(RecordedBox::kFatal), "行情報用の記憶域を確保できない.");
  reporter_.Clear();
  brows_.Release();
  brows_.SetTableLimit(1024);
  Lay(Repeat("x" + kBreak, 2000), 80);
  EXPECT_EQ(reporter_.Last(RecordedBox::kFatal),
            "TBrows::ReallocFilePos Can't allocate lpFilePos.\n");
  EXPECT_GT(brows_.LineCount(), 1000);
  EXPECT_LT(brows_.LineCount(), 1024);
  EXPECT_EQ(brows_.GetLine(brows_.LineCount() - 1).text, "x\r");
}

TEST_F(TBrowsTest, UnreadableFileGivesNoLines) {
  TBrows missing(reporter_, (dir_ / "absent.txt").string());
  missing.SetColumns(80);
  EXPECT_EQ(missing.LayOut(0), 0);
  EXPECT_EQ(missing.LineCount(), 0);
  EXPECT_EQ(missing.GetLine(0).text, "");
}

TEST_F(TBrowsTest, GetLineLeavesOutIndentAndSpanCodesAndKeepsMarkersWhole) {
  // A marker whose digits could be mistaken for codes stays whole; a line feed
  // inside the line's bytes (only a damaged file has one) ends the text.
  Lines lines = Lay(Indent(1) +
                        "a\x0E"
                        "b\x0F" +
                        Link("c", 0x0909, 0x0E0F) + kBreak,
                    80);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "ab" + Link("c", 0x0909, 0x0E0F) + "\r");
  EXPECT_EQ(brows_.GetLine(-1).text, "");
  EXPECT_EQ(brows_.GetLine(1).text, "");
  EXPECT_EQ(brows_.ByteDistance(0, 1, 0, 3), 3);
}

TEST_F(TBrowsTest, WindowReloadsAroundFarLines) {
  // 4,000 numbered lines: about 44 KB, more than one window.
  std::string text;
  for (int i = 0; i < 4000; ++i) text += Format("line %05d", i) + kBreak;
  Lay(text, 80);
  ASSERT_EQ(brows_.LineCount(), 4000);
  for (int i : {0, 3999, 1, 2000, 3000, 5, 3998, 1638, 1639, 3276}) {
    EXPECT_EQ(brows_.GetLine(i).text, Format("line %05d\r", i)) << i;
  }
}

// A window source that serves numbered stretches of 10 lines and records the
// directions asked for.
class FakeStretches : public WindowSource {
 public:
  explicit FakeStretches(std::string path) : path_(std::move(path)) {}
  bool FormatWindow(int row, int direction, BookAddress* start, BookAddress* next,
                    int64_t* lengthOut) override {
    directions.push_back(direction);
    rows.push_back(row);
    if (direction < 0) {
      *next = *start;
      start->page -= 1;
    } else if (direction > 0) {
      *start = *next;
    }
    if (start->page < 1) return false;
    *next = {start->page + 1, 0};
    std::string text;
    for (int i = 0; i < 10; ++i) text += Format("p%d l%d", start->page, i) + "\r\n";
    // The next stretch begins at line 6.
    *lengthOut = 6 * 7;
    testing::WriteFile(path_, text);
    return true;
  }
  std::vector<int> directions;
  std::vector<int> rows;

 private:
  std::string path_;
};

TEST_F(TBrowsTest, ContinuousDisplayAsksForStretches) {
  FakeStretches source((dir_ / "marked.txt").string());
  brows_.SetWindowSource(&source);
  EXPECT_EQ(brows_.Set(true, 80, 3, 5, 0), 7);
  EXPECT_EQ(brows_.GetLine(0).text, "p5 l0\r");
  EXPECT_EQ(brows_.Next(), (BookAddress{6, 0}));
  EXPECT_EQ(brows_.SetNext(), 7);
  EXPECT_EQ(brows_.GetLine(0).text, "p6 l0\r");
  EXPECT_EQ(brows_.SetPrevious(), 7);
  EXPECT_EQ(brows_.GetLine(9).text, "p5 l9\r");
  EXPECT_EQ(source.directions, (std::vector<int>{0, 1, -1}));
  EXPECT_EQ(source.rows, (std::vector<int>{3, 3, 3}));
  // Outside continuous display the file is taken as it is and no source is
  // asked; the target line is 0.
  EXPECT_EQ(brows_.Set(false, 80, 3, 5, 0), 0);
  EXPECT_EQ(source.directions.size(), 3u);
  // A stretch that cannot be formatted: -1.
  brows_.Set(true, 80, 3, 1, 0);
  EXPECT_EQ(brows_.SetPrevious(), -1);
}

}  // namespace
}  // namespace morva
