#include <gtest/gtest.h>

#include <filesystem>

#include "engine/book/messages.h"
#include "engine/text/unicode.h"
#include "tests/support/book_test.h"
#include "tools/mkbook/font.h"

namespace morva {
namespace {

using testing::RecordedBox;

// A catalogued book titled 辞典 whose information file each test writes.
class BookInfoTest : public testing::BookTest {
 protected:
  void SetUp() override {
    testing::WriteVolume(Root(), {testing::SimpleSubbook("辞典", "jiten")});
    BookBarEntry e;
    e.location = Root();
    e.subbook = 0;
    books_.push_back(e);
  }

  // Opens the book afresh with this information file (Shift-JIS).
  bool Open(const std::string& file) {
    WriteInfo(file);
    disk_.ForgetCurrentSubbook();
    return disk_.SelectSubbook(0);
  }
  // Opens the book with a section of these lines (UTF-8).
  bool OpenSection(const std::string& lines) { return Open(Sjis("[辞典]\n" + lines)); }

  // The warnings shown, each as its message number (0 for other texts).
  std::vector<int> Warnings() const {
    std::vector<int> numbers;
    for (const auto& box : reporter_.boxes()) {
      if (box.kind != RecordedBox::kWarning) continue;
      int n = 0;
      for (int m : {21, 23, 25, 33, 35})
        if (box.text == Message(m, disk_.settings().english)) n = m;
      numbers.push_back(n);
    }
    return numbers;
  }

  const BookInfo& info() const { return disk_.info(); }
  const BodyFileTable& files() const { return disk_.BodyFiles(); }
};

TEST_F(BookInfoTest, HonmonAddsBodyFilesOrOnPageOneReplacesTheBodyFile) {
  // The start page is decimal, or else hexadecimal.
  for (auto [line, path] : {std::pair{"HONMON=honmon2,100\n", "/honmon2"},
                            {"HONMON=sub\\honmon2,0x64\n", "/sub/honmon2"}}) {
    ASSERT_TRUE(OpenSection(line));
    ASSERT_EQ(files().Count(), 2);
    EXPECT_EQ(files().Row(1).path, Root() + path);
    EXPECT_EQ(files().Row(1).firstPage, 100);
  }

  const std::string other = dir_.str() + "/elsewhere/honmon";
  testing::WriteFile(other, testing::ReadFile(Root() + "/jiten/data/honmon"));
  // Rows added before it, font files included, go with the old body file.
  ASSERT_TRUE(OpenSection("HONMON=extra,50\nHONMON=font,G\nHONMON=" + other + ",1\n"));
  ASSERT_EQ(files().Count(), 1);
  EXPECT_EQ(files().Row(0).path, other);
  EXPECT_TRUE(disk_.subbook().indexes.Has(0x00));

  // A drive-qualified name is used as it stands (and does not exist here).
  EXPECT_FALSE(OpenSection("HONMON=D:\\book\\honmon,1\n"));
  EXPECT_EQ(files().Row(0).path, "D:/book/honmon");
  EXPECT_EQ(reporter_.Count(RecordedBox::kRetry), 1);
}

TEST_F(BookInfoTest, BodyAndFontFileLimits) {
  std::string lines;
  for (int i = 1; i <= 31; ++i)
    lines += "HONMON=f" + std::to_string(i) + "," + std::to_string(100 * i) + "\n";
  ASSERT_TRUE(OpenSection(lines));
  // Row 0 from the catalog and 29 statements fill the table.
  EXPECT_EQ(files().Count(), BodyFileTable::kMaxRows);
  EXPECT_EQ(Warnings(), std::vector<int>{23});

  mkbook::Font font(16, 16);
  font.AddPattern({"#"});
  testing::WriteFile(Root() + "/f1", font.Build());
  testing::WriteFile(Root() + "/f2", font.Build());
  reporter_.Clear();
  ASSERT_TRUE(OpenSection("HONMON=f1,G\nHONMON=f2, G\nHONMON=f3,G\n"));
  EXPECT_EQ(Warnings(), std::vector<int>{21});
  EXPECT_EQ(disk_.subbook().indexes.Start(0xF1), BodyFileTable::kFontFirstPage);
  EXPECT_EQ(disk_.subbook().indexes.Start(0xF2), BodyFileTable::kFontFirstPage + 100);
  EXPECT_EQ(files().Row(2).path, Root() + "/f2");
}

TEST_F(BookInfoTest, StatementsSetTheirValues) {
  ASSERT_TRUE(
      OpenSection("END=1f\nnKey=0\nnBytes=0\nnCol1=0\nnEnd=0\nKanaDic=1\n"
                  "PRESTRING=12345678901\nSPRESTRING=＋＋\n"
                  "TITLECOLOR=OFF\nZENPO=OFF\nNEWLINE=OFF\nSKIPCODE=228 2\nIME=ON\nA121=x\n"
                  "\n; nKey=5 is a comment\n nKey=6 does not start with a letter\n"));
  EXPECT_EQ(info().endCode, 0x1F);
  EXPECT_EQ(info().nKey, 32767);
  EXPECT_EQ(info().nBytes, 2147483647);
  EXPECT_EQ(info().nCol1, 32767);
  EXPECT_EQ(info().nEnd, 0);
  EXPECT_EQ(info().kanaDic, 1);
  EXPECT_EQ(info().prestring, "");  // longer than 10 bytes
  EXPECT_EQ(SjisToUtf8(info().sprestring), "＋＋");
  EXPECT_FALSE(info().titleColor);
  EXPECT_FALSE(info().zenpo);
  EXPECT_TRUE(info().newlineOff);
  EXPECT_EQ(info().skipCodes, (std::vector<std::pair<int, int>>{{228, 2}}));
  EXPECT_EQ(disk_.subbook().imeMode, 1);
  EXPECT_EQ(disk_.decoderState().conversion.Count(), 1);
}

TEST_F(BookInfoTest, MalformedRepeatedAndOverLongStatements) {
  // 254 characters and a CR LF still fit the 256-byte line buffer; 255 do not.
  std::string lines =
      "ENDING=a\nENDING3=b\nENDINGX=c\nENDING5=" + std::string(159, 'x') +
      "\nENDING6=" + std::string(158, 'y') +
      "\nNEGLECT=first\nNEGLECT=second\nSKIPCODE=12\nMULTI=" + std::string(300, 'm') +
      "\nnKey=4\r\nSOURCE=" + std::string(247, 's') + "\r\nTRANSLATE=" + std::string(245, 't') +
      "\n";
  for (int i = 0; i < 21; ++i) lines += "SKIPCODE=" + std::to_string(200 + i) + " 1\n";
  ASSERT_TRUE(OpenSection(lines));
  EXPECT_EQ(info().endings[0], "a");
  EXPECT_EQ(info().endings[5], "");
  EXPECT_EQ(info().endings[6], std::string(158, 'y'));
  EXPECT_EQ(info().neglect, "first");
  ASSERT_EQ(info().skipCodes.size(), 20u);
  EXPECT_EQ(info().skipCodes.front(), (std::pair<int, int>{200, 1}));
  EXPECT_EQ(info().multi, "");
  EXPECT_EQ(info().nKey, 4);
  EXPECT_EQ(info().source, std::string(247, 's'));
  EXPECT_EQ(info().translate, "");
  EXPECT_EQ(Warnings(), (std::vector<int>{33, 33, 35, 25, 25}));

  // A section runs from its header to the next bracket line.
  disk_.settings().zenpo = false;
  ASSERT_TRUE(Open(Sjis("[辞典] \nnKey=9\n")));  // a blank after "]": not a header
  EXPECT_EQ(info().nKey, 2);
  EXPECT_FALSE(info().zenpo);
  ASSERT_TRUE(Open(Sjis("[辞典書]\nnKey=3\n[辞典]\r\nnKey=9\r\n[note\nnTab1=3\n")));
  EXPECT_EQ(info().nKey, 9);
  EXPECT_EQ(info().nTab1, 32767);
}

TEST_F(BookInfoTest, IncludeContinuesInTheNamedFile) {
  testing::WriteFile(dir_ / "inc" / "more.dat", "nTab1=9\n[other]\nnCol1=3\n");
  ASSERT_TRUE(OpenSection("INCLUDE=inc\\more.dat\nnKey=7\n"));
  EXPECT_EQ(info().nTab1, 9);
  EXPECT_EQ(info().nKey, 2);  // the rest of the including file is not read
  EXPECT_EQ(info().nCol1, 32767);

  ASSERT_TRUE(OpenSection("nKey=5\nINCLUDE=none.dat\nnTab1=4\n"));  // a missing file ends it
  EXPECT_EQ(info().nTab1, 32767);

  // A file that includes itself is not read for ever.
  testing::WriteFile(dir_ / "loop.dat", "nCol1=6\nINCLUDE=loop.dat\n");
  ASSERT_TRUE(OpenSection("INCLUDE=loop.dat\n"));
  EXPECT_EQ(info().nCol1, 6);
}

}  // namespace
}  // namespace morva
