#include <gtest/gtest.h>

#include "engine/book/text_utils.h"

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

TEST(TextUtilsTest, PlainTextCopySkipsGaijiMarkersAndKeepsPairsWhole) {
  const std::string marked = std::string("a\x0B" "1\xA1\x21" "b\x82\xA0", 8);
  EXPECT_EQ(PlainTextCopy(marked, 100), std::string("ab\x82\xA0"));
  // Room for 3 bytes: the double-byte character no longer fits and is dropped.
  EXPECT_EQ(PlainTextCopy(marked, 4), "ab");
  EXPECT_EQ(PlainTextCopy(marked, 0), "");
}

}  // namespace
}  // namespace morva
