#include "engine/book/text_utils.h"

#include <gtest/gtest.h>

namespace morva {
namespace {

TEST(TextUtilsTest, TrimRemovesSpacesOnly) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("\tx "), "\tx");
  EXPECT_EQ(Trim("   "), "");
}

TEST(TextUtilsTest, ResolveRelativeNamePlacesNamesBesideTheBaseFile) {
  EXPECT_EQ(ResolveRelativeName("extra.dat", "/home/u/.config/morva/MORVA.DAT"),
            "/home/u/.config/morva/extra.dat");
  EXPECT_EQ(ResolveRelativeName("D:\\x.dat", "/a/MORVA.DAT"), "D:\\x.dat");
  EXPECT_EQ(ResolveRelativeName("/abs/x.dat", "/a/MORVA.DAT"), "/abs/x.dat");
  EXPECT_EQ(ResolveRelativeName("x.dat", "MORVA.DAT"), "x.dat");
}

}  // namespace
}  // namespace morva
