// The marked-text file and the copyright page.
#include "tests/support/book_test.h"

namespace morva {
namespace {

using mkbook::BodyText;

class OutputTest : public testing::ContentTest {};

TEST_F(OutputTest, FormatItemWritesCrLfFileWithoutReferenceParameters) {
  BodyText body;
  body.Text("前").Newline();
  const BookAddress item = body.Here();
  body.Reference("あ", {2, 0});
  LoadPages(body);
  ASSERT_TRUE(content_.FormatItem(-1, {1, 0}));
  EXPECT_EQ(MarkedFile(), J("前") + "\r\n" + "\x01" + J("あ") +
                              "\x02\x2E"
                              "R000000020000\r\n");

  // Left set, the flag would make the decoder read the link text as numbers.
  content_.RequestReferenceParameters();
  ASSERT_TRUE(content_.FormatItem(-1, item));  // the shorter text replaces the file whole
  EXPECT_EQ(MarkedFile(), "\x01" + J("あ") +
                              "\x02\x2E"
                              "R000000020000\r\n");
  EXPECT_EQ(disk_.decoderState().contentStart, item);
  EXPECT_FALSE(disk_.decoderState().refParamFlag);
  EXPECT_EQ(reporter_.shown, 2);
  EXPECT_EQ(reporter_.hidden, 2);
}

TEST_F(OutputTest, CopyrightPage) {
  mkbook::PageFile file(1);
  file.Write({3, 0}, BodyText({3, 0}).Text("著作").Newline().Indent(1).Headword("次").Bytes());
  LoadPages(file.Bytes());
  disk_.subbook().indexes.ByCode(0x02).start = 3;
  disk_.subbook().protection = 0x05;
  ASSERT_TRUE(content_.CopyrightPage());
  EXPECT_EQ(MarkedFile(), J("著作") + "\r\n" + testing::kIndent0 + "\x03" + J("次") + "\x04\r\n" +
                              J("  この文献の保護情報は、表示禁止、印刷許可、引用禁止です。") +
                              "\r\n");
  EXPECT_TRUE(disk_.settings().scroll);  // switched off for the call only

  disk_.subbook().indexes.ByCode(0x02).start = 0;
  std::string notice;
  ASSERT_TRUE(content_.CopyrightTo(&notice));
  EXPECT_EQ(notice, J("  このＣＤ－ＲＯＭに格納されているデータは著作権法によって保護されています。"
                      "無断で転載・複製することはできません。\n\n"
                      "  この文献の保護情報は、表示禁止、印刷許可、引用禁止です。\n"));
  disk_.decoderState().singleByteBook = true;
  notice.clear();
  ASSERT_TRUE(content_.CopyrightTo(&notice));
  EXPECT_EQ(notice,
            "  The information in this compact disc is protected by international copyright laws. "
            "The information may not be copied, reduced or translated by any means without prior "
            "consent.\n");
}

}  // namespace
}  // namespace morva
