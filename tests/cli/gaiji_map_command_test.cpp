// morva-cli with Unicode maps of external characters, on a real book whose
// headings and entries carry them (edict-small, sub-book directory edsmall).
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/cli/cli_runner.h"
#include "tests/support/test_dirs.h"

namespace morva::cli {
namespace {

class GaijiMapCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The volume seen through links, so that a map can lie beside it; no
    // map of the user's own is picked up.
    const auto book = std::filesystem::canonical(testing::SharedBooks() / "edict-small");
    std::filesystem::create_directory_symlink(book / "catalogs", volume_ / "catalogs");
    std::filesystem::create_directory_symlink(book / "edsmall", volume_ / "edsmall");
    ::setenv("XDG_CONFIG_HOME", config_.str().c_str(), 1);
  }
  std::string Volume() const { return volume_.str(); }
  testing::TempDir volume_;
  testing::TempDir config_;
  testing::TempDir files_;
};

TEST_F(GaijiMapCommandTest, MappedCharactersPrintAsText) {
  testing::WriteFile(files_ / "m.map",
                     "# edict-small\nzA122\tu9DF2\nzA121\tu0041,u20DD\nhA122\t-\t+\n");
  const std::string map = " --map " + (files_ / "m.map").string();
  EXPECT_NE(RunCli("search " + Volume() + " いぬ").out.find("30:402\tイヌワシ[zA122]\n"),
            std::string::npos);

  const CliRun search = RunCli("search " + Volume() + " いぬ" + map);
  EXPECT_EQ(search.status, 0);
  EXPECT_EQ(search.err.find("morva-cli:"), std::string::npos) << search.err;
  EXPECT_NE(search.out.find("30:402\tイヌワシ鷲\n"), std::string::npos) << search.out;
  EXPECT_NE(search.out.find("400:698\tいぬ【戌】A\u20DD+\n"), std::string::npos) << search.out;
  EXPECT_EQ(RunCli("show " + Volume() + " 400:698" + map).out.rfind("いぬ【戌】A\u20DD+\n", 0), 0u);
  // Marked text keeps the markers.
  EXPECT_NE(RunCli("show " + Volume() + " 400:698 --format marked" + map).out.find("{0B:1A121}"),
            std::string::npos);
  // A "-" entry without replacement text prints the code.
  testing::WriteFile(files_ / "n.map", "hA122\tnull\n");
  EXPECT_EQ(RunCli("show " + Volume() + " 400:698 --map " + (files_ / "n.map").string())
                .out.rfind("いぬ【戌】[zA121][hA122]\n", 0),
            0u);
}

TEST_F(GaijiMapCommandTest, MapBesideTheVolumeWarningsAndPrecedence) {
  testing::WriteFile(volume_ / "EdSmall.MAP", "zA121\tu00E9\nzA122 u9DF2\nbad\nhA122\tu00EA\n");
  const CliRun found = RunCli("show " + Volume() + " 400:698");
  EXPECT_EQ(found.out.rfind("いぬ【戌】éê\n", 0), 0u) << found.out;
  // One warning naming the file and the first bad line; the rest applies.
  EXPECT_EQ(found.err, "morva-cli: " + (volume_ / "EdSmall.MAP").string() +
                           ":2: malformed line skipped (2 malformed lines in all)\n");

  // The book's own conversion wins over the map, in entries and headings.
  testing::WriteFile(
      files_ / "info.dat",  // the sub-book's title in Shift-JIS, then a conversion
      "[\x82\x64\x82\x63\x82\x68\x82\x62\x82\x73\x8F\xAC\x8C\x5E\x94\xC5]\nZA121=CONV\n");
  const std::string info = " --info " + (files_ / "info.dat").string();
  EXPECT_EQ(RunCli("show " + Volume() + " 400:698" + info).out.rfind("いぬ【戌】CONVê\n", 0), 0u);
  EXPECT_NE(RunCli("search " + Volume() + " いぬ" + info).out.find("いぬ【戌】[zA121]ê\n"),
            std::string::npos);

  EXPECT_EQ(RunCli("show " + Volume() + " 400:698 --map /nonexistent.map").err,
            "morva-cli: cannot read the map /nonexistent.map\n");
}

}  // namespace
}  // namespace morva::cli
