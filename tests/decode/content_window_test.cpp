// Continuous display: windows of about BufferSize bytes, where the next
// window starts, and finding an earlier start for scrolling back.
#include "tests/support/book_test.h"

namespace morva {
namespace {

using mkbook::BodyText;

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// Block k: an indent, 98 characters and a new line; 202 bytes in the book,
// 200 in the marked-text file (where the new line is CR LF).
BodyText IndentBlocks(int count) {
  BodyText body;
  for (int k = 0; k < count; ++k) body.Indent(1).Text(Repeat("あ", 98)).Newline();
  return body;
}
BookAddress Block(int k) { return BookAddress::FromPosition(int64_t{202} * k); }

class WindowTest : public testing::ContentTest {
 protected:
  WindowTest() { disk_.settings().bufferSize = 8000; }
  bool Window(int direction) {
    return content_.FormatWindow(-1, direction, &start_, &next_, &length_);
  }

  BookAddress start_{1, 0};
  BookAddress next_;
  int64_t length_ = -1;
};

TEST_F(WindowTest, WindowsCutAtIndentsForwardAndBack) {
  LoadPages(IndentBlocks(130));
  ASSERT_TRUE(Window(0));
  EXPECT_EQ(next_, Block(20));  // the first indent after 4000 bytes
  EXPECT_EQ(length_, 4000);
  std::string file = MarkedFile();
  EXPECT_EQ(file.size(), 16000u);  // stopped at the indent after 16000 bytes
  EXPECT_EQ(file.substr(3998, 4), "\r\n" + testing::kIndent0);

  ASSERT_TRUE(Window(1));
  EXPECT_EQ(start_, Block(20));
  EXPECT_EQ(next_, Block(40));

  // One buffer back from block 40 lies in block 0; block 1's indent follows.
  start_ = Block(40);
  ASSERT_TRUE(Window(-1));
  EXPECT_EQ(start_, Block(1));
  EXPECT_EQ(next_, Block(40));
  EXPECT_EQ(length_, 39 * 200);
  EXPECT_EQ(MarkedFile().substr(static_cast<size_t>(length_), 2), testing::kIndent0);
  EXPECT_EQ(reporter_.shown, reporter_.hidden);
}

TEST_F(WindowTest, WithoutIndentsWindowsCutAtNewLines) {
  BodyText body;  // 99 characters and a new line: 200 bytes in book and file
  for (int k = 0; k < 130; ++k) body.Text(Repeat("あ", 99)).Newline();
  LoadPages(body);
  ASSERT_TRUE(Window(0));
  EXPECT_EQ(next_, BookAddress::FromPosition(8000));
  EXPECT_EQ(length_, 8000);
  EXPECT_EQ(MarkedFile().size(), 24000u);
}

TEST_F(WindowTest, ItemLimitsDoNotApplyAndTheUserSettingIsKept) {
  disk_.settings().scroll = false;
  disk_.info().endCode = 0x0A;
  disk_.info().nBytes = 10;
  BodyText body;
  for (int k = 0; k < 40; ++k) body.Indent(1).Headword("あ").Newline();
  LoadPages(body);
  ASSERT_TRUE(Window(0));
  EXPECT_EQ(MarkedFile(), Repeat(testing::kIndent0 + "\x03" + J("あ") + "\x04\r\n", 40));
  EXPECT_EQ(next_, start_);  // the data ended before a next window
  EXPECT_FALSE(disk_.settings().scroll);
}

TEST_F(WindowTest, EarlierStart) {
  BodyText body;
  body.Indent(1).Text("一").Newline().StartText();
  const BookAddress textStart = body.Here();
  body.Indent(1).Text("二").Newline();
  const BookAddress given = body.Here();
  body.Indent(1).Text("三");
  LoadPages(body);

  EXPECT_EQ(content_.FindEarlierStart(given), textStart);  // just after the start of text
  EXPECT_EQ(content_.FindEarlierStart({1, 0}), (BookAddress{1, 0}));
  disk_.info().nEnd = 0;  // without ends of text: the start of the body
  EXPECT_EQ(content_.FindEarlierStart(given), (BookAddress{1, 0}));
}

}  // namespace
}  // namespace morva
