// Compound searches: definition pages, candidate lists and the 0xFF entries.
#include "tools/mkbook/compound.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/mkbook/hex.h"

namespace morva::mkbook {
namespace {

TEST(Compound, DefinitionPageHoldsFieldRecords) {
  const std::string page = BuildCompoundDefinition({
      {"名前", {0xA1, 40, 3, {1, 2, 3}}, 60},
      {"分類", {0x91, 50, 1, {}}},
  });
  ASSERT_EQ(page.size(), 2048u);
  EXPECT_EQ(page.substr(0, 16), Hex("00 02") + std::string(14, '\0'));
  EXPECT_EQ(page.substr(16, 32), Hex("02 00 4C3E 4130") + std::string(26, '\0'));
  EXPECT_EQ(page.substr(48, 32), Hex("A1 00 00000028 00000003 00 010203 0000"
                                     "01 00 0000003C 00000000 00 000000 0000"));
  EXPECT_EQ(page.substr(80, 48), Hex("01 00 4A2C 4E60") + std::string(26, '\0') +
                                     Hex("91 00 00000032 00000001 00 000000 0000"));
  // A reader finds field n's index as the (n+1)-th 16-byte unit from byte 16
  // whose first byte names an index kind.
  std::vector<size_t> indexUnits;
  for (size_t at = 16; at < page.size(); at += 16)
    if (page[at] == '\xA1' || page[at] == '\x91' || page[at] == '\xB0' || page[at] == '\xB1') indexUnits.push_back(at);
  EXPECT_EQ(indexUnits, (std::vector<size_t>{48, 112}));

  EXPECT_EQ(BuildCompoundDefinition({}, 7)[1], '\x07');
  EXPECT_THROW(BuildCompoundDefinition({{"一二三四五六七八九十一二三四五六", {}}}), std::length_error);
  EXPECT_THROW(BuildCompoundDefinition({{"名", {0x33, 1, 1, {}}}}), std::invalid_argument);
}

TEST(Compound, CandidateListsNestAfterTheirParent) {
  BodyText text({20, 0});
  const BookAddress top = WriteCandidateList(text, {{"犬"}, {"鳥", {{"鳩"}, {"鷺"}}}, {"猫"}});
  EXPECT_EQ(top, (BookAddress{20, 0}));
  EXPECT_EQ(text.Bytes(), Hex("3824 1F0A"
                              "1F43 443B 1F63 00000020 0024 1F0A"
                              "472D 1F0A"
                              "1F0A"  // the empty line ends the list
                              "4837 1F0A 3A6D 1F0A 1F0A"));
  EXPECT_THROW(WriteCandidateList(text, {{""}}), std::invalid_argument);
}

TEST(Compound, SearchesAreListedOnTheIndexPage) {
  SubbookPages pages;
  const int32_t list = AddCandidateLists(pages, {{"犬"}});
  EXPECT_EQ(list, 2);
  EXPECT_EQ(AddCompoundSearch(pages, {{"名前", {0xA1, 9, 1, {}}, list}}), 3);
  EXPECT_EQ(AddCompoundSearch(pages, {{"分類", {0xB0, 9, 1, {}}}}), 4);
  const std::string file = pages.Build();
  EXPECT_EQ(file.substr(0, 2), Hex("0002"));  // the candidate pages are not listed
  EXPECT_EQ(file.substr(16, 10), Hex("FF 00 00000003 00000001"));
  EXPECT_EQ(file.substr(32, 10), Hex("FF 00 00000004 00000001"));
  EXPECT_EQ(file.substr(2048, 4), Hex("3824 1F0A"));
}

}  // namespace
}  // namespace morva::mkbook
