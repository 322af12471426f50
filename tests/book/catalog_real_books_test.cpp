// Opening the real books of ../shared/books (see its README for what each
// holds).
#include <gtest/gtest.h>

#include "engine/book/tdisk.h"
#include "engine/text/unicode.h"
#include "tests/support/book_test.h"

namespace morva {
namespace {

using testing::SharedBooks;

class RealBooksTest : public testing::BookTest {
 protected:
  bool Select(const std::string& folder, int subbook) {
    return disk_.SelectSubbook(AddRow((SharedBooks() / folder).string(), subbook));
  }
};

TEST_F(RealBooksTest, EbstudioSampleHasTwoTitledSubbooks) {
  MORVA_REQUIRE_SHARED_BOOKS();
  ASSERT_TRUE(disk_.OpenVolume((SharedBooks() / "ebstudio-sample").string(), ""));
  EXPECT_EQ(disk_.subbook().volumeKind, 0);
  ASSERT_EQ(disk_.subbook().subbookCount, 2);
  EXPECT_FALSE(disk_.SingleByteBook());
  EXPECT_EQ(SjisToUtf8(disk_.ReadSubbookTitle(0)), "ＴＥＳＴ");
  EXPECT_EQ(SjisToUtf8(disk_.ReadSubbookTitle(1)), "地名");

  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(Select("ebstudio-sample", i));
    EXPECT_EQ(disk_.subbook().title, disk_.ReadSubbookTitle(i));
    EXPECT_EQ(books_.back().fontFlag, 1);
    for (uint8_t code : {0x00, 0x05, 0x91})
      EXPECT_TRUE(disk_.subbook().indexes.Has(code)) << int{code};
  }
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(RealBooksTest, EdictBooksListTheirIndexesAndFonts) {
  MORVA_REQUIRE_SHARED_BOOKS();
  for (const char* folder : {"edict-small", "edict-full"}) {
    SCOPED_TRACE(folder);
    ASSERT_TRUE(Select(folder, 0));
    EXPECT_FALSE(disk_.subbook().title.empty());
    for (uint8_t code : {0x00, 0x05, 0x07, 0x91, 0x71, 0x80, 0x01, 0x02})
      EXPECT_TRUE(disk_.subbook().indexes.Has(code)) << int{code};
    EXPECT_EQ(disk_.subbook().indexes.Start(0xF1), BodyFileTable::kFontFirstPage);
    EXPECT_EQ(disk_.subbook().indexes.Start(0xF2), BodyFileTable::kFontFirstPage + 100);
    EXPECT_EQ(disk_.subbook().imeMode, 0);  // no kana-input index
    ASSERT_EQ(disk_.BodyFiles().Count(), 3);
    EXPECT_NE(disk_.BodyFiles().Row(1).path.find("gai16f"), std::string::npos);
    EXPECT_NE(disk_.BodyFiles().Row(2).path.find("gai16h"), std::string::npos);
  }
  EXPECT_TRUE(reporter_.boxes().empty());
}

}  // namespace
}  // namespace morva
