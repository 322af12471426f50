// Menus: lines of choices between 1F43 and 1F63 with their targets.
#include "tools/mkbook/menu.h"

#include <gtest/gtest.h>

#include "tests/mkbook/hex.h"

namespace morva::mkbook {
namespace {

TEST(Menu, LinesOfChoicesWithTheirTargets) {
  Menu menu({5, 0});
  menu.Line("目次").Choice("あ", {7, 0x10}).Choices({{"か", {8, 0}}, {"さ", {9, 1}}}, "他：");
  EXPECT_EQ(menu.Build(), Hex("1F02"
                              "4C5C 3C21 1F0A"
                              "1F43 2422 1F63 00000007 0016 1F0A"
                              "423E 2127 1F43 242B 1F63 00000008 0000 2121 1F43 2435 1F63 00000009 0001 1F0A"
                              "1F03"));
  // A choice's heading is the start of its line.
  EXPECT_EQ(menu.LineStarts(), (std::vector<BookAddress>{{5, 2}, {5, 8}, {5, 22}}));
}

}  // namespace
}  // namespace morva::mkbook
