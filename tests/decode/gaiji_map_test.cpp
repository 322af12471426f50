// Unicode maps of external characters: parsing lines, finding the file.
#include "engine/book/gaiji_map.h"

#include <gtest/gtest.h>

#include "tests/support/test_dirs.h"

namespace morva {
namespace {

struct Case {
  const char* line;
  bool full;
  uint16_t code;
  const char* utf8;  // nullptr: the line is malformed
  const char* replacement;
};

TEST(GaijiMapTest, ParsesLinesAndRejectsMalformedOnes) {
  const Case cases[] = {
      {"zA121\tu00E9", true, 0xA121, "\xC3\xA9", ""},
      {"hb03F\tU0065,u0301\te'", false, 0xB03F, "e\xCC\x81", "e'"},
      {"zA122\tu1F600", true, 0xA122, "\xF0\x9F\x98\x80", ""},
      {"zA123\tu10FFFF", true, 0xA123, "\xF4\x8F\xBF\xBF", ""},
      {"zA124\t-\tdagger", true, 0xA124, "", "dagger"},
      {"hA125\tNULL", false, 0xA125, "", ""},
      {"zA126\tu00E9\tC# # note", true, 0xA126, "\xC3\xA9", "C#"},
      {"zA127\tu00E9\r", true, 0xA127, "\xC3\xA9", ""},
      {"xA121\tu00E9", false, 0, nullptr, nullptr},     // bad prefix
      {"zA12G\tu00E9", false, 0, nullptr, nullptr},     // bad hex in the code
      {"zA1211\tu00E9", false, 0, nullptr, nullptr},    // five digits
      {"zA121\tu0E9", false, 0, nullptr, nullptr},      // three digits
      {"zA121\tu1000000", false, 0, nullptr, nullptr},  // seven digits
      {"zA121\tu110000", false, 0, nullptr, nullptr},   // above 10FFFF
      {"zA121\tuD800", false, 0, nullptr, nullptr},     // a surrogate
      {"zA121\tu00E9,", false, 0, nullptr, nullptr},    // empty item
      {"zA121 u00E9", false, 0, nullptr, nullptr},      // no tab
      {"zA121\t", false, 0, nullptr, nullptr},          // no code points
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const GaijiMapParse parsed = ParseGaijiMap(c.line);
    if (c.utf8 == nullptr) {
      EXPECT_TRUE(parsed.map.Empty());
      EXPECT_EQ(parsed.badLines, std::vector<int>{1});
      continue;
    }
    EXPECT_TRUE(parsed.badLines.empty());
    const GaijiMapEntry* e = parsed.map.Find(c.full, c.code);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->utf8, c.utf8);
    EXPECT_EQ(e->replacement, c.replacement);
    EXPECT_EQ(parsed.map.Find(!c.full, c.code), nullptr);  // widths are kept apart
  }
}

TEST(GaijiMapTest, CommentsBlankLinesAndLineNumbers) {
  const GaijiMapParse parsed = ParseGaijiMap(
      "\xEF\xBB\xBF# a map\r\n\r\nzA121\tu00E9\r\n   \nbad\nzA122\tu00EA # "
      "trailing\nzA121\tu00EB\nhA121\tuDFFF");
  EXPECT_EQ(parsed.badLines, (std::vector<int>{5, 8}));
  EXPECT_EQ(parsed.map.Size(), 2u);
  EXPECT_EQ(parsed.map.Find(true, 0xA121)->utf8, "\xC3\xAB");  // the later line wins
  EXPECT_EQ(parsed.map.Find(true, 0xA122)->utf8, "\xC3\xAA");
  EXPECT_EQ(GaijiMapWarning("x.map", parsed),
            "x.map:5: malformed line skipped (2 malformed lines in all)");
  EXPECT_EQ(GaijiMapWarning("x.map", ParseGaijiMap("zA121\tu00E9\n")), "");
}

TEST(GaijiMapTest, FindsTheSubbookMapWhateverTheCase) {
  testing::TempDir volume;
  testing::TempDir config;
  std::filesystem::create_directories(volume / "EDSMALL.MAP");  // a directory is no map
  EXPECT_EQ(FindGaijiMapIn(volume.str(), "edsmall"), "");
  testing::WriteFile(volume / "Edsmall.Map", "");
  EXPECT_EQ(FindGaijiMapIn(volume.str(), "edsmall"), (volume / "Edsmall.Map").string());
  EXPECT_EQ(FindGaijiMapIn(volume.str(), "other"), "");
  EXPECT_EQ(FindGaijiMapIn("/nonexistent", "edsmall"), "");

  const char* saved = std::getenv("XDG_CONFIG_HOME");
  const std::string savedValue = saved != nullptr ? saved : "";
  ::setenv("XDG_CONFIG_HOME", config.str().c_str(), 1);
  EXPECT_EQ(FindGaijiMap(volume.str(), "EDSMALL"), (volume / "Edsmall.Map").string());
  std::filesystem::create_directories(config / "morva" / "gaiji");
  testing::WriteFile(config / "morva" / "gaiji" / "edsmall.map", "");
  // The user's own maps come before the one beside the volume.
  EXPECT_EQ(FindGaijiMap(volume.str(), "EDSMALL"),
            (config / "morva" / "gaiji" / "edsmall.map").string());
  if (saved != nullptr) {
    ::setenv("XDG_CONFIG_HOME", savedValue.c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
  EXPECT_FALSE(LoadGaijiMap((volume / "missing.map").string()).has_value());
}

}  // namespace
}  // namespace morva
