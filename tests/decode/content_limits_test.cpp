// Where an item ends (per-book limits), and the address of the following
// item that walking a body item by item relies on.
#include "tests/support/book_test.h"

namespace morva {
namespace {

using mkbook::BodyText;

class ItemEndTest : public testing::ContentTest {};

TEST_F(ItemEndTest, LineStartingHeadwordsEndItemsAtTheIndentBeforeThem) {
  BodyText body;
  body.Indent(1).Headword("あ").Text("・").Headword("い").Newline();  // same line: no end
  const BookAddress second = body.Here();
  body.Indent(1).Headword("う");
  LoadPages(body);

  // The next entry's indent is written before its headword ends the item.
  EXPECT_EQ(Item(), testing::kIndent0 + "\x03" + J("あ") + "\x04" + J("・") + "\x03" + J("い") +
                        "\x04\n" + testing::kIndent0 + "\n");
  EXPECT_EQ(following_, second);
  EXPECT_EQ(Item(second), testing::kIndent0 + "\x03" + J("う") + "\x04\n");
  EXPECT_TRUE(content_.EndOfData());
  EXPECT_EQ(following_, body.Here());
  Item(following_);
  EXPECT_EQ(following_, body.Here());  // no progress at the end: the walk is over

  disk_.info().nKey = 1;  // an item ended by its first unit still gets ahead
  Item();
  EXPECT_GT(TDisk::CompareAddresses(following_, {1, 0}), 0);
}

TEST_F(ItemEndTest, EndOfTextAndEndCode) {
  BodyText body;
  body.Text("一").EndText();
  const BookAddress after = body.Here();
  body.BeginEmphasis().Text("二").EndEmphasis().Text("三");
  LoadPages(body);

  EXPECT_EQ(Item(), J("一") + "\n\n");
  EXPECT_EQ(following_, after);
  EXPECT_EQ(Item({0, 0}), "");  // an unreadable address gives page 0 and no text
  EXPECT_EQ(following_.page, 0);
  disk_.info().nEnd = 0;
  disk_.info().endCode = 0xE1;
  EXPECT_EQ(Item(), J("一") + "\n\x10" + J("二") + "\x11\x04\n");
}

TEST_F(ItemEndTest, LevelZeroIndentsAndTextLines) {
  BodyText body;
  body.Indent(1).Text("一").Newline().Indent(2).Text("訳").Newline();
  BookAddress next = body.Here();
  body.Indent(1).Text("二");
  LoadPages(body);
  disk_.info().nTab1 = 2;
  EXPECT_EQ(Item(), testing::kIndent0 + J("一") + "\n" + testing::kIndent1 + J("訳") + "\n\n");
  EXPECT_EQ(following_, next);

  // Lines starting with a blank do not count.
  body = BodyText();
  body.Text("一").Newline().Text("　二").Newline();
  next = body.Here();
  body.Text("三");
  LoadPages(body);
  disk_.info().nCol1 = 2;
  EXPECT_EQ(Item(), J("一") + "\n" + J("　二") + "\n\n");
  EXPECT_EQ(following_, next);
}

TEST_F(ItemEndTest, SizeLimitCutsBetweenCharactersAndWarnsOnce) {
  disk_.info().nBytes = 9;
  LoadPages(BodyText().Text("あいうえおか"));
  EXPECT_EQ(Item(), J("あいうえお") + "\n");
  ASSERT_EQ(reporter_.Count(testing::RecordedBox::kWarning), 1);
  EXPECT_EQ(reporter_.Last(testing::RecordedBox::kWarning), "１項目の出力が9バイトを超えた");

  BodyText newLines;  // markers alone are bounded too
  for (int i = 0; i < 200; ++i) newLines.Newline();
  LoadPages(newLines);
  EXPECT_LT(Item().size(), 9u);
}

TEST_F(ItemEndTest, NewLinesAsSpacesAndHeadwordsStartANewLine) {
  disk_.info().newlineOff = true;
  disk_.info().nKey = 32767;
  LoadPages(
      BodyText().Indent(1).Headword("あ").Text("一").Newline().Text("二").Newline().Headword("い"));
  EXPECT_EQ(Item(), testing::kIndent0 + "\x03" + J("あ") + "\x04" + J("一") + " " + J("二") +
                        " \n\x03" + J("い") + "\x04\n");
}

}  // namespace
}  // namespace morva
