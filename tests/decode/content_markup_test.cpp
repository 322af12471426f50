// The marked-text forms written for body text, the marked-text file and the
// copyright page.
#include "tests/support/book_test.h"

namespace morva {
namespace {

using mkbook::BodyText;

// An anchor of text and its address marker.
std::string Anchor(const std::string& text, const std::string& fields) {
  return "\x01" + text + "\x02" + static_cast<char>(0x21 + fields.size()) + fields;
}

class MarkupTest : public testing::ContentTest {};

TEST_F(MarkupTest, FormsOfJisBookText) {
  const struct {
    const char* name;
    BodyText body;
    std::string expected;
  } cases[] = {
      {"entry", BodyText().Indent(1).Headword("あ").Text("本").Newline().Indent(2).Text("訳"),
       testing::kIndent0 + "\x03" + J("あ") + "\x04" + J("本") + "\n" + testing::kIndent1 +
           J("訳") + "\n"},
      // Packed-decimal page 00001234 is 0x4D2; a link without text gets an arrow.
      {"empty link", BodyText().BeginReference().EndReference({1234, 56}),
       Anchor("\x81\xA8", "R000004D20038") + "\n"},
      {"link and keyword",
       BodyText().Reference("あ", {2, 16}).BeginKeyword().Text("語").EndKeyword({3, 0}),
       Anchor(J("あ"), "R000000020010") + Anchor(J("語"), "R000000030000") + "\n"},
      {"picture reference", BodyText().BeginReference().Text("図").EndPictureReference({20, 4}),
       Anchor(J("図"), "G000000140004") + "\n"},
      {"inline picture", BodyText().BeginInlinePicture(32, 16).EndInlinePicture({21, 0}),
       Anchor(J("[図]"), "G000000150000 00200010") + "\n"},
      // Frames: 1*4500 + 2*75 + 3 = 0x122D; the end adds 75.
      {"sound", BodyText().BeginSound(1, {1, 2, 3}, {0, 1, 0}).EndSound(),
       Anchor(J("[音]"), "S0100122D001278") + "\n"},
      {"anchor without target", BodyText().Escape(0x43).Text("無").Escape(0x65),
       Anchor(J("無"), "D") + "\n"},
      {"reference block with indent",
       BodyText().Escape(0x49, testing::Hex("0003 0000 00000012 0034")).Text("項").Escape(0x69),
       "\x09\x23" + Anchor(J("項"), "R0000000C0022") + "\n"},
      {"external characters",
       BodyText()
           .Gaiji(0xA121)
           .BeginNarrow()
           .Gaiji(0xA122)
           .EndNarrow()
           .BeginEmphasis(1)
           .Gaiji(0xA123)
           .EndEmphasis(),
       "\x0B" + std::string("1\xA1\x21\x0B") + "0\xA1\x22\x10\x11\x0B" + "1\xA1\x23\x11\x04\n"},
      // A control byte paired with a lead byte must not enter a 0B marker:
      // the file would store its 0A as 0D 0A.
      {"damaged external character", BodyText().Raw("\xA1\x0A"), "[zA10A]\n"},
      {"styles",
       BodyText()
           .BeginEmphasis(3)
           .Text("太")
           .EndEmphasis()
           .BeginEmphasis(2)
           .EndEmphasis()
           .BeginSubscript()
           .EndSubscript()
           .BeginSuperscript()
           .EndSuperscript()
           .BeginNoBreak()
           .EndNoBreak(),
       "\x0C" + J("太") + "\x04\x03\x04\x15\x14\x13\x14\x0E\x0F\n"},
      {"stray bytes", BodyText().Raw("\x05").Escape(0xAA).Text("後"), "?" + J("後") + "\n"},
      {"half width", BodyText().Narrow("(n) ガ"), J("(n) ｶﾞ") + "\n"},
  };
  for (const auto& c : cases) {
    LoadPages(c.body);
    EXPECT_EQ(Item(), c.expected) << c.name;
  }
}

TEST_F(MarkupTest, SpecialAndSingleByteBooks) {
  disk_.subbook().specialTitle = true;  // captions stand in for the link text
  LoadPages(
      BodyText().Escape(0x6A, mkbook::BcdAddress({5, 6})).Escape(0x6E, mkbook::BcdAddress({7, 8})));
  EXPECT_EQ(Item(),
            Anchor(J("[規定]"), "R000000050006") + Anchor(J("[目次]"), "R000000070008") + "\n");

  disk_.subbook().specialTitle = false;
  disk_.decoderState().singleByteBook = true;
  LoadPages(BodyText({1, 0}, mkbook::TextCoding::kSingleByte)
                .Text("see ")
                .BeginReference()
                .EndReference({7, 8}));
  EXPECT_EQ(Item(), "see " + Anchor("->", "R000000070008") + "\n");
}

TEST_F(MarkupTest, FormatItemWritesCrLfFileWithoutReferenceParameters) {
  BodyText body;
  body.Text("前").Newline();
  const BookAddress item = body.Here();
  body.Reference("あ", {2, 0});
  LoadPages(body);
  ASSERT_TRUE(content_.FormatItem(-1, {1, 0}));
  EXPECT_EQ(MarkedFile(), J("前") + "\r\n" + Anchor(J("あ"), "R000000020000") + "\r\n");

  // Left set, the flag would make the decoder read the link text as numbers.
  content_.RequestReferenceParameters();
  ASSERT_TRUE(content_.FormatItem(-1, item));  // the shorter text replaces the file whole
  EXPECT_EQ(MarkedFile(), Anchor(J("あ"), "R000000020000") + "\r\n");
  EXPECT_EQ(disk_.decoderState().contentStart, item);
  EXPECT_FALSE(disk_.decoderState().refParamFlag);
  EXPECT_EQ(reporter_.shown, 2);
  EXPECT_EQ(reporter_.hidden, 2);
}

TEST_F(MarkupTest, CopyrightPage) {
  mkbook::PageFile file(1);
  file.Write({3, 0}, BodyText({3, 0}).Text("著作").Newline().Indent(1).Headword("次").Bytes());
  LoadPages(file.Bytes());
  disk_.subbook().indexes.ByCode(0x02).start = 3;
  disk_.subbook().protection = 0x05;
  const std::string protection = J("  この文献の保護情報は、表示禁止、印刷許可、引用禁止です。");
  ASSERT_TRUE(content_.CopyrightPage());
  EXPECT_EQ(MarkedFile(), J("著作") + "\r\n" + testing::kIndent0 + "\x03" + J("次") + "\x04\r\n" +
                              protection + "\r\n");
  EXPECT_TRUE(disk_.settings().scroll);  // switched off for the call only

  disk_.subbook().indexes.ByCode(0x02).start = 0;  // without a page: the notice
  std::string notice;
  ASSERT_TRUE(content_.CopyrightTo(&notice));
  EXPECT_TRUE(notice.ends_with("\n\n" + protection + "\n"));
}

}  // namespace
}  // namespace morva
