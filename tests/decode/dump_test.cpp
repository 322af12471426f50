// Hexadecimal page dumps.
#include "engine/decode/dump.h"

#include "tests/support/book_test.h"

namespace morva {
namespace {

const std::string kHeader = "Offs -0--1--2--3--4--5--6--7--8--9--A--B--C--D--E--F 0123456789ABCDEF";

class DumpTest : public testing::ContentTest {
 protected:
  void LoadPagesOf(const std::string& pair, int pages) {
    std::string bytes;
    for (int i = 0; i < pages * kPageSize / 2; ++i) bytes += pair;
    LoadPages(bytes);
  }
};

TEST_F(DumpTest, DumpFromAnOffsetRunsIntoTheNextPage) {
  LoadPagesOf("\x30\x21", 6);  // 亜
  const auto lines = DumpPage(disk_, -1, 5, 0x0123);
  ASSERT_EQ(lines.size(), 1u + 128u + 1u + 9u);  // title, rows, page line, headers
  EXPECT_EQ(lines[0], "Position = 0x00000005:0123");
  EXPECT_EQ(lines[1], kHeader);
  EXPECT_EQ(lines[2],
            "0120 30 21 30 21 30 21 30 21 30 21 30 21 30 21 30 21 " + J("亜亜亜亜亜亜亜亜"));
  // Headers before 0x120 and at 0x200 .. 0x700; rows 0x120 .. 0x7F0 of page 5.
  EXPECT_EQ(lines[1 + 7 + 110 - 1].substr(0, 4), "07F0");
  EXPECT_EQ(lines[1 + 7 + 110], "Page = 00000006");
  EXPECT_EQ(lines[1 + 7 + 110 + 1], kHeader);
  EXPECT_EQ(lines[1 + 7 + 110 + 2].substr(0, 4), "0000");
  EXPECT_EQ(lines.back().substr(0, 4), "0110");
}

TEST_F(DumpTest, ZeroRowsAreLeftOutButHeadersStay) {
  LoadPages(std::string(kPageSize, '\0'));
  const auto lines = DumpPage(disk_, -1, 1, 0);
  EXPECT_EQ(lines, std::vector<std::string>({"Page = 0x00000001", kHeader, kHeader, kHeader,
                                             kHeader, kHeader, kHeader, kHeader, kHeader}));
}

TEST_F(DumpTest, CharacterColumns) {
  // 亜, an external character, a control pair, the full-width space, あ.
  LoadPages(std::string("\x30\x21\xA1\x21\x1F\x09\x21\x21\x24\x22\x01\x01\x01\x01\x01\x01", 16));
  EXPECT_EQ(DumpPage(disk_, -1, 1, 0).at(2),
            "0000 30 21 A1 21 1F 09 21 21 24 22 01 01 01 01 01 01 " + J("亜....　あ......"));

  disk_.decoderState().singleByteBook = true;
  LoadPages(std::string("Ab \x1F\x7E\x80\xFFzxxxxxxxx", 16));
  EXPECT_EQ(DumpPage(disk_, -1, 1, 0).at(2),
            "0000 41 62 20 1F 7E 80 FF 7A 78 78 78 78 78 78 78 78 Ab .~..zxxxxxxxx");
}

TEST_F(DumpTest, UnreadablePageAndCurrentItem) {
  LoadPagesOf("\x30\x21", 2);
  EXPECT_EQ(DumpPage(disk_, -1, 0, 0),
            std::vector<std::string>(
                {"Page = 0x00000000", J("辞書ファイルの入力エラーが発生しました．")}));

  EXPECT_TRUE(DumpCurrentItem(disk_, -1).empty());
  disk_.info().nBytes = 10;
  content_.FormatItem(-1, {2, 0x40});
  EXPECT_EQ(DumpCurrentItem(disk_, -1).at(0), "Position = 0x00000002:0040");
}

}  // namespace
}  // namespace morva
