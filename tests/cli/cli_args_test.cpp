#include "cli/cli_args.h"

#include <gtest/gtest.h>

#include "cli/render.h"
#include "engine/book/text_utils.h"

namespace morva::cli {
namespace {

TEST(CliArgsTest, VolumesAndAddresses) {
  EXPECT_EQ(ParseVolume("/books/x")->directory, "/books/x");
  EXPECT_EQ(ParseVolume("/books/x")->subbook, 1);
  EXPECT_EQ(ParseVolume("/books/x:2")->subbook, 2);
  EXPECT_EQ(ParseVolume("/books/x:2")->directory, "/books/x");
  EXPECT_EQ(ParseVolume("/a:b")->directory, "/a:b");
  EXPECT_EQ(ParseVolume("/a:0")->directory, "/a:0");
  EXPECT_FALSE(ParseVolume(""));

  EXPECT_EQ(ParseAddress("2:102"), (BookAddress{2, 102}));
  EXPECT_EQ(ParseAddress("0x1A5:0x7ff"), (BookAddress{0x1A5, 0x7FF}));
  EXPECT_FALSE(ParseAddress("12"));
  EXPECT_EQ(ParseAddress("12", true), (BookAddress{12, 0}));
  EXPECT_FALSE(ParseAddress("1:2048"));
  EXPECT_FALSE(ParseAddress("1:-1"));
  EXPECT_FALSE(ParseAddress("x:1"));
}

TEST(CliArgsTest, OptionsAreTakenOut) {
  char a0[] = "morva-cli", a1[] = "text", a2[] = "dir", a3[] = "--from", a4[] = "1:0",
       a5[] = "--format=marked", a6[] = "--bogus";
  char* argv[] = {a0, a1, a2, a3, a4, a5, a6};
  Arguments args(7, argv, 2);
  EXPECT_EQ(args.TakeOption("from"), "1:0");
  EXPECT_EQ(args.TakeOption("format"), "marked");
  EXPECT_FALSE(args.TakeOption("info"));
  EXPECT_EQ(args.UnknownOption(), "--bogus");
  ASSERT_EQ(args.positional().size(), 2u);
  EXPECT_EQ(args.positional()[0], "dir");
}

TEST(RenderTest, ReadableTextDropsMarkersAndIndentsLines) {
  const std::string marked = "\x09\x20\x03" + Sjis("ねこ") + "\x04\n\x09\x21" + Sjis("猫") +
                             " \x01" + Sjis("→") + "\x02\x2ER000004D20005" +
                             "\x0B"
                             "1\xA1\x21"
                             "\n";
  std::string out;
  AppendReadable(marked, &out);
  EXPECT_EQ(out, "ねこ\n  猫 →[zA121]\n");
  std::string debug;
  AppendMarked(marked, &debug);
  EXPECT_EQ(debug, "{09:0}{03}ねこ{04}{0A}\n{09:1}猫 {01}→{02:R000004D20005}{0B:1A121}{0A}\n");
}

}  // namespace
}  // namespace morva::cli
