#include "app/settings/value_forms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings/history.h"

namespace morva {
namespace {

TEST(ValueFormsTest, NumbersReadLikePercentD) {
  EXPECT_EQ(ParseInt("  -7"), -7);
  EXPECT_EQ(ParseInt("12abc"), 12);
  EXPECT_EQ(ParseInt("abc"), std::nullopt);
  EXPECT_EQ(ParseInt("-"), std::nullopt);
  EXPECT_EQ(ParseInt("99999999999999999999"), 2147483647);
  EXPECT_EQ(ParseColor("255,0,0"), 0x0000FFu);
  EXPECT_EQ(ParseColor("1, 2, 3"), MakeColor(1, 2, 3));
  EXPECT_EQ(ParseColor("300,-5,7"), MakeColor(255, 0, 7));
  EXPECT_EQ(ParseColor("1,2"), std::nullopt);
  EXPECT_EQ(ParseColor("1 ,2,3"), std::nullopt);
  EXPECT_EQ(FormatColor(MakeColor(128, 64, 255)), "128,64,255");
  EXPECT_EQ(ParseRect("10,-20,640,480"), (Rect{10, -20, 640, 480}));
  EXPECT_EQ(ParseRect("10,20,640"), std::nullopt);
}

TEST(ValueFormsTest, FontPairFieldsAreCutWithoutSplittingCharacters) {
  const FontPair fallback{"F1", 14, "F2", 18};
  // 29 bytes and then a double-byte character that does not fit in 30.
  FontPair cut = ParseFontPair(std::string(29, 'x') + "\x82\xa0yy,123456789,C,x", fallback);
  EXPECT_EQ(cut, (FontPair{std::string(29, 'x'), 12345, "C", 18}));
  EXPECT_EQ(ParseFontPair("", fallback), fallback);
  EXPECT_EQ(ParseFontPair("A,10", fallback), (FontPair{"A", 10, "F2", 18}));
  EXPECT_EQ(FormatFontPair(FontPair{"A B", 10, "C", 12}), "A B,10,C,12");
}

TEST(HistoryTest, SplitDropsEmptyPiecesAndCutsLongWords) {
  EXPECT_EQ(SplitHistory(".apple..\x8c\xea.pear."),
            (std::vector<std::string>{"apple", "\x8c\xea", "pear"}));
  EXPECT_EQ(SplitHistory(std::string(78, 'w') + "\x82\xa0.z"),
            (std::vector<std::string>{std::string(78, 'w'), "z"}));
}

TEST(HistoryTest, JoinStopsAtTheFirstWordThatDoesNotFitBelow300) {
  EXPECT_EQ(JoinHistory({"a", std::string(298, 'b'), "c"}), "a");
  EXPECT_EQ(JoinHistory({"a", std::string(297, 'b'), "c"}), "a." + std::string(297, 'b'));
  EXPECT_EQ(JoinHistory({"a", "", "b"}), "a.b");
}

}  // namespace
}  // namespace morva
