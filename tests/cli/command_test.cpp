// The morva-cli binary end to end: exit statuses and output of each command.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "tests/cli/cli_runner.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/demo_book.h"

namespace morva::cli {
namespace {

TEST(CommandTest, UsageErrorsAndMissingBooks) {
  EXPECT_EQ(RunCli("").status, 2);
  EXPECT_EQ(RunCli("frobnicate").status, 2);
  EXPECT_EQ(RunCli("show").status, 2);
  EXPECT_EQ(RunCli("books /nonexistent/volume").status, 1);
  EXPECT_EQ(RunCli("--help").status, 0);
}

class DemoBookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    demo_ = mkbook::BuildDemoBook();
    demo_.volume.WriteTo(dir_.str());
  }
  testing::TempDir dir_;
  mkbook::DemoBook demo_;
};

TEST_F(DemoBookTest, BooksListsTheSubbooks) {
  const CliRun r = RunCli("books " + dir_.str());
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("1\t"), std::string::npos);
  EXPECT_NE(r.out.find("2\t"), std::string::npos);
  EXPECT_NE(r.out.find("index 0x00"), std::string::npos);
}

TEST_F(DemoBookTest, ShowTextDumpAndCopyright) {
  ASSERT_FALSE(demo_.entries.empty());
  const auto& e = demo_.entries.front();
  const std::string volume = dir_.str() + ":" + std::to_string(e.subbook + 1);
  const std::string address = std::to_string(e.text.page) + ":" + std::to_string(e.text.offset);
  const CliRun shown = RunCli("show " + volume + " " + address);
  EXPECT_EQ(shown.status, 0);
  EXPECT_NE(shown.out.find(e.headword), std::string::npos) << shown.out;

  const CliRun marked = RunCli("show " + volume + " " + address + " --format marked");
  EXPECT_NE(marked.out.find("{03}"), std::string::npos) << marked.out;

  const CliRun text = RunCli("text " + volume);
  EXPECT_EQ(text.status, 0);
  for (const auto& other : demo_.entries) {
    if (other.subbook == e.subbook) {
      EXPECT_NE(text.out.find(other.headword), std::string::npos) << other.headword;
    }
  }

  const CliRun dump = RunCli("dump " + volume + " " + std::to_string(e.text.page));
  EXPECT_EQ(dump.status, 0);
  EXPECT_EQ(dump.out.rfind("Page = 0x", 0), 0u) << dump.out;

  EXPECT_EQ(RunCli("copyright " + volume).status, 0);
  EXPECT_EQ(RunCli("show " + dir_.str() + ":9 1:0").status, 1);
  EXPECT_EQ(RunCli("show " + volume + " 1:99999").status, 2);
}

TEST(CommandTest, RealBookEntryReadsAsUtf8) {
  MORVA_REQUIRE_SHARED_BOOKS();
  const CliRun r = RunCli("show " + (testing::SharedBooks() / "edict-small").string() + " 2:2");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("repetition mark in katakana"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace morva::cli
