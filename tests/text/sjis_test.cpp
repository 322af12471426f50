#include "engine/text/sjis.h"

#include <gtest/gtest.h>

namespace morva {
namespace {

TEST(SjisTest, CharLength) {
  const std::string_view s = "a\x88\x9F\xB1\x82";  // a 亜 ｱ and a lone lead
  EXPECT_EQ(SjisCharLength(s, 0), 1u);
  EXPECT_EQ(SjisCharLength(s, 1), 2u);
  EXPECT_EQ(SjisCharLength(s, 3), 1u);
  EXPECT_EQ(SjisCharLength(s, 4), 1u);
  EXPECT_EQ(SjisCharLength(s, 5), 0u);
}

TEST(SjisTest, CutNeverSplitsACharacter) {
  // ＝＝ is 0x81 0x81 0x81 0x81: every byte looks like a lead, so only a walk
  // from the start finds the boundaries.
  const std::string_view s =
      "a\x81\x81\x81\x81"
      "b\x82";
  const std::string_view expected[] = {"",
                                       "a",
                                       "a",
                                       "a\x81\x81",
                                       "a\x81\x81",
                                       "a\x81\x81\x81\x81",
                                       "a\x81\x81\x81\x81"
                                       "b",
                                       s};
  for (size_t max = 0; max < std::size(expected); ++max) {
    EXPECT_EQ(SjisCut(s, max), expected[max]) << max;
  }
  EXPECT_EQ(SjisCut(s, 100), s);
  EXPECT_EQ(SjisCut("", 5), "");
}

TEST(SjisTest, ReadFieldSplitsAtSeparatorsAndKeepsEmptyFields) {
  std::string_view cursor = "abc,,\x88\x9F,";
  EXPECT_EQ(ReadField(cursor, 80), "abc");
  EXPECT_EQ(ReadField(cursor, 80), "");
  EXPECT_EQ(ReadField(cursor, 80), "\x88\x9F");
  EXPECT_EQ(cursor, "");
  EXPECT_EQ(ReadField(cursor, 80), "");
  EXPECT_EQ(cursor, "");
}

TEST(SjisTest, ReadFieldMatchesTheSeparatorOnlyBetweenCharacters) {
  std::string_view cursor = "\x95\x5C\\x";  // 表 ends in 0x5C, the backslash
  EXPECT_EQ(ReadField(cursor, 80, '\\'), "\x95\x5C");
  EXPECT_EQ(cursor, "x");
}

TEST(SjisTest, ReadFieldDropsWhatDoesNotFitAndReadsOnToTheSeparator) {
  // Capacity counts the terminating zero: capacity 4 keeps 3 bytes.
  std::string_view cursor = "a\x88\x9F,b";
  EXPECT_EQ(ReadField(cursor, 4), "a\x88\x9F");
  EXPECT_EQ(cursor, "b");

  cursor =
      "ab\x88\x9F"
      "c,z";                              // 亜 would need bytes 3 and 4
  EXPECT_EQ(ReadField(cursor, 4), "ab");  // and c is not pulled in after the gap
  EXPECT_EQ(cursor, "z");

  cursor = "abc,d";
  EXPECT_EQ(ReadField(cursor, 1), "");
  EXPECT_EQ(ReadField(cursor, 0), "");
  EXPECT_EQ(cursor, "");
}

TEST(SjisTest, AsciiUpperLeavesDoubleByteCharactersAlone) {
  // Ｂ is 0x82 0x61: its trail byte is an ASCII 'a'.
  EXPECT_EQ(SjisAsciiUpper("az\x82\x61m\xB1{"), "AZ\x82\x61M\xB1{");
}

}  // namespace
}  // namespace morva
