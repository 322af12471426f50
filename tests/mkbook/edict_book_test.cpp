// The EDICT book: a tiny EUC-JP file in, a volume whose indexes find its
// entries, a menu and a copyright page out.
#include "tools/mkbook/edict_book.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/mkbook/hex.h"
#include "tests/mkbook/tree_reader.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/index_tree.h"
#include "tools/mkbook/jis_text.h"

namespace morva::mkbook {
namespace {

using testing::Hit;
using testing::TreeReader;

std::string J(const char* utf8) { return JisFromUtf8(utf8); }

// EUC-JP of Japanese text: JIS X 0208 with the high bits set.
std::string Euc(const char* utf8) {
  std::string s = J(utf8);
  for (char& c : s) c = static_cast<char>(c | 0x80);
  return s;
}

class EdictBookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string file = Euc("　？？？") + " /EDICT test/Copyright EDRDG/\n" +
                             Euc("猫") + " [" + Euc("ねこ") + "] /(n) cat/(P)/\n" +
                             Euc("コーヒー") + " /(n) coffee/\n" +
                             Euc("犬") + " [" + Euc("いぬ") + "] /(n) (1) dog/(n) (2) spy/\n" +
                             "\x8F\xB0\xA1 [" + Euc("あ") + "] /(n) headword of JIS X 0212/\n";
    ::morva::testing::WriteFile(tmp_ / "edict.txt", file);
    std::ifstream in(tmp_ / "edict.txt", std::ios::binary);
    EdictBook book = BuildEdictBook(in);
    stats_ = book.stats;
    book.volume.WriteTo(tmp_ / "book");
    honmon_ = ::morva::testing::ReadFile(tmp_ / "book/edict/data/honmon");
  }

  // The pages of the area listed under code on the index page.
  std::string Area(uint8_t code, int32_t* start = nullptr) const {
    for (size_t at = 16; at < kPageSize; at += 16) {
      if (static_cast<uint8_t>(honmon_[at]) != code) continue;
      const auto page = static_cast<int32_t>(Be32(at + 2));
      if (start) *start = page;
      return honmon_.substr(static_cast<size_t>(page - 1) * kPageSize, Be32(at + 6) * kPageSize);
    }
    return {};
  }

  std::vector<Hit> Find(uint8_t code, const std::string& key) const {
    int32_t start = 0;
    const std::string pages = Area(code, &start);
    return TreeReader(pages, start, code).Find(key);
  }

  std::string At(BookAddress a, size_t n) const { return honmon_.substr(static_cast<size_t>(a.Position()), n); }

  uint32_t Be32(size_t at) const {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<uint8_t>(honmon_[at + i]);
    return v;
  }

  ::morva::testing::TempDir tmp_;
  EdictBookStats stats_;
  std::string honmon_;
};

TEST_F(EdictBookTest, CountsEntriesAndSkipsLinesOutsideJis) {
  EXPECT_EQ(stats_.entries, 3u);
  EXPECT_EQ(stats_.outsideJis, 1u);
  EXPECT_EQ(stats_.malformed, 0u);
  const std::string catalog = ::morva::testing::ReadFile(tmp_ / "book/catalogs");
  EXPECT_EQ(catalog.substr(18, 22), J("和英辞典（ＥＤＩＣＴ）"));
  for (const uint8_t code : {0x00, 0x01, 0x02, 0x90, 0x70, 0x91, 0x71, 0x92})
    EXPECT_FALSE(Area(code).empty()) << std::hex << int{code};
}

TEST_F(EdictBookTest, IndexesFindEntriesAndHeadings) {
  const std::vector<Hit> cat = Find(0x90, J("ねこ"));
  ASSERT_EQ(cat.size(), 1u);
  EXPECT_EQ(At(cat[0].body, 8), Hex("1F09 0001 1F41 0100"));
  EXPECT_EQ(At(cat[0].heading, 14), J("ねこ【猫】") + Hex("1F61 1F0A"));
  EXPECT_EQ(Find(0x70, ReverseJisKey(J("ねこ"))), cat);
  EXPECT_EQ(Find(0x91, J("猫")), cat);
  EXPECT_EQ(Find(0x71, J("猫")), cat);
  EXPECT_EQ(Find(0x92, J("ＣＡＴ")), cat);

  // A katakana headword is its own reading, stored as searches fold it.
  const std::vector<Hit> coffee = Find(0x90, J("こおひい"));
  ASSERT_EQ(coffee.size(), 1u);
  EXPECT_EQ(At(coffee[0].heading, 8), J("コーヒー"));
  EXPECT_EQ(Find(0x91, J("コオヒイ")), coffee);
  EXPECT_EQ(Find(0x70, ReverseJisKey(J("こおひい"))), coffee);

  EXPECT_EQ(Find(0x92, J("ＳＰＹ")).size(), 1u);
  EXPECT_TRUE(Find(0x92, J("Ｎ")).empty());  // tags are no words
  EXPECT_TRUE(Find(0x90, J("あ")).empty());  // the skipped line
}

TEST_F(EdictBookTest, EntriesGlossesAndSenses) {
  const std::vector<Hit> dog = Find(0x90, J("いぬ"));
  ASSERT_EQ(dog.size(), 1u);
  const std::string text = Hex("1F09 0001 1F41 0100") + J("いぬ【犬】") + Hex("1F61 1F0A 1F09 0002 1F04") +
                           J("(n) (1) dog") + Hex("1F05 1F0A 1F04") + J("(n) (2) spy") + Hex("1F05 1F0A");
  EXPECT_EQ(At(dog[0].body, text.size()), text);
  // "(P)" is dropped; glosses of one sense are joined.
  const BookAddress cat = Find(0x90, J("ねこ"))[0].body;
  const std::string catText = Hex("1F04") + J("(n) cat") + Hex("1F05 1F0A 1F09 0001");
  EXPECT_EQ(At(cat, 64).find(catText), 26u);
}

TEST_F(EdictBookTest, MenuLeadsToTheFirstEntryOfEachKanaRow) {
  const std::string menu = Area(0x01);
  const auto choice = [&](const char* row, BookAddress target) {
    return Hex("1F43") + J(row) + Hex("1F63") + BcdAddress(target) + Hex("1F0A");
  };
  EXPECT_NE(menu.find(choice("あ行", Find(0x90, J("いぬ"))[0].body)), std::string::npos);
  EXPECT_NE(menu.find(choice("か行", Find(0x90, J("こおひい"))[0].body)), std::string::npos);
  EXPECT_NE(menu.find(choice("な行", Find(0x90, J("ねこ"))[0].body)), std::string::npos);
  EXPECT_EQ(menu.find(J("さ行")), std::string::npos);  // no entry in that row

  const std::string copyright = Area(0x02);
  EXPECT_NE(copyright.find(Hex("1F04") + J("EDICT test") + Hex("1F05")), std::string::npos);
}

}  // namespace
}  // namespace morva::mkbook
